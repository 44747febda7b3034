#include "image/metadata/exif_block.h"

#include "image/metadata/source_reads.h"
#include "image/metadata/tiff_reader.h"

#include <string_view>

namespace imaging {

namespace metadata {

std::vector<PropertyRecord> read_exif_block(const ByteSource& block) {
    constexpr std::string_view kExifPrefix("Exif\0\0", 6);
    std::vector<std::uint8_t> head = read_up_to(block, 0, kExifPrefix.size());
    std::uint64_t start = ByteView(head).matches(0, kExifPrefix) ? kExifPrefix.size() : 0;
    SourceWindow tiff(block, start, block.size());
    std::optional<TiffContents> contents = read_tiff(tiff);
    if (!contents) return {};
    return std::move(contents->properties);
}

}  // namespace metadata

}  // namespace imaging
