// The real program killed in the middle of a run of two thousand files, then
// started again: the history it offers puts every file back under its old name.
#include "app/history_window.h"
#include "app/main_window.h"
#include "naming/numbering_window.h"
#include "picker/file_picker_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "temp_directory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using platform::win32::narrow;
using platform::win32::widen;

// The program the build made, as Wine reaches it (its Linux path on Z:).
std::wstring program_path() {
    std::wstring path = L"Z:" + widen(BATCH_RENAME_EXE);
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

std::wstring program_directory() { return program_path().substr(0, program_path().find_last_of(L'\\') + 1); }

void remove_program_files() {
    for (const wchar_t* name : {L"改名记录.txt", L"配置.ini"}) DeleteFileW((program_directory() + name).c_str());
}

bool wait_for(const std::function<bool()>& condition, int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 20) {
        if (condition()) return true;
        Sleep(20);
    }
    return condition();
}

// A window of the program, found by class (and for a message box, as "#32770").
HWND window_of(DWORD process, const wchar_t* class_name) {
    struct Search {
        DWORD process;
        const wchar_t* class_name;
        HWND found = nullptr;
    } search{process, class_name};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            GetClassNameW(hwnd, name, 64);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->process && std::wstring(name) == s->class_name && IsWindowVisible(hwnd)) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class Program {
public:
    explicit Program(const std::wstring& arguments) {
        std::wstring line = L"\"" + program_path() + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(program_path().c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &info_);
    }
    ~Program() {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return started_; }
    HWND wait_for_window(const wchar_t* class_name, int timeout_ms = 20000) const {
        HWND found = nullptr;
        wait_for([&] { return (found = window_of(info_.dwProcessId, class_name)) != nullptr; }, timeout_ms);
        return found;
    }
    void kill() {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    bool ends_within(int timeout_ms) const { return WaitForSingleObject(info_.hProcess, timeout_ms) == WAIT_OBJECT_0; }

private:
    bool started_ = false;
    PROCESS_INFORMATION info_{};
};

void click(HWND window, int id) { SendMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0); }

std::string message_of(HWND box) {
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t buffer[256] = {};
        GetWindowTextW(child, buffer, 256);
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (std::wstring(name) == L"Static" && buffer[0]) text = narrow(buffer);
    }
    return text;
}

std::string photo(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%04d.jpg", i);
    return name;
}

struct CrashRecoveryTest : ::testing::Test {
    void SetUp() override { remove_program_files(); }
    void TearDown() override { remove_program_files(); }
};

}  // namespace

TEST_F(CrashRecoveryTest, AfterAKillMidRunTheHistoryPutsEveryFileBack) {
    constexpr int kFiles = 2000;
    TempDirectory folder;
    for (int i = 1; i <= kFiles; ++i) folder.write(photo(i), photo(i));

    {
        // Started on the directory: the picker opens there; all its photos, numbered, renamed.
        Program program(L"\"" + widen(folder.path()) + L"\"");
        ASSERT_TRUE(program.started());
        HWND picker = program.wait_for_window(L"BatchRenameFilePicker");
        ASSERT_NE(picker, nullptr);
        click(picker, picker::kSelectAllButton);
        click(picker, picker::kConfirmButton);
        HWND main = program.wait_for_window(L"BatchRenameMainWindow");
        click(main, app::kNumberingButton);
        HWND numbering = program.wait_for_window(L"BatchRenameNumberingWindow");
        ASSERT_NE(numbering, nullptr);
        click(numbering, naming::kConfirmRuleButton);
        PostMessageW(GetDlgItem(main, app::kRenameButton), BM_CLICK, 0, 0);
        // Killed once a good part of the files has its new name.
        ASSERT_TRUE(wait_for([&] { return folder.exists("A300.jpg"); }, 60000));
        program.kill();
    }
    ASSERT_FALSE(folder.exists(photo(1)));
    ASSERT_TRUE(folder.exists(photo(kFiles)));

    Program again(L"");
    ASSERT_TRUE(again.started());
    HWND box = again.wait_for_window(L"#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(message_of(box), "上次改名没有完成，要打开改名记录吗？");
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    HWND history = again.wait_for_window(L"BatchRenameHistoryWindow");
    ASSERT_NE(history, nullptr);
    click(history, app::kUndoSelectedButton);

    std::vector<std::string> names = folder.names();
    ASSERT_EQ(names.size(), static_cast<std::size_t>(kFiles));
    for (int i = 1; i <= kFiles; ++i) {
        ASSERT_EQ(names[static_cast<std::size_t>(i - 1)], photo(i));
        ASSERT_EQ(folder.read(photo(i)), photo(i));
    }
    SendMessageW(again.wait_for_window(L"BatchRenameMainWindow"), WM_CLOSE, 0, 0);
    EXPECT_TRUE(again.ends_within(10000));
}
