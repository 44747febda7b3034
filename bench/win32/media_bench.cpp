// Phone and camera folders under Wine, each figure against a baseline
// measured in the same run:
//   - capture-date names of 25 MB RAW files (sparse: headers written, the
//     image data a hole) against those of 12-megapixel JPEGs;
//   - sorting 100,000 rows of the real main window by 原名称 against filling
//     its table with them;
//   - sorting 1,000 photos by capture date against their capture-date names.
#include "app/main_window.h"
#include "app/table_menu.h"
#include "bench_support.h"
#include "filelist/main_model.h"
#include "image_builders.h"
#include "image_test_files.h"
#include "media_builders.h"
#include "naming/numbering_window.h"
#include "platform/win32/text.h"

#include <windows.h>
#include <commctrl.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using bench::BenchDirectory;
using bench::Clock;
using bench::numbered;
using bench::seconds_since;
using bench::settle;
using platform::win32::widen;

constexpr const char* kDate = "2023:07:01 10:00:00";

// A file of size bytes whose first bytes are head and the rest a hole.
void write_sparse(const BenchDirectory& dir, const std::string& name, const std::vector<std::uint8_t>& head,
                  LONGLONG size) {
    HANDLE file = CreateFileW(widen(dir.path() + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, head.data(), static_cast<DWORD>(head.size()), &written, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = size;
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

// Target: RAW files named within 1.5 times the JPEGs' time: only their
// headers are read.
void BM_CaptureDatesOfRawFilesAgainstCameraJpegs(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::uintptr_t token = 0;
    imaging::StartGdiplus(token);
    BenchDirectory dir;
    const auto cr2 = test_media::raw_tiff(kDate);
    const auto nef = test_media::raw_tiff(kDate, std::string_view("*\0", 2), true);
    std::vector<std::string> raw_names, jpeg_names;
    dir.write("camera.jpg", image_test::jpeg_photo(4000, 3000, test_images::exif_with_date(kDate)));
    for (int i = 0; i < n; ++i) {
        raw_names.push_back(numbered("IMG_", i, i % 2 ? ".NEF" : ".CR2"));
        write_sparse(dir, raw_names.back(), i % 2 ? nef : cr2, 25LL << 20);
        jpeg_names.push_back(numbered("camera", i, ".jpg"));
        dir.link("camera.jpg", jpeg_names.back());
    }
    double raw = 0, jpeg = 0;
    for (auto _ : state) {
        raw += bench::time_capture_date_names(dir.path(), raw_names, "20230701 100000");
        jpeg += bench::time_capture_date_names(dir.path(), jpeg_names, "20230701 100000");
        state.SetIterationTime(raw / static_cast<double>(state.iterations() + 1));
    }
    state.counters["raw_s"] = raw / static_cast<double>(state.iterations());
    state.counters["jpeg_s"] = jpeg / static_cast<double>(state.iterations());
    state.counters["ratio"] = raw / jpeg;
    imaging::StopGdiplus(token);
}
BENCHMARK(BM_CaptureDatesOfRawFilesAgainstCameraJpegs)
    ->Arg(1000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A click on a column's header of the real table.
void click_header(HWND table, int column) {
    HWND header = ListView_GetHeader(table);
    RECT rect{};
    Header_GetItemRect(header, column, &rect);
    LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header, WM_LBUTTONUP, 0, at);
}

// Target: 100,000 rows sorted by 原名称 within 1.5 times filling the table
// with them. The rows come in no order, as a sort by another column leaves them.
void BM_SortByNameAgainstFill(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    filelist::MainModel model;
    app::MainWindow window(model);
    window.create(SW_SHOW);
    HWND table = window.control(app::kFileTableView);
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.push_back(numbered(i % 3 ? "IMG_" : "DSC_", i + 1, i % 5 ? ".JPG" : ".CR2"));
    std::shuffle(names.begin(), names.end(), std::mt19937(7));
    double fill = 0, sort = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        model.state.batch.fill_list("C:\\photos\\", names);
        settle(table);
        fill += seconds_since(start);

        start = Clock::now();
        click_header(table, filelist::Batch::kOriginalName);
        settle(table);
        double taken = seconds_since(start);
        sort += taken;
        state.SetIterationTime(taken);
        if (model.state.batch.file_names().front() != "DSC_00001.CR2") std::fprintf(stderr, "not sorted\n");
    }
    state.counters["sort_s"] = sort / static_cast<double>(state.iterations());
    state.counters["fill_s"] = fill / static_cast<double>(state.iterations());
    state.counters["ratio_to_fill"] = sort / fill;
}
BENCHMARK(BM_SortByNameAgainstFill)->Arg(100000)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// Target: 1,000 photos sorted by capture date within 1.2 times naming them
// by it. Each pass starts from a fresh choice of the files, so neither finds
// the dates the other read.
void BM_SortByCaptureDateAgainstNameBuild(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    BenchDirectory dir;
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
    double sort = 0, build = 0;
    bool sort_first = true;
    auto sort_pass = [&] {
        model.state.batch.fill_list(dir.path(), names);
        settle(table);
        auto start = Clock::now();
        SendMessageW(window.hwnd(), WM_COMMAND, app::kSortByCaptureDateCommand, 0);
        settle(table);
        return seconds_since(start);
    };
    auto build_pass = [&] {
        model.state.batch.fill_list(dir.path(), names);
        settle(table);
        return bench::time_numbering_confirm(window.hwnd(), true);
    };
    for (auto _ : state) {
        double taken = 0;
        if (sort_first) {
            taken = sort_pass();
            build += build_pass();
        } else {
            build += build_pass();
            taken = sort_pass();
        }
        sort_first = !sort_first;
        sort += taken;
        state.SetIterationTime(taken);
    }
    state.counters["sort_s"] = sort / static_cast<double>(state.iterations());
    state.counters["build_s"] = build / static_cast<double>(state.iterations());
    state.counters["ratio_to_build"] = sort / build;
}
BENCHMARK(BM_SortByCaptureDateAgainstNameBuild)
    ->Arg(1000)
    ->Iterations(4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
