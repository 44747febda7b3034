#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace imaging {

// Random access to the bytes of an image, so the reader takes only the parts
// it needs (a photo's metadata sits in its first kilobytes).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Copies up to out.size() bytes starting at offset; returns how many were copied.
    virtual std::size_t read_at(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

// Bytes already in memory; the caller keeps them alive.
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    std::size_t read_at(std::uint64_t offset, std::span<std::uint8_t> out) const override;

private:
    std::span<const std::uint8_t> bytes_;
};

// A regular file opened for reading, with small reads served from a block
// read ahead; nothing when it cannot be opened or is not a regular file (a
// directory named like an image, say).
std::unique_ptr<ByteSource> open_file_source(const std::string& path);

}  // namespace imaging
