// 按依赖顺序改名 under Wine against the plain run: a shift of 5,000 numbered
// files by one place, against a 确定改名 of 5,000 files that needs no
// reordering, both with the journal, paired in one run.
#include "../batch_progress.h"
#include "bench_support.h"
#include "filelist/main_model.h"
#include "platform/win32/text.h"
#include "rename/rename_journal.h"
#include "rename/rename_run.h"

#include <windows.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using bench::BenchDirectory;
using bench::rename_rows;
using bench::Clock;
using bench::numbered;
using bench::seconds_since;
using platform::win32::widen;

// Target: the shift within 1.1 times the plain run.
void BM_ShiftInDependencyOrderAgainstAPlainRun(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    BenchDirectory shifted, plain, program;
    std::vector<std::string> a_low, a_high, img, b;
    for (int i = 1; i <= n; ++i) {
        a_low.push_back(numbered("A", i, ".jpg"));
        a_high.push_back(numbered("A", i + 1, ".jpg"));
        img.push_back(numbered("IMG_", i, ".jpg"));
        b.push_back(numbered("B", i, ".jpg"));
        shifted.write(a_low.back(), {'x'});
        plain.write(img.back(), {'x'});
    }
    renaming::RenameJournal journal({program.path() + "journal.txt"});
    renaming::RenameRun run(journal, nullptr);
    auto pass = [&](const BenchDirectory& dir, const std::vector<std::string>& from, const std::vector<std::string>& to,
                    bool by_dependencies) {
        filelist::MainModel model;
        model.state.batch.fill_list(dir.path(), from);
        for (int i = 0; i < n; ++i) {
            const std::string& name = to[static_cast<std::size_t>(i)];
            model.state.batch.set_new_name(static_cast<std::size_t>(i), name.substr(0, name.size() - 4));
        }
        model.state.rule_confirmed = 1;
        auto start = Clock::now();
        rename_rows(run, model, by_dependencies);
        return seconds_since(start);
    };
    std::vector<double> ratios;
    bool up = true;
    for (auto _ : state) {
        // Up one place and back down again, and IMG_ to B and back: each pass
        // timed, which goes first alternating.
        auto shift_pass = [&] { return up ? pass(shifted, a_low, a_high, true) : pass(shifted, a_high, a_low, true); };
        auto plain_pass = [&] { return up ? pass(plain, img, b, false) : pass(plain, b, img, false); };
        double shift = 0, baseline = 0;
        if (up) {
            shift = shift_pass();
            baseline = plain_pass();
        } else {
            baseline = plain_pass();
            shift = shift_pass();
        }
        up = !up;
        ratios.push_back(shift / baseline);
        state.SetIterationTime(shift);
    }
    std::sort(ratios.begin(), ratios.end());
    state.counters["shift_over_plain"] = ratios[ratios.size() / 2];
}
BENCHMARK(BM_ShiftInDependencyOrderAgainstAPlainRun)
    ->Arg(5000)
    ->Iterations(4)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
