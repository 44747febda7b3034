#include "platform/file_rename.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

TEST(RenameNoReplace, RenamesWithinTheDirectory) {
    TempDirectory dir;
    dir.write("IMG_1.jpg", "photo");
    ASSERT_TRUE(platform::rename_file_no_replace(dir.path("IMG_1.jpg"), dir.path("A001.jpg")));
    EXPECT_FALSE(dir.exists("IMG_1.jpg"));
    EXPECT_EQ(dir.read("A001.jpg"), "photo");
}

TEST(RenameNoReplace, NeverReplacesAnExistingFile) {
    TempDirectory dir;
    dir.write("a.jpg", "source");
    dir.write("b.jpg", "existing");
    EXPECT_FALSE(platform::rename_file_no_replace(dir.path("a.jpg"), dir.path("b.jpg")));
    EXPECT_EQ(dir.read("a.jpg"), "source");
    EXPECT_EQ(dir.read("b.jpg"), "existing");
}

TEST(RenameNoReplace, FailsForAMissingSource) {
    TempDirectory dir;
    EXPECT_FALSE(platform::rename_file_no_replace(dir.path("gone.jpg"), dir.path("new.jpg")));
    EXPECT_FALSE(dir.exists("new.jpg"));
}
