#include "image/sources/byte_sources.h"
#include "image/sources/read_ahead_source.h"
#include "metadata_test_support.h"

#include <gtest/gtest.h>

#include <memory>

using namespace imaging;

using namespace test_images;

namespace {

// Memory that counts the reads that reach it.
class CountedMemory final : public ByteSource {
public:
    CountedMemory(const Bytes& bytes, int& reads) : inner_(bytes), reads_(reads) {}
    std::uint64_t size() const override { return inner_.size(); }
    std::size_t read_at(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        ++reads_;
        return inner_.read_at(offset, out);
    }

private:
    MemorySource inner_;
    int& reads_;
};

Bytes counting_bytes(std::size_t n) {
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    return bytes;
}

}  // namespace

TEST(ReadAheadSource, GivesExactlyWhatADirectReadGives) {
    const std::size_t block = ReadAheadSource::kBlockSize;
    const Bytes bytes = counting_bytes(3 * block + 123);
    int reads = 0;
    ReadAheadSource source(std::make_unique<CountedMemory>(bytes, reads));
    MemorySource direct(bytes);
    struct Read {
        std::uint64_t offset;
        std::size_t length;
    };
    for (Read r : {Read{0, 12}, Read{2, 10}, Read{block - 4, 8}, Read{block - 4, 4}, Read{5, block}, Read{1, 3 * block},
                   Read{bytes.size() - 3, 10}, Read{bytes.size(), 4}, Read{bytes.size() + 100, 4}, Read{~0ull - 2, 8},
                   Read{0, 0}, Read{block / 2, block - 1}}) {
        SCOPED_TRACE(r.offset);
        Bytes got(r.length, 0xAA), want(r.length, 0xAA);
        EXPECT_EQ(source.read_at(r.offset, got), direct.read_at(r.offset, want));
        EXPECT_EQ(got, want);
    }
    EXPECT_EQ(source.size(), bytes.size());
}

TEST(ReadAheadSource, HeaderWalkOfAPhotoTakesOneRead) {
    Bytes photo = jpeg_file({xmp_app1(std::string(3000, 'x')), exif_app1(exif_with_date("2008:05:17 14:23:45"))}, 640,
                            480, 1u << 20);
    int reads = 0;
    ReadAheadSource source(std::make_unique<CountedMemory>(photo, reads));
    std::optional<ImageMetadata> image = read_image_metadata(source);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(value_text(*image, kDateTimeOriginal), with_zero("2008:05:17 14:23:45"));
    EXPECT_EQ(image->width, 640u);
    EXPECT_EQ(reads, 1);
}
