#include "image/metadata/tiff_reader.h"
#include "metadata_test_support.h"

#include <gtest/gtest.h>

using namespace imaging;

using namespace test_images;

namespace {

const std::string kDate = "2008:05:17 14:23:45";

std::vector<std::int32_t> ids_of(const ImageMetadata& image) {
    std::vector<std::int32_t> ids;
    for (const PropertyRecord& p : image.properties) ids.push_back(p.id);
    return ids;
}

ImageMetadata read_tiff_block(const Bytes& bytes) {
    std::optional<ImageMetadata> image = read_bytes(bytes);
    EXPECT_TRUE(image.has_value());
    EXPECT_EQ(image ? image->format : ImageFormat::Unknown, ImageFormat::Tiff);
    return image.value_or(ImageMetadata{});
}

TiffBuilder mixed_fields(bool big_endian) {
    return TiffBuilder(big_endian)
        .add(Ifd::Zero, longs(0x0100, {4032}))
        .add(Ifd::Zero, shorts(0x0101, {3024}))
        .add(Ifd::Zero, shorts(0x0102, {8, 8, 8}))
        .add(Ifd::Zero, shorts(0x0112, {6}))
        .add(Ifd::Zero, rational(0x011A, 300, 1))
        .add(Ifd::Zero, ascii(kDateTime, "2008:05:17 15:00:00"))
        .add(Ifd::Exif, ascii(kDateTimeOriginal, kDate))
        .add(Ifd::Exif, undefined(0x9000, bytes_of("0230")))
        .add(Ifd::Exif, Field{0x9204, 10, 1, {0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0}, 4, std::nullopt})
        .add(Ifd::Gps, Field{0x0000, 1, 4, {2, 3, 0, 0}, 1, std::nullopt})
        .add(Ifd::Gps, ascii(0x0001, "N"));
}

}  // namespace

TEST(TiffFields, CaptureDateIsReportedWithItsClosingZero) {
    ImageMetadata image = read_tiff_block(exif_with_date(kDate));
    const PropertyRecord* date = find_property(image, kDateTimeOriginal);
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->length, 20);
    EXPECT_EQ(date->type, 2);
    EXPECT_EQ(std::string(date->value.begin(), date->value.end()), with_zero(kDate));
}

TEST(TiffFields, BothByteOrdersGiveTheSameLittleEndianRecords) {
    ImageMetadata little = read_tiff_block(mixed_fields(false).build().bytes);
    ImageMetadata big = read_tiff_block(mixed_fields(true).build().bytes);
    ASSERT_EQ(little.properties.size(), big.properties.size());
    for (std::size_t i = 0; i < little.properties.size(); ++i) {
        SCOPED_TRACE(little.properties[i].id);
        EXPECT_EQ(little.properties[i].id, big.properties[i].id);
        EXPECT_EQ(little.properties[i].type, big.properties[i].type);
        EXPECT_EQ(little.properties[i].length, big.properties[i].length);
        EXPECT_EQ(little.properties[i].value, big.properties[i].value);
    }
    EXPECT_EQ(find_property(big, 0x0102)->value, (Bytes{8, 0, 8, 0, 8, 0}));
    EXPECT_EQ(find_property(big, 0x011A)->value, (Bytes{44, 1, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(find_property(big, 0x9204)->value, (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0}));
    EXPECT_EQ(value_text(big, kDateTimeOriginal), with_zero(kDate));
    EXPECT_EQ(big.width, 4032u);
    EXPECT_EQ(big.height, 3024u);
}

TEST(TiffFields, MainImageFieldsComeInFileOrderEachIdOnce) {
    Bytes block = TiffBuilder()
                      .add(Ifd::Zero, ascii(0x0110, "Model"))
                      .add(Ifd::Zero, ascii(0x010F, "Make"))
                      .add(Ifd::Zero, ascii(0x010F, "Second make"))
                      .add(Ifd::Exif, ascii(kDateTimeOriginal, kDate))
                      .add(Ifd::Exif, ascii(0x0110, "Model again"))
                      .add(Ifd::Gps, ascii(0x0001, "N"))
                      .build()
                      .bytes;
    ImageMetadata image = read_tiff_block(block);
    EXPECT_EQ(ids_of(image), (std::vector<std::int32_t>{0x0110, 0x010F, 0x8769, 0x8825, kDateTimeOriginal, 0x0001}));
    EXPECT_EQ(value_text(image, 0x0110), with_zero("Model"));
    EXPECT_EQ(value_text(image, 0x010F), with_zero("Make"));
}

TEST(TiffFields, ThumbnailIfdIsNeverRead) {
    Bytes block = TiffBuilder()
                      .add(Ifd::Zero, ascii(kDateTime, "2008:05:17 14:23:45"))
                      .add(Ifd::Exif, ascii(0x9004, "2008:05:17 14:23:45"))
                      .add(Ifd::One, ascii(kDateTime, "2011:01:01 00:00:00"))
                      .add(Ifd::One, ascii(kDateTimeOriginal, "2011:01:01 00:00:00"))
                      .add(Ifd::One, longs(0x0201, {1000}))
                      .build()
                      .bytes;
    ImageMetadata image = read_tiff_block(block);
    EXPECT_EQ(value_text(image, kDateTime), with_zero("2008:05:17 14:23:45"));
    EXPECT_EQ(find_property(image, kDateTimeOriginal), nullptr);
    EXPECT_EQ(find_property(image, 0x0201), nullptr);
}

TEST(TiffFields, OddDatesAreReportedAsStored) {
    for (const Bytes& stored : {bytes_of("2008:05:17 14:23:45"), bytes_of(std::string("2008:05:17\0", 11)),
                                bytes_of(std::string("  :  :     :  :  \0\0\0", 20)), bytes_of(std::string("ab\0", 3))}) {
        Bytes block = TiffBuilder().add(Ifd::Exif, ascii_stored(kDateTimeOriginal, stored)).build().bytes;
        ImageMetadata image = read_tiff_block(block);
        const PropertyRecord* date = find_property(image, kDateTimeOriginal);
        ASSERT_NE(date, nullptr);
        EXPECT_EQ(date->length, static_cast<std::int32_t>(stored.size()));
        EXPECT_EQ(date->value, stored);
    }
}

TEST(TiffFields, FieldsWhoseValueLiesOutsideTheBlockAreLeftOut) {
    Field outside = ascii(0x010F, "Make of some length");
    outside.offset_override = 0xFFFFFF00u;
    Field straddling = ascii(0x0110, "Model of some length");
    Field unknown_type{0x0131, 99, 1, {1, 2, 3, 4}, 1, std::nullopt};
    TiffBlock built = TiffBuilder()
                          .add(Ifd::Zero, outside)
                          .add(Ifd::Zero, unknown_type)
                          .add(Ifd::Exif, ascii(kDateTimeOriginal, kDate))
                          .build();
    // The last bytes hold the date; a field whose value runs past the end
    // points at them.
    straddling.offset_override = static_cast<std::uint32_t>(built.bytes.size() - 4);
    built = TiffBuilder()
                .add(Ifd::Zero, outside)
                .add(Ifd::Zero, straddling)
                .add(Ifd::Zero, unknown_type)
                .add(Ifd::Exif, ascii(kDateTimeOriginal, kDate))
                .build();
    ImageMetadata image = read_tiff_block(built.bytes);
    EXPECT_EQ(find_property(image, 0x010F), nullptr);
    EXPECT_EQ(find_property(image, 0x0110), nullptr);
    EXPECT_EQ(find_property(image, 0x0131), nullptr);
    EXPECT_EQ(value_text(image, kDateTimeOriginal), with_zero(kDate));
}

TEST(TiffFields, HugeCountsAreRefusedWithoutOverflowOrAllocation) {
    // 0xFFFFFFFF rationals (32 GiB), doubles whose size wraps in 32 bits, and
    // bytes that would need more than the whole value allowance.
    Bytes block = TiffBuilder()
                      .add(Ifd::Zero, Field{0x011A, 5, 0xFFFFFFFFu, {}, 1, 8})
                      .add(Ifd::Zero, Field{0x011B, 12, 0x20000001u, {}, 1, 8})
                      .add(Ifd::Zero, Field{0x8773, 7, static_cast<std::uint32_t>(metadata::kMaxValueBytes + 1), {}, 1, 8})
                      .add(Ifd::Exif, ascii(kDateTimeOriginal, kDate))
                      .build()
                      .bytes;
    ImageMetadata image = read_tiff_block(block);
    EXPECT_EQ(ids_of(image), (std::vector<std::int32_t>{0x8769, kDateTimeOriginal}));
}

TEST(TiffFields, ValueBytesOfOneBlockAreCapped) {
    // 1000 fields that all point at the same 64 KiB: far beyond the allowance
    // if each were copied.
    const std::uint32_t big = 64 * 1024;
    TiffBuilder builder;
    for (std::uint16_t i = 0; i < 1000; ++i) builder.add(Ifd::Zero, Field{static_cast<std::uint16_t>(0xC000 + i), 7, big, {}, 1, 8});
    Bytes block = builder.build().bytes;
    block.resize(block.size() + big, 0x55);
    ImageMetadata image = read_tiff_block(block);
    std::uint64_t total = 0;
    for (const PropertyRecord& p : image.properties) total += p.value.size();
    EXPECT_LE(total, metadata::kMaxValueBytes);
    EXPECT_EQ(image.properties.size(), metadata::kMaxValueBytes / big);
}

TEST(TiffFields, EntriesPerIfdAreCapped) {
    TiffBuilder builder;
    for (std::uint32_t i = 0; i < 3000; ++i) builder.add(Ifd::Zero, shorts(static_cast<std::uint16_t>(0x1000 + i), {1}));
    ImageMetadata image = read_tiff_block(builder.build().bytes);
    EXPECT_EQ(image.properties.size(), metadata::kMaxEntriesPerIfd);
}

TEST(TiffFields, TruncatedIfdGivesTheEntriesWhollyInside) {
    TiffBlock built = TiffBuilder()
                          .add(Ifd::Zero, shorts(0x0112, {1}))
                          .add(Ifd::Zero, shorts(0x0128, {2}))
                          .add(Ifd::Zero, shorts(0x0213, {1}))
                          .build();
    // Keep the count and the first two entries and half of the third.
    Bytes block(built.bytes.begin(), built.bytes.begin() + built.ifd_offset[0] + 2 + 12 * 2 + 6);
    ImageMetadata image = read_tiff_block(block);
    EXPECT_EQ(ids_of(image), (std::vector<std::int32_t>{0x0112, 0x0128}));
    // A count that claims 65535 entries in a small block is no different.
    block[built.ifd_offset[0]] = 0xFF;
    block[built.ifd_offset[0] + 1] = 0xFF;
    EXPECT_EQ(ids_of(read_tiff_block(block)), (std::vector<std::int32_t>{0x0112, 0x0128}));
}

TEST(TiffFields, IfdLoopsAndSelfReferencesEnd) {
    // The Exif IFD points back at IFD0 as its GPS IFD.
    Field back_to_ifd0 = longs(0x8825, {8});
    Bytes loop = TiffBuilder()
                     .add(Ifd::Zero, ascii(0x010F, "Make"))
                     .add(Ifd::Exif, back_to_ifd0)
                     .add(Ifd::Exif, ascii(kDateTimeOriginal, kDate))
                     .build()
                     .bytes;
    ImageMetadata image = read_tiff_block(loop);
    EXPECT_EQ(ids_of(image), (std::vector<std::int32_t>{0x010F, 0x8769, 0x8825, kDateTimeOriginal}));

    // IFD0 names itself as its Exif IFD.
    Bytes self = TiffBuilder().add(Ifd::Zero, longs(0x8769, {8})).add(Ifd::Zero, ascii(0x010F, "Make")).build().bytes;
    EXPECT_EQ(ids_of(read_tiff_block(self)), (std::vector<std::int32_t>{0x8769, 0x010F}));
}

TEST(TiffFields, BrokenHeadersGiveATiffWithoutProperties) {
    for (const Bytes& bytes : {bytes_of(std::string("II*\0", 4)), bytes_of(std::string("MM\0*\xFF\xFF\xFF\xF0", 8)),
                               bytes_of(std::string("II*\0\4\0\0\0", 8)), bytes_of(std::string("II*\0\0\0\0\0", 8))}) {
        ImageMetadata image = read_tiff_block(bytes);
        EXPECT_TRUE(image.properties.empty());
        EXPECT_EQ(image.width, 0u);
    }
}
