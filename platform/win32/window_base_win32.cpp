#include "platform/win32/window_base.h"

#include "platform/win32/message_dispatch.h"
#include "platform/win32/text.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

namespace platform::win32 {
namespace {

// The program's icon is its first icon resource, the one Explorer shows.
constexpr int kProgramIconId = 1;

// WM_DPICHANGED, from Windows 8.1 on; declared here for older headers.
constexpr UINT kDpiChangedMessage = 0x02E0;
// The program's own message for post_deferred.
constexpr UINT kDeferredMessage = WM_APP + 1;

HICON load_program_icon(int side) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, side, side, 0));
}

std::vector<std::string> dropped_paths(HDROP drop) {
    std::vector<std::string> paths;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        length = DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(length);
        if (!path.empty()) paths.push_back(narrow(path));
    }
    return paths;
}

bool is_push_button(HWND control) {
    return (SendMessageW(control, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

}  // namespace

WindowBase::~WindowBase() {
    if (hwnd_) {
        // The object is going away: its last messages go to DefWindowProc.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

int WindowBase::scaled(int design_pixels) const { return scale_to_dpi(design_pixels, dpi_); }

void WindowBase::bring_to_front() const {
    if (!hwnd_) return;
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
}

bool WindowBase::create_window(const WindowDesign& design, HWND owner, int show_command,
                               std::optional<POINT> offset_from_owner) {
    set_key_filter(&WindowBase::filter_key);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(instance, design.class_name, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &WindowBase::window_proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kProgramIconId));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = design.class_name;
        if (!RegisterClassExW(&wc)) return false;
    }
    design_ = &design;

    // Placed and sized for the monitor it opens on: the owner's, or the one
    // at the design's place.
    int dpi = owner ? window_dpi(owner) : dpi_at(POINT{design.x, design.y});
    POINT at{scale_to_dpi(design.x, dpi), scale_to_dpi(design.y, dpi)};
    if (owner && offset_from_owner) {
        RECT owner_rect{};
        GetWindowRect(owner, &owner_rect);
        at = POINT{owner_rect.left + scale_to_dpi(offset_from_owner->x, dpi),
                   owner_rect.top + scale_to_dpi(offset_from_owner->y, dpi)};
    }
    dpi_ = dpi;
    SIZE size = outer_size_at_dpi(SIZE{design.width, design.height}, design.style, WS_EX_CONTROLPARENT, dpi);
    HWND made = CreateWindowExW(WS_EX_CONTROLPARENT, design.class_name, widen(design.caption).c_str(), design.style,
                                at.x, at.y, size.cx, size.cy, owner, nullptr, instance, this);
    if (!made) return false;
    // The system may have put it on a monitor of another scale after all.
    if (window_dpi(hwnd_) != dpi_) apply_dpi(window_dpi(hwnd_), nullptr);
    fit_client_area();
    // Focus rectangles show from the start, not only after a first key.
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    ShowWindow(hwnd_, show_command);
    UpdateWindow(hwnd_);
    return true;
}

void WindowBase::on_close() { DestroyWindow(hwnd_); }

void WindowBase::post_deferred(int task) {
    if (hwnd_) PostMessageW(hwnd_, kDeferredMessage, static_cast<WPARAM>(task), 0);
}

void WindowBase::watch_pointer_moves(int control_id, std::function<void(POINT)> on_move) {
    watches_.push_back(std::make_unique<ControlWatch>(ControlWatch{std::move(on_move), nullptr}));
    SetWindowSubclass(control(control_id), &WindowBase::watch_proc, reinterpret_cast<UINT_PTR>(watches_.back().get()),
                      reinterpret_cast<DWORD_PTR>(watches_.back().get()));
}

void WindowBase::watch_presses(int control_id, std::function<void()> on_press) {
    watches_.push_back(std::make_unique<ControlWatch>(ControlWatch{nullptr, std::move(on_press)}));
    SetWindowSubclass(control(control_id), &WindowBase::watch_proc, reinterpret_cast<UINT_PTR>(watches_.back().get()),
                      reinterpret_cast<DWORD_PTR>(watches_.back().get()));
}

LRESULT CALLBACK WindowBase::watch_proc(HWND control, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                        DWORD_PTR ref_data) {
    const auto& watch = *reinterpret_cast<const ControlWatch*>(ref_data);
    if (message == WM_MOUSEMOVE && watch.on_move) {
        watch.on_move(POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
    } else if (message == WM_LBUTTONDOWN && watch.on_press) {
        // The press may close the window, control included: nothing of the
        // control is used afterwards.
        watch.on_press();
        return 0;
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, &WindowBase::watch_proc, id);
    }
    return DefSubclassProc(control, message, wparam, lparam);
}

void WindowBase::set_icons() {
    big_icon_.reset(load_program_icon(system_metric_at_dpi(SM_CXICON, dpi_)));
    small_icon_.reset(load_program_icon(system_metric_at_dpi(SM_CXSMICON, dpi_)));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_.get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
}

void WindowBase::apply_dpi(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    if (suggested) {
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SIZE size = outer_size_at_dpi(SIZE{design_->width, design_->height}, design_->style, WS_EX_CONTROLPARENT, dpi);
        SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    fit_client_area();
    controls_.lay_out(dpi);
    set_icons();
    on_dpi_changed(dpi);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

// The frame the system reports is not always the frame it draws: a caption
// font taller than the caption metric (a Wine prefix with its own fonts, some
// Windows themes) leaves a smaller client area than asked for. The window
// grows by what is missing, as far as the monitor's work area allows.
void WindowBase::fit_client_area() {
    if (fitting_) return;
    fitting_ = true;
    const SIZE want =
        client_size_at_dpi(SIZE{design_->width, design_->height}, design_->style, WS_EX_CONTROLPARENT, dpi_);
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT client{}, outer{};
        GetClientRect(hwnd_, &client);
        GetWindowRect(hwnd_, &outer);
        const int dw = want.cx - client.right, dh = want.cy - client.bottom;
        if (dw == 0 && dh == 0) break;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& work = monitor.rcWork;
        const int w = std::min<int>(outer.right - outer.left + dw, work.right - work.left);
        const int h = std::min<int>(outer.bottom - outer.top + dh, work.bottom - work.top);
        const int x = std::max<int>(work.left, std::min<int>(outer.left, work.right - w));
        const int y = std::max<int>(work.top, std::min<int>(outer.top, work.bottom - h));
        SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    fitting_ = false;
}

void WindowBase::on_frame_changed(const WINDOWPOS& position) {
    if (!design_ || !(position.flags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED))) return;
    if (!IsWindowVisible(hwnd_) || IsIconic(hwnd_)) return;
    fit_client_area();
}

// Dialog windows keep the control that had the focus when they are left and
// give it back when they are activated again; so do these.
void WindowBase::remember_focus(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) saved_focus_ = focus;
        return;
    }
    HWND target = saved_focus_ && IsWindow(saved_focus_) && IsChild(hwnd_, saved_focus_)
                      ? saved_focus_
                      : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    // A window without controls that take the focus keeps it itself, so its
    // keys still reach it.
    SetFocus(target ? target : hwnd_);
}

bool WindowBase::filter_key(const MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (!root || GetWindowLongPtrW(root, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&WindowBase::window_proc)) {
        return false;
    }
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(root, GWLP_USERDATA));
    if (!self) return false;
    HWND focus = GetFocus();
    // Enter on a push button presses that button, as in a dialog.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && focus && IsChild(root, focus) &&
        is_push_button(focus)) {
        SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
    }
    KeyPress key{static_cast<UINT>(msg.wParam), (GetKeyState(VK_CONTROL) & 0x8000) != 0,
                 (GetKeyState(VK_SHIFT) & 0x8000) != 0, focus};
    return self->on_key(key);
}

LRESULT WindowBase::route(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            controls_.create(hwnd_, design_->controls, design_->font, dpi_);
            set_icons();
            on_create();
            return 0;
        case WM_COMMAND:
            on_command(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_NOTIFY:
            return on_notify(*reinterpret_cast<const NMHDR*>(lparam));
        case WM_CLOSE:
            on_close();
            return 0;
        case WM_DESTROY:
            on_destroy();
            return 0;
        case kDpiChangedMessage:
            apply_dpi(LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
            return 0;
        case WM_DROPFILES: {
            auto drop = reinterpret_cast<HDROP>(wparam);
            std::vector<std::string> paths = dropped_paths(drop);
            DragFinish(drop);
            on_drop_files(paths);
            return 0;
        }
        case WM_CONTEXTMENU:
            on_context_menu(reinterpret_cast<HWND>(wparam), POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
            return 0;
        case WM_MEASUREITEM:
            if (on_measure_item(*reinterpret_cast<MEASUREITEMSTRUCT*>(lparam))) return TRUE;
            break;
        case WM_DRAWITEM:
            if (on_draw_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) return TRUE;
            break;
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush = label_background(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam))) {
                return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_ERASEBKGND:
            if (paint_background(reinterpret_cast<HDC>(wparam))) return 1;
            break;
        case WM_WINDOWPOSCHANGED: {
            // The system's own handling (WM_SIZE, WM_MOVE) comes first.
            LRESULT result = DefWindowProcW(hwnd_, message, wparam, lparam);
            on_frame_changed(*reinterpret_cast<const WINDOWPOS*>(lparam));
            return result;
        }
        case WM_ACTIVATE:
            remember_focus(LOWORD(wparam) != WA_INACTIVE);
            return 0;
        case kDeferredMessage:
            on_deferred(static_cast<int>(wparam));
            return 0;
        case DM_GETDEFID:
            if (design_->default_button != 0) return MAKELRESULT(design_->default_button, DC_HASDEFID);
            return 0;
        default:
            break;
    }
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
        LRESULT result = DefWindowProcW(hwnd, message, wparam, lparam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return result;
    }
    return self->route(message, wparam, lparam);
}

}  // namespace platform::win32
