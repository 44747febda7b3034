#include "image/gdiplus/gdiplus_buffers_win32.h"

#include "platform/win32/text.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace imaging {

std::string guid_to_text(const GUID& guid) {
    wchar_t text[39] = {};
    if (StringFromGUID2(guid, text, 39) != 39) return {};
    return platform::win32::narrow(text);
}

GUID text_to_guid(const std::string& text) {
    GUID guid{};
    // Only the braced form: any other text would send CLSIDFromString looking
    // for a program id in the registry.
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return guid;
    std::wstring wide = platform::win32::widen(text);
    if (FAILED(CLSIDFromString(wide.c_str(), &guid))) guid = GUID{};
    return guid;
}

namespace gdiplus {

namespace {

template <class T>
T read_at(std::span<const std::byte> block, std::size_t offset) {
    T value;
    std::memcpy(&value, block.data() + offset, sizeof value);
    return value;
}

std::uintptr_t address_of(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

bool inside(std::span<const std::byte> block, const void* p) {
    std::uintptr_t at = address_of(p);
    return at >= address_of(block.data()) && at <= address_of(block.data()) + block.size();
}

// Bytes left in the block from p on (p inside the block).
std::size_t left_from(std::span<const std::byte> block, const void* p) {
    return block.size() - (address_of(p) - address_of(block.data()));
}

std::vector<std::uint8_t> copy_bytes(const void* p, std::size_t n) {
    const auto* first = static_cast<const std::uint8_t*>(p);
    return std::vector<std::uint8_t>(first, first + n);
}

// A zero-terminated UTF-16 text; one inside the block ends at the block's end at the latest.
std::string codec_text(std::span<const std::byte> block, const WCHAR* text) {
    if (!text) return {};
    std::size_t limit = inside(block, text) ? left_from(block, text) / sizeof(WCHAR) : std::wstring_view(text).size();
    std::size_t n = 0;
    while (n < limit && text[n] != 0) ++n;
    return platform::win32::narrow(std::wstring_view(text, n));
}

// count × size signature bytes, or nothing when they run past the block or are implausibly many.
std::optional<std::vector<std::uint8_t>> codec_signature(std::span<const std::byte> block, const BYTE* at,
                                                         std::uint64_t n) {
    if (n == 0 || !at) return std::vector<std::uint8_t>{};
    if (n > kLargestBuffer) return std::nullopt;
    if (inside(block, at) && n > left_from(block, at)) return std::nullopt;
    return copy_bytes(at, static_cast<std::size_t>(n));
}

}  // namespace

std::optional<std::vector<std::byte>> zeroed_buffer(std::uint64_t size) {
    if (size > kLargestBuffer) return std::nullopt;
    try {
        return std::vector<std::byte>(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::uint32_t bytes_per_value(std::uint32_t type) {
    switch (type) {
        case 1:
        case 2:
        case 7:
            return 1;
        case 3:
            return 2;
        case 4:
            return 4;
        case 5:
        case 6:
            return 8;
        case 8:
            return 16;
        default:
            return 0;
    }
}

std::optional<PropertyRecord> read_property_item(std::span<const std::byte> block) {
    if (block.size() < sizeof(PropertyItem)) return std::nullopt;
    auto item = read_at<PropertyItem>(block, 0);
    PropertyRecord record;
    record.id = static_cast<std::int32_t>(item.id);
    record.type = item.type;
    if (item.value && inside(block, item.value)) {
        std::size_t n = std::min<std::size_t>(item.length, left_from(block, item.value));
        record.value = copy_bytes(item.value, n);
    }
    record.length = static_cast<std::int32_t>(record.value.size());
    return record;
}

std::optional<PaletteRecord> read_palette(std::span<const std::byte> block) {
    constexpr std::size_t header = offsetof(ColorPalette, Entries);
    if (block.size() < header) return std::nullopt;
    PaletteRecord palette;
    palette.flags = read_at<std::uint32_t>(block, 0);
    palette.count = read_at<std::uint32_t>(block, 4);
    if (palette.count > (block.size() - header) / 4) return std::nullopt;
    palette.entries.resize(palette.count);
    std::memcpy(palette.entries.data(), block.data() + header, palette.entries.size() * 4);
    return palette;
}

std::optional<EncoderParameterList> read_encoder_parameters(std::span<const std::byte> block) {
    constexpr std::size_t header = offsetof(EncoderParameters, Parameter);
    if (block.size() < header) return std::nullopt;
    EncoderParameterList list;
    list.count = read_at<UINT>(block, 0);
    if (list.count > (block.size() - header) / sizeof(EncoderParameter)) return std::nullopt;
    list.parameters.resize(list.count);
    for (std::size_t i = 0; i < list.count; ++i) {
        auto entry = read_at<EncoderParameter>(block, header + i * sizeof(EncoderParameter));
        EncoderParameterRecord& record = list.parameters[i];
        record.guid = guid_to_text(entry.Guid);
        record.numberOfValues = entry.NumberOfValues;
        record.type = entry.Type;
        std::uint64_t n = std::uint64_t{entry.NumberOfValues} * bytes_per_value(entry.Type);
        if (n == 0 || !entry.Value) continue;
        if (!inside(block, entry.Value) || n > left_from(block, entry.Value)) return std::nullopt;
        record.value = copy_bytes(entry.Value, static_cast<std::size_t>(n));
    }
    return list;
}

std::optional<std::vector<CodecInfo>> read_codecs(std::span<const std::byte> block, std::uint32_t count) {
    if (count > block.size() / sizeof(ImageCodecInfo)) return std::nullopt;
    std::vector<CodecInfo> codecs(count);
    for (std::size_t i = 0; i < count; ++i) {
        auto entry = read_at<ImageCodecInfo>(block, i * sizeof(ImageCodecInfo));
        CodecInfo& codec = codecs[i];
        codec.clsid = guid_to_text(entry.Clsid);
        codec.formatId = guid_to_text(entry.FormatID);
        codec.codecName = codec_text(block, entry.CodecName);
        codec.dllName = codec_text(block, entry.DllName);
        codec.formatDescription = codec_text(block, entry.FormatDescription);
        codec.filenameExtension = codec_text(block, entry.FilenameExtension);
        codec.mimeType = codec_text(block, entry.MimeType);
        codec.flags = entry.Flags;
        codec.version = entry.Version;
        codec.sigCount = entry.SigCount;
        codec.sigSize = entry.SigSize;
        std::uint64_t n = std::uint64_t{entry.SigCount} * entry.SigSize;
        auto pattern = codec_signature(block, entry.SigPattern, n);
        auto mask = codec_signature(block, entry.SigMask, n);
        if (!pattern || !mask) return std::nullopt;
        codec.sigPattern = std::move(*pattern);
        codec.sigMask = std::move(*mask);
    }
    return codecs;
}

std::optional<EncoderParameterBlock> EncoderParameterBlock::build(const EncoderParameterList& list) {
    if (list.count != list.parameters.size()) return std::nullopt;
    for (const EncoderParameterRecord& record : list.parameters) {
        std::uint32_t size = bytes_per_value(record.type);
        if (size == 0 || std::uint64_t{record.numberOfValues} * size > record.value.size()) return std::nullopt;
    }
    constexpr std::size_t header = offsetof(EncoderParameters, Parameter);
    if (list.count > (kLargestBuffer - header) / sizeof(EncoderParameter)) return std::nullopt;
    auto block = zeroed_buffer(header + std::size_t{list.count} * sizeof(EncoderParameter));
    if (!block) return std::nullopt;
    UINT count = list.count;
    std::memcpy(block->data(), &count, sizeof count);
    for (std::size_t i = 0; i < list.parameters.size(); ++i) {
        const EncoderParameterRecord& record = list.parameters[i];
        EncoderParameter entry{};
        entry.Guid = text_to_guid(record.guid);
        entry.NumberOfValues = record.numberOfValues;
        entry.Type = record.type;
        // GDI+ only reads the values; the pointer is not const in its structure.
        entry.Value = record.value.empty() ? nullptr : const_cast<std::uint8_t*>(record.value.data());
        std::memcpy(block->data() + header + i * sizeof(EncoderParameter), &entry, sizeof entry);
    }
    EncoderParameterBlock result;
    result.block_ = std::move(*block);
    return result;
}

std::optional<PaletteBlock> PaletteBlock::build(const PaletteRecord& palette) {
    if (palette.count > palette.entries.size()) return std::nullopt;
    PaletteBlock result;
    result.words_.reserve(2 + std::size_t{palette.count});
    result.words_.push_back(palette.flags);
    result.words_.push_back(palette.count);
    result.words_.insert(result.words_.end(), palette.entries.begin(), palette.entries.begin() + palette.count);
    return result;
}

}  // namespace gdiplus

}  // namespace imaging
