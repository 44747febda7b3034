#include "image_builders.h"

#include <algorithm>

namespace test_images {

namespace {

// The value in the block's byte order: each little-endian number turned round.
Bytes stored_value(const Field& f, bool big_endian) {
    Bytes out = f.value;
    if (!big_endian || f.width == 1) return out;
    for (std::size_t at = 0; at + f.width <= out.size(); at += f.width) {
        for (unsigned i = 0; i < f.width / 2; ++i) std::swap(out[at + i], out[at + f.width - 1 - i]);
    }
    return out;
}

bool out_of_line(const Field& f) { return f.value.size() > 4 && !f.offset_override; }

std::uint32_t crc32(const Bytes& bytes, std::size_t from) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

}  // namespace

Bytes bytes_of(std::string_view text) { return Bytes(text.begin(), text.end()); }

void put(Bytes& out, std::uint64_t value, unsigned n, bool big_endian) {
    for (unsigned i = 0; i < n; ++i) {
        unsigned shift = 8 * (big_endian ? n - 1 - i : i);
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}
void be16(Bytes& out, std::uint64_t v) { put(out, v, 2, true); }
void be32(Bytes& out, std::uint64_t v) { put(out, v, 4, true); }
void le16(Bytes& out, std::uint64_t v) { put(out, v, 2, false); }
void le24(Bytes& out, std::uint64_t v) { put(out, v, 3, false); }
void le32(Bytes& out, std::uint64_t v) { put(out, v, 4, false); }
void append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }
void append(Bytes& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

Bytes box(std::string_view type, const Bytes& payload) {
    Bytes out;
    be32(out, 8 + payload.size());
    append(out, type);
    append(out, payload);
    return out;
}

Bytes full_box(std::string_view type, std::uint8_t version, std::uint32_t flags, const Bytes& payload) {
    Bytes body{version};
    put(body, flags, 3, true);
    append(body, payload);
    return box(type, body);
}

Field ascii(std::uint16_t tag, std::string_view text) {
    Bytes value = bytes_of(text);
    value.push_back(0);
    return ascii_stored(tag, value);
}

Field ascii_stored(std::uint16_t tag, const Bytes& stored) {
    return Field{tag, 2, static_cast<std::uint32_t>(stored.size()), stored, 1, std::nullopt};
}

Field shorts(std::uint16_t tag, const std::vector<std::uint16_t>& values) {
    Field f{tag, 3, static_cast<std::uint32_t>(values.size()), {}, 2, std::nullopt};
    for (std::uint16_t v : values) le16(f.value, v);
    return f;
}

Field longs(std::uint16_t tag, const std::vector<std::uint32_t>& values) {
    Field f{tag, 4, static_cast<std::uint32_t>(values.size()), {}, 4, std::nullopt};
    for (std::uint32_t v : values) le32(f.value, v);
    return f;
}

Field rational(std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator) {
    Field f{tag, 5, 1, {}, 4, std::nullopt};
    le32(f.value, numerator);
    le32(f.value, denominator);
    return f;
}

Field undefined(std::uint16_t tag, const Bytes& bytes) {
    return Field{tag, 7, static_cast<std::uint32_t>(bytes.size()), bytes, 1, std::nullopt};
}

TiffBuilder& TiffBuilder::add(Ifd ifd, Field field) {
    fields_[static_cast<std::size_t>(ifd)].push_back(std::move(field));
    return *this;
}

TiffBlock TiffBuilder::build() const {
    std::array<std::vector<Field>, 4> ifds = fields_;
    bool has[4] = {true, !ifds[1].empty(), !ifds[2].empty(), !ifds[3].empty()};
    // Pointer fields get their values once the layout is known.
    if (has[1]) ifds[0].push_back(longs(0x8769, {0}));
    if (has[2]) ifds[0].push_back(longs(0x8825, {0}));

    TiffBlock block;
    std::uint32_t at = 8;
    for (int i = 0; i < 4; ++i) {
        if (!has[i]) continue;
        block.ifd_offset[i] = at;
        at += static_cast<std::uint32_t>(2 + 12 * ifds[i].size() + 4);
        for (const Field& f : ifds[i]) {
            if (out_of_line(f)) at += static_cast<std::uint32_t>((f.value.size() + 1) & ~std::size_t{1});
        }
    }
    for (Field& f : ifds[0]) {
        if (f.tag == 0x8769 && has[1] && f.value == Bytes{0, 0, 0, 0}) f = longs(0x8769, {block.ifd_offset[1]});
        if (f.tag == 0x8825 && has[2] && f.value == Bytes{0, 0, 0, 0}) f = longs(0x8825, {block.ifd_offset[2]});
    }

    Bytes& out = block.bytes;
    append(out, big_endian_ ? std::string_view("MM") : std::string_view("II"));
    put(out, 42, 2, big_endian_);
    put(out, 8, 4, big_endian_);
    for (int i = 0; i < 4; ++i) {
        if (!has[i]) continue;
        const std::vector<Field>& fields = ifds[i];
        std::uint32_t values_at = block.ifd_offset[i] + static_cast<std::uint32_t>(2 + 12 * fields.size() + 4);
        Bytes values;
        put(out, fields.size(), 2, big_endian_);
        for (const Field& f : fields) {
            put(out, f.tag, 2, big_endian_);
            put(out, f.type, 2, big_endian_);
            put(out, f.count, 4, big_endian_);
            Bytes stored = stored_value(f, big_endian_);
            if (f.offset_override) {
                put(out, *f.offset_override, 4, big_endian_);
            } else if (stored.size() <= 4) {
                stored.resize(4, 0);
                append(out, stored);
            } else {
                put(out, values_at + values.size(), 4, big_endian_);
                append(values, stored);
                if (values.size() % 2) values.push_back(0);
            }
        }
        put(out, i == 0 ? block.ifd_offset[3] : 0, 4, big_endian_);
        append(out, values);
    }
    return block;
}

Bytes exif_with_date(std::string_view date, bool big_endian) {
    return TiffBuilder(big_endian)
        .add(Ifd::Zero, ascii(0x010F, "Canon"))
        .add(Ifd::Zero, ascii(0x0110, "Canon EOS 5D"))
        .add(Ifd::Exif, ascii(kDateTimeOriginal, date))
        .build()
        .bytes;
}

Bytes jpeg_segment(std::uint8_t marker, const Bytes& payload) {
    Bytes out{0xFF, marker};
    be16(out, payload.size() + 2);
    append(out, payload);
    return out;
}

Bytes exif_app1(const Bytes& tiff) {
    Bytes payload = bytes_of(std::string_view("Exif\0\0", 6));
    append(payload, tiff);
    return jpeg_segment(0xE1, payload);
}

Bytes xmp_app1(std::string_view packet) {
    Bytes payload = bytes_of(std::string_view("http://ns.adobe.com/xap/1.0/\0", 29));
    append(payload, packet);
    return jpeg_segment(0xE1, payload);
}

Bytes iptc_app13(std::string_view date, std::string_view time) {
    Bytes records;
    auto record = [&](std::uint8_t dataset, std::string_view value) {
        append(records, Bytes{0x1C, 2, dataset});
        put(records, value.size(), 2, true);
        append(records, value);
    };
    record(55, date);
    if (!time.empty()) record(60, time);
    Bytes payload = bytes_of(std::string_view("Photoshop 3.0\0", 14));
    append(payload, "8BIM");
    append(payload, Bytes{0x04, 0x04, 0, 0});  // resource 0x0404, an empty name padded to two bytes
    put(payload, records.size(), 4, true);
    append(payload, records);
    if (records.size() % 2) payload.push_back(0);
    return jpeg_segment(0xED, payload);
}

Bytes ciff_app0(std::uint32_t seconds) {
    Bytes payload = bytes_of("II");
    put(payload, 26, 4, false);
    append(payload, "HEAPJPGM");
    payload.resize(26, 0);
    // The heap: its record table at once (one record, its value in the
    // record itself), then where the table starts.
    put(payload, 1, 2, false);
    put(payload, 0x4000 | 0x180E, 2, false);
    put(payload, seconds, 4, false);
    put(payload, 0, 4, false);
    put(payload, 0, 4, false);
    return jpeg_segment(0xE0, payload);
}

Bytes jpeg_file(const std::vector<Bytes>& segments, std::uint16_t width, std::uint16_t height, std::size_t scan_bytes) {
    Bytes out{0xFF, 0xD8};
    for (const Bytes& s : segments) append(out, s);
    Bytes quantisation{0x00};
    quantisation.resize(65, 1);
    append(out, jpeg_segment(0xDB, quantisation));
    Bytes frame{8};
    be16(frame, height);
    be16(frame, width);
    frame.insert(frame.end(), {3, 1, 0x22, 0, 2, 0x11, 0, 3, 0x11, 0});
    append(out, jpeg_segment(0xC0, frame));
    Bytes huffman{0x00};
    huffman.resize(17 + 12, 1);
    append(out, jpeg_segment(0xC4, huffman));
    append(out, jpeg_segment(0xDA, Bytes{3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}));
    for (std::size_t i = 0; i < scan_bytes; ++i) out.push_back(static_cast<std::uint8_t>(i % 251));
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

Bytes png_chunk(std::string_view type, const Bytes& data) {
    Bytes out;
    be32(out, data.size());
    append(out, type);
    append(out, data);
    be32(out, crc32(out, 4));
    return out;
}

Bytes png_file(std::uint32_t width, std::uint32_t height, const std::vector<Bytes>& chunks) {
    Bytes out = bytes_of("\x89PNG\r\n\x1A\n");
    Bytes header;
    be32(header, width);
    be32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    append(out, png_chunk("IHDR", header));
    for (const Bytes& c : chunks) append(out, c);
    append(out, png_chunk("IDAT", Bytes{0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01}));
    append(out, png_chunk("IEND", {}));
    return out;
}

Bytes riff_chunk(std::string_view fourcc, const Bytes& data) {
    Bytes out = bytes_of(fourcc);
    le32(out, data.size());
    append(out, data);
    if (data.size() % 2) out.push_back(0);
    return out;
}

Bytes webp_file(const std::vector<Bytes>& chunks) {
    Bytes body = bytes_of("WEBP");
    for (const Bytes& c : chunks) append(body, c);
    Bytes out = bytes_of("RIFF");
    le32(out, body.size());
    append(out, body);
    return out;
}

Bytes vp8_chunk(std::uint16_t width, std::uint16_t height) {
    Bytes data{0x50, 0x02, 0x00, 0x9D, 0x01, 0x2A};
    le16(data, width);
    le16(data, height);
    data.resize(30, 0x11);
    return riff_chunk("VP8 ", data);
}

Bytes vp8l_chunk(std::uint32_t width, std::uint32_t height) {
    Bytes data{0x2F};
    le32(data, (width - 1) | (height - 1) << 14);
    data.resize(21, 0x22);
    return riff_chunk("VP8L", data);
}

Bytes vp8x_chunk(std::uint32_t width, std::uint32_t height, bool has_exif) {
    Bytes data{static_cast<std::uint8_t>(has_exif ? 0x08 : 0x00), 0, 0, 0};
    le24(data, width - 1);
    le24(data, height - 1);
    return riff_chunk("VP8X", data);
}

Bytes heif_file(const HeifOptions& o) {
    Bytes ftyp_body = bytes_of(o.major_brand);
    be32(ftyp_body, 0);
    append(ftyp_body, "mif1");
    append(ftyp_body, "miaf");
    Bytes ftyp = box("ftyp", ftyp_body);

    Bytes exif_item;
    if (!o.exif.empty()) {
        be32(exif_item, o.exif_skip);
        exif_item.resize(4 + o.exif_skip, 0);
        if (o.exif_skip == 6) std::copy_n("Exif\0\0", 6, exif_item.begin() + 4);
        append(exif_item, o.exif);
    }
    const Bytes primary_data(200, 0x5A);
    const Bytes thumbnail_data(50, 0x3C);
    bool with_exif = !exif_item.empty();

    // The meta box's size does not depend on the offsets written into it, so
    // it is built once to measure and once more with the real offsets.
    auto build_meta = [&](std::uint32_t mdat_data_at) {
        Bytes hdlr_body(4, 0);
        append(hdlr_body, "pict");
        hdlr_body.resize(hdlr_body.size() + 12 + 1, 0);
        Bytes pitm_body;
        be16(pitm_body, 1);

        auto infe = [](std::uint16_t id, std::string_view type) {
            Bytes body;
            be16(body, id);
            be16(body, 0);
            append(body, type);
            body.push_back(0);
            return full_box("infe", 2, 0, body);
        };
        Bytes iinf_body;
        be16(iinf_body, 2 + (with_exif ? 1 : 0) + (o.xmp.empty() ? 0 : 1));
        append(iinf_body, infe(1, "hvc1"));
        append(iinf_body, infe(3, "hvc1"));
        if (with_exif) append(iinf_body, infe(2, "Exif"));
        if (!o.xmp.empty()) {
            Bytes body;
            be16(body, 4);
            be16(body, 0);
            append(body, "mime");
            body.push_back(0);  // no item name
            append(body, "application/rdf+xml");
            body.push_back(0);
            append(iinf_body, full_box("infe", 2, 0, body));
        }

        struct Location {
            std::uint16_t id;
            std::uint16_t method;
            std::uint32_t offset;
            std::uint32_t length;
        };
        std::vector<Location> locations{{3, 0, mdat_data_at, static_cast<std::uint32_t>(thumbnail_data.size())},
                                        {1, 0, mdat_data_at + static_cast<std::uint32_t>(thumbnail_data.size()),
                                         static_cast<std::uint32_t>(primary_data.size())}};
        if (with_exif) {
            std::uint32_t exif_at =
                o.exif_in_idat ? 0
                               : mdat_data_at + static_cast<std::uint32_t>(thumbnail_data.size() + primary_data.size());
            locations.push_back({2, static_cast<std::uint16_t>(o.exif_in_idat ? 1 : 0), exif_at,
                                 static_cast<std::uint32_t>(exif_item.size())});
        }
        if (!o.xmp.empty()) {
            // After everything else in mdat.
            std::uint32_t xmp_at = mdat_data_at + static_cast<std::uint32_t>(thumbnail_data.size() + primary_data.size() +
                                                                             (o.exif_in_idat ? 0 : exif_item.size()));
            locations.push_back({4, 0, xmp_at, static_cast<std::uint32_t>(o.xmp.size())});
        }
        Bytes iloc_body{0x44, 0x00};  // offset and length in 4 bytes, no base offset
        be16(iloc_body, locations.size());
        for (const Location& l : locations) {
            be16(iloc_body, l.id);
            be16(iloc_body, l.method);
            be16(iloc_body, 0);
            be16(iloc_body, 1);
            be32(iloc_body, l.offset);
            be32(iloc_body, l.length);
        }

        auto ispe = [](std::uint32_t w, std::uint32_t h) {
            Bytes body;
            be32(body, w);
            be32(body, h);
            return full_box("ispe", 0, 0, body);
        };
        Bytes ipco_body = ispe(320, 240);
        append(ipco_body, ispe(o.width, o.height));
        Bytes ipma_body;
        be32(ipma_body, 2);
        ipma_body.insert(ipma_body.end(), {0, 3, 1, 0x01});  // thumbnail: property 1
        ipma_body.insert(ipma_body.end(), {0, 1, 1, 0x82});  // primary: property 2, essential
        Bytes iprp_body = box("ipco", ipco_body);
        append(iprp_body, full_box("ipma", 0, 0, ipma_body));

        Bytes meta_body = full_box("hdlr", 0, 0, hdlr_body);
        append(meta_body, full_box("pitm", 0, 0, pitm_body));
        append(meta_body, full_box("iloc", 1, 0, iloc_body));
        append(meta_body, full_box("iinf", 0, 0, iinf_body));
        append(meta_body, box("iprp", iprp_body));
        if (with_exif && o.exif_in_idat) append(meta_body, box("idat", exif_item));
        return full_box("meta", 0, 0, meta_body);
    };

    std::uint32_t data_at = static_cast<std::uint32_t>(ftyp.size() + build_meta(0).size() + 8);
    Bytes out = ftyp;
    append(out, build_meta(data_at));
    Bytes mdat_body = thumbnail_data;
    append(mdat_body, primary_data);
    if (with_exif && !o.exif_in_idat) append(mdat_body, exif_item);
    append(mdat_body, o.xmp);
    append(out, box("mdat", mdat_body));
    return out;
}

Bytes bmp_file(std::int32_t width, std::int32_t height) {
    std::uint32_t row = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    std::uint32_t pixels = row * static_cast<std::uint32_t>(height < 0 ? -height : height);
    Bytes out = bytes_of("BM");
    le32(out, 54 + pixels);
    le32(out, 0);
    le32(out, 54);
    le32(out, 40);
    le32(out, static_cast<std::uint32_t>(width));
    le32(out, static_cast<std::uint32_t>(height));
    le16(out, 1);
    le16(out, 24);
    out.resize(54, 0);
    out.resize(54 + pixels, 0x80);
    return out;
}

Bytes gif_file(std::uint16_t width, std::uint16_t height) {
    Bytes out = bytes_of("GIF89a");
    le16(out, width);
    le16(out, height);
    out.insert(out.end(), {0x00, 0x00, 0x00});
    out.push_back(0x2C);
    le16(out, 0);
    le16(out, 0);
    le16(out, width);
    le16(out, height);
    out.insert(out.end(), {0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B});
    return out;
}

Bytes icon_file(std::uint8_t width, std::uint8_t height) {
    Bytes image = png_file(width == 0 ? 256 : width, height == 0 ? 256 : height);
    Bytes out;
    le16(out, 0);
    le16(out, 1);
    le16(out, 1);
    out.insert(out.end(), {width, height, 0, 0});
    le16(out, 1);
    le16(out, 32);
    le32(out, image.size());
    le32(out, 6 + 16);
    append(out, image);
    return out;
}

}  // namespace test_images
