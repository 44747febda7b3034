// The program used as a whole, through its real windows: files chosen in the
// picker, named in the numbering window and renamed on disk from the main
// window, with the other windows open alongside.

#include "app/about_window.h"
#include "app/main_window.h"
#include "app/naming_rule_window.h"
#include "app/settings.h"
#include "picker/file_picker_window.h"
#include "platform/win32/text.h"
#include "image_builders.h"
#include "image_test_files.h"
#include "main_window_fixture.h"
#include "message_box_answerer.h"
#include "temp_directory.h"
#include "window_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

using namespace picker;
using namespace app;
using namespace filelist;
using namespace naming;
using namespace imaging;

namespace {

using platform::win32::narrow;
using platform::win32::widen;
using Texts = std::vector<std::string>;
using Cells = std::vector<Texts>;

std::string number_text(const char* format, int i) {
    char text[64];
    std::snprintf(text, sizeof text, format, i);
    return text;
}

// What the settings file holds under [配置] 记录, read with the system's own
// profile functions.
std::string stored_directory() {
    wchar_t value[1024] = {};
    GetPrivateProfileStringW(L"配置", L"记录", L"", value, 1024, widen(settings_path()).c_str());
    return narrow(value);
}

// The text in the system's ANSI code page, as the settings file keeps it.
std::string in_code_page(const std::string& utf8) {
    std::wstring wide = widen(utf8);
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// A temporary root the picker opens at, remembered from an earlier run:
//   照片\    IMG_1.jpg … IMG_12.jpg, and beside them IMG_13.png, IMG_14.jpeg,
//            IMG_15 (no extension), 说明.txt and the directory 旧照片.jpg
//   第一批\  a.jpg b.jpg c.jpg
//   第二批\  x.jpg y.jpg z.jpg
// Every file holds its own place ("照片\IMG_7.jpg"), so a file keeps telling
// which one it was after it has been renamed.
struct MainUseTest : MainWindowFixture {
    TempDirectory root;

    static Texts photos() {
        Texts names;
        for (int i = 1; i <= 12; ++i) names.push_back(number_text("IMG_%d.jpg", i));
        return names;
    }

    void SetUp() override {
        root.make_directory("照片");
        for (const std::string& name : photos()) root.write("照片\\" + name, "照片\\" + name);
        for (const char* name : {"IMG_13.png", "IMG_14.jpeg", "IMG_15", "说明.txt"}) {
            root.write(std::string("照片\\") + name, std::string("照片\\") + name);
        }
        root.make_directory("照片\\旧照片.jpg");
        const std::map<std::string, Texts> batches = {{"第一批", {"a.jpg", "b.jpg", "c.jpg"}},
                                                      {"第二批", {"x.jpg", "y.jpg", "z.jpg"}}};
        for (const auto& [batch, names] : batches) {
            root.make_directory(batch);
            for (const std::string& name : names) root.write(batch + "\\" + name, batch + "\\" + name);
        }

        remove_settings();
        WritePrivateProfileStringW(L"配置", L"记录", widen(root.path()).c_str(), widen(settings_path()).c_str());
        open_main_window();
    }

    HWND numbering() const { return driver::thread_window_of_class(kNumberingClass); }

    Cells all_cells() const {
        Cells out;
        for (int c = 0; c < Batch::kColumnCount; ++c) out.push_back(column(c));
        return out;
    }

    // In the open picker: up to the root, then down into one of its directories.
    void browse_to(const std::string& directory) {
        open_directory_line(root.name());
        open_directory_line(directory);
        ASSERT_EQ(current_line(), directory);
    }

    // "选择文件", a directory under the root, the files at these places of its
    // list (every one with "全选" when none are given), "确定".
    void pick(const std::string& directory, const std::vector<int>& items = {}) {
        open_picker();
        browse_to(directory);
        if (items.empty()) {
            driver::click(picker_control(kSelectAllButton));
        } else {
            for (std::size_t i = 0; i < items.size(); ++i) {
                driver::click_list_box_item(files(), items[i], i == 0 ? 0 : MK_CONTROL);
            }
        }
        driver::click(picker_control(kConfirmButton));
        ASSERT_EQ(picker(), nullptr);
    }
};

}  // namespace

TEST_F(MainUseTest, ChooseNumberAndRenameTwelvePhotos) {
    // The picker opens where the settings file says, and lists nothing there yet.
    open_picker();
    EXPECT_EQ(current_line(), root.name());
    EXPECT_EQ(driver::list_box_items(files()), Texts{});

    open_directory_line("照片");
    EXPECT_EQ(current_line(), "照片");
    EXPECT_EQ(driver::list_box_items(files()), photos());  // *.jpg files only, IMG_2 before IMG_10
    EXPECT_EQ(stored_directory(), root.path("照片"));

    driver::click(picker_control(kSelectAllButton));
    EXPECT_EQ(driver::text(picker_control(kCountLabel)), "共选中 12 个文件");
    EXPECT_EQ(driver::list_box_selection(files()).size(), 12u);
    driver::click(picker_control(kConfirmButton));
    EXPECT_EQ(picker(), nullptr);

    Texts numbers, bases;
    for (int i = 1; i <= 12; ++i) {
        numbers.push_back(std::to_string(i));
        bases.push_back(number_text("IMG_%d", i));
    }
    const std::string photo_directory = root.path("照片\\");
    ASSERT_EQ(driver::list_view_rows(table()), 12);
    EXPECT_EQ(column(0), numbers);
    EXPECT_EQ(column(1), bases);
    EXPECT_EQ(column(2), Texts(12, ""));
    EXPECT_EQ(column(3), Texts(12, ".jpg"));
    EXPECT_EQ(column(4), Texts(12, photo_directory));
    EXPECT_EQ(column(5), Texts(12, ""));
    EXPECT_EQ(status(), "共选择 12 个文件");

    driver::click(control(kNumberingButton));
    HWND rule = numbering();
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(driver::text(GetDlgItem(rule, kPrefixEdit)), "A");
    EXPECT_EQ(driver::text(GetDlgItem(rule, kStartEdit)), "001");
    EXPECT_EQ(driver::text(GetDlgItem(rule, kIncrementEdit)), "1");
    driver::click(GetDlgItem(rule, kConfirmRuleButton));
    EXPECT_FALSE(IsWindow(rule));
    Texts new_names;
    for (int i = 1; i <= 12; ++i) new_names.push_back(number_text("A%03d", i));
    EXPECT_EQ(column(2), new_names);  // IMG_1 → A001, IMG_2 → A002, …, IMG_10 → A010

    driver::click(control(kRenameButton));
    EXPECT_EQ(column(5), Texts(12, "改名成功"));
    EXPECT_EQ(status(), "改名处理结束,请查看!");

    std::map<std::string, std::string> expected;
    for (int i = 1; i <= 12; ++i) expected[number_text("A%03d.jpg", i)] = number_text("照片\\IMG_%d.jpg", i);
    for (const char* name : {"IMG_13.png", "IMG_14.jpeg", "IMG_15", "说明.txt"}) {
        expected[name] = std::string("照片\\") + name;
    }
    expected["旧照片.jpg"] = "<目录>";
    EXPECT_EQ(root.contents("照片"), expected);

    // A second run starts again from the old names, finds none of them and
    // replaces nothing.
    driver::click(control(kRenameButton));
    EXPECT_EQ(column(5), Texts(12, "改名失败"));
    EXPECT_EQ(root.contents("照片"), expected);

    // "退出" leaves the directory in the settings file, in the ANSI code page.
    driver::click(control(kExitButton));
    EXPECT_FALSE(window->is_open());
    EXPECT_EQ(stored_directory(), root.path("照片"));
    EXPECT_EQ(load_settings(), root.path("照片"));
    std::string file = read_file(settings_path());
    EXPECT_NE(file.find(in_code_page("[配置]")), std::string::npos) << file;
    EXPECT_NE(file.find(in_code_page("记录=" + root.path("照片"))), std::string::npos) << file;
}

TEST_F(MainUseTest, CancelledRuleRenamesNothingThoughNamesAreShown) {
    pick("照片");
    numbering_window_click(kConfirmRuleButton);
    numbering_window_click(kCancelRuleButton);
    Texts shown = column(2);
    ASSERT_EQ(shown.size(), 12u);
    EXPECT_EQ(shown.front(), "A001");
    EXPECT_EQ(shown.back(), "A012");

    std::map<std::string, std::string> before = root.contents("照片");
    driver::click(control(kRenameButton));
    EXPECT_EQ(status(), "你没有设置文件名编号方式!");
    EXPECT_EQ(column(2), shown);
    EXPECT_EQ(column(5), Texts(12, ""));
    EXPECT_EQ(root.contents("照片"), before);
}

TEST_F(MainUseTest, SecondPickReplacesTheTable) {
    pick("第一批");
    numbering_window_click(kConfirmRuleButton);
    ASSERT_EQ(column(2), (Texts{"A001", "A002", "A003"}));

    // The picker opens where it was left; the user goes over to the other batch.
    open_picker();
    EXPECT_EQ(current_line(), "第一批");
    driver::click(picker_control(kCancelButton));
    pick("第二批", {0, 2});

    const std::string second = root.path("第二批\\");
    EXPECT_EQ(all_cells(), (Cells{{"1", "2"}, {"x", "z"}, {"", ""}, {".jpg", ".jpg"}, {second, second}, {"", ""}}));
    EXPECT_EQ(status(), "共选择 2 个文件");
    EXPECT_EQ(model.state.batch.file_names(), (Texts{"x.jpg", "z.jpg"}));
    EXPECT_EQ(model.state.batch.base_directory(), second);

    // The rule confirmed for the first batch still stands, but the new batch
    // has no names yet: renaming must not touch either directory.
    std::map<std::string, std::string> first_before = root.contents("第一批");
    std::map<std::string, std::string> second_before = root.contents("第二批");
    driver::click(control(kRenameButton));
    Texts results = column(5);
    EXPECT_EQ(std::count(results.begin(), results.end(), "改名成功"), 0) << results[0] << " " << results[1];
    EXPECT_EQ(root.contents("第一批"), first_before);
    EXPECT_EQ(root.contents("第二批"), second_before);
}

TEST_F(MainUseTest, AboutOkLeavesTheMainWindowAndAnOpenPickerAsTheyWere) {
    pick("第一批");
    numbering_window_click(kConfirmRuleButton);
    open_picker();
    browse_to("照片");
    driver::click_list_box_item(files(), 0);
    driver::click_list_box_item(files(), 2, MK_CONTROL);
    driver::click_list_box_item(files(), 9, MK_CONTROL);

    HWND open_picker = picker();
    RECT picker_rect = driver::outer_rect(open_picker);
    RECT main_rect = driver::outer_rect(window->hwnd());
    Texts lines = driver::list_box_items(directories());
    Cells table_cells = all_cells();
    AppState& state = model.state;
    const Texts file_names = state.batch.file_names();
    const Texts names = state.batch.new_names();
    const std::string last_directory = state.last_directory.value();
    const std::string status_text = status();

    driver::click(control(kAboutButton));
    HWND about = driver::thread_window_of_class(kAboutClass);
    ASSERT_NE(about, nullptr);
    SendMessageW(GetDlgItem(about, kAboutOkLabel), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    driver::pump();
    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(driver::thread_windows_of_class(kAboutClass).empty());

    ASSERT_EQ(picker(), open_picker);
    EXPECT_TRUE(IsWindowVisible(open_picker));
    RECT picker_after = driver::outer_rect(open_picker);
    EXPECT_TRUE(EqualRect(&picker_rect, &picker_after));
    EXPECT_EQ(current_line(), "照片");
    EXPECT_EQ(driver::list_box_items(directories()), lines);
    EXPECT_EQ(driver::list_box_items(files()), photos());
    EXPECT_EQ(driver::list_box_selection(files()), (std::vector<int>{0, 2, 9}));
    EXPECT_EQ(driver::text(picker_control(kCountLabel)), "共选中 3 个文件");
    EXPECT_EQ(driver::text(picker_control(kTypeList)), "*.jpg");

    ASSERT_TRUE(window->is_open());
    EXPECT_TRUE(IsWindowEnabled(window->hwnd()));
    RECT main_after = driver::outer_rect(window->hwnd());
    EXPECT_TRUE(EqualRect(&main_rect, &main_after));
    EXPECT_EQ(all_cells(), table_cells);
    EXPECT_EQ(status(), status_text);
    EXPECT_EQ(state.batch.file_names(), file_names);
    EXPECT_EQ(state.batch.new_names(), names);
    EXPECT_EQ(state.last_directory.value(), last_directory);
    EXPECT_EQ(state.rule_confirmed, 1);

    // The picker still hands over what was selected in it.
    driver::click(picker_control(kConfirmButton));
    EXPECT_EQ(column(1), (Texts{"IMG_1", "IMG_3", "IMG_10"}));
}

TEST_F(MainUseTest, PickerAndNumberingWindowOpenTogetherOverAUsableMainWindow) {
    pick("第一批");
    driver::click(control(kNumberingButton));
    HWND rule = numbering();
    ASSERT_NE(rule, nullptr);
    open_picker();
    HWND chooser = picker();
    for (HWND w : {rule, chooser}) {
        EXPECT_TRUE(IsWindowVisible(w));
        EXPECT_EQ(GetWindow(w, GW_OWNER), window->hwnd());
    }
    EXPECT_TRUE(IsWindowEnabled(window->hwnd()));

    driver::click(control(kClearButton));
    EXPECT_EQ(driver::list_view_rows(table()), 0);
    EXPECT_EQ(status(), "清空处理结束");
    EXPECT_TRUE(IsWindowVisible(rule));
    EXPECT_TRUE(IsWindowVisible(chooser));

    // Files chosen meanwhile are the ones the still open numbering window names.
    browse_to("照片");
    driver::click(picker_control(kSelectAllButton));
    driver::click(picker_control(kConfirmButton));
    EXPECT_EQ(picker(), nullptr);
    ASSERT_EQ(numbering(), rule);
    EXPECT_EQ(driver::list_view_rows(table()), 12);
    driver::click(GetDlgItem(rule, kConfirmRuleButton));
    Texts new_names = column(2);
    ASSERT_EQ(new_names.size(), 12u);
    EXPECT_EQ(new_names.front(), "A001");
    EXPECT_EQ(new_names.back(), "A012");
}

TEST_F(MainUseTest, PhotosAreRenamedAfterTheirCaptureDate) {
    auto photo = [](std::string_view date) {
        image_test::Bytes bytes = image_test::jpeg_photo(24, 16, test_images::exif_with_date(date));
        return std::string(bytes.begin(), bytes.end());
    };
    root.make_directory("相机");
    const std::map<std::string, std::string> files = {
        {"a.jpg", photo("2008:05:17 14:23:45")},
        {"b.jpg", photo("2009:01:02 03:04:05")},
        {"c.jpg", photo("0000:00:00 00:00:00")},  // the camera did not know
        {"d.jpg", "这不是图片"},
        {"e.jpg", photo("2008:05:17 14:23:45")},  // the same second as a.jpg
    };
    for (const auto& [name, content] : files) root.write("相机\\" + name, content);
    ASSERT_GT(files.at("a.jpg").size(), 100u);

    pick("相机");
    ASSERT_EQ(driver::list_view_rows(table()), 5);

    driver::click(control(kNumberingButton));
    HWND rule = numbering();
    ASSERT_NE(rule, nullptr);
    driver::click(GetDlgItem(rule, kCaptureDateCheck));
    {
        MessageBoxAnswerer watcher;
        driver::click(GetDlgItem(rule, kConfirmRuleButton));
        EXPECT_EQ(watcher.texts(), Texts{"载入图片失败！"});
    }
    EXPECT_FALSE(IsWindow(rule));
    EXPECT_EQ(column(2), (Texts{"20080517 142345", "20090102 030405", "c", "d", "20080517 142345"}));

    driver::click(control(kRenameButton));
    EXPECT_EQ(column(5), (Texts{"改名成功", "改名成功", "不需改名", "不需改名", "改名失败"}));
    EXPECT_EQ(status(), "改名处理结束,请查看!");
    const std::map<std::string, std::string> expected = {
        {"20080517 142345.jpg", files.at("a.jpg")},
        {"20090102 030405.jpg", files.at("b.jpg")},
        {"c.jpg", files.at("c.jpg")},
        {"d.jpg", files.at("d.jpg")},
        {"e.jpg", files.at("e.jpg")},
    };
    EXPECT_EQ(root.contents("相机"), expected);
}

// Run with --gtest_also_run_disabled_tests to look at the three windows open at once.
TEST_F(MainUseTest, DISABLED_Screenshot) {
    pick("照片");
    numbering_window_click(kConfirmRuleButton);
    driver::click(control(kRenameButton));
    driver::click(control(kNumberingButton));
    open_picker();
    browse_to("第一批");
    driver::click_list_box_item(files(), 1);
    EXPECT_TRUE(driver::save_screenshot(L"main-use.bmp"));
}

// The pictures of the README, one per window, at the display scale of the
// Wine prefix it runs in: tools/make-screenshots.sh runs it at 96 and 144 DPI.
TEST_F(MainUseTest, DISABLED_PicturesForTheReadme) {
    pick("照片");
    numbering_window_click(kConfirmRuleButton);
    driver::select_list_view_row(table(), 2);
    EXPECT_TRUE(driver::save_screenshot(L"main.bmp", window->hwnd()));

    open_picker();
    driver::click_list_box_item(files(), 1);
    driver::click_list_box_item(files(), 3, MK_CONTROL);
    EXPECT_TRUE(driver::save_screenshot(L"picker.bmp", picker()));
    driver::click(picker_control(kCancelButton));

    driver::click(control(kNumberingButton));
    EXPECT_TRUE(driver::save_screenshot(L"numbering.bmp", numbering()));
    driver::click(GetDlgItem(numbering(), naming::kMoreRulesButton));
    HWND rules = driver::thread_window_of_class(L"BatchRenameNamingRuleWindow");
    driver::wait_until([&] { return driver::list_view_rows(GetDlgItem(rules, app::kPreviewList)) > 0; });
    SetWindowTextW(GetDlgItem(rules, app::kTemplateEdit), L"三亚_[C]");
    driver::pump();
    EXPECT_TRUE(driver::save_screenshot(L"naming-rule.bmp", rules));
    SendMessageW(rules, WM_CLOSE, 0, 0);
    SendMessageW(numbering(), WM_CLOSE, 0, 0);

    driver::click(control(kAboutButton));
    EXPECT_TRUE(driver::save_screenshot(L"about.bmp", driver::thread_window_of_class(kAboutClass)));
}
