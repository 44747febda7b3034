#include "app/main_window.h"
#include "main_window_fixture.h"
#include "naming/numbering_window.h"
#include "message_box_answerer.h"
#include "display_scale.h"
#include "window_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include <string>
#include <vector>

using namespace naming;
using namespace app;
using namespace filelist;
using namespace picker;

namespace {

struct NumberingWindowTest : MainWindowFixture {
    // "自动编号": the numbering window it opens, or null.
    HWND open_numbering() {
        driver::click(control(kNumberingButton));
        return driver::thread_window_of_class(kNumberingClass);
    }

    std::string new_name_cell(int row) const { return driver::list_view_cell(table(), row, 2); }
};

// Position of a control relative to the top-left corner of another one.
RECT rect_relative_to(HWND control, HWND origin) {
    RECT r = driver::rect_in_parent(control);
    RECT o = driver::rect_in_parent(origin);
    OffsetRect(&r, -o.left, -o.top);
    return r;
}

}  // namespace

TEST_F(NumberingWindowTest, WindowIsLaidOutAsDesignedWithTheDefaultRule) {
    HWND numbering = open_numbering();
    ASSERT_NE(numbering, nullptr);
    EXPECT_EQ(driver::text(numbering), "自动编号改名");
    EXPECT_EQ(GetWindow(numbering, GW_OWNER), window->hwnd());
    EXPECT_TRUE(scale::window_sized(numbering, 304, 242));

    struct Expected {
        int id;
        const char* text;
        int x, y, w, h;
        bool in_group;
    };
    const Expected controls[] = {
        {kRuleGroup, "编号规则", 10, 12, 182, 140, false},
        {kPrefixLabel, "打头字符", 21, 23, 48, 17, true},
        {kPrefixEdit, "A", 76, 20, 80, 26, true},
        {kStartLabel, "起始编号", 22, 56, 48, 17, true},
        {kStartEdit, "001", 76, 55, 80, 26, true},
        {kIncrementLabel, "递增量", 22, 92, 48, 17, true},
        {kCaptureDateCheck, "以图像拍摄日期为文件名", 24, 168, 168, 24, false},
        {kConfirmRuleButton, "确定", 201, 24, 75, 32, false},
        {kCancelRuleButton, "取消", 201, 96, 75, 32, false},
    };
    HWND group = GetDlgItem(numbering, kRuleGroup);
    for (const Expected& e : controls) {
        HWND c = GetDlgItem(numbering, e.id);
        ASSERT_NE(c, nullptr) << e.text;
        EXPECT_EQ(driver::text(c), e.text);
        RECT r = e.in_group ? rect_relative_to(c, group) : driver::rect_in_parent(c);
        EXPECT_TRUE(scale::rect_is(r, e.x, e.y, e.w, e.h)) << e.text;
    }
    EXPECT_EQ(SendMessageW(GetDlgItem(numbering, kCaptureDateCheck), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // The increment box and its arrows share the 63 x 26 pixels at (76, 86).
    HWND increment = GetDlgItem(numbering, kIncrementEdit);
    HWND spinner = GetDlgItem(numbering, kIncrementSpinner);
    EXPECT_EQ(driver::text(increment), "1");
    RECT box = rect_relative_to(increment, group);
    RECT arrows = rect_relative_to(spinner, group);
    RECT both{};
    UnionRect(&both, &box, &arrows);
    EXPECT_TRUE(scale::rect_is(both, 76, 86, 63, 26));
    EXPECT_TRUE(scale::rect_is(box, 76, 86, 63 - 16, 26));
    EXPECT_LE(std::abs(arrows.left - box.right), scale::screen_dpi() == 96 ? 0 : 1);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spinner, UDM_GETBUDDY, 0, 0)), increment);
}

TEST_F(NumberingWindowTest, StartNumberTakesAtMostFiveCharacters) {
    HWND numbering = open_numbering();
    ASSERT_NE(numbering, nullptr);
    HWND start = GetDlgItem(numbering, kStartEdit);
    SendMessageW(start, EM_SETSEL, 0, -1);
    driver::type_text(start, "1234567");
    EXPECT_EQ(driver::text(start), "12345");
}

TEST_F(NumberingWindowTest, IncrementArrowsStayBetweenZeroAndOneHundred) {
    HWND numbering = open_numbering();
    ASSERT_NE(numbering, nullptr);
    HWND spinner = GetDlgItem(numbering, kIncrementSpinner);
    HWND increment = GetDlgItem(numbering, kIncrementEdit);
    int low = -1, high = -1;
    SendMessageW(spinner, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 100);

    auto press = [&](UINT key) {
        SendMessageW(increment, WM_KEYDOWN, key, 1);
        SendMessageW(increment, WM_KEYUP, key, 1);
        driver::pump();
    };
    press(VK_UP);
    EXPECT_EQ(driver::text(increment), "2");
    press(VK_DOWN);
    press(VK_DOWN);
    press(VK_DOWN);
    EXPECT_EQ(driver::text(increment), "0");
    SendMessageW(spinner, UDM_SETPOS32, 0, 100);
    press(VK_UP);
    EXPECT_EQ(driver::text(increment), "100");
}

TEST_F(NumberingWindowTest, ConfirmWithTheDefaultsNamesTheRowsAndCloses) {
    show_files(
        {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "f.jpg", "g.jpg", "h.jpg", "i.jpg", "j.jpg", "k.jpg", "l.jpg"});
    HWND numbering = open_numbering();
    ASSERT_NE(numbering, nullptr);
    driver::click(GetDlgItem(numbering, kConfirmRuleButton));
    EXPECT_FALSE(IsWindow(numbering));
    EXPECT_EQ(model.state.rule_confirmed, 1);
    EXPECT_EQ(model.state.rule_fields, (std::array<std::string, 3>{"A", "001", "1"}));
    EXPECT_EQ(new_name_cell(0), "A001");
    EXPECT_EQ(new_name_cell(9), "A010");
    EXPECT_EQ(new_name_cell(11), "A012");
    EXPECT_EQ(model.state.batch.new_names()[11], "A012");
}

TEST_F(NumberingWindowTest, ConfirmUsesWhatWasTyped) {
    show_files({"a.jpg", "b.jpg", "c.jpg"});
    HWND numbering = open_numbering();
    ASSERT_NE(numbering, nullptr);
    for (auto [id, text] :
         {std::pair{kPrefixEdit, "照片_"}, std::pair{kStartEdit, "05"}, std::pair{kIncrementEdit, "5"}}) {
        HWND edit = GetDlgItem(numbering, id);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        driver::type_text(edit, text);
    }
    driver::click(GetDlgItem(numbering, kConfirmRuleButton));
    EXPECT_EQ(new_name_cell(0), "照片_05");
    EXPECT_EQ(new_name_cell(1), "照片_10");
    EXPECT_EQ(new_name_cell(2), "照片_15");
}

TEST_F(NumberingWindowTest, CaptureDateModeConfirmsAndIgnoresTheBoxes) {
    // Files that are not there cannot be opened as images: one message each,
    // and each keeps its base name.
    show_files({"a.jpg", "b.jpg"});
    HWND numbering = open_numbering();
    ASSERT_NE(numbering, nullptr);
    driver::click(GetDlgItem(numbering, kCaptureDateCheck));
    MessageBoxAnswerer watcher;
    driver::click(GetDlgItem(numbering, kConfirmRuleButton));
    EXPECT_EQ(watcher.texts(), (std::vector<std::string>{"载入图片失败！", "载入图片失败！"}));
    EXPECT_FALSE(IsWindow(numbering));
    EXPECT_EQ(model.state.rule_confirmed, 1);
    EXPECT_EQ(model.state.rule_fields, (std::array<std::string, 3>{}));
    EXPECT_EQ(new_name_cell(0), "a");
    EXPECT_EQ(model.state.batch.new_names(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(NumberingWindowTest, TitleBarCloseChangesNothing) {
    show_files({"a.jpg", "b.jpg"});
    driver::click(GetDlgItem(open_numbering(), kConfirmRuleButton));
    HWND numbering = open_numbering();
    ASSERT_NE(numbering, nullptr);
    driver::type_text(GetDlgItem(numbering, kPrefixEdit), "X");
    SendMessageW(numbering, WM_CLOSE, 0, 0);
    driver::pump();
    EXPECT_FALSE(IsWindow(numbering));
    EXPECT_EQ(model.state.rule_confirmed, 1);
    EXPECT_EQ(model.state.rule_fields, (std::array<std::string, 3>{"A", "001", "1"}));
    EXPECT_EQ(new_name_cell(0), "A001");
}

TEST_F(NumberingWindowTest, EachOpeningStartsFromTheDefaults) {
    HWND numbering = open_numbering();
    ASSERT_NE(numbering, nullptr);
    SendMessageW(GetDlgItem(numbering, kPrefixEdit), EM_SETSEL, 0, -1);
    driver::type_text(GetDlgItem(numbering, kPrefixEdit), "IMG_");
    driver::click(GetDlgItem(numbering, kCaptureDateCheck));
    driver::click(GetDlgItem(numbering, kCancelRuleButton));

    numbering = open_numbering();
    ASSERT_NE(numbering, nullptr);
    EXPECT_EQ(driver::text(GetDlgItem(numbering, kPrefixEdit)), "A");
    EXPECT_EQ(SendMessageW(GetDlgItem(numbering, kCaptureDateCheck), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(NumberingWindowTest, PressingNumberingAgainBringsTheOpenWindowToTheFront) {
    HWND first = open_numbering();
    ASSERT_NE(first, nullptr);
    SetForegroundWindow(window->hwnd());
    driver::pump();
    HWND second = open_numbering();
    EXPECT_EQ(second, first);
    EXPECT_EQ(driver::thread_windows_of_class(kNumberingClass).size(), 1u);
    EXPECT_EQ(GetForegroundWindow(), first);
}

TEST_F(NumberingWindowTest, MainWindowStaysUsableWhileTheNumberingWindowIsOpen) {
    show_files({"a.jpg", "b.jpg"});
    HWND numbering = open_numbering();
    ASSERT_NE(numbering, nullptr);
    driver::click(control(kClearButton));
    EXPECT_EQ(driver::list_view_rows(table()), 0);
    EXPECT_TRUE(IsWindow(numbering));
}

// Run with --gtest_also_run_disabled_tests to look at the window as a user would.
TEST_F(NumberingWindowTest, DISABLED_Screenshot) {
    show_files({"IMG_0001.JPG", "IMG_0002.JPG", "IMG_0003.JPG"});
    ASSERT_NE(open_numbering(), nullptr);
    EXPECT_TRUE(driver::save_screenshot(L"numbering-window.bmp"));
}
