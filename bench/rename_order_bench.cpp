#include "text/natural_order.h"
#include "rename/rename_order.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> names(std::size_t n, std::size_t first) {
    std::vector<std::string> out;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::string name = "A";  // appended: GCC 12 sees overlaps in "A" + text that are none
        name += std::to_string(first + i);
        out.push_back(std::move(name));
    }
    return out;
}

// Target: ordering 100,000 rows (a shift of every name, and a swap of the
// last two) within twice the time of sorting the same names naturally.
void BM_OrderRenames(benchmark::State& state) {
    const std::size_t n = static_cast<std::size_t>(state.range(0));
    renaming::RenameBatch batch;
    batch.directory = "/photos/";
    for (std::string name : names(n, 100000)) batch.old_names.push_back(name.append(".jpg"));
    batch.new_names = names(n, 100001);
    std::swap(batch.new_names[n - 1], batch.new_names[n - 2]);
    batch.extensions.assign(n, ".jpg");
    const std::vector<renaming::RenameStep> steps = renaming::plan_renames(batch);
    const std::vector<bool> movable(n, true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(renaming::order_renames(batch, steps, movable, batch.old_names));
    }
}
BENCHMARK(BM_OrderRenames)->Arg(100000)->Unit(benchmark::kMillisecond);

// The baseline: the same names sorted as the picker lists them, from the
// order a directory listing gives them in.
void BM_NaturalSortOfTheSameNames(benchmark::State& state) {
    const std::size_t n = static_cast<std::size_t>(state.range(0));
    std::vector<std::string> shuffled = names(n, 100000);
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(5));
    for (auto _ : state) {
        std::vector<std::string> sorted = shuffled;
        text::sort_naturally(sorted);
        benchmark::DoNotOptimize(sorted.data());
    }
}
BENCHMARK(BM_NaturalSortOfTheSameNames)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
