#include "filelist/batch.h"
#include "memory_counter.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace filelist;

namespace {

std::vector<std::string> photo_names(std::size_t n) {
    std::vector<std::string> names;
    names.reserve(n);
    for (std::size_t i = 0; i < n; ++i) names.push_back("IMG_" + std::to_string(100000 + i) + ".JPG");
    return names;
}

// Target: 100,000 names under 50 ms.
void BM_FillList(benchmark::State& state) {
    const auto names = photo_names(static_cast<std::size_t>(state.range(0)));
    Batch batch;
    for (auto _ : state) {
        batch.fill_list("/home/user/Pictures/2024 Holiday/", names);
        benchmark::DoNotOptimize(batch.row_count());
    }
}
BENCHMARK(BM_FillList)->Arg(100000)->Unit(benchmark::kMillisecond);

// Target: a 100,000-row table, with the names it came from, under 64 MB.
void BM_TableMemory(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t before = memory_counter::bytes_in_use();
        memory_counter::reset_peak();
        {
            Batch batch;
            batch.fill_list("/home/user/Pictures/2024 Holiday/", photo_names(static_cast<std::size_t>(state.range(0))));
            benchmark::DoNotOptimize(batch.row_count());
        }
        state.counters["peak_MB"] = static_cast<double>(memory_counter::peak_bytes() - before) / (1024.0 * 1024.0);
    }
}
BENCHMARK(BM_TableMemory)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
