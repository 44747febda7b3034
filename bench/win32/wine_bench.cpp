// The Windows program as its users wait for it under Wine, each figure
// against a baseline measured in the same run:
//   - capture dates of camera-sized photos against tiny ones with the same EXIF;
//   - 100,000 sequential names into the real main window against filling the
//     window's table with the same rows;
//   - the rename run of the real window against a bare no-replace rename loop.
#include "app/main_window.h"
#include "bench_support.h"
#include "filelist/main_model.h"
#include "image_builders.h"
#include "image_test_files.h"
#include "naming/numbering_window.h"
#include "platform/file_rename.h"
#include "platform/pending_events.h"
#include "platform/win32/text.h"

#include <windows.h>
#include <commctrl.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using bench::BenchDirectory;
using bench::Clock;
using bench::numbered;
using bench::seconds_since;
using bench::settle;
using platform::win32::widen;

// Names n photos after their capture date through the Windows image object.
double name_photos(const BenchDirectory& dir, const std::string& first, int n) {
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.push_back(i == 0 ? first : numbered(first.c_str(), i, ".jpg"));
    return bench::time_capture_date_names(dir.path(), names, "20080517 142345");
}

// Target: 12-megapixel photos named within 1.5 times the tiny ones' time.
void BM_CaptureDatesOfCameraPhotosAgainstTinyOnes(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::uintptr_t token = 0;
    imaging::StartGdiplus(token);
    BenchDirectory dir;
    auto exif = test_images::exif_with_date("2008:05:17 14:23:45");
    dir.write("camera.jpg", image_test::jpeg_photo(4000, 3000, exif));
    dir.write("tiny.jpg", image_test::jpeg_photo(64, 48, exif));
    for (int i = 1; i < n; ++i) {
        dir.link("camera.jpg", numbered("camera.jpg", i, ".jpg"));
        dir.link("tiny.jpg", numbered("tiny.jpg", i, ".jpg"));
    }
    double camera = 0, tiny = 0;
    for (auto _ : state) {
        camera += name_photos(dir, "camera.jpg", n);
        tiny += name_photos(dir, "tiny.jpg", n);
        state.SetIterationTime(camera / static_cast<double>(state.iterations() + 1));
    }
    state.counters["camera_s"] = camera / static_cast<double>(state.iterations());
    state.counters["tiny_s"] = tiny / static_cast<double>(state.iterations());
    state.counters["ratio"] = camera / tiny;
    imaging::StopGdiplus(token);
}
BENCHMARK(BM_CaptureDatesOfCameraPhotosAgainstTinyOnes)
    ->Arg(40)
    ->Arg(1000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Target: 100,000 names shown within 1.5 s of the numbering window's 确定.
void BM_SequentialNamesIntoTheMainWindow(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    filelist::MainModel model;
    app::MainWindow window(model);
    window.create(SW_SHOW);
    HWND table = window.control(app::kFileTableView);
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.push_back(numbered("IMG_", i + 1, ".JPG"));
    double fill = 0, build = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        model.state.batch.fill_list("C:\\photos\\", names);
        settle(table);
        fill += seconds_since(start);

        const double taken = bench::time_numbering_confirm(window.hwnd(), false);
        build += taken;
        state.SetIterationTime(taken);
    }
    state.counters["names_s"] = build / static_cast<double>(state.iterations());
    state.counters["fill_s"] = fill / static_cast<double>(state.iterations());
    state.counters["ratio_to_fill"] = build / fill;
}
BENCHMARK(BM_SequentialNamesIntoTheMainWindow)
    ->Arg(100000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Target: the window's rename run, its check of every rename on disk
// included, within 1.25 times a bare no-replace rename loop over the same
// names. The files go back and forth between IMG_… and A… names, the run
// taking one direction and the loop the other; which goes first alternates
// from one iteration to the next, since the directory's state after a pass
// weighs on the next one under Wine.
void BM_RenameRunAgainstABareRenameLoop(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    BenchDirectory dir;
    std::vector<std::string> img_names, a_names;
    for (int i = 0; i < n; ++i) {
        img_names.push_back(numbered("IMG_", i + 1, ".jpg"));
        a_names.push_back(numbered("A", i + 1, ".jpg"));
        dir.write(img_names.back(), {'x'});
    }
    filelist::MainModel model;
    app::MainWindow window(model);
    window.create(SW_SHOW);
    HWND table = window.control(app::kFileTableView);
    bool at_img = true;  // the files' names now
    auto run_pass = [&] {
        const auto& from = at_img ? img_names : a_names;
        const auto& to = at_img ? a_names : img_names;
        model.state.batch.fill_list(dir.path(), from);
        for (std::size_t k = 0; k < to.size(); ++k)
            model.state.batch.set_new_name(k, to[k].substr(0, to[k].size() - 4));
        model.state.rule_confirmed = 1;
        settle(table);
        auto start = Clock::now();
        SendMessageW(window.control(app::kRenameButton), BM_CLICK, 0, 0);
        settle(table);
        at_img = !at_img;
        return seconds_since(start);
    };
    auto loop_pass = [&] {
        const auto& from = at_img ? img_names : a_names;
        const auto& to = at_img ? a_names : img_names;
        auto start = Clock::now();
        for (int i = 0; i < n; ++i) {
            MoveFileExW(widen(dir.path() + from[i]).c_str(), widen(dir.path() + to[i]).c_str(), 0);
        }
        at_img = !at_img;
        return seconds_since(start);
    };
    double run = 0, loop = 0;
    bool run_first = true;
    for (auto _ : state) {
        double taken = 0;
        if (run_first) {
            taken = run_pass();
            loop += loop_pass();
        } else {
            loop += loop_pass();
            taken = run_pass();
        }
        run += taken;
        run_first = !run_first;
        state.SetIterationTime(taken);
    }
    state.counters["run_s"] = run / static_cast<double>(state.iterations());
    state.counters["loop_s"] = loop / static_cast<double>(state.iterations());
    state.counters["ratio"] = run / loop;
}
BENCHMARK(BM_RenameRunAgainstABareRenameLoop)
    ->Arg(5000)
    ->Arg(20000)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
