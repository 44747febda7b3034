#include "menu_answerer.h"

#include "platform/win32/text.h"

namespace {

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

HWND visible_menu_of_this_process() {
    struct Search {
        HWND found = nullptr;
    } search;
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(hwnd, name, 16);
            DWORD process = 0;
            GetWindowThreadProcessId(hwnd, &process);
            if (std::wstring(name) == L"#32768" && process == GetCurrentProcessId() && IsWindowVisible(hwnd)) {
                reinterpret_cast<Search*>(param)->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

MenuAnswerer::MenuAnswerer(wchar_t access_key) : access_key_(access_key), thread_([this] { watch(); }) {}

MenuAnswerer::~MenuAnswerer() {
    stop_ = true;
    thread_.join();
}

std::vector<MenuAnswerer::Item> MenuAnswerer::items() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return items_;
}

void MenuAnswerer::watch() {
    HWND last = nullptr;
    while (!stop_) {
        HWND popup = visible_menu_of_this_process();
        if (popup && popup != last) {
            last = popup;
            auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, kGetMenuHandle, 0, 0));
            std::vector<Item> found;
            for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
                wchar_t text[128] = {};
                GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
                bool enabled = !(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
                found.push_back({platform::win32::narrow(text), enabled});
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                items_.insert(items_.end(), found.begin(), found.end());
            }
            if (access_key_) {
                PostMessageW(popup, WM_CHAR, access_key_, 0);
            } else {
                PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            }
            ++answered_;
        }
        if (!popup) last = nullptr;
        Sleep(20);
    }
}
