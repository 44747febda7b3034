// What the rename journal costs the user under Wine, each figure against a
// baseline of the same run:
//   - a run of 5,000 files with the journal and without it, each against a
//     bare no-replace rename loop over the same names;
//   - opening the history window, and starting the program, with a journal
//     of 50 runs of 10,000 files against one of a single small run (and, for
//     the start, a 50 MB journal of garbage against none).
#include "app/main_window.h"
#include "../batch_progress.h"
#include "bench_support.h"
#include "filelist/main_model.h"
#include "platform/pending_events.h"
#include "platform/win32/text.h"
#include "rename/journal_format.h"
#include "rename/rename_journal.h"
#include "rename/rename_run.h"

#include <windows.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using bench::BenchDirectory;
using bench::rename_rows;
using bench::Clock;
using bench::numbered;
using bench::seconds_since;
using platform::win32::widen;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Target: the run's ratio to the bare loop rises by at most 5 % with the journal.
void BM_JournalCostOfARun(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    BenchDirectory dir;
    std::vector<std::string> img, a;
    for (int i = 1; i <= n; ++i) {
        img.push_back(numbered("IMG_", i, ".jpg"));
        a.push_back(numbered("A", i, ""));
        dir.write(img.back(), {'x'});
    }
    // The journal lives beside the program, not among the photos.
    BenchDirectory program;
    renaming::RenameJournal journal({program.path() + "journal.txt"});
    renaming::RenameRun with_journal(journal, nullptr), without_journal;
    auto run_pass = [&](renaming::RenameRun& run) {
        filelist::MainModel model;
        model.state.batch.fill_list(dir.path(), img);
        for (int i = 0; i < n; ++i)
            model.state.batch.set_new_name(static_cast<std::size_t>(i), a[static_cast<std::size_t>(i)]);
        model.state.rule_confirmed = 1;
        auto start = Clock::now();
        rename_rows(run, model);
        return seconds_since(start);
    };
    auto loop_back = [&] {
        auto start = Clock::now();
        for (int i = 0; i < n; ++i) {
            MoveFileExW(widen(dir.path() + a[static_cast<std::size_t>(i)] + ".jpg").c_str(),
                        widen(dir.path() + img[static_cast<std::size_t>(i)]).c_str(), 0);
        }
        return seconds_since(start);
    };
    std::vector<double> with_ratios, without_ratios, rises;
    bool journal_first = true;
    for (auto _ : state) {
        double ratio[2] = {};
        for (int k = 0; k < 2; ++k) {
            const bool journaled = (k == 0) == journal_first;
            double run = run_pass(journaled ? with_journal : without_journal);
            double loop = loop_back();
            ratio[journaled ? 0 : 1] = run / loop;
            if (journaled) state.SetIterationTime(run);
        }
        with_ratios.push_back(ratio[0]);
        without_ratios.push_back(ratio[1]);
        rises.push_back(ratio[0] / ratio[1] - 1);
        journal_first = !journal_first;
    }
    state.counters["with_over_bare"] = median(with_ratios);
    state.counters["without_over_bare"] = median(without_ratios);
    state.counters["rise"] = median(rises);
}
BENCHMARK(BM_JournalCostOfARun)->Arg(5000)->Iterations(5)->UseManualTime()->Unit(benchmark::kSecond);

// A journal of runs that ended, as the program writes them.
std::string journal_of(int runs, int files) {
    std::string text = renaming::journal_header();
    for (int r = 0; r < runs; ++r) {
        std::string id = "R";
        id += std::to_string(100000 + r);
        std::vector<renaming::JournalStep> steps;
        for (int i = 0; i < files; ++i) {
            steps.push_back({numbered("IMG_", i, ".jpg"),
                             numbered("A", i, ".jpg"),
                             {0x1234ABCD, static_cast<std::uint64_t>(r * files + i + 1), 2400000, 0x01DB000000000000}});
        }
        // Appended piece by piece: GCC 12 sees overlaps in chains of + that are none.
        std::string time = "2026-12-10 12:";
        time += std::to_string(10 + r % 50);
        time += ":00";
        std::string directory = "C:\\照片\\第";
        directory += std::to_string(r);
        directory += "次\\";
        text += renaming::plan_text(id, time, directory, steps);
        for (int i = 0; i < files; ++i) text += renaming::outcome_line(id, static_cast<std::size_t>(i), true);
        text += renaming::end_line(id);
    }
    return text;
}

void write_journal(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void remove_journals() {
    for (const std::string& path : renaming::default_journal_paths()) DeleteFileW(widen(path).c_str());
}

// Target: with 50 runs of 10,000 files the window opens at most 0.3 s later.
void BM_HistoryWindowWithABigJournal(benchmark::State& state) {
    const std::string big = journal_of(50, 10000), small = journal_of(1, 3);
    const std::string path = renaming::default_journal_paths().front();
    auto open_history = [&](const std::string& journal) {
        remove_journals();
        write_journal(path, journal);
        filelist::MainModel model;
        app::MainWindow window(model);
        window.create(SW_SHOW);
        platform::process_pending_events();
        auto start = Clock::now();
        SendMessageW(window.hwnd(), WM_COMMAND, app::kHistoryCommand, 0);
        HWND history = FindWindowW(L"BatchRenameHistoryWindow", nullptr);
        UpdateWindow(history);
        return seconds_since(start);
    };
    std::vector<double> big_times, small_times;
    for (auto _ : state) {
        big_times.push_back(open_history(big));
        small_times.push_back(open_history(small));
        state.SetIterationTime(big_times.back());
    }
    remove_journals();
    state.counters["journal_MB"] = static_cast<double>(big.size()) / (1 << 20);
    state.counters["big_s"] = median(big_times);
    state.counters["small_s"] = median(small_times);
    state.counters["later_s"] = median(big_times) - median(small_times);
}
BENCHMARK(BM_HistoryWindowWithABigJournal)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// The real program from its start until it waits for the user, its check
// of the journal included.
double start_program(const std::string& journal_text) {
    std::wstring exe = L"Z:" + widen(BATCH_RENAME_EXE);
    std::replace(exe.begin(), exe.end(), L'/', L'\\');
    const std::wstring journal = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"改名记录.txt";
    DeleteFileW(journal.c_str());
    if (!journal_text.empty()) write_journal(platform::win32::narrow(journal), journal_text);
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    auto start = Clock::now();
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return 0;
    WaitForInputIdle(info.hProcess, 30000);
    double taken = seconds_since(start);
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    DeleteFileW(journal.c_str());
    return taken;
}

// Targets: 50 runs of 10,000 files at most 0.1 s later than one small run;
// 50 MB of garbage at most 1 s later than no journal.
void BM_ProgramStartWithABigJournal(benchmark::State& state) {
    const std::string big = journal_of(50, 10000), small = journal_of(1, 3);
    std::string garbage(50u << 20, '\0');
    std::mt19937 random(11);
    for (char& c : garbage) c = static_cast<char>(random() % 97 == 0 ? '\n' : random());
    std::vector<double> big_times, small_times, garbage_times, none_times;
    for (auto _ : state) {
        big_times.push_back(start_program(big));
        small_times.push_back(start_program(small));
        garbage_times.push_back(start_program(garbage));
        none_times.push_back(start_program(""));
        state.SetIterationTime(big_times.back());
    }
    state.counters["big_s"] = median(big_times);
    state.counters["small_s"] = median(small_times);
    state.counters["big_later_s"] = median(big_times) - median(small_times);
    state.counters["garbage_later_s"] = median(garbage_times) - median(none_times);
}
BENCHMARK(BM_ProgramStartWithABigJournal)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// What one append of the journal and one flushed plan cost, for the figures above.
void BM_JournalWrites(benchmark::State& state) {
    BenchDirectory dir;
    renaming::RenameJournal journal({dir.path() + "journal.txt"});
    std::vector<renaming::JournalStep> steps;
    for (int i = 0; i < 5000; ++i)
        steps.push_back({numbered("IMG_", i, ".jpg"), numbered("A", i, ".jpg"), {1, 2, 3, 4}});
    for (int i = 0; i < 5000; ++i) dir.write(numbered("IMG_", i, ".jpg"), {'x'});
    double plan = 0, appends = 0;
    bool forward = true;
    for (auto _ : state) {
        // Right after a run's worth of renames, as a run that follows another.
        for (int i = 0; i < 5000; ++i) {
            std::string a = dir.path() + numbered("IMG_", i, ".jpg"), b = dir.path() + numbered("B", i, ".jpg");
            MoveFileExW(widen(forward ? a : b).c_str(), widen(forward ? b : a).c_str(), 0);
        }
        forward = !forward;
        auto start = Clock::now();
        journal.begin_run(dir.path(), steps);
        plan += seconds_since(start);
        start = Clock::now();
        for (int i = 0; i < 100; ++i) {
            journal.record(static_cast<std::size_t>(i), true);
            journal.flush_pending();
        }
        appends += seconds_since(start);
        journal.end_run();
        state.SetIterationTime(plan);
    }
    state.counters["plan_ms"] = plan / static_cast<double>(state.iterations()) * 1e3;
    state.counters["append_ms"] = appends / static_cast<double>(state.iterations()) * 10;
}
BENCHMARK(BM_JournalWrites)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
