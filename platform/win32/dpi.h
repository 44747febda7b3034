#pragma once

#include <windows.h>

// Display scale. Every position, size and font of the program's windows is
// designed in pixels at 96 DPI and shown scaled to the DPI of the monitor the
// window is on; at 96 DPI nothing changes.
namespace platform::win32 {

inline constexpr int kDesignDpi = 96;

// A design length in pixels at dpi, rounded to the nearest pixel.
inline int scale_to_dpi(int design_pixels, int dpi) { return MulDiv(design_pixels, dpi, kDesignDpi); }

// The DPI a window is shown at: its monitor's where the system tells each
// window its own, else the system's.
int window_dpi(HWND window);

// The DPI of the monitor that holds a point of the screen.
int dpi_at(POINT screen_point);

// The outer size, at dpi, of a window whose outer size at 96 DPI is
// design_outer: its client area as at 96 DPI, scaled, plus the frame that
// the system draws at dpi.
SIZE outer_size_at_dpi(SIZE design_outer, DWORD style, DWORD ex_style, int dpi);

// A system metric (SM_CXSMICON and the like) at dpi.
int system_metric_at_dpi(int index, int dpi);

}  // namespace platform::win32
