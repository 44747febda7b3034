#include "platform/win32/window_base.h"
#include "platform/win32/window_layout.h"

namespace platform::win32 {

WindowBase::~WindowBase() {
    if (hwnd_) {
        // The object is going away: its last messages go to DefWindowProc.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void WindowBase::bring_to_front() const {
    if (!hwnd_) return;
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
}

bool WindowBase::create_window(const wchar_t* class_name, const char* caption, DWORD style, int x, int y, int w,
                               int h, HWND owner, int show_command) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(instance, class_name, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &WindowBase::window_proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = class_name;
        if (!RegisterClassExW(&wc)) return false;
    }
    if (!create_top_level(class_name, caption, style, x, y, w, h, owner, this)) return false;
    ShowWindow(hwnd_, show_command);
    UpdateWindow(hwnd_);
    return true;
}

LRESULT WindowBase::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcW(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK WindowBase::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        LRESULT result = self->on_message(message, wparam, lparam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return result;
    }
    return self->on_message(message, wparam, lparam);
}

}  // namespace platform::win32
