#pragma once

#include "image_builders.h"

#include <cstdint>
#include <string>
#include <vector>
#include <string_view>

// Small writers of camera RAW files and videos for tests and the fuzzer's
// seed corpus, after the containers' published layouts: the headers and
// metadata only, the image or media data left out or a few bytes long.
namespace test_media {

using test_images::Bytes;

// TIFF-based RAW files: a TIFF block with the date in its Exif IFD, the
// number after the byte order replaced by magic ("RO" for Olympus ORF, "U\0"
// for Panasonic RW2; "*\0" leaves a plain TIFF, as CR2, NEF, DNG … are).
Bytes raw_tiff(std::string_view date, std::string_view magic = std::string_view("*\0", 2), bool big_endian = false);
// Canon CR3: ftyp "crx ", moov with Canon's uuid box of CMT1 and CMT2.
Bytes cr3_file(std::string_view date);
// Canon CRW: a CIFF root heap with an image-properties heap holding the
// capture-time record, seconds since 1970 as the camera counts them.
Bytes crw_file(std::uint32_t captured_seconds);
// Fujifilm RAF: its header pointing to a JPEG preview with the date in its EXIF.
Bytes raf_file(std::string_view date);
// Minolta MRW: a PRD block and a TTW block (a big-endian TIFF with the date).
Bytes mrw_file(std::string_view date);
// Sigma X3F: its header, a property list with TIME (seconds since 1970 UTC)
// and the directory its last four bytes point to.
Bytes x3f_file(std::string_view time_seconds);

// QuickTime and MP4: ftyp (none when brand is empty), then a movie box with a
// movie header of the given creation time (seconds since 1904 UTC; version 1
// writes 64 bits) and, when apple_date is not empty, Apple's creation date in
// a meta box of keys; the media data before the movie box when mdat_first.
struct MovieOptions {
    std::string brand = "qt  ";
    std::uint64_t created = 0;
    int version = 0;
    std::string apple_date;
    bool meta_in_udta = false;
    bool mdat_first = false;
    std::vector<std::string> tracks = {"vide", "soun"};  // each track's media handler
};
Bytes movie_file(const MovieOptions& options);
// Seconds since 1904-01-01 UTC of a moment given in seconds since 1970 UTC.
constexpr std::uint64_t movie_time(std::int64_t unix_seconds) {
    return static_cast<std::uint64_t>(unix_seconds + 2082844800LL);
}

// AVI: RIFF "AVI ", LIST hdrl with avih and, when not empty, IDIT, then LIST movi.
Bytes avi_file(std::string_view idit);

// AVCHD: PAT, PMT naming an H.264 stream, and one PES packet of it with an
// SEI of MDPM metadata giving this local date and time (BCD), followed by a
// tag that needs an emulation-prevention byte. m2ts puts the 4-byte time
// stamp before each packet.
struct AvchdTime {
    int year, month, day, hour, minute, second;
};
Bytes avchd_file(const AvchdTime& time, bool m2ts);

}  // namespace test_media
