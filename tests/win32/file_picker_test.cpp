#include "app/main_window.h"
#include "app/settings.h"
#include "main_window_fixture.h"
#include "picker/file_picker_window.h"
#include "picker/directory_path.h"
#include "picker/picker_steps.h"
#include "platform/directory_search.h"
#include "platform/win32/text.h"
#include "temp_directory.h"
#include "display_scale.h"
#include "window_driver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace picker;
using namespace app;
using namespace filelist;
using namespace naming;

namespace {

using platform::win32::narrow;
using Names = std::vector<std::string>;

// A photo folder beside another one:
//   照片\  IMG_10.jpg IMG_2.JPG img_1.jpg 相片.jpg 说明.txt b.jpgx, and the directory 子目录.jpg
//   其他\  a.jpg
struct FilePickerTest : MainWindowFixture {
    TempDirectory tree;

    void SetUp() override {
        tree.make_directory("照片");
        tree.make_directory("照片\\子目录.jpg");
        tree.make_directory("其他");
        for (const char* name : {"IMG_10.jpg", "IMG_2.JPG", "img_1.jpg", "相片.jpg", "说明.txt", "b.jpgx"}) {
            tree.write(std::string("照片\\") + name, "");
        }
        tree.write("其他\\a.jpg", "");
        MainWindowFixture::SetUp();
    }

    void show_in_table(const Names& names) {
        show_files(names, "C:\\earlier\\");
        model.status.set_text("共选择 " + std::to_string(names.size()) + " 个文件");
        driver::pump();
    }
};

}  // namespace

TEST_F(FilePickerTest, OpensLaidOutAsDesigned) {
    open_picker();
    EXPECT_EQ(driver::text(picker()), "选择改名文件");
    EXPECT_EQ(GetWindow(picker(), GW_OWNER), window->hwnd());
    EXPECT_TRUE(scale::window_placed_at(picker(), 50, 50, 515, 463));

    struct Expected {
        int id;
        const char* text;
        int x, y, w, h;
    };
    const Expected controls[] = {
        {kDriveBox, nullptr, 8, 7, 172, 22},          {kDirectoryBox, "", 8, 29, 172, 323},
        {kFileListBox, "", 186, 7, 316, 346},         {kCountLabel, "", 186, 355, 316, 18},
        {kTypeList, "*.jpg", 16, 360, 167, 20},       {kCustomTypeLabel, "自定义 文件类型", 17, 382, 154, 16},
        {kCustomTypeEdit, "*.*", 16, 399, 96, 21},    {kAddTypeButton, "增加", 116, 400, 67, 21},
        {kSelectAllButton, "全选", 209, 382, 80, 28}, {kConfirmButton, "确定", 309, 382, 80, 28},
        {kCancelButton, "取消", 409, 381, 80, 28},
    };
    for (const Expected& e : controls) {
        HWND c = picker_control(e.id);
        ASSERT_NE(c, nullptr) << e.id;
        if (e.text) {
            EXPECT_EQ(driver::text(c), e.text) << e.id;
        }
        if (e.id == kTypeList) {
            // Its font needs more under Wine than its place; it must not reach the caption below.
            EXPECT_TRUE(scale::placed_at(c, e.x, e.y, e.w, e.h, true)) << e.id;
            EXPECT_LE(driver::rect_in_parent(c).bottom, driver::rect_in_parent(picker_control(kCustomTypeLabel)).top);
        } else {
            EXPECT_TRUE(scale::placed_at(c, e.x, e.y, e.w, e.h)) << e.id;
        }
    }

    const char* types[] = {"*.jpg", "*.bmp", "*.tif", "*.gif", "*.png", "*.ico", "*.psd", "*.txt", "*.*"};
    ASSERT_EQ(SendMessageW(picker_control(kTypeList), CB_GETCOUNT, 0, 0), 9);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(driver::combo_box_item(picker_control(kTypeList), i), types[i]);
    EXPECT_EQ(SendMessageW(picker_control(kTypeList), CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(GetWindowLongW(files(), GWL_STYLE) & LBS_EXTENDEDSEL);

    // Nothing remembered: the current directory, nothing listed.
    EXPECT_EQ(driver::list_box_items(files()), Names{});
    EXPECT_NE(current_line(), "");
    Names drives = driver::combo_box_items(picker_control(kDriveBox));
    EXPECT_NE(driver::index_of(drives, "C:"), -1);
    EXPECT_EQ(driver::text(picker_control(kDriveBox)), "Z:");  // the tests run from a directory under Z:
    EXPECT_EQ(model.state.last_directory.value(), "");
}

TEST_F(FilePickerTest, BrowseSelectAndConfirmFillsTheMainTable) {
    model.state.last_directory.restore(tree.path());
    open_picker();
    EXPECT_EQ(current_line(), tree.name());
    EXPECT_EQ(driver::list_box_items(files()), Names{});

    open_directory_line("照片");
    EXPECT_EQ(current_line(), "照片");
    EXPECT_EQ(driver::list_box_items(files()), (Names{"img_1.jpg", "IMG_2.JPG", "IMG_10.jpg", "相片.jpg"}));
    EXPECT_EQ(model.state.last_directory.value(), tree.path("照片"));
    EXPECT_EQ(load_settings(), tree.path("照片"));
    EXPECT_EQ(driver::text(picker_control(kDriveBox)), "C:");

    driver::click_list_box_item(files(), 0);
    driver::click_list_box_item(files(), 2, MK_CONTROL);
    EXPECT_EQ(driver::text(picker_control(kCountLabel)), "共选中 2 个文件");
    driver::click_list_box_item(files(), 3, MK_SHIFT);
    EXPECT_EQ(driver::text(picker_control(kCountLabel)), "共选中 2 个文件");  // 2 to 3
    driver::click_list_box_item(files(), 0, MK_CONTROL);
    EXPECT_EQ(driver::text(picker_control(kCountLabel)), "共选中 3 个文件");

    driver::click(picker_control(kConfirmButton));
    EXPECT_EQ(picker(), nullptr);
    EXPECT_EQ(model.state.batch.file_names(), (Names{"img_1.jpg", "IMG_10.jpg", "相片.jpg"}));
    EXPECT_EQ(model.state.batch.base_directory(), tree.path("照片\\"));
    ASSERT_EQ(driver::list_view_rows(table()), 3);
    EXPECT_EQ(driver::list_view_cell(table(), 1, 1), "IMG_10");
    EXPECT_EQ(driver::list_view_cell(table(), 2, 3), ".jpg");
    EXPECT_EQ(driver::list_view_cell(table(), 2, 4), tree.path("照片\\"));
    EXPECT_EQ(status(), "共选择 3 个文件");
}

TEST_F(FilePickerTest, ReopeningRestoresTheLastDirectory) {
    model.state.last_directory.restore(tree.path("照片"));
    open_picker();
    open_directory_line(tree.name());  // one level up, then down into the other
    open_directory_line("其他");
    driver::click(picker_control(kCancelButton));
    ASSERT_EQ(picker(), nullptr);
    EXPECT_EQ(load_settings(), tree.path("其他"));

    open_picker();
    EXPECT_EQ(current_line(), "其他");
    EXPECT_EQ(driver::list_box_items(files()), Names{"a.jpg"});
    EXPECT_EQ(driver::text(picker_control(kTypeList)), "*.jpg");
    EXPECT_EQ(driver::text(picker_control(kCountLabel)), "");
    EXPECT_EQ(driver::text(picker_control(kDriveBox)), "C:");

    // A new run reads the same place from the settings file.
    driver::click(picker_control(kCancelButton));
    window.reset();
    driver::pump();
    MainModel next_run;
    MainWindow next_window(next_run);
    ASSERT_TRUE(next_window.create(SW_SHOW));
    driver::pump();
    driver::click(next_window.control(kSelectFilesButton));
    EXPECT_EQ(current_line(), "其他");
    EXPECT_EQ(driver::list_box_items(files()), Names{"a.jpg"});
}

TEST_F(FilePickerTest, AVanishedDirectoryOpensTheNearestOneAbove) {
    model.state.last_directory.restore(tree.path("照片\\已删除\\更深"));
    open_picker();
    EXPECT_EQ(current_line(), "照片");
    EXPECT_EQ(driver::list_box_items(files()).size(), 4u);
}

TEST_F(FilePickerTest, AnAbsentDriveStaysRememberedThroughOpeningAndCancelling) {
    save_settings("Q:\\photos");
    model.state.last_directory.restore(load_settings());
    open_picker();
    EXPECT_NE(current_line(), "photos");  // the picker shows where it can
    driver::click(picker_control(kCancelButton));
    EXPECT_EQ(model.state.last_directory.value(), "Q:\\photos");
    driver::click(control(kExitButton));
    EXPECT_EQ(load_settings(), "Q:\\photos");
}

TEST_F(FilePickerTest, ASecondClickBringsTheOpenPickerForward) {
    open_picker();
    HWND first = picker();
    driver::click(control(kSelectFilesButton));
    EXPECT_EQ(picker(), first);
    EXPECT_EQ(driver::thread_windows_of_class(kPickerClass).size(), 1u);
    EXPECT_TRUE(IsWindowVisible(first));
}

TEST_F(FilePickerTest, CancelAndTheCloseBoxChangeNothing) {
    show_in_table({"old1.jpg", "old2.jpg"});
    model.state.last_directory.restore(tree.path("照片"));
    open_picker();
    driver::click(picker_control(kSelectAllButton));
    driver::click(picker_control(kCancelButton));
    EXPECT_EQ(picker(), nullptr);
    EXPECT_EQ(model.state.batch.file_names(), (Names{"old1.jpg", "old2.jpg"}));
    EXPECT_EQ(model.state.batch.base_directory(), "C:\\earlier\\");
    EXPECT_EQ(driver::list_view_rows(table()), 2);
    EXPECT_EQ(status(), "共选择 2 个文件");

    open_picker();
    open_directory_line(tree.name());
    open_directory_line("其他");
    driver::click_list_box_item(files(), 0);
    SendMessageW(picker(), WM_CLOSE, 0, 0);
    driver::pump();
    EXPECT_EQ(picker(), nullptr);
    EXPECT_EQ(model.state.batch.file_names(), (Names{"old1.jpg", "old2.jpg"}));
    EXPECT_EQ(driver::list_view_rows(table()), 2);
    EXPECT_EQ(model.state.last_directory.value(), tree.path("其他"));  // the last directory shown
}

TEST_F(FilePickerTest, TypesSelectAllAndAddedTypes) {
    model.state.last_directory.restore(tree.path("照片"));
    open_picker();
    driver::click_list_box_item(files(), 1);
    EXPECT_EQ(driver::text(picker_control(kCountLabel)), "共选中 1 个文件");

    driver::choose_combo_box_item(picker_control(kTypeList), 8);  // "*.*": files only, no directory
    EXPECT_EQ(driver::list_box_items(files()),
              (Names{"b.jpgx", "img_1.jpg", "IMG_2.JPG", "IMG_10.jpg", "相片.jpg", "说明.txt"}));
    EXPECT_EQ(SendMessageW(files(), LB_GETSELCOUNT, 0, 0), 0);
    EXPECT_EQ(driver::text(picker_control(kCountLabel)), "共选中 0 个文件");

    driver::click(picker_control(kSelectAllButton));
    EXPECT_EQ(driver::text(picker_control(kCountLabel)), "共选中 6 个文件");
    EXPECT_EQ(SendMessageW(files(), LB_GETSELCOUNT, 0, 0), 6);

    HWND edit = picker_control(kCustomTypeEdit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    driver::type_text(edit, "说明.*");
    driver::click(picker_control(kAddTypeButton));
    ASSERT_EQ(SendMessageW(picker_control(kTypeList), CB_GETCOUNT, 0, 0), 10);
    EXPECT_EQ(driver::combo_box_item(picker_control(kTypeList), 9), "说明.*");
    EXPECT_EQ(SendMessageW(picker_control(kTypeList), CB_GETCURSEL, 0, 0), 8);
    EXPECT_EQ(driver::list_box_items(files()).size(), 6u);  // not refilled until chosen
    driver::choose_combo_box_item(picker_control(kTypeList), 9);
    EXPECT_EQ(driver::list_box_items(files()), Names{"说明.txt"});
}

TEST_F(FilePickerTest, ConfirmWithNothingSelectedEmptiesTheTable) {
    show_in_table({"old.jpg", "older.jpg"});
    model.state.last_directory.restore(tree.path("照片"));
    open_picker();
    driver::click(picker_control(kConfirmButton));
    EXPECT_EQ(picker(), nullptr);
    EXPECT_EQ(driver::list_view_rows(table()), 0);
    EXPECT_TRUE(model.state.batch.file_names().empty());
    EXPECT_EQ(status(), "共选择 0 个文件");
}

TEST_F(FilePickerTest, DriveChangeShowsThatDrivesCurrentDirectory) {
    model.state.last_directory.restore(tree.path("照片"));
    open_picker();
    HWND drives = picker_control(kDriveBox);
    int z = static_cast<int>(
        SendMessageW(drives, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Z:")));
    ASSERT_GE(z, 0);
    driver::choose_combo_box_item(drives, z);
    std::string current = picker::tidy_directory(platform::full_path("Z:"));
    EXPECT_EQ(model.state.last_directory.value(), current);
    EXPECT_EQ(load_settings(), current);
    EXPECT_EQ(driver::text(drives), "Z:");
}

TEST_F(FilePickerTest, NamesOutsideTheCodePageAndLongPathsAreListed) {
    // Close to the path-length limit: the deepest name ends past 260 characters.
    std::string deep = "照片";
    for (int i = 0; i < 4; ++i) {
        deep += "\\" + std::string(50, static_cast<char>('a' + i));
        tree.make_directory(deep);
    }
    const std::string long_name = std::string(60, 'x') + ".jpg";
    const std::string wide_name = "사진 Ωμέγα ñ 😀.JPG";
    tree.write(deep + "\\" + long_name, "");
    tree.write(deep + "\\" + wide_name, "");
    ASSERT_GT(tree.path(deep).size() + long_name.size(), 260u);

    model.state.last_directory.restore(tree.path(deep));
    open_picker();
    EXPECT_EQ(driver::list_box_items(files()), (Names{long_name, wide_name}));
    driver::click(picker_control(kSelectAllButton));
    driver::click(picker_control(kConfirmButton));
    EXPECT_EQ(model.state.batch.file_names(), (Names{long_name, wide_name}));
    EXPECT_EQ(model.state.batch.base_directory(), tree.path(deep) + "\\");
}

TEST_F(FilePickerTest, DirectoriesPastThePathLimitAreEnteredListedAndRenamedIn) {
    std::string deep = "照片";
    for (int i = 0; i < 6; ++i) {
        deep += "\\" + std::string(50, static_cast<char>('a' + i));
        tree.make_directory(deep);
    }
    tree.make_directory(deep + "\\内层");
    tree.write(deep + "\\内层\\p1.jpg", "p1");
    ASSERT_GT(tree.path(deep).size(), 300u);

    model.state.last_directory.restore(tree.path(deep));
    open_picker();
    EXPECT_EQ(current_line(), std::string(50, 'f'));
    open_directory_line("内层");
    EXPECT_EQ(current_line(), "内层");
    EXPECT_EQ(driver::list_box_items(files()), Names{"p1.jpg"});
    driver::click(picker_control(kSelectAllButton));
    driver::click(picker_control(kConfirmButton));
    EXPECT_EQ(load_settings(), tree.path(deep + "\\内层"));

    numbering_window_click(kConfirmRuleButton);
    driver::click(control(kRenameButton));
    EXPECT_EQ(column(5), Names{"改名成功"});
    EXPECT_EQ(tree.names(deep + "\\内层"), Names{"A001.jpg"});
    driver::press_key(table(), 'Z', true);
    EXPECT_EQ(tree.names(deep + "\\内层"), Names{"p1.jpg"});
}

// The steps on Windows paths and drives, without the window.
TEST_F(FilePickerTest, StepsSpellRootsAndSkipMissingDrives) {
    FilePickerModel picker_model;
    RememberedDirectory remembered;
    remembered.set_store([](const std::string& directory) { save_settings(directory); });
    ASSERT_TRUE(change_directory(picker_model, remembered, "C:\\"));
    EXPECT_EQ(picker_model.directory, "C:\\");
    EXPECT_EQ(picker_model.tree.lines[0].label, "C:\\");
    EXPECT_EQ(picker_model.drive, "C");
    MainModel main;
    confirm(picker_model, main);
    EXPECT_EQ(main.state.batch.base_directory(), "C:\\");

    // Q: does not exist: drive and directory stay.
    EXPECT_FALSE(change_drive(picker_model, remembered, "Q"));
    EXPECT_EQ(picker_model.directory, "C:\\");

    remembered.restore("Q:\\照片");
    restore(picker_model, remembered);
    EXPECT_EQ(picker_model.directory, platform::current_directory());
}

// Run with --gtest_also_run_disabled_tests to look at the picker.
TEST_F(FilePickerTest, DISABLED_Screenshot) {
    model.state.last_directory.restore(tree.path("照片"));
    open_picker();
    driver::click_list_box_item(files(), 0);
    driver::click_list_box_item(files(), 2, MK_CONTROL);
    EXPECT_TRUE(driver::save_screenshot(L"file-picker.bmp"));
}

// Run with --gtest_also_run_disabled_tests and BATCH_RENAME_BIG_DIRECTORY
// naming a directory of 100,000 pictures (made outside, since making them
// here takes long): how long the picker takes to open on it, and how much of
// that the list box fill takes.
TEST_F(FilePickerTest, DISABLED_TimeOfAHundredThousandNames) {
    wchar_t big[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"BATCH_RENAME_BIG_DIRECTORY", big, MAX_PATH) == 0) {
        GTEST_SKIP() << "BATCH_RENAME_BIG_DIRECTORY is not set";
    }
    model.state.last_directory.restore(narrow(big));

    auto start = std::chrono::steady_clock::now();
    open_picker();
    double opening = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int listed = static_cast<int>(SendMessageW(files(), LB_GETCOUNT, 0, 0));

    FilePickerModel listing;
    listing.directory = narrow(big);
    start = std::chrono::steady_clock::now();
    refill_file_box(listing);
    double refill = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("opening on %d names: %.2f s; listing and sorting: %.2f s; list box fill: %.2f s\n", listed, opening,
                refill, opening - refill);
}
