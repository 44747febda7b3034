#pragma once

#include <windows.h>

#include <gtest/gtest.h>

// The display scale the tests run at (the Wine prefix's LogPixels: 96, 144
// or 192) and the designed 96-DPI layouts scaled to it.
namespace scale {

int screen_dpi();
// A 96-DPI length at the display's DPI.
int px(int design_pixels);

// A control's place in its parent's client area is its 96-DPI rectangle
// scaled, exactly at 96 DPI and within a pixel of rounding elsewhere. A
// drop-down list's closed height is the system's and is not compared.
::testing::AssertionResult placed_at(HWND control, int x, int y, int w, int h, bool system_height = false);

// The same for a rectangle measured by the caller.
::testing::AssertionResult rect_is(const RECT& r, int x, int y, int w, int h, bool system_height = false);

// A top-level window at its 96-DPI place with its 96-DPI outer size: the
// place scaled, and the client area of that outer size at 96 DPI, scaled.
::testing::AssertionResult window_placed_at(HWND window, int x, int y, int w, int h);
// The same for a window whose place is not compared.
::testing::AssertionResult window_sized(HWND window, int w, int h);
// Only the client area of that outer size at 96 DPI, scaled, whatever the frame.
::testing::AssertionResult client_sized(HWND window, int w, int h);

// A font's height is its 96-DPI pixel height scaled, within 1.5 pixels.
::testing::AssertionResult font_height_is(HFONT font, int design_pixel_height);

}  // namespace scale
