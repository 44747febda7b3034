#include "filelist/main_model.h"
#include "image_builders.h"
#include "image_test_files.h"
#include "temp_directory.h"
#include "naming/capture_date_names.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

using namespace filelist;
using namespace naming;
using namespace imaging;

// Reports how long naming 200 photos of over 1 MB each takes under this
// platform's imaging library. Run with --gtest_also_run_disabled_tests.
TEST(CaptureDateTiming, DISABLED_TwoHundredPhotos) {
    TempDirectory dir;
    image_test::Bytes photo = image_test::jpeg_photo(64, 48, test_images::exif_with_date("2008:05:17 14:23:45"));
    ASSERT_FALSE(photo.empty());
    // Bytes after the end marker stand in for a large scan; decoders stop at the marker.
    photo.resize(photo.size() + 1024 * 1024, 0x55);

    MainModel model;
    CaptureDateNamer namer;
    std::uintptr_t token = 0;
    StartGdiplus(token);
    std::vector<std::string> names;
    for (int i = 0; i < 200; ++i) {
        names.push_back("IMG_" + std::to_string(1000 + i) + ".jpg");
        dir.write(names.back(), photo);
    }
    std::string directory = dir.path("");
    model.state.batch.fill_list(directory, names);

    int notices = 0;
    auto start = std::chrono::steady_clock::now();
    filelist::NoProgress quietly;
    namer.build_capture_date_names(model.state.batch, [&] { ++notices; }, quietly);
    auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("200 photos named in %.0f ms (%.2f ms each)\n", ms, ms / 200);
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(model.state.batch.new_names().back(), "20080517 142345");
    StopGdiplus(token);
}
