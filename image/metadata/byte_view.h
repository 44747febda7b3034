#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace imaging {

namespace metadata {

enum class ByteOrder { Little, Big };

// A bounds-checked view of bytes already in memory. Every read checks its
// range first (as n <= size - off, which cannot wrap) and gives 0 for a range
// that is not wholly inside; callers that must tell "absent" from 0 ask has().
class ByteView {
public:
    ByteView() = default;
    explicit ByteView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint64_t size() const { return bytes_.size(); }
    std::span<const std::uint8_t> bytes() const { return bytes_; }

    bool has(std::uint64_t off, std::uint64_t n) const { return off <= bytes_.size() && n <= bytes_.size() - off; }

    std::uint8_t u8(std::uint64_t off) const { return has(off, 1) ? bytes_[static_cast<std::size_t>(off)] : 0; }
    std::uint16_t u16(std::uint64_t off, ByteOrder order) const {
        return static_cast<std::uint16_t>(number(off, 2, order));
    }
    std::uint32_t u24(std::uint64_t off, ByteOrder order) const {
        return static_cast<std::uint32_t>(number(off, 3, order));
    }
    std::uint32_t u32(std::uint64_t off, ByteOrder order) const {
        return static_cast<std::uint32_t>(number(off, 4, order));
    }
    std::uint64_t u64(std::uint64_t off, ByteOrder order) const { return number(off, 8, order); }

    // The part [off, off + n), cut short at the end; empty when off is past it.
    ByteView sub(std::uint64_t off, std::uint64_t n) const {
        if (off > bytes_.size()) return {};
        std::uint64_t left = bytes_.size() - off;
        return ByteView(bytes_.subspan(static_cast<std::size_t>(off), static_cast<std::size_t>(n < left ? n : left)));
    }
    ByteView from(std::uint64_t off) const { return sub(off, size()); }

    bool matches(std::uint64_t off, std::string_view text) const {
        if (!has(off, text.size())) return false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (bytes_[static_cast<std::size_t>(off) + i] != static_cast<std::uint8_t>(text[i])) return false;
        }
        return true;
    }

private:
    std::uint64_t number(std::uint64_t off, unsigned n, ByteOrder order) const {
        if (!has(off, n)) return 0;
        std::uint64_t value = 0;
        for (unsigned i = 0; i < n; ++i) {
            unsigned pick = order == ByteOrder::Big ? i : n - 1 - i;
            value = (value << 8) | bytes_[static_cast<std::size_t>(off) + pick];
        }
        return value;
    }

    std::span<const std::uint8_t> bytes_;
};

// Reads a big-endian structure (ISO boxes) field after field. A read past the
// end gives 0 and marks the cursor failed, so a parser checks ok() once after
// a group of reads.
class ByteCursor {
public:
    ByteCursor(ByteView bytes, std::uint64_t at = 0) : bytes_(bytes), at_(at) {}

    bool ok() const { return ok_; }
    std::uint64_t position() const { return at_; }
    std::uint64_t left() const { return at_ <= bytes_.size() ? bytes_.size() - at_ : 0; }

    std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(take(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(take(4)); }
    std::uint64_t u64() { return take(8); }
    // A big-endian number of 0, 4 or 8 bytes, as the item location box sizes them.
    std::uint64_t sized(unsigned n) {
        if (n == 0) return 0;
        if (n == 4 || n == 8) return take(n);
        ok_ = false;
        return 0;
    }
    void skip(std::uint64_t n) {
        if (ok_ && bytes_.has(at_, n)) {
            at_ += n;
        } else {
            ok_ = false;
        }
    }

private:
    std::uint64_t take(unsigned n) {
        if (!ok_ || !bytes_.has(at_, n)) {
            ok_ = false;
            return 0;
        }
        std::uint64_t value = n == 8 ? bytes_.u64(at_, ByteOrder::Big)
                              : n == 4 ? bytes_.u32(at_, ByteOrder::Big)
                              : n == 2 ? bytes_.u16(at_, ByteOrder::Big)
                                       : bytes_.u8(at_);
        at_ += n;
        return value;
    }

    ByteView bytes_;
    std::uint64_t at_;
    bool ok_ = true;
};

}  // namespace metadata

}  // namespace imaging
