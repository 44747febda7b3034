// The 命名规则 window under Wine, against the numbering window in the same run:
//   - the preview of 100,000 rows following a change of the template, against
//     the numbering window's 确定 showing 100,000 sequential names;
//   - the window opened with a date token over 1,000 photos, and a change of
//     the template after that, against their capture-date names.
#include "app/main_window.h"
#include "app/naming_rule_window.h"
#include "app/table_menu.h"
#include "bench_support.h"
#include "filelist/main_model.h"
#include "image_builders.h"
#include "image_test_files.h"

#include <windows.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::numbered;
using bench::seconds_since;
using bench::settle;

HWND rule_window() { return FindWindowW(L"BatchRenameNamingRuleWindow", nullptr); }

// A new template typed (as WM_SETTEXT sets it) until the preview shows it.
double change_template(HWND rules, HWND table, const wchar_t* text) {
    auto start = Clock::now();
    SetWindowTextW(GetDlgItem(rules, app::kTemplateEdit), text);
    settle(table);
    return seconds_since(start);
}

// Target: the preview follows within 1.5 times the numbering window's 确定.
void BM_RulePreviewAgainstSequentialNames(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    filelist::MainModel model;
    app::MainWindow window(model);
    window.create(SW_SHOW);
    HWND table = window.control(app::kFileTableView);
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.push_back(numbered("IMG_", i + 1, ".JPG"));
    model.state.batch.fill_list("C:\\photos-that-are-not-there\\", names);
    settle(table);
    SendMessageW(window.hwnd(), WM_COMMAND, app::kNamingRuleCommand, 0);
    HWND rules = rule_window();
    change_template(rules, table, L"[N]_[C]");
    double preview = 0, numbering = 0;
    bool dash = false;
    for (auto _ : state) {
        const double taken = change_template(rules, table, dash ? L"[N]-[C]" : L"[N]_[C]");
        dash = !dash;
        preview += taken;
        state.SetIterationTime(taken);
        SetWindowPos(rules, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        numbering += bench::time_numbering_confirm(window.hwnd(), false);
    }
    SendMessageW(rules, WM_CLOSE, 0, 0);
    state.counters["preview_s"] = preview / static_cast<double>(state.iterations());
    state.counters["numbering_s"] = numbering / static_cast<double>(state.iterations());
    state.counters["ratio"] = preview / numbering;
}
BENCHMARK(BM_RulePreviewAgainstSequentialNames)
    ->Arg(100000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Targets: opening within 1.2 times the capture-date names, a change after
// it within 0.1 times. Each pass chooses the files afresh, so no dates are
// known before it.
void BM_RuleWindowOverPhotosAgainstCaptureDateNames(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    bench::BenchDirectory dir;
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) {
        char date[32];
        std::snprintf(date, sizeof date, "2023:07:%02d %02d:%02d:00", 1 + (i * 7) % 28, (i * 13) % 24, i % 60);
        names.push_back(numbered("IMG_", i, ".jpg"));
        dir.write(names.back(), image_test::jpeg_photo(640, 480, test_images::exif_with_date(date)));
    }
    filelist::MainModel model;
    app::MainWindow window(model);
    window.create(SW_SHOW);
    HWND table = window.control(app::kFileTableView);
    double open = 0, change = 0, build = 0;
    for (auto _ : state) {
        model.state.batch.fill_list(dir.path(), names);
        settle(table);
        build += bench::time_numbering_confirm(window.hwnd(), true);

        model.state.batch.fill_list(dir.path(), names);
        settle(table);
        auto start = Clock::now();
        SendMessageW(window.hwnd(), WM_COMMAND, app::kNamingRuleCommand, 0);
        settle(table);
        const double taken = seconds_since(start);
        open += taken;
        state.SetIterationTime(taken);
        HWND rules = rule_window();
        change += change_template(rules, table, L"[Y]-[M]-[D] [h].[m].[s]");
        SendMessageW(rules, WM_CLOSE, 0, 0);
        settle(table);
    }
    state.counters["open_s"] = open / static_cast<double>(state.iterations());
    state.counters["change_s"] = change / static_cast<double>(state.iterations());
    state.counters["build_s"] = build / static_cast<double>(state.iterations());
    state.counters["open_ratio"] = open / build;
    state.counters["change_ratio"] = change / build;
}
BENCHMARK(BM_RuleWindowOverPhotosAgainstCaptureDateNames)
    ->Arg(1000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
