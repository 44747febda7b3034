#include "window_driver.h"

#include "platform/pending_events.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "platform/win32/window_layout.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <string_view>

using platform::win32::narrow;
using platform::win32::widen;

namespace driver {

void pump() { platform::process_pending_events(); }

bool wait_until(const std::function<bool()>& condition, int timeout_ms) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > static_cast<DWORD>(timeout_ms)) return false;
        pump();
        Sleep(5);
    }
    return true;
}

void click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    pump();
}

void type_text(HWND control, const std::string& utf8) {
    for (wchar_t c : widen(utf8)) SendMessageW(control, WM_CHAR, c, 1);
    pump();
}

void move_pointer(HWND control, int x, int y) {
    SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    pump();
}

void double_click(HWND control, int x, int y) {
    LPARAM at = MAKELPARAM(x, y);
    SendMessageW(control, WM_MOUSEMOVE, 0, at);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
    SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
    pump();
}

void press_key(HWND control, UINT key, bool ctrl, bool shift) {
    SetFocus(control);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE before[256];
    std::copy(std::begin(keys), std::end(keys), std::begin(before));
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 0xC0000001);
    pump();
    SetKeyboardState(before);
    pump();
}

void press_alt_key(HWND control, UINT key) {
    SetFocus(control);
    constexpr LPARAM kAltHeld = 1 << 29;
    PostMessageW(control, WM_SYSKEYDOWN, key, 1 | kAltHeld);
    PostMessageW(control, WM_SYSKEYUP, key, 0xC0000001 | kAltHeld);
    pump();
}

void drop_files(HWND window, const std::vector<std::string>& paths) {
    // DROPFILES, then the wide paths, each ended by a zero, and one zero more.
    std::wstring list;
    for (const std::string& path : paths) list += widen(path) + L'\0';
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(drop + 1));
    GlobalUnlock(memory);
    // The window's DragFinish frees the memory, as with a real drop.
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    pump();
}

std::string text(HWND window) { return platform::win32::window_text(window); }

RECT rect_in_parent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT outer_rect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

int list_view_rows(HWND list_view) { return ListView_GetItemCount(list_view); }

std::string list_view_cell(HWND list_view, int row, int column) {
    wchar_t buffer[1024] = {};
    ListView_GetItemText(list_view, row, column, buffer, 1024);
    return narrow(buffer);
}

std::string list_view_header(HWND list_view, int column) {
    wchar_t buffer[256] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = buffer;
    info.cchTextMax = 256;
    ListView_GetColumn(list_view, column, &info);
    return narrow(buffer);
}

void select_list_view_row(HWND list_view, int row) {
    ListView_SetItemState(list_view, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list_view, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    pump();
}

namespace {

// List boxes and combo boxes hand out their items alike, each through
// messages of its own.
struct ItemMessages {
    UINT count, length, text;
};
constexpr ItemMessages kListBoxItems{LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT};
constexpr ItemMessages kComboBoxItems{CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT};

std::string item_text(HWND control, const ItemMessages& messages, int index) {
    int n = static_cast<int>(SendMessageW(control, messages.length, index, 0));
    if (n < 0) return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    SendMessageW(control, messages.text, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(n));
    return narrow(text);
}

std::vector<std::string> item_texts(HWND control, const ItemMessages& messages) {
    std::vector<std::string> items;
    int n = static_cast<int>(SendMessageW(control, messages.count, 0, 0));
    for (int i = 0; i < n; ++i) items.push_back(item_text(control, messages, i));
    return items;
}

}  // namespace

std::string list_box_item(HWND box, int index) { return item_text(box, kListBoxItems, index); }

std::vector<std::string> list_box_items(HWND box) { return item_texts(box, kListBoxItems); }

std::string list_box_selected_item(HWND box) {
    int index = static_cast<int>(SendMessageW(box, LB_GETCURSEL, 0, 0));
    return index < 0 ? std::string() : list_box_item(box, index);
}

std::vector<int> list_box_selection(HWND box) {
    int n = static_cast<int>(SendMessageW(box, LB_GETSELCOUNT, 0, 0));
    if (n <= 0) return {};
    std::vector<int> items(static_cast<std::size_t>(n));
    SendMessageW(box, LB_GETSELITEMS, n, reinterpret_cast<LPARAM>(items.data()));
    return items;
}

namespace {

POINT middle_of_list_box_item(HWND box, int index) {
    RECT r{};
    SendMessageW(box, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

void click_list_box_item(HWND box, int index, WPARAM keys) {
    POINT middle = middle_of_list_box_item(box, index);
    LPARAM at = MAKELPARAM(middle.x, middle.y);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    SendMessageW(box, WM_LBUTTONUP, keys, at);
    pump();
}

void double_click_list_box_item(HWND box, int index) {
    POINT middle = middle_of_list_box_item(box, index);
    double_click(box, middle.x, middle.y);
}

std::string combo_box_item(HWND combo, int index) { return item_text(combo, kComboBoxItems, index); }

std::vector<std::string> combo_box_items(HWND combo) { return item_texts(combo, kComboBoxItems); }

void choose_combo_box_item(HWND combo, int index) {
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    // A program's own CB_SETCURSEL sends no notice; a user's choice does.
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    pump();
}

int index_of(const std::vector<std::string>& items, const std::string& text) {
    auto found = std::find(items.begin(), items.end(), text);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

std::vector<HWND> thread_windows(const std::function<bool(HWND)>& wanted) {
    struct Search {
        const std::function<bool(HWND)>& wanted;
        std::vector<HWND> found;
    } search{wanted, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lparam) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lparam);
            if (s.wanted(hwnd)) s.found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> thread_windows_of_class(const wchar_t* class_name) {
    return thread_windows([class_name](HWND hwnd) {
        wchar_t name[256] = {};
        GetClassNameW(hwnd, name, 256);
        return std::wstring_view(name) == class_name;
    });
}

HWND thread_window_of_class(const wchar_t* class_name) {
    std::vector<HWND> found = thread_windows_of_class(class_name);
    return found.size() == 1 ? found.front() : nullptr;
}

bool save_screenshot(const std::wstring& bmp_path, HWND window) {
    pump();
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (window) GetWindowRect(window, &area);
    int w = area.right - area.left;
    int h = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    platform::win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen, w, h));
    HGDIOBJ old = SelectObject(memory, bitmap.get());
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    std::string pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h), '\0');
    GetDIBits(memory, bitmap.get(), 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    platform::win32::UniqueHandle out(
        CreateFileW(bmp_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (out.get() == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
              WriteFile(out.get(), &info, sizeof info, &written, nullptr) &&
              WriteFile(out.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    return ok;
}

}  // namespace driver
