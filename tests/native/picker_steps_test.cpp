#include "app/settings.h"
#include "picker/picker_steps.h"
#include "platform/directory_search.h"
#include "platform/ini_file.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

using namespace filelist;
using namespace picker;
using namespace text;
using namespace app;

namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;

Names list_matching_files(const std::string& directory, const std::string& type) {
    NameList files;
    NaturalSorter sorter;
    picker::list_matching_files(directory, type, files, sorter);
    return files.to_vector();
}

// A small photo folder and its neighbours, on disk:
//   photos/  IMG_10.jpg IMG_2.JPG img_1.jpg 照片.jpg notes.txt README b.jpgx sub.jpg/ 2023/
//   other/   a.jpg x.JPG
//   empty/
struct PickerTest : ::testing::Test {
    TempDirectory root;
    std::string photos = root.path() + "/photos";
    std::string other = root.path() + "/other";
    std::string empty = root.path() + "/empty";
    RememberedDirectory remembered;
    FilePickerModel picker;

    void SetUp() override {
        remembered.set_store([](const std::string& directory) { save_settings(directory); });
        std::remove(settings_path().c_str());
        fs::create_directories(photos + "/sub.jpg");
        fs::create_directories(photos + "/2023");
        fs::create_directories(other);
        fs::create_directories(empty);
        for (const char* name : {"IMG_10.jpg", "IMG_2.JPG", "img_1.jpg", "照片.jpg", "notes.txt", "README", "b.jpgx"}) {
            root.write(std::string("photos/") + name, "x");
        }
        root.write("other/a.jpg", "x");
        root.write("other/x.JPG", "x");
    }
    void TearDown() override { std::remove(settings_path().c_str()); }

    std::string stored_directory() const { return platform::read_ini_value(settings_path(), "配置", "记录"); }
};

}  // namespace

TEST_F(PickerTest, ListsMatchingFilesOnlySortedByName) {
    EXPECT_EQ(list_matching_files(photos, "*.jpg"), (Names{"img_1.jpg", "IMG_2.JPG", "IMG_10.jpg", "照片.jpg"}));
    EXPECT_EQ(list_matching_files(photos, "*.*"),
              (Names{"b.jpgx", "img_1.jpg", "IMG_2.JPG", "IMG_10.jpg", "notes.txt", "README", "照片.jpg"}));
    EXPECT_EQ(list_matching_files(photos, "readme"), Names{"README"});
    EXPECT_EQ(list_matching_files(photos, "*."), Names{"README"});
    EXPECT_EQ(list_matching_files(photos, ""), Names{});
    EXPECT_EQ(list_matching_files(empty, "*.*"), Names{});
    EXPECT_EQ(list_matching_files(root.path() + "/missing", "*.*"), Names{});
    // Several wildcards at once: each file once, however many it matches.
    EXPECT_EQ(list_matching_files(photos, "*.txt;*.jpg; img_*.*;"),
              (Names{"img_1.jpg", "IMG_2.JPG", "IMG_10.jpg", "notes.txt", "照片.jpg"}));
    EXPECT_EQ(list_matching_files(photos, ";;"), Names{});
    EXPECT_EQ(list_matching_files(photos, "*.jpg;../other/*.jpg"), Names{});
}

TEST_F(PickerTest, TypesThatReachIntoAnotherDirectoryMatchNothing) {
    // The names would be taken as files of the directory shown.
    EXPECT_EQ(list_matching_files(photos, "../other/*.jpg"), Names{});
    EXPECT_EQ(list_matching_files(root.path(), "other/*.jpg"), Names{});
}

TEST_F(PickerTest, LinksCountAsWhatTheyPointTo) {
    fs::create_directory_symlink(other, photos + "/link.jpg");
    fs::create_symlink(photos + "/img_1.jpg", photos + "/alias.jpg");
    fs::create_symlink(photos + "/gone", photos + "/dangling.jpg");
    EXPECT_EQ(list_matching_files(photos, "*.jpg"),
              (Names{"alias.jpg", "dangling.jpg", "img_1.jpg", "IMG_2.JPG", "IMG_10.jpg", "照片.jpg"}));
}

TEST_F(PickerTest, LongAndWideNamesAreListed) {
    std::string long_name = std::string(240, 'x') + ".jpg";
    std::string chinese = std::string("很长的名字") + std::string(60, 'y') + "照片.JPG";
    root.write("photos/" + long_name, "x");
    root.write("photos/" + chinese, "x");
    Names names = list_matching_files(photos, "*.jpg");
    EXPECT_NE(std::find(names.begin(), names.end(), long_name), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), chinese), names.end());
}

TEST_F(PickerTest, RestoreWithoutAStoredDirectoryShowsTheCurrentOneEmpty) {
    restore(picker, remembered);
    EXPECT_EQ(picker.directory, platform::current_directory());
    EXPECT_EQ(picker.drives, Names{"/"});
    EXPECT_EQ(picker.drive, "/");
    EXPECT_TRUE(picker.files.empty());
    EXPECT_EQ(picker.count_text, "");
    EXPECT_EQ(remembered.value(), "");
    EXPECT_FALSE(fs::exists(settings_path()));
}

TEST_F(PickerTest, RestoreReopensTheStoredDirectoryWithItsPictures) {
    remembered.restore(photos + "/");
    restore(picker, remembered);
    EXPECT_EQ(picker.directory, photos);
    EXPECT_EQ(picker.files.to_vector(), (Names{"img_1.jpg", "IMG_2.JPG", "IMG_10.jpg", "照片.jpg"}));
    EXPECT_EQ(picker.types[picker.selected_type], "*.jpg");
    EXPECT_EQ(remembered.value(), photos);
    EXPECT_EQ(stored_directory(), photos);
}

TEST_F(PickerTest, RestoreOfAVanishedDirectoryOpensTheNearestOneAbove) {
    remembered.restore(photos + "/gone/deeper");
    restore(picker, remembered);
    EXPECT_EQ(picker.directory, photos);
    EXPECT_EQ(picker.files.size(), 4u);
    // Kept until the user moves: the directory may come back (a card put in again).
    EXPECT_EQ(remembered.value(), photos + "/gone/deeper");
    EXPECT_EQ(stored_directory(), "");
}

TEST_F(PickerTest, RestoreOfAnUnreadableDirectoryOpensTheOneAbove) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    fs::permissions(photos + "/2023", fs::perms::none);
    remembered.restore(photos + "/2023");
    restore(picker, remembered);
    EXPECT_EQ(picker.directory, photos);
    fs::permissions(photos + "/2023", fs::perms::owner_all);
}

TEST_F(PickerTest, TreeShowsTheWayDownAndTheSubdirectories) {
    ASSERT_TRUE(change_directory(picker, remembered, photos));
    const DirectoryTree& tree = picker.tree;
    ASSERT_GE(tree.lines.size(), 4u);
    EXPECT_EQ(tree.lines[0].label, "/");
    EXPECT_EQ(tree.lines[0].depth, 0);
    const DirectoryTreeLine& current = tree.lines[tree.current];
    EXPECT_EQ(current.label, "photos");
    EXPECT_EQ(current.path, photos);
    EXPECT_TRUE(current.open);
    ASSERT_EQ(tree.lines.size(), tree.current + 3);
    EXPECT_EQ(tree.lines[tree.current + 1].label, "2023");
    EXPECT_EQ(tree.lines[tree.current + 1].path, photos + "/2023");
    EXPECT_EQ(tree.lines[tree.current + 1].depth, current.depth + 1);
    EXPECT_FALSE(tree.lines[tree.current + 1].open);
    EXPECT_EQ(tree.lines[tree.current + 2].label, "sub.jpg");
    // Opening the line above goes up one level.
    ASSERT_TRUE(change_directory(picker, remembered, tree.lines[tree.current - 1].path));
    EXPECT_EQ(picker.directory, root.path());
}

TEST_F(PickerTest, EveryDirectoryChangeIsRememberedAtOnce) {
    remembered.restore(root.path());
    restore(picker, remembered);
    EXPECT_TRUE(picker.files.empty());
    auto line = std::find_if(picker.tree.lines.begin(), picker.tree.lines.end(),
                             [](const DirectoryTreeLine& l) { return l.label == "other"; });
    ASSERT_NE(line, picker.tree.lines.end());
    ASSERT_TRUE(change_directory(picker, remembered, line->path));
    EXPECT_EQ(picker.files.to_vector(), (Names{"a.jpg", "x.JPG"}));
    EXPECT_EQ(remembered.value(), other);
    EXPECT_EQ(stored_directory(), other);
}

TEST_F(PickerTest, DriveChangeShowsTheDrivesCurrentDirectory) {
    ASSERT_TRUE(change_directory(picker, remembered, photos));
    ASSERT_TRUE(change_drive(picker, remembered, "/"));
    EXPECT_EQ(picker.directory, platform::current_directory());
    EXPECT_EQ(remembered.value(), picker.directory);
    EXPECT_EQ(stored_directory(), picker.directory);
}

TEST_F(PickerTest, ADriveThatIsNotThereKeepsDriveAndDirectory) {
    ASSERT_TRUE(change_directory(picker, remembered, photos));
    EXPECT_FALSE(change_drive(picker, remembered, "Q"));
    EXPECT_EQ(picker.directory, photos);
    EXPECT_EQ(picker.drive, "/");
    EXPECT_EQ(picker.files.size(), 4u);
    EXPECT_EQ(remembered.value(), photos);
}

TEST_F(PickerTest, RefillDropsTheSelectionAndTheCountFollows) {
    ASSERT_TRUE(change_directory(picker, remembered, photos));
    set_selection(picker, {2, 0, 2});
    EXPECT_EQ(picker.selection, (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(picker.count_text, "共选中 2 个文件");

    select_type(picker, 8);  // "*.*"
    EXPECT_EQ(picker.files.size(), 7u);
    EXPECT_TRUE(picker.selection.empty());
    EXPECT_EQ(picker.count_text, "共选中 0 个文件");

    // Only what is selected in the list now shown is taken.
    set_selection(picker, {4});
    MainModel main;
    confirm(picker, main);
    EXPECT_EQ(main.state.batch.file_names(), Names{"notes.txt"});
}

TEST_F(PickerTest, SelectAllCountsEveryFileAlsoNone) {
    ASSERT_TRUE(change_directory(picker, remembered, empty));
    select_all(picker);
    EXPECT_EQ(picker.count_text, "共选中 0 个文件");
    ASSERT_TRUE(change_directory(picker, remembered, photos));
    select_all(picker);
    EXPECT_EQ(picker.selection, (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(picker.count_text, "共选中 4 个文件");
    set_selection(picker, {1, 99});  // an index past the list is not a file
    EXPECT_EQ(picker.count_text, "共选中 1 个文件");
}

TEST_F(PickerTest, AddedTypesGoLastUncheckedAndAreUsedWhenChosen) {
    ASSERT_TRUE(change_directory(picker, remembered, photos));
    picker.custom_type = "*.jpg";
    add_type(picker);
    picker.custom_type = "";
    add_type(picker);
    ASSERT_EQ(picker.types.size(), 11u);
    EXPECT_EQ(picker.types[9], "*.jpg");
    EXPECT_EQ(picker.types[10], "");
    EXPECT_EQ(picker.selected_type, 0u);
    EXPECT_EQ(picker.files.size(), 4u);

    select_type(picker, 10);
    EXPECT_TRUE(picker.files.empty());
    picker.custom_type = "IMG_?.jpg";
    add_type(picker);
    select_type(picker, 11);
    EXPECT_EQ(picker.files.to_vector(), (Names{"img_1.jpg", "IMG_2.JPG"}));
}

TEST_F(PickerTest, ConfirmHandsTheSelectionToTheMainTable) {
    ASSERT_TRUE(change_directory(picker, remembered, photos));
    set_selection(picker, {3, 0, 2});
    MainModel main;
    main.state.rule_confirmed = 1;
    confirm(picker, main);
    EXPECT_EQ(main.state.batch.base_directory(), photos + "/");
    EXPECT_EQ(main.state.batch.file_names(), (Names{"img_1.jpg", "IMG_10.jpg", "照片.jpg"}));
    EXPECT_EQ(main.state.batch.new_names(), (Names{"", "", ""}));
    ASSERT_EQ(main.state.batch.row_count(), 3u);
    EXPECT_EQ(main.state.batch.cell(1, Batch::kOriginalName), "IMG_10");
    EXPECT_EQ(main.state.batch.cell(2, Batch::kDirectory), photos + "/");
    EXPECT_EQ(main.status.text(), "共选择 3 个文件");
    EXPECT_EQ(main.state.rule_confirmed, 1);
}

TEST_F(PickerTest, ConfirmWithNothingSelectedEmptiesTheTable) {
    MainModel main;
    main.state.batch.fill_list("/d/", {"old.jpg"});
    ASSERT_TRUE(change_directory(picker, remembered, photos));
    confirm(picker, main);
    EXPECT_TRUE(main.state.batch.file_names().empty());
    EXPECT_EQ(main.state.batch.row_count(), 0u);
    EXPECT_EQ(main.status.text(), "共选择 0 个文件");
}

TEST_F(PickerTest, ASecondPickFromElsewhereReplacesTheFirst) {
    MainModel main;
    ASSERT_TRUE(change_directory(picker, remembered, photos));
    select_all(picker);
    confirm(picker, main);
    ASSERT_EQ(main.state.batch.row_count(), 4u);

    FilePickerModel second;
    restore(second, remembered);
    EXPECT_EQ(second.directory, photos);
    ASSERT_TRUE(change_directory(second, remembered, other));
    set_selection(second, {1});
    confirm(second, main);
    EXPECT_EQ(main.state.batch.file_names(), Names{"x.JPG"});
    EXPECT_EQ(main.state.batch.base_directory(), other + "/");
    ASSERT_EQ(main.state.batch.row_count(), 1u);
    EXPECT_EQ(main.state.batch.cell(0, Batch::kDirectory), other + "/");
    EXPECT_EQ(main.status.text(), "共选择 1 个文件");
}

TEST_F(PickerTest, BrowsingWithoutConfirmLeavesTheMainTableAlone) {
    MainModel main;
    main.state.batch.fill_list(other + "/", {"a.jpg"});
    main.status.set_text("共选择 1 个文件");

    remembered.restore(photos);
    restore(picker, remembered);
    select_all(picker);
    select_type(picker, 8);
    ASSERT_TRUE(change_directory(picker, remembered, empty));
    // "取消" and the close box end the session here.
    EXPECT_EQ(main.state.batch.file_names(), Names{"a.jpg"});
    EXPECT_EQ(main.state.batch.base_directory(), other + "/");
    EXPECT_EQ(main.state.batch.row_count(), 1u);
    EXPECT_EQ(main.status.text(), "共选择 1 个文件");
}

std::size_t root_subdirectories() {
    std::size_t n = 0;
    platform::find_subdirectories("/", [&](std::string_view) { ++n; });
    return n;
}

TEST_F(PickerTest, TheRootTakesNoSecondSeparator) {
    ASSERT_TRUE(change_directory(picker, remembered, "/"));
    EXPECT_EQ(picker.directory, "/");
    EXPECT_EQ(picker.tree.lines.size(), picker.tree.current + 1 + root_subdirectories());
    MainModel main;
    confirm(picker, main);
    EXPECT_EQ(main.state.batch.base_directory(), "/");
}
