#pragma once

#include "image/metadata/byte_view.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace imaging {

namespace metadata {

struct ItemExtent {
    std::uint64_t offset = 0;  // base offset included
    std::uint64_t length = 0;  // 0: up to the end of the file or idat box
};

struct ItemLocation {
    bool in_idat = false;  // construction method 1: offsets count within the idat box
    std::vector<ItemExtent> extents;
};

// What the program needs from a HEIF file's meta box.
struct HeifMeta {
    std::optional<ItemLocation> exif;  // the first item of type "Exif"
    std::optional<ItemLocation> xmp;   // the first "mime" item of type application/rdf+xml
    std::uint32_t width = 0;           // the primary item's spatial extent
    std::uint32_t height = 0;
    ByteView idat;                     // payload of the idat box, if any
};

// Parses the payload of a meta box (from its version and flags on). Broken or
// missing parts are left out of the result.
HeifMeta parse_heif_meta(ByteView meta_payload);

}  // namespace metadata

}  // namespace imaging
