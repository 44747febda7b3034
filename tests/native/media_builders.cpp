#include "media_builders.h"

#include <algorithm>

namespace test_media {

using namespace test_images;

namespace {

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) append(out, part);
    return out;
}

}  // namespace

Bytes raw_tiff(std::string_view date, std::string_view magic, bool big_endian) {
    Bytes tiff = exif_with_date(date, big_endian);
    tiff[2] = static_cast<std::uint8_t>(magic[big_endian ? 1 : 0]);
    tiff[3] = static_cast<std::uint8_t>(magic[big_endian ? 0 : 1]);
    return tiff;
}

Bytes cr3_file(std::string_view date) {
    Bytes ftyp;
    append(ftyp, "crx ");
    be32(ftyp, 1);
    append(ftyp, "crx isom");
    const Bytes ifd0 = TiffBuilder().add(Ifd::Zero, ascii(0x010F, "Canon")).build().bytes;
    const Bytes exif = TiffBuilder().add(Ifd::Zero, ascii(kDateTimeOriginal, date)).build().bytes;
    Bytes canon = bytes_of(std::string_view("\x85\xC0\xB6\x87\x82\x0F\x11\xE0\x81\x11\xF4\xCE\x46\x2B\x6A\x48", 16));
    append(canon, box("CNCV", bytes_of("CanonCR3_001/00.09.00/00.00.00")));
    append(canon, box("CMT1", ifd0));
    append(canon, box("CMT2", exif));
    return cat({box("ftyp", ftyp), box("moov", cat({box("uuid", canon), box("mvhd", Bytes(100, 0))})),
                box("mdat", Bytes(16, 0x55))});
}

Bytes crw_file(std::uint32_t captured_seconds) {
    // The image-properties heap: the capture time, then its record table.
    Bytes props;
    le32(props, captured_seconds);
    le32(props, 0);  // time zone
    le32(props, 0);
    le16(props, 1);
    le16(props, 0x180E);
    le32(props, 12);
    le32(props, 0);
    le32(props, 12);  // where the table starts
    // The root heap: some raw data, the properties heap, their table.
    Bytes root(64, 0x55);
    append(root, props);
    le16(root, 2);
    le16(root, 0x2005);  // the raw image data
    le32(root, 64);
    le32(root, 0);
    le16(root, 0x300A);  // the image-properties heap
    le32(root, static_cast<std::uint32_t>(props.size()));
    le32(root, 64);
    le32(root, static_cast<std::uint32_t>(64 + props.size()));
    Bytes file = bytes_of("II");
    le32(file, 26);
    append(file, "HEAPCCDR");
    le32(file, 0x00010002);
    le32(file, 0);
    le32(file, 0);
    append(file, root);
    return file;
}

Bytes raf_file(std::string_view date) {
    Bytes file = bytes_of("FUJIFILMCCD-RAW 0201FF383501");
    std::string camera = "X-T1";
    camera.resize(32, '\0');
    append(file, camera);
    append(file, "0100");
    file.resize(84, 0);
    const Bytes jpeg = jpeg_file({exif_app1(exif_with_date(date, true))}, 160, 120);
    be32(file, 100);
    be32(file, static_cast<std::uint32_t>(jpeg.size()));
    file.resize(100, 0);
    append(file, jpeg);
    return file;
}

Bytes mrw_file(std::string_view date) {
    const Bytes tiff = exif_with_date(date, true);
    Bytes blocks = bytes_of(std::string_view("\0PRD", 4));
    be32(blocks, 24);
    blocks.resize(blocks.size() + 24, 0);
    append(blocks, std::string_view("\0TTW", 4));
    be32(blocks, static_cast<std::uint32_t>(tiff.size()));
    append(blocks, tiff);
    Bytes file = bytes_of(std::string_view("\0MRM", 4));
    be32(file, static_cast<std::uint32_t>(blocks.size()));
    append(file, blocks);
    file.resize(file.size() + 16, 0x55);
    return file;
}

Bytes x3f_file(std::string_view time_seconds) {
    Bytes file = bytes_of("FOVb");
    le32(file, 0x00020000);               // version 2.0: no extended header
    file.resize(file.size() + 16, 0x11);  // the image's unique id
    le32(file, 0);                        // mark bits
    le32(file, 16);                       // columns
    le32(file, 16);                       // rows
    le32(file, 0);                        // rotation
    // The property list: one pair, TIME and its value, as UTF-16 characters.
    std::u16string chars = u"TIME";
    chars += u'\0';
    const std::uint32_t value_at = static_cast<std::uint32_t>(chars.size());
    for (char c : time_seconds) chars += static_cast<char16_t>(c);
    chars += u'\0';
    const std::uint32_t section = static_cast<std::uint32_t>(file.size());
    append(file, "SECp");
    le32(file, 0x00010000);
    le32(file, 1);
    le32(file, 0);
    le32(file, 0);
    le32(file, static_cast<std::uint32_t>(chars.size()));
    le32(file, 0);
    le32(file, value_at);
    for (char16_t c : chars) le16(file, c);
    const std::uint32_t length = static_cast<std::uint32_t>(file.size()) - section;
    const std::uint32_t directory = static_cast<std::uint32_t>(file.size());
    append(file, "SECd");
    le32(file, 0x00020000);
    le32(file, 1);
    le32(file, section);
    le32(file, length);
    append(file, "PROP");
    le32(file, directory);
    return file;
}

Bytes movie_file(const MovieOptions& o) {
    Bytes mvhd;
    be32(mvhd, static_cast<std::uint32_t>(o.version) << 24);
    if (o.version == 1) {
        put(mvhd, o.created, 8, true);
        put(mvhd, o.created, 8, true);
        be32(mvhd, 1000);
        put(mvhd, 40, 8, true);
    } else {
        be32(mvhd, static_cast<std::uint32_t>(o.created));
        be32(mvhd, static_cast<std::uint32_t>(o.created));
        be32(mvhd, 1000);
        be32(mvhd, 40);
    }
    mvhd.resize(mvhd.size() + 80, 0);
    Bytes moov = box("mvhd", mvhd);
    for (const std::string& handler : o.tracks) {
        Bytes hdlr(8, 0);  // version, flags and a component type
        append(hdlr, handler);
        hdlr.resize(hdlr.size() + 13, 0);
        append(moov, box("trak", box("mdia", box("hdlr", hdlr))));
    }
    if (!o.apple_date.empty()) {
        Bytes hdlr;
        be32(hdlr, 0);
        be32(hdlr, 0);
        append(hdlr, "mdta");
        hdlr.resize(hdlr.size() + 13, 0);
        const std::string key = "com.apple.quicktime.creationdate";
        Bytes keys;
        be32(keys, 0);
        be32(keys, 1);
        be32(keys, static_cast<std::uint32_t>(8 + key.size()));
        append(keys, "mdta");
        append(keys, key);
        Bytes data;
        be32(data, 1);  // UTF-8
        be32(data, 0);
        append(data, o.apple_date);
        Bytes item;
        be32(item, static_cast<std::uint32_t>(8 + 8 + data.size()));
        be32(item, 1);  // the first key
        append(item, box("data", data));
        // Apple's meta box in the movie box holds its boxes at once; in udta
        // it is the MP4 kind, with a version and flags first.
        Bytes inner = o.meta_in_udta ? Bytes(4, 0) : Bytes{};
        append(inner, cat({box("hdlr", hdlr), box("keys", keys), box("ilst", item)}));
        const Bytes meta = box("meta", inner);
        append(moov, o.meta_in_udta ? box("udta", meta) : meta);
    }
    Bytes file;
    if (!o.brand.empty()) {
        Bytes ftyp;
        append(ftyp, o.brand);
        be32(ftyp, 0x200);
        append(ftyp, o.brand);
        append(ftyp, "isom");
        append(file, box("ftyp", ftyp));
    }
    const Bytes mdat = box("mdat", Bytes(32, 0x55));
    if (o.mdat_first) append(file, mdat);
    append(file, box("moov", moov));
    if (!o.mdat_first) append(file, mdat);
    return file;
}

Bytes avi_file(std::string_view idit) {
    Bytes hdrl = bytes_of("hdrl");
    append(hdrl, riff_chunk("avih", Bytes(56, 0)));
    if (!idit.empty()) {
        Bytes text = bytes_of(idit);
        text.push_back(0);
        append(hdrl, riff_chunk("IDIT", text));
    }
    Bytes body = bytes_of("AVI ");
    append(body, riff_chunk("LIST", hdrl));
    append(body, riff_chunk("LIST", bytes_of("movi")));
    return riff_chunk("RIFF", body);
}

namespace {

std::uint32_t mpeg_crc(const Bytes& bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::uint8_t b : bytes) {
        crc ^= static_cast<std::uint32_t>(b) << 24;
        for (int i = 0; i < 8; ++i) crc = (crc & 0x80000000) ? (crc << 1) ^ 0x04C11DB7 : crc << 1;
    }
    return crc;
}

// A section with its length and CRC filled in.
Bytes psi_section(std::uint8_t table, const Bytes& body) {
    Bytes s{table, static_cast<std::uint8_t>(0xB0 | ((body.size() + 4) >> 8)),
            static_cast<std::uint8_t>(body.size() + 4)};
    append(s, body);
    be32(s, mpeg_crc(s));
    return s;
}

// One transport packet: a payload that starts a unit, stuffed up front to 184 bytes.
Bytes ts_packet(std::uint16_t pid, const Bytes& payload) {
    Bytes p{0x47, static_cast<std::uint8_t>(0x40 | (pid >> 8)), static_cast<std::uint8_t>(pid & 0xFF)};
    const std::size_t room = 184 - payload.size();
    if (room == 0) {
        p.push_back(0x10);
    } else {
        p.push_back(0x30);
        p.push_back(static_cast<std::uint8_t>(room - 1));
        if (room > 1) {
            p.push_back(0x00);
            p.resize(p.size() + room - 2, 0xFF);
        }
    }
    append(p, payload);
    return p;
}

std::uint8_t bcd(int v) { return static_cast<std::uint8_t>((v / 10) << 4 | (v % 10)); }

// What a NAL unit holds, with emulation-prevention bytes put in.
Bytes escaped(const Bytes& rbsp) {
    Bytes out;
    int zeros = 0;
    for (std::uint8_t b : rbsp) {
        if (zeros >= 2 && b <= 3) {
            out.push_back(3);
            zeros = 0;
        }
        out.push_back(b);
        zeros = b == 0 ? zeros + 1 : 0;
    }
    return out;
}

}  // namespace

Bytes avchd_file(const AvchdTime& t, bool m2ts) {
    Bytes pat_body;
    be16(pat_body, 1);  // stream id
    append(pat_body, Bytes{0xC1, 0x00, 0x00});
    be16(pat_body, 1);       // program 1
    be16(pat_body, 0xE100);  // its map on PID 0x100
    Bytes pmt_body;
    be16(pmt_body, 1);
    append(pmt_body, Bytes{0xC1, 0x00, 0x00});
    be16(pmt_body, 0xF011);         // PCR PID
    be16(pmt_body, 0xF000);         // no program descriptors
    append(pmt_body, Bytes{0x1B});  // H.264 …
    be16(pmt_body, 0xF011);         // … on PID 0x1011
    be16(pmt_body, 0xF000);

    Bytes sei{0x05};  // user data unregistered
    Bytes mdpm = bytes_of(std::string_view("\x17\xEE\x8C\x60\xF8\x4D\x11\xD9\x8C\xD6\x08\x00\x20\x0C\x9A\x66MDPM", 20));
    mdpm.push_back(3);
    append(mdpm, Bytes{0x18, 0xEE, bcd(t.year / 100), bcd(t.year % 100), bcd(t.month)});
    append(mdpm, Bytes{0x19, bcd(t.day), bcd(t.hour), bcd(t.minute), bcd(t.second)});
    append(mdpm, Bytes{0xE1, 0x00, 0x00, 0x01, 0x00});  // a tag of another kind, which wants escaping
    sei.push_back(static_cast<std::uint8_t>(mdpm.size()));
    append(sei, mdpm);
    sei.push_back(0x80);  // the RBSP's closing bits
    Bytes pes{0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0x80, 0x00, 0x00};
    append(pes, Bytes{0x00, 0x00, 0x00, 0x01, 0x09, 0xF0});  // access unit delimiter
    append(pes, Bytes{0x00, 0x00, 0x00, 0x01, 0x06});        // SEI
    append(pes, escaped(sei));

    Bytes pat = {0x00};
    append(pat, psi_section(0x00, pat_body));
    Bytes pmt = {0x00};
    append(pmt, psi_section(0x02, pmt_body));
    Bytes null_packet(188, 0xFF);
    null_packet[0] = 0x47;
    null_packet[1] = 0x1F;
    null_packet[3] = 0x10;
    std::vector<Bytes> packets{ts_packet(0, pat), ts_packet(0x100, pmt), ts_packet(0x1011, pes)};
    packets.resize(packets.size() + 30, null_packet);  // the rest of a stream, as readers expect one
    Bytes file;
    for (const Bytes& packet : packets) {
        if (m2ts) be32(file, 0);
        append(file, packet);
    }
    return file;
}

}  // namespace test_media
