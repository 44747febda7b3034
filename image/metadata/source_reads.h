#pragma once

#include "image/image_metadata.h"

#include <cstdint>
#include <vector>

namespace imaging {

namespace metadata {

// Up to n bytes from offset: fewer when the source ends sooner, none when the
// offset lies past its end. The caller's n is its own cap; nothing larger is
// ever allocated.
std::vector<std::uint8_t> read_up_to(const ByteSource& source, std::uint64_t offset, std::size_t n);

// A stretch of another source, seen as a source of its own starting at 0 (the
// EXIF block inside a PNG chunk, a WebP chunk or a HEIF item). The stretch is
// cut short where the underlying source ends.
class SourceWindow final : public ByteSource {
public:
    SourceWindow(const ByteSource& base, std::uint64_t offset, std::uint64_t length);
    std::uint64_t size() const override { return length_; }
    std::size_t read_at(std::uint64_t offset, std::span<std::uint8_t> out) const override;

private:
    const ByteSource& base_;
    std::uint64_t offset_;
    std::uint64_t length_;
};

}  // namespace metadata

}  // namespace imaging
