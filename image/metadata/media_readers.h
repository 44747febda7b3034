#pragma once

#include "image/image_metadata.h"
#include "image/metadata/byte_view.h"
#include "platform/clock.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace imaging {

// One reader of capture times per container, behind read_media_date. Each is
// handed a source whose first bytes carry its container's signature and gives
// the capture time as "YYYY:MM:DD HH:MM:SS", or nothing when the file holds none.
namespace metadata {

// TIFF-based RAW files (CR2, NEF, ARW, DNG, …, and ORF and RW2 with their own
// TIFF signatures): DateTimeOriginal of the Exif IFD.
std::optional<std::string> raw_tiff_date(const ByteSource& file);
bool is_raw_tiff_header(ByteView head);
// Canon CR3: the Exif IFD in the CMT2 box of Canon's moov/uuid box.
std::optional<std::string> cr3_date(const ByteSource& file);
// Canon CRW (CIFF): its capture-time record. Also reads the CIFF block some
// Canon cameras put into a JPEG's APP0.
std::optional<std::string> crw_date(const ByteSource& file);
// Fujifilm RAF: the EXIF of the JPEG preview the header points to.
std::optional<std::string> raf_date(const ByteSource& file);
// Minolta MRW: the TIFF block of its TTW block.
std::optional<std::string> mrw_date(const ByteSource& file);
// Sigma X3F: the EXIF of its JPEG preview, else the TIME of its property list.
std::optional<std::string> x3f_date(const ByteSource& file);

// QuickTime and MP4 (MOV, MP4, M4V, 3GP, 3G2): Apple's creation date as
// written, else the movie header's creation time, UTC, in local time.
std::optional<std::string> quicktime_date(const ByteSource& file);
bool is_quicktime_video(const ByteSource& file);
// AVI: its IDIT chunk.
std::optional<std::string> avi_date(const ByteSource& file);
// AVCHD (MTS, M2TS): the recording time in the H.264 stream's MDPM metadata.
std::optional<std::string> mpeg_ts_date(const ByteSource& file);
bool is_mpeg_ts(ByteView head);

// Shared by the readers.
// DateTimeOriginal of properties read from a TIFF block; nothing without one.
std::optional<std::string> original_date(const std::vector<PropertyRecord>& properties);
// A date and time as the photo's DateTimeOriginal writes it.
std::string exif_date_text(const platform::CivilTime& time);
// A moment in seconds since 1970 UTC, in the computer's local time.
std::optional<std::string> local_date_text(std::int64_t unix_seconds);
// Seconds since 1970 as a camera counts its own local time: shown as they
// are, with no time zone applied.
std::string counted_date_text(std::int64_t seconds);

// Dates a photo carries outside EXIF, for photos whose EXIF has none; each
// as DateTimeOriginal writes it. A date without a time reads 00:00:00; a zone
// or offset is dropped, not applied; a date that is no real date is none.
// XMP: exif:DateTimeOriginal, else photoshop:DateCreated, else xmp:CreateDate.
std::optional<std::string> xmp_date(std::string_view packet);
// The same, of the packet at [at, at + length) of the file.
std::optional<std::string> xmp_date_at(const ByteSource& file, std::uint64_t at, std::uint64_t length);
// IPTC DateCreated and TimeCreated, from Photoshop's image resources (a
// JPEG's APP13 after "Photoshop 3.0\0").
std::optional<std::string> iptc_date(ByteView photoshop_resources);
// True when the properties hold a DateTimeOriginal that is not all zeros.
bool is_dated(const std::vector<PropertyRecord>& properties);

}  // namespace metadata

}  // namespace imaging
