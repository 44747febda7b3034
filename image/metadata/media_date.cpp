#include "image/image_metadata.h"

#include "image/metadata/byte_view.h"
#include "image/metadata/media_readers.h"
#include "image/metadata/source_reads.h"
#include "image/metadata/tiff_reader.h"
#include "text/text_case.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace imaging {

namespace metadata {

namespace {

constexpr std::int32_t kDateTimeOriginal = 0x9003;

// The RAW formats that are TIFF files and carry no signature of their own.
constexpr std::array<std::string_view, 10> kTiffRawEndings = {".CR2", ".NEF", ".NRW", ".ARW", ".SR2",
                                                              ".SRW", ".DNG", ".PEF", ".IIQ", ".3FR"};

bool is_tiff_raw_ending(std::string_view extension) {
    const std::string folded = text::folded_name(extension);
    return std::find(kTiffRawEndings.begin(), kTiffRawEndings.end(), folded) != kTiffRawEndings.end();
}

}  // namespace

std::optional<std::string> original_date(const std::vector<PropertyRecord>& properties) {
    for (const PropertyRecord& p : properties) {
        if (p.id != kDateTimeOriginal) continue;
        auto end = std::find(p.value.begin(), p.value.end(), std::uint8_t{0});
        std::string date(p.value.begin(), end);
        if (date.empty()) return std::nullopt;
        return date;
    }
    return std::nullopt;
}

std::string exif_date_text(const platform::CivilTime& t) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

std::optional<std::string> local_date_text(std::int64_t unix_seconds) {
    std::optional<platform::CivilTime> local = platform::local_time_at(unix_seconds);
    if (!local || local->year < 1 || local->year > 9999) return std::nullopt;
    return exif_date_text(*local);
}

std::string counted_date_text(std::int64_t seconds) { return exif_date_text(platform::civil_time_of(seconds)); }

}  // namespace metadata

// Picks the container by its signature; only a plain TIFF needs the file's
// ending to tell a RAW file from a TIFF photo.
MediaDate read_media_date(const ByteSource& source, std::string_view extension) {
    using namespace metadata;
    std::vector<std::uint8_t> bytes = read_up_to(source, 0, 16);
    ByteView head(bytes);
    auto raw = [](std::optional<std::string> date) { return MediaDate{MediaKind::CameraRaw, date.value_or("")}; };
    auto video = [](std::optional<std::string> date) { return MediaDate{MediaKind::Video, date.value_or("")}; };

    if (head.matches(0, "FOVb")) return raw(x3f_date(source));
    if (head.matches(0, "FUJIFILMCCD-RAW")) return raw(raf_date(source));
    if (head.matches(0, std::string_view("\0MRM", 4))) return raw(mrw_date(source));
    if ((head.matches(0, "II") || head.matches(0, "MM")) && head.matches(6, "HEAPCCDR")) return raw(crw_date(source));
    if (head.matches(4, "ftypcrx ")) return raw(cr3_date(source));
    if (is_raw_tiff_header(head)) return raw(raw_tiff_date(source));
    if (is_tiff_header(head) && is_tiff_raw_ending(extension)) return raw(raw_tiff_date(source));
    if (head.matches(0, "RIFF") && head.matches(8, "AVI ")) return video(avi_date(source));
    if (is_quicktime_video(source)) return video(quicktime_date(source));
    std::vector<std::uint8_t> packets = read_up_to(source, 0, 4 * 192 + 8);
    if (is_mpeg_ts(ByteView(packets))) return video(mpeg_ts_date(source));
    return {};
}

}  // namespace imaging
