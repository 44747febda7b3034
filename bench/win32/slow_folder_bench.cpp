// Photos on a folder that answers slowly, as a network share does: the
// folder named by BATCH_RENAME_SLOW_FOLDER (tools/run-slow-folder-benchmarks.sh
// mounts one that waits before every request). Each figure against bare
// loops over the same files in the same run: one file at a time, and eight
// at a time.
#include "bench_support.h"
#include "image/image_file.h"
#include "image_builders.h"
#include "image_test_files.h"
#include "platform/win32/text.h"

#include <windows.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench::Clock;
using bench::numbered;
using bench::seconds_since;

constexpr DWORD kHeaderBytes = 64 * 1024;

// Opens a file, reads its first 64 KiB and closes it, as the bare loops do.
void read_header(const std::string& path) {
    HANDLE file = CreateFileW(platform::win32::widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::vector<char> bytes(kHeaderBytes);
    DWORD read = 0;
    ReadFile(file, bytes.data(), kHeaderBytes, &read, nullptr);
    CloseHandle(file);
}

double bare_loop(const std::string& directory, const std::vector<std::string>& names, int readers) {
    auto start = Clock::now();
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t k = next++; k < names.size(); k = next++) read_header(directory + names[k]);
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < readers; ++i) threads.emplace_back(work);
    for (std::thread& t : threads) t.join();
    return seconds_since(start);
}

// The photos, written once through the slow folder (not timed).
std::vector<std::string> photos_on(const std::string& directory, int n) {
    const auto photo = image_test::jpeg_photo(640, 480, test_images::exif_with_date("2008:05:17 14:23:45"));
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) {
        names.push_back(numbered("IMG_", i, ".jpg"));
        HANDLE file = CreateFileW(platform::win32::widen(directory + names.back()).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, photo.data(), static_cast<DWORD>(photo.size()), &written, nullptr);
        CloseHandle(file);
    }
    return names;
}

// Target: within 1.2 times the loop that reads 8 files at a time.
void BM_CaptureDateNamesOnASlowFolder(benchmark::State& state) {
    const char* folder = std::getenv("BATCH_RENAME_SLOW_FOLDER");
    if (!folder || !*folder) {
        state.SkipWithError("BATCH_RENAME_SLOW_FOLDER names no folder: tools/run-slow-folder-benchmarks.sh sets it");
        return;
    }
    std::string directory = folder;
    if (directory.back() != '\\') directory += '\\';
    std::uintptr_t token = 0;
    imaging::StartGdiplus(token);
    const std::vector<std::string> names = photos_on(directory, static_cast<int>(state.range(0)));
    double names_s = 0, one_s = 0, eight_s = 0;
    for (auto _ : state) {
        const double taken = bench::time_capture_date_names(directory, names, "20080517 142345");
        names_s += taken;
        state.SetIterationTime(taken);
        one_s += bare_loop(directory, names, 1);
        eight_s += bare_loop(directory, names, 8);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["names_s"] = names_s / runs;
    state.counters["one_at_a_time_s"] = one_s / runs;
    state.counters["eight_at_a_time_s"] = eight_s / runs;
    state.counters["ratio_to_eight"] = names_s / eight_s;
    imaging::StopGdiplus(token);
}
BENCHMARK(BM_CaptureDateNamesOnASlowFolder)
    ->Arg(300)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
