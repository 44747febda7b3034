#include "image/gdiplus/gdiplus_api.h"
#include "image/image_file.h"
#include "image_test_files.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace imaging;

namespace {

std::wstring system_gdiplus() {
    wchar_t directory[MAX_PATH];
    UINT n = GetSystemDirectoryW(directory, MAX_PATH);
    return std::wstring(directory, n) + L"\\gdiplus.dll";
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

TEST(GdiplusApi, EveryFunctionResolvesFromTheSystemLibrary) {
    gdiplus::Library library(system_gdiplus());
    ASSERT_TRUE(library.loaded());
    EXPECT_EQ(library.api().missing(), std::vector<std::string>{});
}

TEST(GdiplusApi, WithoutTheLibraryEveryCallFailsWithoutCalling) {
    gdiplus::Library library(L"C:\\no-such-directory\\gdiplus.dll");
    ASSERT_FALSE(library.loaded());
    const gdiplus::Api& api = library.api();
    EXPECT_TRUE(contains(api.missing(), "GdiplusStartup"));
    EXPECT_TRUE(contains(api.missing(), "GdipSetImagePalette"));

    gdiplus::GpImage* image = nullptr;
    EXPECT_EQ(api.GdipLoadImageFromFile(L"C:\\x.bmp", &image), image_status::NotImplemented);
    EXPECT_EQ(image, nullptr);
    UINT width = 7;
    EXPECT_EQ(api.GdipGetImageWidth(nullptr, &width), image_status::NotImplemented);
    EXPECT_EQ(width, 7u);
    EXPECT_EQ(api.GdipAlloc(16), nullptr);
    api.GdiplusShutdown(1);
}

TEST(GdiplusApi, AnUnresolvableNameIsRecordedAndItsCallFails) {
    gdiplus::Library library(system_gdiplus());
    ASSERT_TRUE(library.loaded());
    gdiplus::Resolver resolver(GetModuleHandleW(system_gdiplus().c_str()));
    gdiplus::Function<gdiplus::Status(WINAPI*)(gdiplus::GpImage*, UINT*)> known{resolver, "GdipGetImageWidth"};
    gdiplus::Function<gdiplus::Status(WINAPI*)(gdiplus::GpImage*, UINT*)> unknown{resolver, "GdipGetImageWidthX"};
    EXPECT_TRUE(known);
    EXPECT_FALSE(unknown);
    EXPECT_EQ(resolver.missing(), std::vector<std::string>{"GdipGetImageWidthX"});
    UINT width = 0;
    EXPECT_EQ(unknown(nullptr, &width), image_status::NotImplemented);
    EXPECT_NE(known(nullptr, &width), image_status::Ok);  // a real call: no image
}

// Runs where gdiplus.dll cannot be loaded: ctest's image_tests_without_gdiplus
// starts the program with Wine told to disable the library.
TEST(MissingGdiplus, EveryLibraryOperationFailsCleanly) {
    if (gdiplus::Library(system_gdiplus()).loaded()) {
        GTEST_SKIP() << "gdiplus.dll loads here; run with WINEDLLOVERRIDES=gdiplus=d";
    }
    std::uintptr_t token = 0;
    EXPECT_EQ(StartGdiplus(token), 0u);
    EXPECT_EQ(token, 0u);

    int status = 0;
    ImageFile image(status);
    TempDirectory dir;
    // Only the program's own reader is left: a file it does not know fails...
    dir.write("notes.bmp", image_test::Bytes{'n', 'o', 't', 'e', 's'});
    EXPECT_FALSE(image.LoadFromFile(dir.path("notes.bmp")));
    EXPECT_NE(status, 0);
    EXPECT_EQ(image.GetWidth(), 0u);
    EXPECT_EQ(image.GetRawFormat(), image_test::kZeroGuid);
    // ...and one it knows is held as what its headers say, without pixels.
    dir.write("a.bmp", image_test::bmp_24bit(4, 3));
    EXPECT_TRUE(image.LoadFromFile(dir.path("a.bmp")));
    EXPECT_NE(image.GetHandle(), 0u);  // the object's own handle of what the reader holds
    EXPECT_EQ(image.GetWidth(), 4u);
    EXPECT_EQ(image.GetRawFormat(), "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}");
    EXPECT_TRUE(image.Dispose());
    status = 0;
    image_test::Bytes bytes = image_test::bmp_24bit(4, 3);
    EXPECT_TRUE(image.LoadFromBytes(bytes));
    EXPECT_EQ(image.GetHeight(), 3u);
    PropertyRecord record;
    record.id = 5;
    EXPECT_FALSE(image.GetPropertyItem(0x010E, record));
    EXPECT_EQ(record.id, 5);
    std::vector<std::int32_t> ids{1};
    EXPECT_EQ(image.GetPropertyIdList(ids), 0);
    EXPECT_EQ(image.Alloc(8), nullptr);
    std::vector<CodecInfo> codecs;
    EXPECT_EQ(GetEncoders(codecs, status), 0);
    EXPECT_NE(status, 0);
    EXPECT_EQ(FindEncoderClsid(image_test::kPngFormat, status), "");
    EXPECT_FALSE(image.SaveToFile(dir.path("b.png"), image_test::kPngFormat));
    EXPECT_FALSE(dir.exists("b.png"));
    EXPECT_TRUE(image.SaveToBytes(image_test::kPngFormat).empty());
    PaletteRecord palette;
    EXPECT_FALSE(image.GetPalette(palette));
    EXPECT_FALSE(image.RotateFlip(1));
    EXPECT_EQ(image.GetFrameCount(image_test::kPageDimension), 0u);
    EXPECT_TRUE(image.Dispose());
    EXPECT_FALSE(image.Dispose());
    StopGdiplus(token);
}
