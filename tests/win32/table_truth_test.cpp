// What the table shows is what happens: marks from the batch's own
// directory, edits that stay with their batch, the table's menu from the
// keyboard.
#include "display_scale.h"
#include "main_window_fixture.h"
#include "menu_answerer.h"
#include "temp_directory.h"
#include "window_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

struct TableTruthTest : MainWindowFixture {
    TempDirectory folder;

    // Files of a directory of the folder, dropped on the window as Explorer drops them.
    void drop(const std::string& directory, const Texts& names) {
        if (!folder.exists(directory)) folder.make_directory(directory);
        std::vector<std::string> paths;
        for (const std::string& name : names) {
            if (!folder.exists(directory + "\\" + name)) folder.write(directory + "\\" + name, name);
            paths.push_back(folder.path(directory + "\\" + name));
        }
        driver::drop_files(window->hwnd(), paths);
    }

    // The editor opened over a row's 新名称 with a double click, its text replaced.
    HWND type_new_name(int row, const std::string& text) {
        driver::select_list_view_row(table(), row);
        RECT rect{};
        ListView_GetItemRect(table(), row, &rect, LVIR_BOUNDS);
        driver::double_click(table(), scale::px(250), (rect.top + rect.bottom) / 2);
        HWND editor = control(kCellEditor);
        SendMessageW(editor, EM_SETSEL, 0, -1);
        driver::type_text(editor, text);
        return editor;
    }
};

}  // namespace

TEST_F(TableTruthTest, MarksComeFromAListingOfTheBatchsOwnDirectory) {
    struct Case {
        const char* what;
        std::function<void(TableTruthTest&)> choose;
        Texts tips;  // after row 0's new name is typed as X
    };
    const Case cases[] = {
        {"files picked without numbering",
         [](TableTruthTest& t) {
             t.drop("一", {"p1.jpg", "p2.jpg"});
         },
         {"", ""}},  // no rule: the unnamed row is nothing a run would try
        {"a pick from another directory after numbering",
         [](TableTruthTest& t) {
             t.drop("一", {"p1.jpg", "p2.jpg"});
             t.numbering_window_click(kConfirmRuleButton);
             t.folder.make_directory("二");
             t.folder.write("二\\X.jpg", "not in the batch");
             t.drop("二", {"q1.jpg", "q2.jpg"});
         },
         {"目标文件已存在", "名称不合法"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.choose(*this);
        HWND editor = type_new_name(0, "X");
        driver::press_key(editor, VK_RETURN);
        EXPECT_EQ((Texts{row_tip(0), row_tip(1)}), c.tips);
        // Marks and the run agree: what is not marked is renamed.
        model.state.rule_confirmed = 1;
        model.state.batch.set_new_name(1, "Y");
        driver::click(control(kRenameButton));
        EXPECT_EQ(column(5)[1], "改名成功");
        EXPECT_EQ(column(5)[0], c.tips[0].empty() ? "改名成功" : "改名失败");
        window.reset();
        model.state.rule_confirmed = 0;
        open_main_window();
    }
}

TEST_F(TableTruthTest, EscAfterANewPickPutsNothingOfTheEarlierBatchBack) {
    drop("一", {"a.jpg", "b.jpg"});
    numbering_window_click(kConfirmRuleButton);
    HWND editor = type_new_name(0, "Z");
    drop("二", {"c.jpg", "d.jpg"});  // the editor stays open
    driver::press_key(editor, VK_ESCAPE);
    EXPECT_EQ(column(2), (Texts{"", ""}));
    EXPECT_EQ(model.state.batch.new_names(), (Texts{"", ""}));
}

TEST_F(TableTruthTest, RenameWithoutARuleLeavesTheMarksAsTheyAre) {
    folder.make_directory("一");
    folder.write("一\\A001.jpg", "not in the batch");
    drop("一", {"p1.jpg", "p2.jpg"});
    numbering_window_click(kConfirmRuleButton);
    ASSERT_EQ(row_tip(0), "目标文件已存在");
    numbering_window_click(kCancelRuleButton);
    EXPECT_EQ(row_tip(0), "目标文件已存在");  // 取消 leaves the marks
    driver::click(control(kRenameButton));
    EXPECT_EQ(status(), "你没有设置文件名编号方式!");
    EXPECT_EQ(row_tip(0), "目标文件已存在");
    EXPECT_EQ(row_colour(0).text, kMarkRed);
}

TEST_F(TableTruthTest, TheTablesMenuOpensFromTheKeyboardWithItsKeysShown) {
    drop("一", {"a.jpg"});
    struct Key {
        UINT key;
        bool shift;
    };
    for (Key k : {Key{VK_APPS, false}, Key{VK_F10, true}}) {
        MenuAnswerer answerer;
        driver::press_key(table(), k.key, false, k.shift);
        ASSERT_TRUE(driver::wait_until([&] { return answerer.menus_answered() == 1; })) << k.key;
        ASSERT_FALSE(answerer.items().empty());
        EXPECT_EQ(answerer.items()[0].text, "撤销上次改名(&U)\tCtrl+Z");
        EXPECT_FALSE(answerer.items()[0].enabled);  // nothing to undo yet
    }
}

// Run with --gtest_also_run_disabled_tests to look at marked rows, one of them selected.
TEST_F(TableTruthTest, DISABLED_Screenshot) {
    folder.make_directory("一");
    folder.write("一\\A002.jpg", "not in the batch");
    drop("一", {"p1.jpg", "p2.jpg", "p3.jpg"});
    numbering_window_click(kConfirmRuleButton);
    driver::select_list_view_row(table(), 1);
    SetFocus(table());
    driver::pump();
    EXPECT_TRUE(driver::save_screenshot(L"marked-rows.bmp", window->hwnd()));
}
