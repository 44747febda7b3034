#include "image/image_format_guids.h"

namespace imaging {

std::string raw_format_guid(ImageFormat format) {
    // The imaging library's format GUIDs differ only in their first group.
    const char* first = nullptr;
    switch (format) {
        case ImageFormat::Bmp: first = "B96B3CAB"; break;
        case ImageFormat::Jpeg: first = "B96B3CAE"; break;
        case ImageFormat::Png: first = "B96B3CAF"; break;
        case ImageFormat::Gif: first = "B96B3CB0"; break;
        case ImageFormat::Tiff: first = "B96B3CB1"; break;
        case ImageFormat::Icon: first = "B96B3CB5"; break;
        case ImageFormat::Heif: first = "B96B3CB6"; break;
        case ImageFormat::WebP: first = "B96B3CB7"; break;
        case ImageFormat::Unknown: break;
    }
    if (!first) return "{00000000-0000-0000-0000-000000000000}";
    return std::string("{") + first + "-0728-11D3-9D7B-0000F81EF32E}";
}

}  // namespace imaging
