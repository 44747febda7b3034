#pragma once

// Display scale. Every position, size and font of the program's windows is
// designed in pixels at 96 DPI and shown scaled to the DPI of the monitor the
// window is on; at 96 DPI nothing changes.
namespace platform {

inline constexpr int kDesignDpi = 96;

// A design length in pixels at dpi, rounded to the nearest pixel (halves away
// from zero), as the system's MulDiv rounds.
constexpr int scale_to_dpi(int design_pixels, int dpi) {
    long long product = static_cast<long long>(design_pixels) * dpi;
    long long half = kDesignDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi : (product - half) / kDesignDpi);
}

// A font's pixel height at 96 DPI in points (16 pixels are 12 points).
constexpr int points_of_design_pixels(int pixel_height) { return pixel_height * 72 / kDesignDpi; }

}  // namespace platform
