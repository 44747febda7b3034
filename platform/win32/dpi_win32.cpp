#include "platform/win32/dpi.h"

namespace platform::win32 {
namespace {

// The per-window DPI calls came with Windows 10; the program also runs on
// older systems, where the system DPI holds for every window.
struct DpiFunctions {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

    GetDpiForWindowFn get_dpi_for_window = nullptr;
    AdjustWindowRectExForDpiFn adjust_window_rect_for_dpi = nullptr;
    GetSystemMetricsForDpiFn get_system_metrics_for_dpi = nullptr;
    GetDpiForMonitorFn get_dpi_for_monitor = nullptr;

    template <class Fn>
    static Fn find(HMODULE module, const char* name) {
        // A FARPROC becomes the function's own pointer type, as GetProcAddress requires.
        return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
    }

    DpiFunctions() {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        get_dpi_for_window = find<GetDpiForWindowFn>(user32, "GetDpiForWindow");
        adjust_window_rect_for_dpi = find<AdjustWindowRectExForDpiFn>(user32, "AdjustWindowRectExForDpi");
        get_system_metrics_for_dpi = find<GetSystemMetricsForDpiFn>(user32, "GetSystemMetricsForDpi");
        // shcore.dll is part of Windows 8.1 and later; it stays loaded for the run.
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        get_dpi_for_monitor = find<GetDpiForMonitorFn>(shcore, "GetDpiForMonitor");
    }
};

const DpiFunctions& functions() {
    static const DpiFunctions found;
    return found;
}

int system_dpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

// The frame around a client area at dpi, as left, top, right and bottom widths.
RECT frame_at_dpi(DWORD style, DWORD ex_style, int dpi) {
    RECT rect{0, 0, 0, 0};
    if (functions().adjust_window_rect_for_dpi) {
        functions().adjust_window_rect_for_dpi(&rect, style, FALSE, ex_style, static_cast<UINT>(dpi));
    } else {
        // The plain call answers for the system DPI, the only one there is then.
        AdjustWindowRectEx(&rect, style, FALSE, ex_style);
    }
    return RECT{-rect.left, -rect.top, rect.right, rect.bottom};
}

}  // namespace

int window_dpi(HWND window) {
    if (window && functions().get_dpi_for_window) {
        UINT dpi = functions().get_dpi_for_window(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return system_dpi();
}

int dpi_at(POINT screen_point) {
    if (functions().get_dpi_for_monitor) {
        HMONITOR monitor = MonitorFromPoint(screen_point, MONITOR_DEFAULTTONEAREST);
        UINT x = 0, y = 0;
        constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
        if (monitor && SUCCEEDED(functions().get_dpi_for_monitor(monitor, kEffectiveDpi, &x, &y)) && x > 0) {
            return static_cast<int>(x);
        }
    }
    return system_dpi();
}

SIZE client_size_at_dpi(SIZE design_outer, DWORD style, DWORD ex_style, int dpi) {
    RECT design_frame = frame_at_dpi(style, ex_style, kDesignDpi);
    int client_w = design_outer.cx - design_frame.left - design_frame.right;
    int client_h = design_outer.cy - design_frame.top - design_frame.bottom;
    return SIZE{scale_to_dpi(client_w, dpi), scale_to_dpi(client_h, dpi)};
}

SIZE outer_size_at_dpi(SIZE design_outer, DWORD style, DWORD ex_style, int dpi) {
    SIZE client = client_size_at_dpi(design_outer, style, ex_style, dpi);
    RECT frame = frame_at_dpi(style, ex_style, dpi);
    return SIZE{client.cx + frame.left + frame.right, client.cy + frame.top + frame.bottom};
}

int system_metric_at_dpi(int index, int dpi) {
    if (functions().get_system_metrics_for_dpi)
        return functions().get_system_metrics_for_dpi(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, system_dpi());
}

}  // namespace platform::win32
