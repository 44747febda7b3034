#pragma once

#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_layout.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform::win32 {

// What a top-level window is made of: its class, caption and frame, its place
// and outer size at 96 DPI, and its table of controls.
struct WindowDesign {
    const wchar_t* class_name;
    const char* caption;  // UTF-8
    DWORD style;
    int x, y, width, height;  // outer, in screen pixels at 96 DPI
    std::span<const ControlLayout> controls;
    FontStyle font;          // for the controls without a font of their own
    int default_button = 0;  // the push button Enter presses, 0 for none
};

// A key pressed in one of the program's windows, before the control that has
// the focus sees it.
struct KeyPress {
    UINT key;  // virtual-key code
    bool ctrl = false;
    bool shift = false;
    HWND focus = nullptr;  // the control that has the keyboard focus
};

// A top-level window bound to a C++ object. The object owns its window:
// destroying the object destroys the window. A window that closes itself
// leaves the object behind with hwnd() null, ready to be dropped or replaced
// by its owner.
//
// Messages arrive as the hooks below, so a window's code is its layout table
// and its handlers. The window is shown at its monitor's DPI and laid out
// again from its table when it moves to a monitor of another scale.
class WindowBase {
public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    virtual ~WindowBase();

    HWND hwnd() const { return hwnd_; }
    bool is_open() const { return hwnd_ != nullptr; }
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }
    void bring_to_front() const;

    // The DPI the window is laid out for, and a 96-DPI length at it.
    int dpi() const { return dpi_; }
    int scaled(int design_pixels) const;

protected:
    WindowBase() = default;

    // Registers the window class on first use, creates the window with its
    // controls at the DPI of the monitor it opens on and shows it as
    // show_command (SW_SHOW and the like) says. A window with an owner opens
    // at offset (96-DPI pixels) from the owner's top-left corner, else at the
    // design's place. False when the window could not be made.
    bool create_window(const WindowDesign& design, HWND owner, int show_command,
                       std::optional<POINT> offset_from_owner = std::nullopt);

    // Where a control of the table goes at the current DPI, in client pixels.
    RECT control_place(int id) const { return controls_.place(id); }
    HFONT control_font(int id) const { return controls_.font_of(id); }

    // Asks for on_deferred(task) when the window's events are next processed:
    // work that many changes in a row would otherwise each do at once (a
    // repaint) is done once.
    void post_deferred(int task);

    // Pointer moves over a control, in its client pixels.
    void watch_pointer_moves(int control_id, std::function<void(POINT)> on_move);
    // The left mouse button pressed on a control.
    void watch_presses(int control_id, std::function<void()> on_press);

    // Hooks, one per event. The defaults do what the system does.
    virtual void on_create() {}
    // WM_COMMAND: a control's notification, or IDOK / IDCANCEL for Enter and Esc.
    virtual void on_command(int /*id*/, int /*code*/) {}
    virtual LRESULT on_notify(const NMHDR& /*header*/) { return 0; }
    // The close box or Alt+F4; the default destroys the window.
    virtual void on_close();
    virtual void on_destroy() {}
    // After the window has been laid out again at dpi.
    virtual void on_dpi_changed(int /*dpi*/) {}
    // Files dropped on the window, as full paths.
    virtual void on_drop_files(const std::vector<std::string>& /*paths*/) {}
    // A right click or the menu key; screen is (-1, -1) for the key.
    virtual void on_context_menu(HWND /*control*/, POINT /*screen*/) {}
    // A key, before the control that has the focus sees it; true when handled.
    virtual bool on_key(const KeyPress& /*key*/) { return false; }
    // Work asked for by post_deferred.
    virtual void on_deferred(int /*task*/) {}
    // Owner-drawn controls; true when handled.
    virtual bool on_measure_item(MEASUREITEMSTRUCT& /*item*/) { return false; }
    virtual bool on_draw_item(const DRAWITEMSTRUCT& /*item*/) { return false; }
    // The brush a label paints its background with; null for the system's.
    virtual HBRUSH label_background(HDC /*dc*/, HWND /*label*/) { return nullptr; }
    // Fills the window's background; false for the system's.
    virtual bool paint_background(HDC /*dc*/) { return false; }

private:
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    static bool filter_key(const MSG& msg);
    LRESULT route(UINT message, WPARAM wparam, LPARAM lparam);
    void apply_dpi(int dpi, const RECT* suggested);
    // Grows or shrinks the frame until the client area is the designed one.
    void fit_client_area();
    // The frame changed under the window (Wine works out the frame it draws
    // itself only once the window is shown): fitted again.
    void on_frame_changed(const WINDOWPOS& position);
    void set_icons();
    void remember_focus(bool active);

    // What a watched control reports.
    struct ControlWatch {
        std::function<void(POINT)> on_move;
        std::function<void()> on_press;
    };
    static LRESULT CALLBACK watch_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                       DWORD_PTR ref_data);

    HWND hwnd_ = nullptr;
    const WindowDesign* design_ = nullptr;
    int dpi_ = kDesignDpi;
    ControlSet controls_;
    UniqueIcon big_icon_;
    UniqueIcon small_icon_;
    HWND saved_focus_ = nullptr;
    std::vector<std::unique_ptr<ControlWatch>> watches_;
    bool fitting_ = false;
};

}  // namespace platform::win32
