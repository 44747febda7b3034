#include "message_box_answerer.h"

#include "platform/win32/text.h"

namespace {

bool is_message_box_of_this_process(HWND hwnd) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    return std::wstring(name) == L"#32770" && process == GetCurrentProcessId() && IsWindowVisible(hwnd);
}

// The message: the static control that holds text (the icon's has none).
std::string message_of(HWND box) {
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (std::wstring(name) != L"Static") continue;
        wchar_t buffer[512] = {};
        GetWindowTextW(child, buffer, 512);
        if (buffer[0]) text = platform::win32::narrow(buffer);
    }
    return text;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(int button) : button_(button), thread_([this] { watch(); }) {}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    stop_ = true;
    thread_.join();
}

std::vector<std::string> MessageBoxAnswerer::texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}

void MessageBoxAnswerer::watch() {
    while (!stop_) {
        EnumWindows(
            [](HWND hwnd, LPARAM self) -> BOOL {
                if (is_message_box_of_this_process(hwnd)) reinterpret_cast<MessageBoxAnswerer*>(self)->answer(hwnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(this));
        Sleep(20);
    }
}

void MessageBoxAnswerer::answer(HWND box) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!answered_.insert(box).second) return;
    }
    std::string text = message_of(box);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        texts_.push_back(text);
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
}
