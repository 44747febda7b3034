// The keys Windows users expect in every window, files dropped on the main
// window, and files named on the command line.
#include "app/command_line.h"
#include "app/settings.h"
#include "main_window_fixture.h"
#include "message_box_answerer.h"
#include "picker/file_picker_window.h"
#include "platform/win32/text.h"
#include "temp_directory.h"
#include "window_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

struct KeyboardAndDropTest : MainWindowFixture {
    TempDirectory folder;

    HWND numbering() const { return driver::thread_window_of_class(kNumberingClass); }
    HWND about() const { return driver::thread_window_of_class(kAboutClass); }
    void choose(const Texts& files) {
        for (const std::string& name : files) folder.write(name, name);
        show_files(files, folder.path(""));
    }
};

}  // namespace

TEST_F(KeyboardAndDropTest, EachWindowsKeysDoWhatTheySay) {
    struct Case {
        const char* what;
        std::function<void(KeyboardAndDropTest&)> press;
        std::function<void(KeyboardAndDropTest&)> check;
    };
    const Case cases[] = {
        {"Enter in the numbering window confirms the rule",
         [](auto& t) {
             t.choose({"a.jpg", "b.jpg"});
             driver::click(t.control(kNumberingButton));
             driver::press_key(GetDlgItem(t.numbering(), kPrefixEdit), VK_RETURN);
         },
         [](auto& t) {
             EXPECT_EQ(t.numbering(), nullptr);
             EXPECT_EQ(t.column(2), (Texts{"A001", "A002"}));
             EXPECT_EQ(t.model.state.rule_confirmed, 1);
         }},
        {"Esc closes the numbering window as its close box does",
         [](auto& t) {
             t.model.state.rule_confirmed = 1;
             driver::click(t.control(kNumberingButton));
             driver::press_key(GetDlgItem(t.numbering(), kStartEdit), VK_ESCAPE);
         },
         [](auto& t) {
             EXPECT_EQ(t.numbering(), nullptr);
             EXPECT_EQ(t.model.state.rule_confirmed, 1);
         }},
        {"Enter in the custom type box adds the type",
         [](auto& t) {
             t.open_picker();
             driver::press_key(t.picker_control(kCustomTypeEdit), VK_RETURN);
         },
         [](auto& t) {
             ASSERT_NE(t.picker(), nullptr);
             EXPECT_EQ(SendMessageW(t.picker_control(kTypeList), CB_GETCOUNT, 0, 0), 10);
             driver::click(t.picker_control(kCancelButton));
         }},
        {"Ctrl+A in the file list selects all, Enter confirms",
         [](auto& t) {
             t.folder.make_directory("选");
             t.folder.write("选\\x.jpg", "x");
             t.folder.write("选\\y.jpg", "y");
             t.model.state.last_directory.restore(t.folder.path("选"));
             t.open_picker();
             driver::press_key(t.files(), 'A', true);
             ASSERT_EQ(driver::list_box_selection(t.files()), (std::vector<int>{0, 1}));
             driver::press_key(t.files(), VK_RETURN);
         },
         [](auto& t) {
             EXPECT_EQ(t.picker(), nullptr);
             EXPECT_EQ(t.model.state.batch.file_names(), (Texts{"x.jpg", "y.jpg"}));
             EXPECT_EQ(t.status(), "共选择 2 个文件");
         }},
        {"Esc cancels the picker",
         [](auto& t) {
             t.open_picker();
             driver::press_key(t.files(), VK_ESCAPE);
         },
         [](auto& t) { EXPECT_EQ(t.picker(), nullptr); }},
        {"Esc, Enter and Space close the About window, Alt+F4 too",
         [](auto& t) {
             for (UINT key : {VK_ESCAPE, VK_RETURN, VK_SPACE}) {
                 driver::click(t.control(kAboutButton));
                 driver::press_key(t.about(), key);
                 EXPECT_EQ(t.about(), nullptr) << key;
             }
             driver::click(t.control(kAboutButton));
             driver::press_alt_key(t.about(), VK_F4);
         },
         [](auto& t) { EXPECT_EQ(t.about(), nullptr); }},
        {"Tab and Shift+Tab move through the buttons in layout order",
         [](auto& t) { driver::press_key(t.control(kSelectFilesButton), VK_TAB); },
         [](auto& t) {
             EXPECT_EQ(GetFocus(), t.control(kRenameButton));
             driver::press_key(GetFocus(), VK_TAB, false, true);
             EXPECT_EQ(GetFocus(), t.control(kSelectFilesButton));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.press(*this);
        c.check(*this);
    }
}

TEST_F(KeyboardAndDropTest, F2EditsTheCurrentRowsNewNameEnterKeepsItEscPutsItBack) {
    choose({"a.jpg", "b.jpg", "c.jpg"});
    numbering_window_click(kConfirmRuleButton);
    driver::select_list_view_row(table(), 1);
    HWND editor = control(kCellEditor);

    driver::press_key(table(), VK_F2);
    ASSERT_TRUE(IsWindowVisible(editor));
    EXPECT_EQ(driver::text(editor), "A002");
    RECT at = driver::rect_in_parent(editor);
    RECT column{};
    ListView_GetSubItemRect(table(), 1, 2, LVIR_BOUNDS, &column);
    MapWindowPoints(table(), window->hwnd(), reinterpret_cast<POINT*>(&column), 2);
    EXPECT_NEAR(at.left, column.left, 4);  // over 新名称, as a double click there places it
    driver::type_text(editor, "KEEP");
    driver::press_key(editor, VK_RETURN);
    EXPECT_FALSE(IsWindowVisible(editor));
    EXPECT_EQ(model.state.batch.new_names()[1], "KEEP");

    driver::press_key(table(), VK_RETURN);
    ASSERT_TRUE(IsWindowVisible(editor));
    driver::type_text(editor, "GONE");
    EXPECT_EQ(model.state.batch.new_names()[1], "GONE");
    driver::press_key(editor, VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(editor));
    EXPECT_EQ(model.state.batch.new_names()[1], "KEEP");
    EXPECT_EQ(driver::list_view_cell(table(), 1, 2), "KEEP");
    EXPECT_EQ(folder.names(), (Texts{"a.jpg", "b.jpg", "c.jpg"}));  // nothing renamed
}

TEST_F(KeyboardAndDropTest, CtrlZInTheEditorUndoesTypingNotTheRun) {
    choose({"p1.jpg", "p2.jpg", "p3.jpg"});
    numbering_window_click(kConfirmRuleButton);
    driver::click(control(kRenameButton));
    ASSERT_EQ(folder.names(), (Texts{"A001.jpg", "A002.jpg", "A003.jpg"}));
    driver::select_list_view_row(table(), 0);
    driver::press_key(table(), VK_F2);
    driver::press_key(control(kCellEditor), 'X');
    driver::press_key(control(kCellEditor), 'Z', true);
    EXPECT_EQ(folder.names(), (Texts{"A001.jpg", "A002.jpg", "A003.jpg"}));
    EXPECT_EQ(column(5), Texts(3, "改名成功"));
}

TEST_F(KeyboardAndDropTest, DroppedFilesFillTheTableAsThePickersConfirm) {
    folder.make_directory("照片");
    folder.make_directory("其他");
    for (const char* name : {"IMG_10.jpg", "IMG_2.jpg", "IMG_1.jpg"}) folder.write(std::string("照片\\") + name, "x");
    folder.write("其他\\z.jpg", "z");

    driver::drop_files(window->hwnd(), {folder.path("照片\\IMG_10.jpg"), folder.path("照片\\IMG_2.jpg"),
                                        folder.path("照片\\IMG_1.jpg"), folder.path("照片\\gone.jpg")});
    EXPECT_EQ(model.state.batch.file_names(), (Texts{"IMG_1.jpg", "IMG_2.jpg", "IMG_10.jpg"}));
    EXPECT_EQ(model.state.batch.base_directory(), folder.path("照片\\"));
    EXPECT_EQ(column(1), (Texts{"IMG_1", "IMG_2", "IMG_10"}));
    EXPECT_EQ(status(), "共选择 3 个文件");
    EXPECT_EQ(model.state.last_directory.value(), folder.path("照片"));
    EXPECT_EQ(load_settings(), folder.path("照片"));

    {
        MessageBoxAnswerer watcher;
        driver::drop_files(window->hwnd(), {folder.path("照片\\IMG_1.jpg"), folder.path("其他\\z.jpg")});
        EXPECT_EQ(watcher.texts(), Texts{"请只拖入同一目录中的文件"});
    }
    EXPECT_EQ(model.state.batch.file_names(), (Texts{"IMG_1.jpg", "IMG_2.jpg", "IMG_10.jpg"}));

    driver::drop_files(window->hwnd(), {folder.path("其他")});
    ASSERT_NE(picker(), nullptr);
    EXPECT_EQ(current_line(), "其他");
    EXPECT_EQ(driver::list_box_items(files()), Texts{"z.jpg"});
}

TEST_F(KeyboardAndDropTest, CommandLineFilesFillTheTableAndMissingOnesAreSkipped) {
    folder.write("b c.jpg", "x");
    folder.write("a.jpg", "x");
    std::wstring line = L"BatchRename.exe \"" + platform::win32::widen(folder.path("b c.jpg")) + L"\" " +
                        platform::win32::widen(folder.path("a.jpg")) + L" Q:\\nowhere.jpg";
    Texts paths = command_line_paths(line.c_str());
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0], folder.path("b c.jpg"));
    window->hand_over(paths);
    EXPECT_EQ(model.state.batch.file_names(), (Texts{"a.jpg", "b c.jpg"}));

    window->hand_over(command_line_paths(L"BatchRename.exe Q:\\nowhere.jpg"));
    EXPECT_EQ(model.state.batch.file_names(), (Texts{"a.jpg", "b c.jpg"}));  // nothing left: as started without
    window->hand_over(command_line_paths(L"BatchRename.exe"));
    EXPECT_EQ(picker(), nullptr);
}

TEST_F(KeyboardAndDropTest, ANameHandedOverInAnotherSpellingKeepsTheDisksOwn) {
    folder.write("d.jpg", "d");
    window->hand_over({folder.path("D.JPG"), folder.path("d.jpg")});
    EXPECT_EQ(model.state.batch.file_names(), Texts{"d.jpg"});  // one file, one row
    EXPECT_EQ(column(1), Texts{"d"});
    EXPECT_EQ(column(3), Texts{".jpg"});
    numbering_window_click(kConfirmRuleButton);
    driver::click(control(kRenameButton));
    EXPECT_EQ(folder.names(), Texts{"A001.jpg"});
    driver::press_key(table(), 'Z', true);
    EXPECT_EQ(folder.names(), Texts{"d.jpg"});
}
