#pragma once

#include "platform/display_scale.h"

#include <windows.h>

// The display scale as Win32 tells it (see platform/display_scale.h).
namespace platform::win32 {

using platform::kDesignDpi;
using platform::scale_to_dpi;

// The DPI a window is shown at: its monitor's where the system tells each
// window its own, else the system's.
int window_dpi(HWND window);

// The DPI of the monitor that holds a point of the screen.
int dpi_at(POINT screen_point);

// The outer size, at dpi, of a window whose outer size at 96 DPI is
// design_outer: its client area as at 96 DPI, scaled, plus the frame that
// the system draws at dpi.
SIZE outer_size_at_dpi(SIZE design_outer, DWORD style, DWORD ex_style, int dpi);

// The client size, at dpi, of a window whose outer size at 96 DPI is
// design_outer: its client area as at 96 DPI, scaled.
SIZE client_size_at_dpi(SIZE design_outer, DWORD style, DWORD ex_style, int dpi);

// A system metric (SM_CXSMICON and the like) at dpi.
int system_metric_at_dpi(int index, int dpi);

}  // namespace platform::win32
