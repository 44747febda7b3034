#include "rename/name_table.h"
#include "text/natural_order.h"
#include "text/text_case.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

// The program's hand-made structures against the plain standard-library
// versions they replace, at 1,000 and 100,000 names: each is kept only while
// it is clearly faster.
namespace {

std::vector<std::string> camera_names(std::size_t n) {
    std::vector<std::string> names;
    names.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::string name = i % 20 == 0 ? "照片_" : (i % 3 ? "IMG_" : "dsc_");
        name.append(std::to_string(100000 + i)).append(i % 2 ? ".JPG" : ".jpg");
        names.push_back(std::move(name));
    }
    std::shuffle(names.begin(), names.end(), std::mt19937(7));
    return names;
}

// Every name entered, then each looked up again in another spelling.
void BM_NameTable(benchmark::State& state) {
    using namespace renaming::name_table;
    const auto names = camera_names(static_cast<std::size_t>(state.range(0)));
    std::vector<std::string> upper;
    for (const auto& name : names) upper.push_back(text::folded_name(name));
    for (auto _ : state) {
        NameKeys keys(names.size() * 2);
        NameTable table(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) table.at(keys.key(names[i])).holder = i;
        std::size_t found = 0;
        for (const auto& name : upper) found += table.find(keys.key(name)) != nullptr;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_NameTable)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_NameTablePlainMap(benchmark::State& state) {
    const auto names = camera_names(static_cast<std::size_t>(state.range(0)));
    std::vector<std::string> upper;
    for (const auto& name : names) upper.push_back(text::folded_name(name));
    for (auto _ : state) {
        std::unordered_map<std::string, std::size_t> table;
        for (std::size_t i = 0; i < names.size(); ++i) table[text::folded_name(names[i])] = i;
        std::size_t found = 0;
        for (const auto& name : upper) found += table.count(text::folded_name(name));
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_NameTablePlainMap)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_NaturalSorter(benchmark::State& state) {
    const auto names = camera_names(static_cast<std::size_t>(state.range(0)));
    text::NameList list;
    text::NaturalSorter sorter;
    for (auto _ : state) {
        list.clear();
        for (const auto& name : names) list.push_back(name);
        sorter.sort(list);
        benchmark::DoNotOptimize(list[0]);
    }
}
BENCHMARK(BM_NaturalSorter)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_NaturalSorterPlainSort(benchmark::State& state) {
    const auto names = camera_names(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::vector<std::string> list = names;
        std::stable_sort(list.begin(), list.end(), text::natural_less);
        benchmark::DoNotOptimize(list[0]);
    }
}
BENCHMARK(BM_NaturalSorterPlainSort)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
