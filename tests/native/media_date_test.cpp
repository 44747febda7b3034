// Capture times of camera RAW files and videos, each against what exiftool
// reads from the same file (its DateTimeOriginal; for the QuickTime family
// Keys:CreationDate, else CreateDate with -api QuickTimeUTC=1), recorded
// beside each case with TZ=Asia/Shanghai, the zone the test runs in.
#include "image/image_metadata.h"
#include "image/sources/byte_sources.h"
#include "image_builders.h"
#include "media_builders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace imaging;
using namespace test_media;
using test_images::Bytes;

namespace {

constexpr const char* kDate = "2011:12:31 23:59:59";
constexpr std::int64_t kMoment = 1325375999;  // 2011-12-31 23:59:59 UTC

Bytes sample(const std::string& name) {
    std::ifstream in(std::string(MEDIA_SAMPLES_DIR) + "/" + name, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

MovieOptions movie(std::string brand, std::uint64_t created, std::string apple = {}) {
    MovieOptions o;
    o.brand = std::move(brand);
    o.created = created;
    o.apple_date = std::move(apple);
    return o;
}

// The test's own time zone, as a user's computer would have it.
struct InShanghai : ::testing::Test {
    std::string before;
    void SetUp() override {
        if (const char* tz = std::getenv("TZ")) before = tz;
        setenv("TZ", "Asia/Shanghai", 1);
        tzset();
    }
    void TearDown() override {
        if (before.empty()) {
            unsetenv("TZ");
        } else {
            setenv("TZ", before.c_str(), 1);
        }
        tzset();
    }
};

struct Case {
    const char* what;
    std::string extension;
    Bytes bytes;
    MediaKind kind;
    std::string date;  // exiftool's reading, colons and all
};

std::vector<Case> cases() {
    MovieOptions v1 = movie("mp42", movie_time(kMoment));
    v1.version = 1;
    MovieOptions late = movie("", movie_time(kMoment), "2023-07-01T08:00:00-0500");
    late.meta_in_udta = true;
    late.mdat_first = true;
    MovieOptions audio_only = movie("isom", movie_time(kMoment));
    audio_only.tracks = {"soun"};
    const MediaKind raw = MediaKind::CameraRaw, video = MediaKind::Video;
    return {
        {"CR2", ".CR2", raw_tiff(kDate), raw, kDate},
        {"NEF, big-endian", ".nef", raw_tiff(kDate, std::string_view("*\0", 2), true), raw, kDate},
        {"DNG", ".dng", raw_tiff(kDate), raw, kDate},
        {"ORF", ".orf", raw_tiff(kDate, "RO"), raw, kDate},
        {"ORF, big-endian", ".orf", raw_tiff(kDate, "RO", true), raw, kDate},
        {"RW2", ".rw2", raw_tiff(kDate, std::string_view("U\0", 2)), raw, kDate},
        {"CR3", ".cr3", cr3_file(kDate), raw, kDate},
        {"CRW", ".crw", crw_file(static_cast<std::uint32_t>(kMoment)), raw, kDate},
        {"RAF", ".raf", raf_file(kDate), raw, kDate},
        {"MRW", ".mrw", mrw_file(kDate), raw, kDate},
        {"X3F", ".x3f", x3f_file("1325375999"), raw, kDate},
        {"a RAW file without a date", ".arw",
         test_images::TiffBuilder().add(test_images::Ifd::Zero, test_images::ascii(0x010F, "SONY")).build().bytes, raw,
         ""},
        {"a CRW file without a capture time", ".crw", crw_file(0), raw, ""},
        {"MOV, the movie header in UTC", ".mov", movie_file(movie("qt  ", movie_time(kMoment))), video,
         "2012:01:01 07:59:59"},
        {"MP4, a 64-bit movie header", ".mp4", movie_file(v1), video, "2012:01:01 07:59:59"},
        {"3GP", ".3gp", movie_file(movie("3gp4", movie_time(kMoment))), video, "2012:01:01 07:59:59"},
        {"MOV with Apple's creation date", ".mov",
         movie_file(movie("qt  ", movie_time(kMoment), "2023-07-01T08:00:00-0500")), video, "2023:07:01 08:00:00"},
        {"MOV without ftyp, its movie box last", ".mov", movie_file(late), video, "2023:07:01 08:00:00"},
        {"a movie header of time 0", ".mp4", movie_file(movie("isom", 0)), video, ""},
        {"ffmpeg's MP4", ".mp4", sample("phone.mp4"), video, "2021:03:04 13:06:07"},
        {"ffmpeg's 3GP", ".3gp", sample("phone.3gp"), video, "2020:01:01 07:59:59"},
        {"ffmpeg's MOV with Apple's keys", ".mov", sample("iphone.mov"), video, "2023:07:01 08:00:00"},
        {"exiftool's Apple keys", ".mov", sample("iphone-exiftool.mov"), video, "2022:02:03 04:05:06"},
        {"ffmpeg's MOV without a date", ".mov", sample("undated.mov"), video, ""},
        {"AVI, IDIT as a weekday and month", ".avi", avi_file("THU OCT 26 16:46:00 2006\n"), video,
         "2006:10:26 16:46:00"},
        {"AVI, IDIT in numbers", ".avi", avi_file("2005:08:17 11:42:43"), video, "2005:08:17 11:42:43"},
        {"AVI without IDIT", ".avi", avi_file(""), video, ""},
        {"MTS", ".mts", avchd_file({2009, 8, 1, 14, 0, 0}, false), video, "2009:08:01 14:00:00"},
        {"M2TS", ".m2ts", avchd_file({2009, 8, 1, 14, 0, 0}, true), video, "2009:08:01 14:00:00"},
        // Not of these kinds: an image, a HEIF photo, text.
        {"a TIFF photo", ".tif", raw_tiff(kDate), MediaKind::None, ""},
        {"a HEIF photo", ".heic", test_images::heif_file({}), MediaKind::None, ""},
        {"ffmpeg's M4A song: sound, no video", ".m4a", sample("song.m4a"), MediaKind::None, ""},
        {"an MP4 of sound alone", ".mp4", movie_file(audio_only), MediaKind::None, ""},
        {"text named like a video", ".mov", test_images::bytes_of("not a movie at all"), MediaKind::None, ""},
    };
}

}  // namespace

TEST_F(InShanghai, EachKindGivesTheCaptureTimeExiftoolReads) {
    for (const Case& c : cases()) {
        ASSERT_FALSE(c.bytes.empty()) << c.what;
        MediaDate found = read_media_date(MemorySource(c.bytes), c.extension);
        EXPECT_EQ(found.kind, c.kind) << c.what;
        EXPECT_EQ(found.date, c.date) << c.what;
    }
}

// Cut short anywhere, or with a size field that lies: never outside the
// bytes, never another date than the file's own.
TEST_F(InShanghai, DamagedFilesGiveTheirDateOrNone) {
    for (const Case& c : cases()) {
        for (std::size_t cut = 0; cut < c.bytes.size(); cut += 1 + c.bytes.size() / 97) {
            Bytes part(c.bytes.begin(), c.bytes.begin() + static_cast<std::ptrdiff_t>(cut));
            MediaDate found = read_media_date(MemorySource(part), c.extension);
            if (!found.date.empty()) {
                EXPECT_EQ(found.date, c.date) << c.what << " cut at " << cut;
            }
        }
        for (std::size_t at = 0; at + 4 <= c.bytes.size() && at < 400; at += 7) {
            Bytes broken = c.bytes;
            for (std::size_t i = 0; i < 4; ++i) broken[at + i] = 0xFF;  // a length, an offset or a count of 4 GB
            read_media_date(MemorySource(broken), c.extension);
        }
    }
}
