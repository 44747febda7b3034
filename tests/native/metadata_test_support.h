#pragma once

#include "image/sources/byte_sources.h"
#include "image/image_metadata.h"
#include "image_builders.h"

#include <optional>
#include <string>

namespace test_images {

using namespace imaging;

inline std::optional<ImageMetadata> read_bytes(const Bytes& bytes) { return read_image_metadata(MemorySource(bytes)); }

inline const PropertyRecord* find_property(const ImageMetadata& image, std::int32_t id) {
    for (const PropertyRecord& p : image.properties) {
        if (p.id == id) return &p;
    }
    return nullptr;
}

// The value bytes of a property as text, closing zero included; empty when absent.
inline std::string value_text(const ImageMetadata& image, std::int32_t id) {
    const PropertyRecord* p = find_property(image, id);
    return p ? std::string(p->value.begin(), p->value.end()) : std::string();
}

inline std::string with_zero(const std::string& text) { return text + std::string(1, '\0'); }

}  // namespace test_images
