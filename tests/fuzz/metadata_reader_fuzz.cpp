// libFuzzer target: any bytes through the metadata reader, straight from
// memory and through the read-ahead that file sources use (both must agree),
// through the portable image object, and through the reader of RAW files'
// and videos' capture times, as a file of no particular ending and as a
// TIFF-based RAW file. Built and run by tools/run-fuzzer.sh.
#include "image/sources/byte_sources.h"
#include "image/image_file.h"
#include "image/image_metadata.h"
#include "image/sources/read_ahead_source.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string_view>

using namespace imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    std::optional<ImageMetadata> image = read_image_metadata(MemorySource(bytes));
    if (image) {
        for (const PropertyRecord& p : image->properties) {
            if (p.length < 0 || static_cast<std::size_t>(p.length) != p.value.size()) std::abort();
        }
    }

    std::optional<ImageMetadata> ahead = read_image_metadata(ReadAheadSource(std::make_unique<MemorySource>(bytes)));
    if (ahead.has_value() != image.has_value()) std::abort();
    if (image) {
        if (ahead->format != image->format || ahead->width != image->width || ahead->height != image->height ||
            ahead->properties.size() != image->properties.size()) {
            std::abort();
        }
        for (std::size_t i = 0; i < image->properties.size(); ++i) {
            const PropertyRecord& a = ahead->properties[i];
            const PropertyRecord& b = image->properties[i];
            if (a.id != b.id || a.type != b.type || a.value != b.value) std::abort();
        }
    }

    for (std::string_view extension : {"", ".nef"}) {
        MediaDate media = read_media_date(MemorySource(bytes), extension);
        MediaDate media_ahead = read_media_date(ReadAheadSource(std::make_unique<MemorySource>(bytes)), extension);
        if (media.kind != media_ahead.kind || media.date != media_ahead.date) std::abort();
        if (media.kind == MediaKind::None && !media.date.empty()) std::abort();
    }

    int status = 0;
    ImageFile file(status);
    if (file.LoadFromBytes(bytes) != (image && has_image_header(*image))) std::abort();
    PropertyRecord date;
    file.GetPropertyItem(36867, date);
    std::vector<std::int32_t> ids;
    file.GetPropertyIdList(ids);
    std::vector<std::int32_t> delays;
    file.GetFrameDelays(delays);
    file.GetHorizontalResolution();
    file.Dispose();
    return 0;
}
