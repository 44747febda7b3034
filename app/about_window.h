#pragma once

#include "platform/win32/handles.h"
#include "platform/win32/window_base.h"

#include <windows.h>

namespace app {

// Control ids of the About window.
enum AboutWindowControl : int {
    kAboutLogo = 101,  // 标签1 logo picture
    kAboutTitle,       // 标签2 product name
    kAboutDetails,     // 标签3 version and contact lines
    kAboutAuthor,      // 标签4 author line
    kAboutOkLabel,     // 标签5 "确定", a label that acts as a button
};

// Background of the About window and of its labels.
inline constexpr COLORREF kAboutBackground = RGB(236, 236, 236);

// The product's name, version, contact lines and logo. It has no logic beyond
// closing itself when "确定" is pressed, or Esc, Enter or Space.
class AboutWindow : public platform::win32::WindowBase {
public:
    AboutWindow() = default;

    // Creates and shows the window, owned by owner; false when it could not be made.
    bool create(HWND owner);

private:
    // WindowBase
    void on_create() override;
    void on_dpi_changed(int dpi) override;
    bool on_key(const platform::win32::KeyPress& key) override;
    HBRUSH label_background(HDC dc, HWND label) override;
    bool paint_background(HDC dc) override;

    void show_logo();
    // 标签5 pressed.
    void close_about();

    platform::win32::UniqueBrush background_;
    platform::win32::UniqueBitmap logo_;
};

}  // namespace app
