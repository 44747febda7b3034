#pragma once

#include "image/gdiplus/gdiplus_api.h"
#include "image/image_file.h"
#include "image/image_metadata.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace imaging {

// GUIDs as the image object's callers see them: braced upper-case text,
// {B96B3CAE-0728-11D3-9D7B-0000F81EF32E}.
std::string guid_to_text(const GUID& guid);
// The GUID a braced text spells (hex digits of either case); all zero for any
// other text.
GUID text_to_guid(const std::string& text);

// Reading the blocks GDI+ fills and building the blocks it reads. Every size
// and pointer GDI+ hands back is checked against the block before use.
namespace gdiplus {

// Largest block the program lets GDI+ ask for; anything larger is taken as a
// corrupt size rather than allocated.
inline constexpr std::uint64_t kLargestBuffer = 256u << 20;

// A zero-filled block of size bytes, aligned for any GDI+ structure; nothing
// when size is above kLargestBuffer or the memory cannot be had.
std::optional<std::vector<std::byte>> zeroed_buffer(std::uint64_t size);

// Bytes one value of an encoder parameter type takes; 0 for an unknown type.
std::uint32_t bytes_per_value(std::uint32_t type);

// A property item as GDI+ returned it. The value is taken at the item's value
// pointer, and only as far as the block reaches; length then says how many
// bytes were taken. Nothing when the block is too short for the item header.
std::optional<PropertyRecord> read_property_item(std::span<const std::byte> block);

// A palette block; nothing when its count runs past the block.
std::optional<PaletteRecord> read_palette(std::span<const std::byte> block);

// An encoder parameter list; nothing when the list or a value runs past the block.
std::optional<EncoderParameterList> read_encoder_parameters(std::span<const std::byte> block);

// count codec entries from the block of GdipGetImageEncoders; nothing when
// they run past it. Texts and signatures that lie inside the block must end
// inside it; Wine's GDI+ points them at its own codec table instead, which
// is read as the library's own memory.
std::optional<std::vector<CodecInfo>> read_codecs(std::span<const std::byte> block, std::uint32_t count);

// The GDI+ form of a caller's encoder parameter list; it points at the
// caller's value bytes, which must outlive it.
class EncoderParameterBlock {
public:
    // Nothing when count differs from the number of entries, a type is
    // unknown, or an entry holds fewer value bytes than its values need:
    // GDI+ would read past them.
    static std::optional<EncoderParameterBlock> build(const EncoderParameterList& list);
    const EncoderParameters* get() const { return reinterpret_cast<const EncoderParameters*>(block_.data()); }

private:
    std::vector<std::byte> block_;
};

// The GDI+ form of a palette; nothing when count exceeds the entries.
class PaletteBlock {
public:
    static std::optional<PaletteBlock> build(const PaletteRecord& palette);
    const ColorPalette* get() const { return reinterpret_cast<const ColorPalette*>(words_.data()); }

private:
    std::vector<std::uint32_t> words_;
};

}  // namespace gdiplus

}  // namespace imaging
