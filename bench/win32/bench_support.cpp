#include "bench_support.h"

#include "../batch_progress.h"
#include "app/main_window.h"
#include "filelist/main_model.h"
#include "naming/capture_date_names.h"
#include "naming/numbering_window.h"
#include "platform/pending_events.h"
#include "platform/win32/text.h"

#include <cstdio>

namespace bench {

using platform::win32::narrow;
using platform::win32::widen;

BenchDirectory::BenchDirectory() {
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    for (int i = 0;; ++i) {
        path_ = narrow(base) + "批量改名基准-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(i) + "\\";
        if (CreateDirectoryW(widen(path_).c_str(), nullptr)) break;
    }
}

BenchDirectory::~BenchDirectory() {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(widen(path_ + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW(widen(path_ + narrow(found.cFileName)).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(widen(path_).c_str());
}

void BenchDirectory::write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    HANDLE file = CreateFileW(widen(path_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void BenchDirectory::link(const std::string& existing, const std::string& name) const {
    CreateHardLinkW(widen(path_ + name).c_str(), widen(path_ + existing).c_str(), nullptr);
}

void settle(HWND table) {
    platform::process_pending_events();
    UpdateWindow(table);
    platform::process_pending_events();
}

double time_capture_date_names(const std::string& directory, const std::vector<std::string>& names,
                               const std::string& expected) {
    filelist::MainModel model;
    naming::CaptureDateNamer namer;
    model.state.batch.fill_list(directory, names);
    auto start = Clock::now();
    BatchProgress progress(model.state.batch);
    namer.build_capture_date_names(
        model.state.batch, [] {}, progress);
    double taken = seconds_since(start);
    if (model.state.batch.new_names().back() != expected) std::fprintf(stderr, "a file went unnamed\n");
    return taken;
}

std::string numbered(const char* prefix, int i, const char* extension) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%05d%s", prefix, i, extension);
    return text;
}

double time_numbering_confirm(HWND main_window, bool capture_dates) {
    HWND table = GetDlgItem(main_window, app::kFileTableView);
    SendMessageW(GetDlgItem(main_window, app::kNumberingButton), BM_CLICK, 0, 0);
    HWND numbering = FindWindowW(L"BatchRenameNumberingWindow", nullptr);
    if (capture_dates) SendMessageW(GetDlgItem(numbering, naming::kCaptureDateCheck), BM_CLICK, 0, 0);
    auto start = Clock::now();
    SendMessageW(GetDlgItem(numbering, naming::kConfirmRuleButton), BM_CLICK, 0, 0);
    settle(table);
    return seconds_since(start);
}

}  // namespace bench
