// libFuzzer target: any bytes through the metadata reader and the portable
// image object. Built and run by tools/run-fuzzer.sh.
#include "image/byte_sources.h"
#include "image/image_file.h"
#include "image/image_metadata.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    std::optional<ImageMetadata> image = read_image_metadata(MemorySource(bytes));
    if (image) {
        for (const PropertyRecord& p : image->properties) {
            if (p.length < 0 || static_cast<std::size_t>(p.length) != p.value.size()) std::abort();
        }
    }

    int status = 0;
    ImageFile file(status);
    if (file.LoadFromBytes(bytes) != image.has_value()) std::abort();
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
