#include "window_driver.h"

#include "platform/pending_events.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "platform/win32/window_layout.h"

#include <commctrl.h>


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

std::string read_file_bytes(const std::wstring& path) {
    platform::win32::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                   nullptr, OPEN_EXISTING, 0, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char chunk[4096];
    DWORD n = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
    return bytes;
}

}  // namespace driver

namespace driver {

bool save_screenshot(const std::wstring& bmp_path) {
    pump();
    int w = GetSystemMetrics(SM_CXSCREEN);
    int h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    platform::win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen, w, h));
    HGDIOBJ old = SelectObject(memory, bitmap.get());
    BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
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
