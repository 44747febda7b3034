#include "image/gdiplus/gdiplus_buffers_win32.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace imaging;

using namespace gdiplus;

namespace {

template <class T>
void put(std::vector<std::byte>& block, std::size_t offset, const T& value) {
    std::memcpy(block.data() + offset, &value, sizeof value);
}

// A property item block of the given size with its header filled in.
std::vector<std::byte> property_block(std::size_t size, ULONG id, ULONG length, WORD type, const void* value) {
    std::vector<std::byte> block(size);
    put(block, 0, PropertyItem{id, length, type, const_cast<void*>(value)});
    return block;
}

}  // namespace

TEST(GdiplusBuffers, PropertyValueIsReadAtItsPointer) {
    std::vector<std::byte> block = property_block(sizeof(PropertyItem) + 6, 0x010E, 6, 2, nullptr);
    put(block, 0, PropertyItem{0x010E, 6, 2, block.data() + sizeof(PropertyItem)});
    std::memcpy(block.data() + sizeof(PropertyItem), "Hello", 6);
    auto record = read_property_item(block);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->id, 0x010E);
    EXPECT_EQ(record->length, 6);
    EXPECT_EQ(record->type, 2);
    EXPECT_EQ(record->value, (std::vector<std::uint8_t>{'H', 'e', 'l', 'l', 'o', 0}));
}

TEST(GdiplusBuffers, PropertyValueNeverReadsPastTheBlock) {
    // A length that runs past the block: only the bytes present are taken.
    std::vector<std::byte> block(sizeof(PropertyItem) + 4);
    put(block, 0, PropertyItem{0x9003, 20, 2, block.data() + sizeof(PropertyItem)});
    std::memcpy(block.data() + sizeof(PropertyItem), "2024", 4);
    auto record = read_property_item(block);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->length, 4);
    EXPECT_EQ(record->value, (std::vector<std::uint8_t>{'2', '0', '2', '4'}));

    // A pointer outside the block: nothing is read there.
    static const char elsewhere[] = "outside";
    auto outside = read_property_item(property_block(sizeof(PropertyItem) + 8, 0x9003, 8, 2, elsewhere));
    ASSERT_TRUE(outside);
    EXPECT_EQ(outside->length, 0);
    EXPECT_TRUE(outside->value.empty());

    EXPECT_FALSE(read_property_item(std::vector<std::byte>(sizeof(PropertyItem) - 1)));
}

TEST(GdiplusBuffers, PaletteCountMustFitTheBlock) {
    std::vector<std::byte> block(8 + 2 * 4);
    put(block, 0, std::uint32_t{1});
    put(block, 4, std::uint32_t{2});
    put(block, 8, std::uint32_t{0xFF102030});
    put(block, 12, std::uint32_t{0xFF405060});
    auto palette = read_palette(block);
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->flags, 1u);
    EXPECT_EQ(palette->count, 2u);
    EXPECT_EQ(palette->entries, (std::vector<std::uint32_t>{0xFF102030, 0xFF405060}));

    put(block, 4, std::uint32_t{3});
    EXPECT_FALSE(read_palette(block));
    put(block, 4, std::uint32_t{0x40000001});  // count × 4 wraps in 32 bits
    EXPECT_FALSE(read_palette(block));
}

TEST(GdiplusBuffers, EncoderParameterValuesMustLieInTheBlock) {
    constexpr std::size_t header = offsetof(EncoderParameters, Parameter);
    constexpr std::size_t values = header + 2 * sizeof(EncoderParameter);
    std::vector<std::byte> block(values + 8);
    put(block, 0, UINT{2});
    GUID quality = text_to_guid("{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}");
    put(block, header, EncoderParameter{quality, 2, 4, block.data() + values});
    put(block, header + sizeof(EncoderParameter), EncoderParameter{quality, 1, 99, block.data() + values});
    put(block, values, std::uint32_t{75});
    put(block, values + 4, std::uint32_t{90});
    auto list = read_encoder_parameters(block);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count, 2u);
    ASSERT_EQ(list->parameters.size(), 2u);
    EXPECT_EQ(list->parameters[0].guid, "{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}");
    EXPECT_EQ(list->parameters[0].numberOfValues, 2u);
    EXPECT_EQ(list->parameters[0].type, 4u);
    EXPECT_EQ(list->parameters[0].value, (std::vector<std::uint8_t>{75, 0, 0, 0, 90, 0, 0, 0}));
    EXPECT_TRUE(list->parameters[1].value.empty());  // unknown type: no size to read

    put(block, header, EncoderParameter{quality, 3, 4, block.data() + values});  // 12 bytes, 8 present
    EXPECT_FALSE(read_encoder_parameters(block));
    static const std::uint32_t elsewhere = 5;
    put(block, header, EncoderParameter{quality, 1, 4, const_cast<std::uint32_t*>(&elsewhere)});
    EXPECT_FALSE(read_encoder_parameters(block));
    put(block, 0, UINT{3});
    EXPECT_FALSE(read_encoder_parameters(block));
}

TEST(GdiplusBuffers, CodecEntriesAndTheirTextsStayInTheBlock) {
    constexpr std::size_t texts = sizeof(ImageCodecInfo);
    std::vector<std::byte> block(texts + 3 * sizeof(WCHAR) + 4);
    ImageCodecInfo codec{};
    codec.FormatID = text_to_guid("{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}");
    auto* name = reinterpret_cast<WCHAR*>(block.data() + texts);
    name[0] = L'P';
    name[1] = L'N';
    name[2] = L'G';  // no terminator before the signature bytes
    codec.CodecName = name;
    codec.SigCount = 1;
    codec.SigSize = 4;
    codec.SigPattern = reinterpret_cast<const BYTE*>(block.data() + texts + 3 * sizeof(WCHAR));
    put(block, 0, codec);
    std::memcpy(block.data() + texts + 3 * sizeof(WCHAR), "\x89PNG", 4);
    auto codecs = read_codecs(block, 1);
    ASSERT_TRUE(codecs);
    ASSERT_EQ(codecs->size(), 1u);
    EXPECT_EQ((*codecs)[0].formatId, "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}");
    // No terminator: the text ends where the block ends, taking the signature bytes along.
    EXPECT_EQ((*codecs)[0].codecName, "PNG\u5089\u474E");
    EXPECT_EQ((*codecs)[0].sigPattern, (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G'}));
    EXPECT_TRUE((*codecs)[0].sigMask.empty());

    codec.SigSize = 5;  // runs past the block
    put(block, 0, codec);
    EXPECT_FALSE(read_codecs(block, 1));
    EXPECT_FALSE(read_codecs(block, 2));
}

TEST(GdiplusBuffers, EncoderParameterBlockRefusesWhatGdiplusWouldOverread) {
    EncoderParameterList list;
    list.count = 1;
    list.parameters.push_back({"{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}", 1, 4, {80, 0, 0, 0}});
    auto block = EncoderParameterBlock::build(list);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->get()->Count, 1u);
    EXPECT_EQ(block->get()->Parameter[0].Guid, text_to_guid("{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}"));
    EXPECT_EQ(block->get()->Parameter[0].NumberOfValues, 1u);
    EXPECT_EQ(block->get()->Parameter[0].Type, 4u);
    EXPECT_EQ(block->get()->Parameter[0].Value, list.parameters[0].value.data());

    list.count = 2;  // more entries claimed than given
    EXPECT_FALSE(EncoderParameterBlock::build(list));
    list.count = 1;
    list.parameters[0].numberOfValues = 2;  // 8 value bytes needed, 4 given
    EXPECT_FALSE(EncoderParameterBlock::build(list));
    list.parameters[0].numberOfValues = 1;
    list.parameters[0].type = 9;
    EXPECT_FALSE(EncoderParameterBlock::build(list));
}

TEST(GdiplusBuffers, PaletteBlockNeedsAsManyEntriesAsItsCount) {
    PaletteRecord palette{2, 2, {0xFF000000, 0xFFFFFFFF}};
    auto block = PaletteBlock::build(palette);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->get()->Flags, 2u);
    EXPECT_EQ(block->get()->Count, 2u);
    EXPECT_EQ(block->get()->Entries[1], 0xFFFFFFFFu);
    palette.count = 3;
    EXPECT_FALSE(PaletteBlock::build(palette));
}

TEST(GdiplusBuffers, ImplausibleSizesAreNotAllocated) {
    EXPECT_FALSE(zeroed_buffer(kLargestBuffer + 1));
    EXPECT_FALSE(zeroed_buffer(0xFFFFFFFFull));
    auto small = zeroed_buffer(24);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->size(), 24u);
}

TEST(GuidText, BracedUpperCaseBothWays) {
    const std::string jpeg = "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
    GUID id = text_to_guid(jpeg);
    EXPECT_EQ(id.Data1, 0xB96B3CAEu);
    EXPECT_EQ(guid_to_text(id), jpeg);
    EXPECT_EQ(guid_to_text(text_to_guid("{b96b3cae-0728-11d3-9d7b-0000f81ef32e}")), jpeg);
    EXPECT_EQ(guid_to_text(GUID{}), "{00000000-0000-0000-0000-000000000000}");
    // Not a braced GUID: all zero, never a program-id lookup.
    EXPECT_EQ(text_to_guid("Paint.Picture"), GUID{});
    EXPECT_EQ(text_to_guid(""), GUID{});
    EXPECT_EQ(text_to_guid("{B96B3CAE-0728-11D3-9D7B-0000F81EF32G}"), GUID{});
}
