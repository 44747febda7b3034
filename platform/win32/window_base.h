#pragma once

#include <windows.h>

namespace platform::win32 {

// A top-level window bound to a C++ object: messages go to on_message of the
// object that created the window. The object owns its window: destroying the
// object destroys the window. A window that closes itself leaves the object
// behind with hwnd() null, ready to be dropped or replaced by its owner.
class WindowBase {
public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    virtual ~WindowBase();

    HWND hwnd() const { return hwnd_; }
    bool is_open() const { return hwnd_ != nullptr; }
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }
    void bring_to_front() const;

protected:
    WindowBase() = default;

    // Registers the window class on first use, creates the window with the
    // outer size w x h at (x, y) and shows it as show_command (SW_SHOW and
    // the like) says. False when the window could not be made.
    bool create_window(const wchar_t* class_name, const char* caption, DWORD style, int x, int y, int w, int h,
                       HWND owner, int show_command);

    // Handles one message; the default passes it to DefWindowProc.
    virtual LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam);

private:
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    HWND hwnd_ = nullptr;
};

}  // namespace platform::win32
