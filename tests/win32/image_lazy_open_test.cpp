// The image object reads headers and metadata itself and leaves GDI+ closed
// until an operation needs it; its answers are the ones it gave when GDI+
// opened every file at once.
#include "image/image_file.h"
#include "image_builders.h"
#include "image_test_files.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace imaging;

namespace {

struct Answer {
    bool found;
    PropertyRecord record;
    bool operator==(const Answer& o) const {
        return found == o.found && record.id == o.record.id && record.length == o.record.length &&
               record.type == o.record.type && record.value == o.record.value;
    }
};

Answer property(ImageFile& image, std::int32_t id) {
    Answer answer{false, {}};
    answer.found = image.GetPropertyItem(id, answer.record);
    return answer;
}

}  // namespace

TEST(ImageLazyOpen, EveryTestImageAnswersAsWhenGdiplusOpenedItAtOnce) {
    std::uintptr_t token = 0;
    ASSERT_NE(StartGdiplus(token), 0u);
    TempDirectory dir;
    namespace ti = test_images;
    const std::vector<std::pair<std::string, image_test::Bytes>> files = {
        {"photo.jpg", image_test::jpeg_photo(64, 48, ti::exif_with_date("2008:05:17 14:23:45"))},
        {"plain.jpg", image_test::jpeg_photo(16, 16, {})},
        {"scan.tif", image_test::tiff_with_tags(8, 6, {{0x010F, "Nikon"}, {0x0132, "2001:02:03 04:05:06"}})},
        {"a.bmp", image_test::bmp_24bit(5, 3)},
        {"b.png", ti::png_file(7, 9)},
        {"phone.heic",
         [] {
             ti::HeifOptions heif;
             heif.exif = ti::exif_with_date("2023:07:01 08:00:00");
             return ti::heif_file(heif);
         }()},
        {"start.jpg", {0xFF, 0xD8, 0xFF}},
        {"notes.jpg", {'n', 'o'}},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        dir.write(name, bytes);
        int eager_status = 0, lazy_status = 0;
        ImageFile eager(eager_status), lazy(lazy_status);
        bool eager_loaded = eager.LoadFromFile(dir.path(name));
        if (eager_loaded) eager.GetType();  // only GDI+ knows: it opens the file now, as every load did
        bool lazy_loaded = lazy.LoadFromFile(dir.path(name));
        ASSERT_EQ(lazy_loaded, eager_loaded);
        if (!lazy_loaded) continue;
        EXPECT_EQ(lazy.GetRawFormat(), eager.GetRawFormat());
        EXPECT_EQ(lazy.GetWidth(), eager.GetWidth());
        EXPECT_EQ(lazy.GetHeight(), eager.GetHeight());

        std::vector<std::int32_t> ids;
        eager.GetPropertyIdList(ids);
        std::set<std::int32_t> asked(ids.begin(), ids.end());
        for (std::int32_t absent : {0x9003, 0x9004, 0x010E, 0x0002, 0x5100, 0x501B}) asked.insert(absent);
        for (std::int32_t id : asked) EXPECT_EQ(property(lazy, id), property(eager, id)) << "tag " << id;
        EXPECT_TRUE(lazy.Dispose());
        EXPECT_TRUE(eager.Dispose());
    }
    StopGdiplus(token);
}
