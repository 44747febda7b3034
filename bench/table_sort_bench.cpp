#include "filelist/app_state.h"
#include "filelist/table_sort.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

using namespace filelist;

namespace {

// The core of a header click: 100,000 rows in no order put in name order,
// against filling the table with them (the Windows benchmark times both in
// the real window).
void BM_SortRowsByNameAgainstFill(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    std::vector<std::string> names;
    for (std::size_t i = 0; i < n; ++i)
        names.push_back((i % 3 ? "IMG_" : "DSC_") + std::to_string(100000 + i) + ".JPG");
    std::shuffle(names.begin(), names.end(), std::mt19937(7));
    AppState app;
    TableSort sort;
    double fill = 0, sorted = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        app.batch.fill_list("/photos/", names);
        auto filled = std::chrono::steady_clock::now();
        sort.sort_by_column(app, Batch::kOriginalName);
        auto end = std::chrono::steady_clock::now();
        fill += std::chrono::duration<double>(filled - start).count();
        sorted += std::chrono::duration<double>(end - filled).count();
        state.SetIterationTime(std::chrono::duration<double>(end - filled).count());
    }
    state.counters["ratio_to_fill"] = sorted / fill;
}
BENCHMARK(BM_SortRowsByNameAgainstFill)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
