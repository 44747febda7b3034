#include "platform/file_rename.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

TEST(RenameNoReplace, RenamesWithinTheDirectory) {
    TempDir dir;
    dir.write("IMG_1.jpg", "photo");
    ASSERT_TRUE(platform::rename_file_no_replace(dir.file("IMG_1.jpg"), dir.file("A001.jpg")));
    EXPECT_FALSE(dir.exists("IMG_1.jpg"));
    EXPECT_EQ(dir.read("A001.jpg"), "photo");
}

TEST(RenameNoReplace, NeverReplacesAnExistingFile) {
    TempDir dir;
    dir.write("a.jpg", "source");
    dir.write("b.jpg", "existing");
    EXPECT_FALSE(platform::rename_file_no_replace(dir.file("a.jpg"), dir.file("b.jpg")));
    EXPECT_EQ(dir.read("a.jpg"), "source");
    EXPECT_EQ(dir.read("b.jpg"), "existing");
}

TEST(RenameNoReplace, FailsForAMissingSource) {
    TempDir dir;
    EXPECT_FALSE(platform::rename_file_no_replace(dir.file("gone.jpg"), dir.file("new.jpg")));
    EXPECT_FALSE(dir.exists("new.jpg"));
}
