#include "rename/journal_format.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// A journal of runs that ended, as the program writes them.
std::string journal_of(int runs, int files) {
    std::string text = renaming::journal_header();
    char name[32];
    for (int r = 0; r < runs; ++r) {
        std::string id = "R";
        id += std::to_string(100000 + r);
        std::vector<renaming::JournalStep> steps;
        for (int i = 0; i < files; ++i) {
            renaming::JournalStep step;
            std::snprintf(name, sizeof name, "IMG_%05d.jpg", i);
            step.from = name;
            std::snprintf(name, sizeof name, "A%05d.jpg", i);
            step.to = name;
            step.file = {0x1234ABCD, static_cast<std::uint64_t>(r * files + i + 1), 2400000, 0x01DB000000000000};
            steps.push_back(step);
        }
        text += renaming::plan_text(id, "2026-12-10 12:00:00", "/photos/run/", steps);
        for (int i = 0; i < files; ++i) text += renaming::outcome_line(id, static_cast<std::size_t>(i), true);
        text += renaming::end_line(id);
    }
    return text;
}

// Target: 50 runs of 10,000 files read in well under 0.3 s.
void BM_ScanJournal(benchmark::State& state) {
    const std::string text = journal_of(50, static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(renaming::scan_journal(text));
    state.counters["MB"] = static_cast<double>(text.size()) / (1 << 20);
}
BENCHMARK(BM_ScanJournal)->Arg(10000)->Unit(benchmark::kMillisecond);

// Target: the check a start makes, under 50 ms for the same journal.
void BM_UnfinishedRunsOfAJournal(benchmark::State& state) {
    const std::string text = journal_of(50, static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(renaming::may_hold_unfinished_run(text));
}
BENCHMARK(BM_UnfinishedRunsOfAJournal)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
