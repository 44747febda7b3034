#include "display_scale.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace scale {
namespace {

int slack() { return screen_dpi() == 96 ? 0 : 1; }

std::string describe(const RECT& r) {
    std::ostringstream out;
    out << "(" << r.left << ", " << r.top << ", " << r.right - r.left << " x " << r.bottom - r.top << ")";
    return out.str();
}

// The frame the system draws around a client area at 96 DPI.
RECT design_frame(DWORD style, DWORD ex_style) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    auto adjust = reinterpret_cast<Adjust>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT r{0, 0, 0, 0};
    if (adjust) adjust(&r, style, FALSE, ex_style, 96);
    return RECT{-r.left, -r.top, r.right, r.bottom};
}

}  // namespace

::testing::AssertionResult client_sized(HWND window, int w, int h) {
    DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    DWORD ex_style = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    RECT frame = design_frame(style, ex_style);
    int want_w = px(w - frame.left - frame.right), want_h = px(h - frame.top - frame.bottom);
    RECT client{};
    GetClientRect(window, &client);
    if (std::abs(client.right - want_w) > slack() || std::abs(client.bottom - want_h) > slack()) {
        return ::testing::AssertionFailure() << "client area " << client.right << " x " << client.bottom
                                             << ", designed " << want_w << " x " << want_h;
    }
    return ::testing::AssertionSuccess();
}

int screen_dpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int px(int design_pixels) { return MulDiv(design_pixels, screen_dpi(), 96); }

::testing::AssertionResult placed_at(HWND control, int x, int y, int w, int h, bool system_height) {
    if (!control) return ::testing::AssertionFailure() << "no such control";
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return rect_is(r, x, y, w, h, system_height);
}

::testing::AssertionResult rect_is(const RECT& r, int x, int y, int w, int h, bool system_height) {
    RECT want{px(x), px(y), px(x) + px(w), px(y) + px(h)};
    bool ok = std::abs(r.left - want.left) <= slack() && std::abs(r.top - want.top) <= slack() &&
              std::abs((r.right - r.left) - (want.right - want.left)) <= slack() &&
              (system_height || std::abs((r.bottom - r.top) - (want.bottom - want.top)) <= slack());
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "placed at " << describe(r) << ", designed " << describe(want) << " at "
                                         << screen_dpi() << " DPI";
}

::testing::AssertionResult window_placed_at(HWND window, int x, int y, int w, int h) {
    RECT outer{};
    GetWindowRect(window, &outer);
    if (std::abs(outer.left - px(x)) > slack() || std::abs(outer.top - px(y)) > slack()) {
        return ::testing::AssertionFailure() << "window at " << outer.left << ", " << outer.top;
    }
    return window_sized(window, w, h);
}

::testing::AssertionResult window_sized(HWND window, int w, int h) {
    if (screen_dpi() == 96) {
        RECT outer{};
        GetWindowRect(window, &outer);
        if (outer.right - outer.left != w || outer.bottom - outer.top != h) {
            return ::testing::AssertionFailure() << "outer size " << outer.right - outer.left << " x "
                                                 << outer.bottom - outer.top << ", designed " << w << " x " << h;
        }
    }
    return client_sized(window, w, h);
}

::testing::AssertionResult font_height_is(HFONT font, int design_pixel_height) {
    LOGFONTW lf{};
    if (!font || !GetObjectW(font, sizeof lf, &lf)) return ::testing::AssertionFailure() << "no font";
    double want = design_pixel_height * screen_dpi() / 96.0;
    if (std::fabs(-lf.lfHeight - want) > 1.5) {
        return ::testing::AssertionFailure() << "font " << -lf.lfHeight << " px high, designed " << want;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace scale
