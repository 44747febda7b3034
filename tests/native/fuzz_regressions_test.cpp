#include "image/sources/byte_sources.h"
#include "image/image_file.h"
#include "image/image_metadata.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using namespace imaging;

// Replays the inputs that once made the reader fault: each must now read
// cleanly, straight from memory and through the image object.
TEST(FuzzRegressions, EveryKeptInputReadsCleanly) {
    for (const auto& entry : std::filesystem::directory_iterator(FUZZ_REGRESSIONS_DIR)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

        std::optional<ImageMetadata> image = read_image_metadata(MemorySource(bytes));
        if (image) {
            for (const PropertyRecord& p : image->properties) {
                EXPECT_EQ(static_cast<std::size_t>(p.length), p.value.size());
            }
        }
        for (const char* extension : {"", ".nef"}) read_media_date(MemorySource(bytes), extension);
        int status = 0;
        ImageFile file(status);
        EXPECT_EQ(file.LoadFromBytes(bytes), image && has_image_header(*image));
        PropertyRecord date;
        file.GetPropertyItem(36867, date);
        file.Dispose();
    }
}
