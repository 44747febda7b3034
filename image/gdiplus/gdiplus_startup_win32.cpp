#include "image/gdiplus/gdiplus_api.h"
#include "image/image_file.h"

#include <utility>

namespace imaging {

std::uintptr_t StartGdiplus(std::uintptr_t& gdiplusToken, std::uint32_t version) {
    // A second start on the same token would lose the first session, which
    // then could never be shut down.
    if (gdiplusToken != 0) return gdiplusToken;
    gdiplus::StartupInput input{version, nullptr, FALSE, FALSE};
    ULONG_PTR token = 0;
    if (gdiplus::api().GdiplusStartup(&token, &input, nullptr) != image_status::Ok) token = 0;
    gdiplusToken = token;
    return gdiplusToken;
}

void StopGdiplus(std::uintptr_t& gdiplusToken) {
    std::uintptr_t token = std::exchange(gdiplusToken, 0);
    if (token != 0) gdiplus::api().GdiplusShutdown(token);
}

}  // namespace imaging
