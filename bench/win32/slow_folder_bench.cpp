// Files on a folder that answers slowly, as a network share does: the
// folder named by BATCH_RENAME_SLOW_FOLDER (tools/run-slow-folder-benchmarks.sh
// mounts one that waits before every request). Each step of the program
// against a bare loop over the same files in the same run, each pass started
// after the folder's cached names and attributes have expired, with the
// requests per file the folder answered for each.
#include "app/main_window.h"
#include "app/table_menu.h"
#include "bench_support.h"
#include "filelist/main_model.h"
#include "image/image_file.h"
#include "image_builders.h"
#include "image_test_files.h"
#include "picker/file_picker_window.h"
#include "platform/win32/text.h"

#include <windows.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench::Clock;
using bench::numbered;
using bench::seconds_since;
using bench::settle;
using platform::win32::widen;

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

// The slow folder, or nothing (and the benchmark skipped) when none is named.
std::string slow_folder(benchmark::State& state) {
    const char* folder = std::getenv("BATCH_RENAME_SLOW_FOLDER");
    if (!folder || !*folder) {
        state.SkipWithError("BATCH_RENAME_SLOW_FOLDER names no folder: tools/run-slow-folder-benchmarks.sh sets it");
        return {};
    }
    std::string directory = folder;
    if (directory.back() != '\\') directory += '\\';
    return directory;
}

// A subdirectory of the slow folder for one benchmark, made afresh.
std::string fresh_directory(const std::string& root, const char* name) {
    std::string directory = root + name + "\\";
    CreateDirectoryW(widen(directory).c_str(), nullptr);
    return directory;
}

// The requests the folder has answered so far, all kinds together, and its opens.
struct Requests {
    long total = 0;
    long opens = 0;
};

Requests requests_so_far(const std::string& root) {
    Requests counted;
    HANDLE file = CreateFileW(widen(root + ".requests").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return counted;
    std::string text(4096, '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    std::istringstream lines(text.substr(0, read));
    std::string kind;
    long n = 0;
    while (lines >> kind >> n) {
        counted.total += n;
        if (kind == "open") counted.opens = n;
    }
    return counted;
}

// One timed pass over n files: its seconds, and the requests per file it cost.
struct Pass {
    double seconds = 0;
    double requests_per_file = 0;
    double opens_per_file = 0;
};

// The kernel keeps a folder's names and attributes for a second: every pass
// starts after that, as a user's step would.
Pass timed_pass(const std::string& root, std::size_t n, const std::function<void()>& step) {
    Sleep(1100);
    const Requests before = requests_so_far(root);
    auto start = Clock::now();
    step();
    Pass pass;
    pass.seconds = seconds_since(start);
    const Requests after = requests_so_far(root);
    pass.requests_per_file = static_cast<double>(after.total - before.total) / static_cast<double>(n);
    pass.opens_per_file = static_cast<double>(after.opens - before.opens) / static_cast<double>(n);
    return pass;
}

// The mean of each figure over a benchmark's passes, under name.
struct Passes {
    double seconds = 0, requests = 0, opens = 0;
    int count = 0;
    void add(const Pass& pass) {
        seconds += pass.seconds;
        requests += pass.requests_per_file;
        opens += pass.opens_per_file;
        ++count;
    }
    void report(benchmark::State& state, const std::string& name) const {
        state.counters[name + "_s"] = seconds / count;
        state.counters[name + "_requests_per_file"] = requests / count;
        state.counters[name + "_opens_per_file"] = opens / count;
    }
};

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// The photos, written once through the slow folder (not timed).
std::vector<std::string> photos_on(const std::string& directory, int n) {
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) {
        char date[32];
        std::snprintf(date, sizeof date, "2008:05:%02d 14:%02d:45", 1 + (i * 7) % 28, i % 60);
        names.push_back(numbered("IMG_", i, ".jpg"));
        write_file(directory + names.back(), image_test::jpeg_photo(640, 480, test_images::exif_with_date(date)));
    }
    return names;
}

struct Program {
    filelist::MainModel model;
    app::MainWindow window{model};
    Program() { window.create(SW_SHOW); }
    HWND table() const { return window.control(app::kFileTableView); }
    void show(const std::string& directory, const std::vector<std::string>& names) {
        model.state.batch.fill_list(directory, names);
        settle(table());
    }
};

// Targets: capture-date names and the capture-date sort of 300 photos each
// within 1.2 times the loop that reads 8 files at a time.
void BM_CaptureDatesOnASlowFolder(benchmark::State& state) {
    const std::string root = slow_folder(state);
    if (root.empty()) return;
    const std::string directory = fresh_directory(root, "photos");
    std::uintptr_t token = 0;
    imaging::StartGdiplus(token);
    const std::vector<std::string> names = photos_on(directory, static_cast<int>(state.range(0)));
    const std::size_t n = names.size();
    Program program;
    Passes named, sorted, one, eight;
    for (auto _ : state) {
        program.show(directory, names);
        const Pass naming = timed_pass(root, n, [&] { bench::time_numbering_confirm(program.window.hwnd(), true); });
        named.add(naming);
        state.SetIterationTime(naming.seconds);
        program.show(directory, names);
        sorted.add(timed_pass(root, n, [&] {
            SendMessageW(program.window.hwnd(), WM_COMMAND, app::kSortByCaptureDateCommand, 0);
            settle(program.table());
        }));
        one.add(timed_pass(root, n, [&] { bare_loop(directory, names, 1); }));
        eight.add(timed_pass(root, n, [&] { bare_loop(directory, names, 8); }));
    }
    named.report(state, "names");
    sorted.report(state, "sort");
    one.report(state, "one_at_a_time");
    eight.report(state, "eight_at_a_time");
    state.counters["names_to_eight"] = named.seconds / eight.seconds;
    state.counters["sort_to_eight"] = sorted.seconds / eight.seconds;
    imaging::StopGdiplus(token);
}
BENCHMARK(BM_CaptureDatesOnASlowFolder)->Arg(300)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

// Renames every file from one list of names to the other, as a bare loop.
void bare_renames(const std::string& directory, const std::vector<std::string>& from, const std::vector<std::string>& to) {
    for (std::size_t i = 0; i < from.size(); ++i) {
        MoveFileExW(widen(directory + from[i]).c_str(), widen(directory + to[i]).c_str(), 0);
    }
}

// Targets: 确定改名 of 600 files within 1.05 times a bare no-replace rename
// loop over the same names; 按依赖顺序改名 of a shift of 600 files by one
// place within 1.1 times the bare loop that shifts them back. The files go
// back and forth, the program taking one direction and the loop the other.
void BM_RenameRunOnASlowFolder(benchmark::State& state) {
    const std::string root = slow_folder(state);
    if (root.empty()) return;
    const int n = static_cast<int>(state.range(0));
    const std::string plain_dir = fresh_directory(root, "plain");
    const std::string shift_dir = fresh_directory(root, "shift");
    std::vector<std::string> img, a, low, high;
    for (int i = 1; i <= n; ++i) {
        img.push_back(numbered("IMG_", i, ".jpg"));
        a.push_back(numbered("A", i, ".jpg"));
        low.push_back(numbered("B", i, ".jpg"));
        high.push_back(numbered("B", i + 1, ".jpg"));
        write_file(plain_dir + img.back(), {'x'});
        write_file(shift_dir + low.back(), {'x'});
    }
    Program program;
    auto ask = [&](const std::string& directory, const std::vector<std::string>& from,
                   const std::vector<std::string>& to) {
        program.show(directory, from);
        for (std::size_t k = 0; k < to.size(); ++k) program.model.state.batch.set_new_name(k, to[k].substr(0, to[k].size() - 4));
        program.model.state.rule_confirmed = 1;
    };
    Passes run, loop, shift, shift_loop;
    for (auto _ : state) {
        ask(plain_dir, img, a);
        const Pass renaming = timed_pass(root, a.size(), [&] {
            SendMessageW(program.window.control(app::kRenameButton), BM_CLICK, 0, 0);
            settle(program.table());
        });
        run.add(renaming);
        state.SetIterationTime(renaming.seconds);
        loop.add(timed_pass(root, a.size(), [&] { bare_renames(plain_dir, a, img); }));
        ask(shift_dir, low, high);
        shift.add(timed_pass(root, low.size(), [&] {
            SendMessageW(program.window.hwnd(), WM_COMMAND, app::kDependencyOrderCommand, 0);
            settle(program.table());
        }));
        shift_loop.add(timed_pass(root, low.size(), [&] { bare_renames(shift_dir, high, low); }));
    }
    run.report(state, "run");
    loop.report(state, "loop");
    shift.report(state, "shift");
    shift_loop.report(state, "shift_loop");
    state.counters["run_to_loop"] = run.seconds / loop.seconds;
    state.counters["shift_to_loop"] = shift.seconds / shift_loop.seconds;
}
BENCHMARK(BM_RenameRunOnASlowFolder)->Arg(600)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

// Names a bare listing of the folder finds.
std::size_t bare_listing(const std::string& directory) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(widen(directory + "*").c_str(), &found);
    std::size_t n = 0;
    if (search == INVALID_HANDLE_VALUE) return n;
    do {
        ++n;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return n;
}

// Target: from the picker's 确定 (all 600 photos of a folder selected) until
// the table shows the last row, within 1.2 times a bare listing of the
// folder. The picker's opening at the folder is told beside it.
void BM_PickOnASlowFolder(benchmark::State& state) {
    const std::string root = slow_folder(state);
    if (root.empty()) return;
    const int n = static_cast<int>(state.range(0));
    const std::string directory = fresh_directory(root, "pick");
    for (int i = 1; i <= n; ++i) write_file(directory + numbered("IMG_", i, ".jpg"), {'x'});
    Program program;
    Passes opening, pick, listing;
    for (auto _ : state) {
        picker::FilePickerWindow picker(program.model);
        opening.add(timed_pass(root, static_cast<std::size_t>(n), [&] {
            picker.create_at(program.window.hwnd(), directory);
            settle(picker.hwnd());
        }));
        SendMessageW(picker.control(picker::kSelectAllButton), BM_CLICK, 0, 0);
        const Pass picking = timed_pass(root, static_cast<std::size_t>(n), [&] {
            SendMessageW(picker.control(picker::kConfirmButton), BM_CLICK, 0, 0);
            settle(program.table());
        });
        if (program.model.state.batch.row_count() != static_cast<std::size_t>(n)) {
            std::fprintf(stderr, "the pick showed %zu rows\n", program.model.state.batch.row_count());
        }
        pick.add(picking);
        state.SetIterationTime(picking.seconds);
        listing.add(timed_pass(root, static_cast<std::size_t>(n), [&] { bare_listing(directory); }));
    }
    opening.report(state, "picker_opening");
    pick.report(state, "pick");
    listing.report(state, "listing");
    state.counters["pick_to_listing"] = pick.seconds / listing.seconds;
}
BENCHMARK(BM_PickOnASlowFolder)->Arg(600)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
