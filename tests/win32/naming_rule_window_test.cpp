// The 命名规则 window through the real windows: a camera's burst with RAW and
// JPEG pairs and a photo from a chat app without EXIF, named by date, renamed
// and put back.
#include "app/naming_rule_window.h"
#include "image_test_files.h"
#include "main_window_fixture.h"
#include "media_builders.h"
#include "message_box_answerer.h"
#include "naming/saved_rules.h"
#include "platform/win32/text.h"
#include "platform/win32/window_layout.h"
#include "temp_directory.h"
#include "window_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

std::string text_of(const test_images::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string photo(std::string_view date) {
    return text_of(
        image_test::jpeg_photo(24, 16, date.empty() ? test_images::Bytes{} : test_images::exif_with_date(date)));
}

struct NamingRuleWindowTest : MainWindowFixture {
    TempDirectory folder;

    HWND rule_window() const { return driver::thread_window_of_class(L"BatchRenameNamingRuleWindow"); }
    HWND rule_control(int id) const { return GetDlgItem(rule_window(), id); }

    Texts preview_column(int c) const {
        Texts texts;
        HWND list = rule_control(app::kPreviewList);
        for (int row = 0; row < driver::list_view_rows(list); ++row)
            texts.push_back(driver::list_view_cell(list, row, c));
        return texts;
    }
};

}  // namespace

TEST_F(NamingRuleWindowTest, ABurstWithPairsIsNamedRenamedAndPutBack) {
    const Texts names = {"IMG_0001.CR2", "IMG_0001.JPG", "IMG_0002.JPG", "IMG_0003.JPG", "微信图片.jpg"};
    folder.write(names[0], text_of(test_media::raw_tiff("2023:07:01 10:00:00")));
    folder.write(names[1], photo("2023:07:01 10:00:00"));
    folder.write(names[2], photo("2023:07:01 10:00:00"));  // the burst's second frame
    folder.write(names[3], photo("2023:07:01 10:05:00"));
    folder.write(names[4], photo(""));
    show_files(names, folder.path(""));

    driver::click(control(kNumberingButton));
    HWND numbering = driver::thread_window_of_class(kNumberingClass);
    ASSERT_NE(numbering, nullptr);
    driver::click(GetDlgItem(numbering, naming::kMoreRulesButton));
    ASSERT_NE(rule_window(), nullptr);
    ASSERT_TRUE(driver::wait_until([&] { return preview_column(1).size() == names.size(); }));
    EXPECT_EQ(preview_column(1), (Texts{"20230701_100000.CR2", "20230701_100000.JPG", "20230701_100000_2.JPG",
                                        "20230701_100500.JPG", "微信图片.jpg"}));
    EXPECT_EQ(preview_column(2), (Texts{"", "", "已加序号", "", "无日期"}));

    // A bad token: the line says where, 确定 does nothing, the preview stays.
    SetWindowTextW(rule_control(app::kTemplateEdit), L"[YMD]_[Q]");
    driver::pump();
    EXPECT_EQ(driver::text(rule_control(app::kTemplateErrorLine)), "第 7 个字符起的 [Q] 不是已知的标记");
    driver::click(rule_control(app::kConfirmNamingButton));
    ASSERT_NE(rule_window(), nullptr);
    EXPECT_EQ(preview_column(1)[3], "20230701_100500.JPG");

    SetWindowTextW(rule_control(app::kTemplateEdit), L"[P]_[YMD]_[C]");
    driver::pump();
    EXPECT_EQ(driver::text(rule_control(app::kTemplateErrorLine)), "");
    const std::string folder_name = naming::folder_name(folder.path(""));
    driver::click(rule_control(app::kConfirmNamingButton));
    EXPECT_EQ(rule_window(), nullptr);
    EXPECT_EQ(driver::thread_window_of_class(kNumberingClass), nullptr);  // 确定 closed both
    const std::string stem = folder_name + "_20230701_";
    EXPECT_EQ(column(Batch::kNewName), (Texts{stem + "001", stem + "001", stem + "002", stem + "003", "微信图片"}));

    driver::click(control(kRenameButton));
    EXPECT_EQ(column(5), (Texts{"改名成功", "改名成功", "改名成功", "改名成功", "不需改名"}));
    Texts renamed = {stem + "001.CR2", stem + "001.JPG", stem + "002.JPG", stem + "003.JPG", "微信图片.jpg"};
    std::sort(renamed.begin(), renamed.end());  // as the folder lists them
    EXPECT_EQ(folder.names(), renamed);
    driver::press_key(table(), 'Z', true);
    EXPECT_EQ(folder.names(), names);
}

// A scanner's documents: find and replace, case, the extension lower-cased,
// and the rule kept by name, chosen again and removed.
TEST_F(NamingRuleWindowTest, FindReplaceCaseAndSavedRules) {
    const std::string saved_rules = naming::default_saved_rules_path();
    DeleteFileW(platform::win32::widen(saved_rules).c_str());
    show_files({"DSC_0001.JPG", "DSC_0002.JPG", "scan old.PNG"}, folder.path(""));
    SendMessageW(window->hwnd(), WM_COMMAND, app::kNamingRuleCommand, 0);
    ASSERT_NE(rule_window(), nullptr);
    auto set = [&](int id, const char* text) {
        platform::win32::set_window_text(rule_control(id), text);
        driver::pump();
    };
    set(app::kTemplateEdit, "[N]");
    set(app::kFindEdit, "dsc_");
    set(app::kReplaceEdit, "三亚_");
    driver::choose_combo_box_item(rule_control(app::kLetterCaseList), 3);  // 首字母大写
    driver::click(rule_control(app::kLowerExtensionCheck));
    EXPECT_EQ(preview_column(1), (Texts{"三亚_0001.jpg", "三亚_0002.jpg", "Scan Old.png"}));

    driver::click(rule_control(app::kRegexCheck));
    set(app::kFindEdit, "(DSC");
    EXPECT_EQ(driver::text(rule_control(app::kTemplateErrorLine)), "正则表达式有误：括号不配对");
    set(app::kFindEdit, "^DSC_(\\d+)$");
    set(app::kReplaceEdit, "p$1");
    EXPECT_EQ(preview_column(1), (Texts{"P0001.jpg", "P0002.jpg", "Scan Old.png"}));

    HWND rules = rule_control(app::kSavedRulesBox);
    {
        MessageBoxAnswerer watcher;
        driver::click(rule_control(app::kSaveRuleButton));
        EXPECT_EQ(watcher.texts(), Texts{"请输入规则名称"});
    }
    set(app::kSavedRulesBox, "扫描件");
    driver::click(rule_control(app::kSaveRuleButton));
    set(app::kTemplateEdit, "x");
    driver::choose_combo_box_item(rules, 0);
    EXPECT_EQ(driver::text(rule_control(app::kTemplateEdit)), "[N]");
    EXPECT_EQ(preview_column(1)[0], "P0001.jpg");
    {
        MessageBoxAnswerer watcher(IDNO);
        driver::click(rule_control(app::kSaveRuleButton));
        EXPECT_EQ(watcher.texts(), Texts{"已有名为“扫描件”的规则，要替换它吗？"});
    }
    driver::click(rule_control(app::kConfirmNamingButton));
    EXPECT_EQ(column(Batch::kNewName), (Texts{"P0001", "P0002", "Scan Old"}));
    EXPECT_EQ(column(Batch::kExtension), (Texts{".jpg", ".jpg", ".png"}));

    // Opened again, the rule is there to choose, and removed once asked.
    SendMessageW(window->hwnd(), WM_COMMAND, app::kNamingRuleCommand, 0);
    rules = rule_control(app::kSavedRulesBox);
    EXPECT_EQ(driver::combo_box_items(rules), Texts{"扫描件"});
    driver::choose_combo_box_item(rules, 0);
    {
        MessageBoxAnswerer watcher(IDYES);
        driver::click(rule_control(app::kDeleteRuleButton));
        EXPECT_EQ(watcher.texts(), Texts{"要删除规则“扫描件”吗？"});
    }
    EXPECT_TRUE(driver::combo_box_items(rules).empty());
    SendMessageW(rule_window(), WM_CLOSE, 0, 0);
    DeleteFileW(platform::win32::widen(saved_rules).c_str());
}
