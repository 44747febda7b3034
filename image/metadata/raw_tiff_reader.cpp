#include "image/metadata/media_readers.h"
#include "image/metadata/tiff_reader.h"

namespace imaging {

namespace metadata {

// Olympus writes "IIRO", "IIRS" or "MMOR", Panasonic "IIU\0" where a TIFF has "II*\0".
bool is_raw_tiff_header(ByteView head) {
    return head.matches(0, "IIRO") || head.matches(0, "IIRS") || head.matches(0, "MMOR") ||
           head.matches(0, std::string_view("IIU\0", 4));
}

std::optional<std::string> raw_tiff_date(const ByteSource& file) {
    std::optional<TiffContents> contents = read_tiff(file, true);
    if (!contents) return std::nullopt;
    return original_date(contents->properties);
}

}  // namespace metadata

}  // namespace imaging
