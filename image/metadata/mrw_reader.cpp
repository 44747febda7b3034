#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"
#include "image/metadata/tiff_reader.h"

namespace imaging {

namespace metadata {

namespace {
constexpr int kMaxBlocks = 32;
}

// "\0MRM" and the length of the blocks that follow, each a name and a
// length; the TTW block is a TIFF block with the Exif IFD.
std::optional<std::string> mrw_date(const ByteSource& file) {
    std::vector<std::uint8_t> head = read_up_to(file, 0, 8);
    if (head.size() != 8) return std::nullopt;
    const std::uint64_t end = std::min<std::uint64_t>(8 + ByteView(head).u32(4, ByteOrder::Big), file.size());
    std::uint64_t at = 8;
    for (int step = 0; step < kMaxBlocks && at + 8 <= end; ++step) {
        std::vector<std::uint8_t> block_head = read_up_to(file, at, 8);
        ByteView block(block_head);
        const std::uint64_t length = block.u32(4, ByteOrder::Big);
        if (block.matches(0, std::string_view("\0TTW", 4))) {
            SourceWindow tiff(file, at + 8, length);
            std::optional<TiffContents> contents = read_tiff(tiff);
            return contents ? original_date(contents->properties) : std::nullopt;
        }
        if (length > end - at - 8) break;
        at += 8 + length;
    }
    return std::nullopt;
}

}  // namespace metadata

}  // namespace imaging
