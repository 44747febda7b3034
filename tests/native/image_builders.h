#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Small writers of image files for tests, benchmarks and the fuzzer's seed
// corpus: TIFF/EXIF blocks, JPEG segments, PNG chunks, WebP and HEIF boxes.
// They write what the format documents say, independently of the reader.
namespace test_images {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes_of(std::string_view text);

// The byte writers every builder shares: n-byte numbers in either order,
// runs of bytes, and ISO base media boxes (HEIF, MP4, QuickTime).
void put(Bytes& out, std::uint64_t value, unsigned n, bool big_endian);
void be16(Bytes& out, std::uint64_t v);
void be32(Bytes& out, std::uint64_t v);
void le16(Bytes& out, std::uint64_t v);
void le24(Bytes& out, std::uint64_t v);
void le32(Bytes& out, std::uint64_t v);
void append(Bytes& out, const Bytes& more);
void append(Bytes& out, std::string_view text);
Bytes box(std::string_view type, const Bytes& payload);
Bytes full_box(std::string_view type, std::uint8_t version, std::uint32_t flags, const Bytes& payload);

// One TIFF field. `value` holds the value as the reader should report it
// (numbers little-endian, `width` bytes each); the builder stores it in the
// block's own byte order.
struct Field {
    std::uint16_t tag = 0;
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    Bytes value;
    unsigned width = 1;
    // Written into the entry instead of the value's real place: for fields
    // whose value lies elsewhere (outside the block, say).
    std::optional<std::uint32_t> offset_override;
};

Field ascii(std::uint16_t tag, std::string_view text);       // the text and its closing zero byte
Field ascii_stored(std::uint16_t tag, const Bytes& stored);  // exactly these bytes
Field shorts(std::uint16_t tag, const std::vector<std::uint16_t>& values);
Field longs(std::uint16_t tag, const std::vector<std::uint32_t>& values);
Field rational(std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator);
Field undefined(std::uint16_t tag, const Bytes& bytes);

enum class Ifd { Zero = 0, Exif = 1, Gps = 2, One = 3 };

struct TiffBlock {
    Bytes bytes;
    std::array<std::uint32_t, 4> ifd_offset{};  // indexed by Ifd; 0 for an IFD not written
};

// Lays out header, IFD0, Exif IFD, GPS IFD and IFD1 (the thumbnail's) in that
// order, each followed by its longer values. IFD0 gets the Exif and GPS
// pointers when those IFDs have fields, and IFD1 is chained after IFD0.
class TiffBuilder {
public:
    explicit TiffBuilder(bool big_endian = false) : big_endian_(big_endian) {}
    TiffBuilder& add(Ifd ifd, Field field);
    TiffBlock build() const;

private:
    bool big_endian_;
    std::array<std::vector<Field>, 4> fields_;
};

inline constexpr std::uint16_t kDateTimeOriginal = 0x9003;
inline constexpr std::uint16_t kDateTime = 0x0132;

// An EXIF block with a camera make in IFD0 and the capture date in the Exif IFD.
Bytes exif_with_date(std::string_view date, bool big_endian = false);

// JPEG
Bytes jpeg_segment(std::uint8_t marker, const Bytes& payload);
Bytes exif_app1(const Bytes& tiff);
Bytes xmp_app1(std::string_view packet);
// Photoshop's resources with one IPTC block of DateCreated and, when not
// empty, TimeCreated.
Bytes iptc_app13(std::string_view date, std::string_view time);
// A Canon CIFF block whose capture time counts these seconds.
Bytes ciff_app0(std::uint32_t seconds);
// SOI, the given segments, tables, a baseline frame header of the given
// size, a scan of scan_bytes bytes and EOI.
Bytes jpeg_file(const std::vector<Bytes>& segments, std::uint16_t width, std::uint16_t height,
                std::size_t scan_bytes = 64);

// PNG (chunks with correct CRCs)
Bytes png_chunk(std::string_view type, const Bytes& data);
// Signature, IHDR, the given chunks, one IDAT and IEND.
Bytes png_file(std::uint32_t width, std::uint32_t height, const std::vector<Bytes>& chunks = {});

// WebP
Bytes riff_chunk(std::string_view fourcc, const Bytes& data);
Bytes webp_file(const std::vector<Bytes>& chunks);
Bytes vp8_chunk(std::uint16_t width, std::uint16_t height);
Bytes vp8l_chunk(std::uint32_t width, std::uint32_t height);
Bytes vp8x_chunk(std::uint32_t width, std::uint32_t height, bool has_exif);

// HEIF: a primary coded item with its spatial extent, a smaller thumbnail
// item with its own, and an Exif item when exif is not empty.
struct HeifOptions {
    std::uint32_t width = 4032;
    std::uint32_t height = 3024;
    Bytes exif;                   // a TIFF block; empty for no Exif item
    bool exif_in_idat = false;    // stored in the meta box instead of mdat
    std::uint32_t exif_skip = 6;  // bytes before the TIFF header ("Exif\0\0")
    std::string major_brand = "heic";
    std::string xmp;  // an XMP packet, as a "mime" item in mdat; empty for none
};
Bytes heif_file(const HeifOptions& options);

// Formats without EXIF
Bytes bmp_file(std::int32_t width, std::int32_t height);
Bytes gif_file(std::uint16_t width, std::uint16_t height);
Bytes icon_file(std::uint8_t width, std::uint8_t height);

}  // namespace test_images
