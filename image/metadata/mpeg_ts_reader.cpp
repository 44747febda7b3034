#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"

#include <algorithm>

namespace imaging {

namespace metadata {

namespace {

constexpr std::size_t kPacket = 188;
constexpr int kMaxPackets = 20000;  // about 4 MB of a stream: its first seconds
constexpr std::size_t kMaxVideoBytes = 1u << 20;
constexpr std::size_t kChunkPackets = 256;  // read at a time
// The SEI user data that AVCHD cameras fill with MDPM: this UUID, then "MDPM".
constexpr std::string_view kMdpmId("\x17\xEE\x8C\x60\xF8\x4D\x11\xD9\x8C\xD6\x08\x00\x20\x0C\x9A\x66MDPM", 20);

// Where each packet starts: MTS packets (188 bytes) or M2TS ones (a 4-byte
// time stamp, then 188 bytes).
std::size_t packet_stride(ByteView head, std::size_t& sync) {
    for (std::size_t stride : {std::size_t{188}, std::size_t{192}}) {
        sync = stride == 188 ? 0 : 4;
        bool all = true;
        for (std::size_t i = 0; i < 4; ++i)
            all = all && head.u8(sync + i * stride) == 0x47 && head.has(sync + i * stride, 1);
        if (all) return stride;
    }
    return 0;
}

std::uint16_t pid_of(ByteView packet) {
    return static_cast<std::uint16_t>(((packet.u8(1) & 0x1F) << 8) | packet.u8(2));
}

// The payload of a packet, past its adaptation field.
ByteView payload_of(ByteView packet) {
    const std::uint8_t control = (packet.u8(3) >> 4) & 0x3;
    if (!(control & 0x1)) return {};
    std::uint64_t at = 4;
    if (control & 0x2) at += 1 + packet.u8(4);
    return packet.from(at);
}

// A PSI section (PAT, PMT) at the start of a payload, past its pointer field.
ByteView section_of(ByteView payload) { return payload.from(1 + payload.u8(0)); }

// The payload of an H.264 NAL unit stream without its emulation-prevention bytes.
std::vector<std::uint8_t> unescaped(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size());
    int zeros = 0;
    for (std::uint8_t b : bytes) {
        if (zeros >= 2 && b == 0x03) {
            zeros = 0;
            continue;
        }
        zeros = b == 0 ? zeros + 1 : 0;
        out.push_back(b);
    }
    return out;
}

int bcd(std::uint8_t b) { return (b >> 4) * 10 + (b & 0xF); }

std::optional<std::string> mdpm_date(const std::vector<std::uint8_t>& stream) {
    const std::vector<std::uint8_t> bytes = unescaped(stream);
    auto found = std::search(bytes.begin(), bytes.end(), kMdpmId.begin(), kMdpmId.end(),
                             [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
    if (found == bytes.end()) return std::nullopt;
    ByteView view(bytes);
    std::uint64_t at = static_cast<std::uint64_t>(found - bytes.begin()) + kMdpmId.size();
    const std::uint8_t count = view.u8(at++);
    platform::CivilTime t;
    bool have_date = false, have_time = false;
    for (std::uint8_t i = 0; i < count && view.has(at, 5); ++i, at += 5) {
        const std::uint8_t tag = view.u8(at);
        if (tag == 0x18) {  // a byte of its own, then the year and the month
            t.year = bcd(view.u8(at + 2)) * 100 + bcd(view.u8(at + 3));
            t.month = bcd(view.u8(at + 4));
            have_date = true;
        } else if (tag == 0x19) {  // day, hour, minute, second
            t.day = bcd(view.u8(at + 1));
            t.hour = bcd(view.u8(at + 2));
            t.minute = bcd(view.u8(at + 3));
            t.second = bcd(view.u8(at + 4));
            have_time = true;
        }
    }
    if (!have_date || !have_time || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31) return std::nullopt;
    return exif_date_text(t);
}

}  // namespace

bool is_mpeg_ts(ByteView head) {
    std::size_t sync = 0;
    return packet_stride(head, sync) != 0;
}

// The program association table names the program map, which names the
// H.264 stream; that stream's first bytes carry the camera's metadata.
std::optional<std::string> mpeg_ts_date(const ByteSource& file) {
    std::vector<std::uint8_t> head = read_up_to(file, 0, 4 * 192 + 8);
    std::size_t sync = 0;
    const std::size_t stride = packet_stride(ByteView(head), sync);
    if (stride == 0) return std::nullopt;
    int pmt_pid = -1, video_pid = -1;
    std::vector<std::uint8_t> video;
    for (int first = 0; first < kMaxPackets && video.size() < kMaxVideoBytes;
         first += static_cast<int>(kChunkPackets)) {
        std::vector<std::uint8_t> chunk =
            read_up_to(file, static_cast<std::uint64_t>(first) * stride, kChunkPackets * stride);
        if (chunk.size() < stride) break;
        for (std::size_t at = 0; at + stride <= chunk.size(); at += stride) {
            ByteView packet = ByteView(chunk).sub(at + sync, kPacket);
            if (packet.u8(0) != 0x47) continue;
            const std::uint16_t pid = pid_of(packet);
            const bool unit_start = (packet.u8(1) & 0x40) != 0;
            ByteView payload = payload_of(packet);
            if (pid == 0 && unit_start && pmt_pid < 0) {
                ByteView pat = section_of(payload);
                const std::uint64_t length = ((pat.u8(1) & 0x0F) << 8) | pat.u8(2);
                // The programs, four bytes each, after the 8-byte header and before the CRC.
                for (std::uint64_t p = 8; p + 4 <= std::min<std::uint64_t>(3 + length - 4, pat.size()); p += 4) {
                    if ((pat.u16(p, ByteOrder::Big)) == 0) continue;  // the network PID
                    pmt_pid = ((pat.u8(p + 2) & 0x1F) << 8) | pat.u8(p + 3);
                    break;
                }
            } else if (pid == pmt_pid && unit_start && video_pid < 0) {
                ByteView pmt = section_of(payload);
                const std::uint64_t length = ((pmt.u8(1) & 0x0F) << 8) | pmt.u8(2);
                const std::uint64_t end = std::min<std::uint64_t>(3 + length - 4, pmt.size());
                std::uint64_t s = 12 + (((pmt.u8(10) & 0x0F) << 8) | pmt.u8(11));
                while (s + 5 <= end) {
                    const std::uint8_t type = pmt.u8(s);
                    const int elementary = ((pmt.u8(s + 1) & 0x1F) << 8) | pmt.u8(s + 2);
                    if (type == 0x1B) {  // H.264
                        video_pid = elementary;
                        break;
                    }
                    s += 5 + (((pmt.u8(s + 3) & 0x0F) << 8) | pmt.u8(s + 4));
                }
            } else if (pid == video_pid) {
                auto bytes = payload.bytes();
                video.insert(video.end(), bytes.begin(), bytes.end());
            }
        }
        if (video.size() >= 64 * 1024) {
            if (auto date = mdpm_date(video)) return date;
        }
    }
    return mdpm_date(video);
}

}  // namespace metadata

}  // namespace imaging
