#include "platform/ini_file.h"
#include "platform/ini_text.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ini = platform::ini_text;

TEST(IniText, FindsValuesLikeTheProfileFunctions) {
    const std::string text =
        "; a comment\r\n"
        "[Other]\r\n"
        "记录=wrong\r\n"
        " [ 配置 ] \r\n"
        "  记录 =  /home/用户/照片  \r\n"
        "Size=\"quoted value\"\r\n";
    EXPECT_EQ(ini::find_value(text, "配置", "记录"), "/home/用户/照片");
    EXPECT_EQ(ini::find_value(text, "配置", "size"), "quoted value");
    EXPECT_EQ(ini::find_value(text, "other", "记录"), "wrong");
    EXPECT_EQ(ini::find_value(text, "配置", "missing"), std::nullopt);
    EXPECT_EQ(ini::find_value(text, "Missing", "记录"), std::nullopt);
    EXPECT_EQ(ini::find_value("", "配置", "记录"), std::nullopt);
    EXPECT_EQ(ini::find_value("记录=outside any section\n", "配置", "记录"), std::nullopt);
}

TEST(IniText, ReplacesOnlyTheKeyLine) {
    const std::string text = "[A]\r\nx=1\r\n[配置]\r\nfoo=bar\r\n记录=old\r\nlast=1\r\n[B]\r\ny=2";
    EXPECT_EQ(ini::with_value(text, "配置", "记录", "new"),
              "[A]\r\nx=1\r\n[配置]\r\nfoo=bar\r\n记录=new\r\nlast=1\r\n[B]\r\ny=2");
}

TEST(IniText, AddsAMissingKeyAtTheEndOfItsSection) {
    const std::string text = "[配置]\nfoo=bar\n\n[B]\ny=2\n";
    EXPECT_EQ(ini::with_value(text, "配置", "记录", "D:\\photos"), "[配置]\nfoo=bar\n记录=D:\\photos\n\n[B]\ny=2\n");
}

TEST(IniText, AddsAMissingSectionAtTheEnd) {
    EXPECT_EQ(ini::with_value("", "配置", "记录", "v"), "[配置]\n记录=v\n");
    EXPECT_EQ(ini::with_value("[A]\r\nx=1", "配置", "记录", "v"), "[A]\r\nx=1\r\n[配置]\r\n记录=v\r\n");
}

TEST(IniText, KeepsBinaryBytesOfOtherLines) {
    std::string text("[A]\nblob=\x01\x02\xff\xfe", 14);
    text += std::string(1, '\0') + "tail\n";
    std::string updated = ini::with_value(text, "配置", "记录", "v");
    EXPECT_EQ(updated.substr(0, text.size()), text);
    EXPECT_EQ(ini::find_value(updated, "配置", "记录"), "v");
}

TEST(IniFile, MissingFileReadsEmptyAndIsCreatedOnWrite) {
    TempDirectory dir;
    const std::string path = dir.path("配置.ini");
    EXPECT_EQ(platform::read_ini_value(path, "配置", "记录"), "");
    EXPECT_FALSE(dir.exists("配置.ini"));
    ASSERT_TRUE(platform::write_ini_value(path, "配置", "记录", "/data/相册"));
    EXPECT_EQ(platform::read_ini_value(path, "配置", "记录"), "/data/相册");
}

TEST(IniFile, WriteKeepsOtherSectionsAndKeys) {
    TempDirectory dir;
    dir.write("s.ini", "[Window]\nx=10\ny=20\n[配置]\n记录=/old\n备注=保留\n[Tail]\nz=\n");
    ASSERT_TRUE(platform::write_ini_value(dir.path("s.ini"), "配置", "记录", "/new"));
    EXPECT_EQ(dir.read("s.ini"), "[Window]\nx=10\ny=20\n[配置]\n记录=/new\n备注=保留\n[Tail]\nz=\n");
}

TEST(IniFile, LongValuesRoundTrip) {
    TempDirectory dir;
    const std::string value = "/" + std::string(10000, 'x') + "/目录";
    ASSERT_TRUE(platform::write_ini_value(dir.path("s.ini"), "配置", "记录", value));
    EXPECT_EQ(platform::read_ini_value(dir.path("s.ini"), "配置", "记录"), value);
}

TEST(IniFile, UnusableFilesGiveEmptyAndAreNeverClobbered) {
    TempDirectory dir;
    // A directory where the file should be.
    std::filesystem::create_directory(dir.path("配置.ini"));
    EXPECT_EQ(platform::read_ini_value(dir.path("配置.ini"), "配置", "记录"), "");
    EXPECT_FALSE(platform::write_ini_value(dir.path("配置.ini"), "配置", "记录", "v"));

    // A file too large to hold: refused, and left exactly as it was.
    std::string huge(17 * 1024 * 1024, 'a');
    huge.replace(0, 16, "[配置]\n记录=x\n");
    dir.write("huge.ini", huge);
    EXPECT_EQ(platform::read_ini_value(dir.path("huge.ini"), "配置", "记录"), "");
    EXPECT_FALSE(platform::write_ini_value(dir.path("huge.ini"), "配置", "记录", "v"));
    EXPECT_EQ(std::filesystem::file_size(dir.path("huge.ini")), huge.size());

    // An empty file.
    dir.write("empty.ini", "");
    EXPECT_EQ(platform::read_ini_value(dir.path("empty.ini"), "配置", "记录"), "");
}
