#include "picker/directory_path.h"
#include "text/natural_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace picker;
using namespace text;

using picker::PathSyntax;

TEST(NaturalOrder, SortsAsExplorerDoes) {
    std::vector<std::string> names = {"IMG_10.jpg", "IMG_2.jpg", "img_1.JPG", "IMG_02.jpg", "B.jpg", "a.jpg",
                                      "_x.jpg",     "10.jpg",    "9.jpg",     "照片.jpg",   "IMG_2.JPG"};
    sort_naturally(names);
    const std::vector<std::string> expected = {"_x.jpg",    "9.jpg",     "10.jpg",     "a.jpg",
                                               "B.jpg",     "img_1.JPG", "IMG_2.JPG",  "IMG_2.jpg",
                                               "IMG_02.jpg", "IMG_10.jpg", "照片.jpg"};
    EXPECT_EQ(names, expected);
}

TEST(NaturalOrder, NumbersBeyondSixtyFourBitsCompareByValue) {
    EXPECT_LT(natural_compare("a99999999999999999999999", "a100000000000000000000000"), 0);
    EXPECT_LT(natural_compare("x007y2", "x7y10"), 0);  // later numbers decide before leading zeros
    EXPECT_EQ(natural_compare("same", "same"), 0);
    EXPECT_LT(natural_compare("a", "a1"), 0);
}

TEST(NaturalOrder, IsAConsistentOrder) {
    // Sorting relies on a strict weak order; check it on many mixed names.
    std::mt19937 random(7);
    const std::string pieces[] = {"a", "A", "0", "1", "01", "10", "_", ".", "照", "Ж", "ж", "9", " ", "z"};
    std::vector<std::string> names;
    for (int n = 0; n < 300; ++n) {
        std::string name;
        for (int k = random() % 5; k >= 0; --k) name += pieces[random() % std::size(pieces)];
        names.push_back(name);
    }
    for (const std::string& x : names) {
        for (const std::string& y : names) {
            ASSERT_EQ(natural_compare(x, y), -natural_compare(y, x)) << x << " / " << y;
            ASSERT_EQ(natural_compare(x, y) == 0, x == y) << x << " / " << y;
        }
    }
    sort_naturally(names);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), natural_less));
    for (std::size_t i = 0; i + 2 < names.size(); ++i) ASSERT_LE(natural_compare(names[i], names[i + 2]), 0);
}

TEST(NaturalOrder, LargeListingsWithLongSharedBeginningsSortLikeTheComparison) {
    // Thousands of names that agree on their first twenty characters or so,
    // then differ in numbers, case and leading zeros.
    std::mt19937 random(11);
    const std::string stems[] = {"Holiday 2024 - Beach ", "holiday 2024 - beach ", "Holiday 2024 - Beach 0"};
    const std::string tails[] = {".jpg", ".JPG", "", " (2).jpg", "a.jpg", "_edit.png"};
    std::vector<std::string> names;
    for (int n = 0; n < 5000; ++n) {
        names.push_back(stems[random() % std::size(stems)] + std::to_string(random() % 3000) +
                        tails[random() % std::size(tails)]);
    }
    std::vector<std::string> expected = names;
    std::stable_sort(expected.begin(), expected.end(), natural_less);
    sort_naturally(names);
    EXPECT_EQ(names, expected);
}

TEST(DirectoryPath, WindowsPathsKeepTheirRootSpelling) {
    const auto w = PathSyntax::Windows;
    picker::DirectoryPath parts = picker::split_directory("C:\\photos\\\\2024\\", w);
    EXPECT_EQ(parts.root, "C:\\");
    EXPECT_EQ(parts.names, (std::vector<std::string>{"photos", "2024"}));
    EXPECT_EQ(picker::tidy_directory("C:\\photos\\\\2024\\", w), "C:\\photos\\2024");
    EXPECT_EQ(picker::tidy_directory("C:/photos/2024", w), "C:\\photos\\2024");
    EXPECT_EQ(picker::parent_directory("C:\\photos\\2024", w), "C:\\photos");
    EXPECT_EQ(picker::parent_directory("C:\\photos", w), "C:\\");
    EXPECT_EQ(picker::parent_directory("C:\\", w), "");
    EXPECT_EQ(picker::with_trailing_separator("C:\\photos", w), "C:\\photos\\");
    EXPECT_EQ(picker::with_trailing_separator("C:\\", w), "C:\\");
    EXPECT_EQ(picker::with_trailing_separator("", w), "");
    EXPECT_EQ(picker::drive_of("d:\\photos", w), "D");
    EXPECT_EQ(picker::drive_of("D:", w), "D");
    EXPECT_EQ(picker::drive_of("\\\\server\\share\\dir", w), "");
}

TEST(DirectoryPath, NetworkSharesAreOneRoot) {
    const auto w = PathSyntax::Windows;
    picker::DirectoryPath parts = picker::split_directory("\\\\server\\share\\dir", w);
    EXPECT_EQ(parts.root, "\\\\server\\share\\");
    EXPECT_EQ(parts.names, std::vector<std::string>{"dir"});
    EXPECT_EQ(picker::parent_directory("\\\\server\\share\\dir", w), "\\\\server\\share\\");
    EXPECT_EQ(picker::parent_directory("\\\\server\\share", w), "");
}

TEST(DirectoryPath, PosixPaths) {
    const auto p = PathSyntax::Posix;
    EXPECT_EQ(picker::split_directory("/home//user/", p).names, (std::vector<std::string>{"home", "user"}));
    EXPECT_EQ(picker::tidy_directory("/home//user/", p), "/home/user");
    EXPECT_EQ(picker::parent_directory("/home", p), "/");
    EXPECT_EQ(picker::parent_directory("/", p), "");
    EXPECT_EQ(picker::with_trailing_separator("/", p), "/");
    EXPECT_EQ(picker::with_trailing_separator("/home/user", p), "/home/user/");
    EXPECT_EQ(picker::drive_of("/home", p), "/");
    EXPECT_EQ(picker::drive_of("C:\\x", p), "");  // a backslash is part of a name here
}

TEST(NaturalOrder, ASorterKeptForTheNextListingSortsItFromScratch) {
    NaturalSorter sorter;
    NameList first;
    for (int i = 300; i > 0; --i) first.push_back("IMG_" + std::to_string(i) + ".jpg");
    sorter.sort(first);
    EXPECT_EQ(first[0], "IMG_1.jpg");
    EXPECT_EQ(first[299], "IMG_300.jpg");

    NameList second;
    for (const char* name : {"b10", "B9", "a", "b010", "b9"}) second.push_back(name);
    sorter.sort(second);
    EXPECT_EQ(second.to_vector(), (std::vector<std::string>{"a", "B9", "b9", "b10", "b010"}));
}
