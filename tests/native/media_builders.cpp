#include "media_builders.h"

#include <algorithm>

namespace test_media {

using namespace test_images;

namespace {

// Byte by byte: GCC 12 at -O3 takes a range insert into a vector this small
// for an overflow.
void add(Bytes& out, std::string_view text) {
    for (char c : text) out.push_back(static_cast<std::uint8_t>(c));
}
void add(Bytes& out, const Bytes& bytes) {
    for (std::uint8_t b : bytes) out.push_back(b);
}
void u16le(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void u32le(Bytes& out, std::uint32_t v) {
    u16le(out, v & 0xFFFF);
    u16le(out, v >> 16);
}
void u16be(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}
void u32be(Bytes& out, std::uint32_t v) {
    u16be(out, v >> 16);
    u16be(out, v & 0xFFFF);
}
void u64be(Bytes& out, std::uint64_t v) {
    u32be(out, static_cast<std::uint32_t>(v >> 32));
    u32be(out, static_cast<std::uint32_t>(v));
}

// An ISO base media box.
Bytes box(std::string_view type, const Bytes& payload) {
    Bytes out;
    u32be(out, static_cast<std::uint32_t>(8 + payload.size()));
    add(out, type);
    add(out, payload);
    return out;
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) add(out, part);
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
    add(ftyp, "crx ");
    u32be(ftyp, 1);
    add(ftyp, "crx isom");
    const Bytes ifd0 = TiffBuilder().add(Ifd::Zero, ascii(0x010F, "Canon")).build().bytes;
    const Bytes exif = TiffBuilder().add(Ifd::Zero, ascii(kDateTimeOriginal, date)).build().bytes;
    Bytes canon = bytes_of(std::string_view("\x85\xC0\xB6\x87\x82\x0F\x11\xE0\x81\x11\xF4\xCE\x46\x2B\x6A\x48", 16));
    add(canon, box("CNCV", bytes_of("CanonCR3_001/00.09.00/00.00.00")));
    add(canon, box("CMT1", ifd0));
    add(canon, box("CMT2", exif));
    return cat({box("ftyp", ftyp), box("moov", cat({box("uuid", canon), box("mvhd", Bytes(100, 0))})),
                box("mdat", Bytes(16, 0x55))});
}

Bytes crw_file(std::uint32_t captured_seconds) {
    // The image-properties heap: the capture time, then its record table.
    Bytes props;
    u32le(props, captured_seconds);
    u32le(props, 0);  // time zone
    u32le(props, 0);
    u16le(props, 1);
    u16le(props, 0x180E);
    u32le(props, 12);
    u32le(props, 0);
    u32le(props, 12);  // where the table starts
    // The root heap: some raw data, the properties heap, their table.
    Bytes root(64, 0x55);
    add(root, props);
    u16le(root, 2);
    u16le(root, 0x2005);  // the raw image data
    u32le(root, 64);
    u32le(root, 0);
    u16le(root, 0x300A);  // the image-properties heap
    u32le(root, static_cast<std::uint32_t>(props.size()));
    u32le(root, 64);
    u32le(root, static_cast<std::uint32_t>(64 + props.size()));
    Bytes file = bytes_of("II");
    u32le(file, 26);
    add(file, "HEAPCCDR");
    u32le(file, 0x00010002);
    u32le(file, 0);
    u32le(file, 0);
    add(file, root);
    return file;
}

Bytes raf_file(std::string_view date) {
    Bytes file = bytes_of("FUJIFILMCCD-RAW 0201FF383501");
    std::string camera = "X-T1";
    camera.resize(32, '\0');
    add(file, camera);
    add(file, "0100");
    file.resize(84, 0);
    const Bytes jpeg = jpeg_file({exif_app1(exif_with_date(date, true))}, 160, 120);
    u32be(file, 100);
    u32be(file, static_cast<std::uint32_t>(jpeg.size()));
    file.resize(100, 0);
    add(file, jpeg);
    return file;
}

Bytes mrw_file(std::string_view date) {
    const Bytes tiff = exif_with_date(date, true);
    Bytes blocks = bytes_of(std::string_view("\0PRD", 4));
    u32be(blocks, 24);
    blocks.resize(blocks.size() + 24, 0);
    add(blocks, std::string_view("\0TTW", 4));
    u32be(blocks, static_cast<std::uint32_t>(tiff.size()));
    add(blocks, tiff);
    Bytes file = bytes_of(std::string_view("\0MRM", 4));
    u32be(file, static_cast<std::uint32_t>(blocks.size()));
    add(file, blocks);
    file.resize(file.size() + 16, 0x55);
    return file;
}

Bytes x3f_file(std::string_view time_seconds) {
    Bytes file = bytes_of("FOVb");
    u32le(file, 0x00020000);              // version 2.0: no extended header
    file.resize(file.size() + 16, 0x11);  // the image's unique id
    u32le(file, 0);                       // mark bits
    u32le(file, 16);                      // columns
    u32le(file, 16);                      // rows
    u32le(file, 0);                       // rotation
    // The property list: one pair, TIME and its value, as UTF-16 characters.
    std::u16string chars = u"TIME";
    chars += u'\0';
    const std::uint32_t value_at = static_cast<std::uint32_t>(chars.size());
    for (char c : time_seconds) chars += static_cast<char16_t>(c);
    chars += u'\0';
    const std::uint32_t section = static_cast<std::uint32_t>(file.size());
    add(file, "SECp");
    u32le(file, 0x00010000);
    u32le(file, 1);
    u32le(file, 0);
    u32le(file, 0);
    u32le(file, static_cast<std::uint32_t>(chars.size()));
    u32le(file, 0);
    u32le(file, value_at);
    for (char16_t c : chars) u16le(file, c);
    const std::uint32_t length = static_cast<std::uint32_t>(file.size()) - section;
    const std::uint32_t directory = static_cast<std::uint32_t>(file.size());
    add(file, "SECd");
    u32le(file, 0x00020000);
    u32le(file, 1);
    u32le(file, section);
    u32le(file, length);
    add(file, "PROP");
    u32le(file, directory);
    return file;
}

Bytes movie_file(const MovieOptions& o) {
    Bytes mvhd;
    u32be(mvhd, static_cast<std::uint32_t>(o.version) << 24);
    if (o.version == 1) {
        u64be(mvhd, o.created);
        u64be(mvhd, o.created);
        u32be(mvhd, 1000);
        u64be(mvhd, 40);
    } else {
        u32be(mvhd, static_cast<std::uint32_t>(o.created));
        u32be(mvhd, static_cast<std::uint32_t>(o.created));
        u32be(mvhd, 1000);
        u32be(mvhd, 40);
    }
    mvhd.resize(mvhd.size() + 80, 0);
    Bytes moov = box("mvhd", mvhd);
    if (!o.apple_date.empty()) {
        Bytes hdlr;
        u32be(hdlr, 0);
        u32be(hdlr, 0);
        add(hdlr, "mdta");
        hdlr.resize(hdlr.size() + 13, 0);
        const std::string key = "com.apple.quicktime.creationdate";
        Bytes keys;
        u32be(keys, 0);
        u32be(keys, 1);
        u32be(keys, static_cast<std::uint32_t>(8 + key.size()));
        add(keys, "mdta");
        add(keys, key);
        Bytes data;
        u32be(data, 1);  // UTF-8
        u32be(data, 0);
        add(data, o.apple_date);
        Bytes item;
        u32be(item, static_cast<std::uint32_t>(8 + 8 + data.size()));
        u32be(item, 1);  // the first key
        add(item, box("data", data));
        // Apple's meta box in the movie box holds its boxes at once; in udta
        // it is the MP4 kind, with a version and flags first.
        Bytes inner = o.meta_in_udta ? Bytes(4, 0) : Bytes{};
        add(inner, cat({box("hdlr", hdlr), box("keys", keys), box("ilst", item)}));
        const Bytes meta = box("meta", inner);
        add(moov, o.meta_in_udta ? box("udta", meta) : meta);
    }
    Bytes file;
    if (!o.brand.empty()) {
        Bytes ftyp;
        add(ftyp, o.brand);
        u32be(ftyp, 0x200);
        add(ftyp, o.brand);
        add(ftyp, "isom");
        add(file, box("ftyp", ftyp));
    }
    const Bytes mdat = box("mdat", Bytes(32, 0x55));
    if (o.mdat_first) add(file, mdat);
    add(file, box("moov", moov));
    if (!o.mdat_first) add(file, mdat);
    return file;
}

Bytes avi_file(std::string_view idit) {
    Bytes hdrl = bytes_of("hdrl");
    add(hdrl, riff_chunk("avih", Bytes(56, 0)));
    if (!idit.empty()) {
        Bytes text = bytes_of(idit);
        text.push_back(0);
        add(hdrl, riff_chunk("IDIT", text));
    }
    Bytes body = bytes_of("AVI ");
    add(body, riff_chunk("LIST", hdrl));
    add(body, riff_chunk("LIST", bytes_of("movi")));
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
    add(s, body);
    u32be(s, mpeg_crc(s));
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
    add(p, payload);
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
    u16be(pat_body, 1);  // stream id
    add(pat_body, Bytes{0xC1, 0x00, 0x00});
    u16be(pat_body, 1);       // program 1
    u16be(pat_body, 0xE100);  // its map on PID 0x100
    Bytes pmt_body;
    u16be(pmt_body, 1);
    add(pmt_body, Bytes{0xC1, 0x00, 0x00});
    u16be(pmt_body, 0xF011);     // PCR PID
    u16be(pmt_body, 0xF000);     // no program descriptors
    add(pmt_body, Bytes{0x1B});  // H.264 …
    u16be(pmt_body, 0xF011);     // … on PID 0x1011
    u16be(pmt_body, 0xF000);

    Bytes sei{0x05};  // user data unregistered
    Bytes mdpm = bytes_of(std::string_view("\x17\xEE\x8C\x60\xF8\x4D\x11\xD9\x8C\xD6\x08\x00\x20\x0C\x9A\x66MDPM", 20));
    mdpm.push_back(3);
    add(mdpm, Bytes{0x18, 0xEE, bcd(t.year / 100), bcd(t.year % 100), bcd(t.month)});
    add(mdpm, Bytes{0x19, bcd(t.day), bcd(t.hour), bcd(t.minute), bcd(t.second)});
    add(mdpm, Bytes{0xE1, 0x00, 0x00, 0x01, 0x00});  // a tag of another kind, which wants escaping
    sei.push_back(static_cast<std::uint8_t>(mdpm.size()));
    add(sei, mdpm);
    sei.push_back(0x80);  // the RBSP's closing bits
    Bytes pes{0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0x80, 0x00, 0x00};
    add(pes, Bytes{0x00, 0x00, 0x00, 0x01, 0x09, 0xF0});  // access unit delimiter
    add(pes, Bytes{0x00, 0x00, 0x00, 0x01, 0x06});        // SEI
    add(pes, escaped(sei));

    Bytes pat = {0x00};
    add(pat, psi_section(0x00, pat_body));
    Bytes pmt = {0x00};
    add(pmt, psi_section(0x02, pmt_body));
    Bytes null_packet{0x47, 0x1F, 0xFF, 0x10};
    null_packet.resize(188, 0xFF);
    std::vector<Bytes> packets{ts_packet(0, pat), ts_packet(0x100, pmt), ts_packet(0x1011, pes)};
    packets.resize(packets.size() + 30, null_packet);  // the rest of a stream, as readers expect one
    Bytes file;
    for (const Bytes& packet : packets) {
        if (m2ts) u32be(file, 0);
        add(file, packet);
    }
    return file;
}

}  // namespace test_media
