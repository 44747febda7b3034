#include "app/main_window.h"
#include "app/settings.h"
#include "main_window_fixture.h"
#include "platform/win32/text.h"
#include "display_scale.h"
#include "message_box_answerer.h"
#include "platform/ini_file.h"
#include "temp_directory.h"
#include "window_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

using namespace app;
using namespace filelist;
using namespace naming;
using namespace picker;

namespace {

using platform::win32::widen;

// Text of the code page 936 bytes, for checking what the profile functions wrote.
std::string gbk(const std::string& utf8) {
    std::wstring wide = widen(utf8);
    int n = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

struct MainWindowTest : MainWindowFixture {};

}  // namespace

TEST_F(MainWindowTest, WindowIsLaidOutAsDesigned) {
    EXPECT_EQ(driver::text(window->hwnd()), "Lanmoor-批量文件改名1.5");
    EXPECT_TRUE(scale::window_placed_at(window->hwnd(), 50, 50, 728, 472));

    struct Expected {
        int id;
        const char* text;
        int x, y, w, h;
    };
    const Expected controls[] = {
        {kSelectFilesButton, "选择文件", 8, 6, 80, 32},
        {kRenameButton, "确定改名", 91, 6, 80, 32},
        {kNumberingButton, "自动编号", 174, 6, 80, 32},
        {kClearButton, "清空", 257, 6, 80, 32},
        {kAboutButton, "关于", 340, 6, 80, 32},
        {kExitButton, "退出", 424, 6, 80, 32},
        {kWelcomeLabel, "欢迎使用Lanmoor软件!", 512, 6, 200, 32},
        {kFileTableView, "", 8, 46, 704, 369},
        {kStatusLabel, "", 8, 419, 704, 19},
        {kCellEditor, "", 199, 420, 79, 19},
    };
    for (const Expected& e : controls) {
        HWND c = control(e.id);
        ASSERT_NE(c, nullptr) << e.id;
        EXPECT_EQ(driver::text(c), e.text) << e.id;
        EXPECT_TRUE(scale::placed_at(c, e.x, e.y, e.w, e.h)) << e.text;
    }
    EXPECT_FALSE(IsWindowVisible(control(kCellEditor)));
}

TEST_F(MainWindowTest, TableHasSixColumnsInItsFont) {
    const char* headers[] = {"序", "原名称", "新名称", "后缀名", "目录", "处理结果"};
    const int widths[] = {40, 150, 150, 60, 200, 80};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(driver::list_view_header(table(), i), headers[i]);
        EXPECT_EQ(ListView_GetColumnWidth(table(), i), scale::px(widths[i]));
    }
    EXPECT_EQ(driver::list_view_rows(table()), 0);

    LOGFONTW font{};
    auto table_font = reinterpret_cast<HFONT>(SendMessageW(table(), WM_GETFONT, 0, 0));
    GetObjectW(table_font, sizeof font, &font);
    EXPECT_TRUE(scale::font_height_is(table_font, 16));
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
    EXPECT_STREQ(font.lfFaceName, L"宋体");
    auto welcome_font = reinterpret_cast<HFONT>(SendMessageW(control(kWelcomeLabel), WM_GETFONT, 0, 0));
    GetObjectW(welcome_font, sizeof font, &font);
    EXPECT_TRUE(scale::font_height_is(welcome_font, 14));
    EXPECT_EQ(font.lfWeight, FW_BOLD);
}

TEST_F(MainWindowTest, TableShowsTheModelRows) {
    show_files({"IMG_0001.JPG", "a.b.png"});
    ASSERT_EQ(driver::list_view_rows(table()), 2);
    EXPECT_EQ(driver::list_view_cell(table(), 0, 0), "1");
    EXPECT_EQ(driver::list_view_cell(table(), 0, 1), "IMG_0001");
    EXPECT_EQ(driver::list_view_cell(table(), 0, 3), ".JPG");
    EXPECT_EQ(driver::list_view_cell(table(), 1, 1), "a.b");
    EXPECT_EQ(driver::list_view_cell(table(), 1, 4), "C:\\photos\\");
    model.state.batch.set_result(1, filelist::RowOutcome{filelist::Outcome::Renamed});
    EXPECT_EQ(driver::list_view_cell(table(), 1, 5), "改名成功");
}

TEST_F(MainWindowTest, ClearEmptiesAnyNonEmptyTable) {
    driver::click(control(kClearButton));
    EXPECT_EQ(driver::text(control(kStatusLabel)), "");

    show_files({"one.jpg"});
    driver::click(control(kClearButton));
    EXPECT_EQ(driver::list_view_rows(table()), 0);
    EXPECT_EQ(driver::text(control(kStatusLabel)), "清空处理结束");

    model.status.set_text("");
    show_files({"a.jpg", "b.jpg", "c.jpg"});
    driver::click(control(kClearButton));
    EXPECT_EQ(driver::list_view_rows(table()), 0);
    EXPECT_EQ(driver::text(control(kStatusLabel)), "清空处理结束");
    EXPECT_EQ(model.state.batch.row_count(), 0u);
}

TEST_F(MainWindowTest, DoubleClickOpensTheEditorBelowTheColumnUnderThePointer) {
    show_files({"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    model.state.batch.set_new_name(2, "A003");
    RECT row_rect{};
    ListView_GetItemRect(table(), 2, &row_rect, LVIR_BOUNDS);
    int y = (row_rect.top + row_rect.bottom) / 2;

    driver::double_click(table(), scale::px(250), y);
    HWND editor = control(kCellEditor);
    ASSERT_TRUE(IsWindowVisible(editor));
    EXPECT_TRUE(scale::placed_at(editor, 200, 420, 150, 17));
    EXPECT_EQ(driver::text(editor), "A003");

    SendMessageW(editor, EM_SETSEL, 0, -1);
    driver::type_text(editor, "新名");
    EXPECT_EQ(driver::list_view_cell(table(), 2, 2), "新名");
    EXPECT_EQ(model.state.batch.new_names()[2], "新名");  // the edited name is the one the run uses

    // Another row selected while the editor is open: typing goes there.
    driver::select_list_view_row(table(), 0);
    driver::type_text(editor, "X");
    EXPECT_EQ(driver::list_view_cell(table(), 0, 2), "新名X");
}

TEST_F(MainWindowTest, DoubleClickOverNumberOrResultShowsNoEditor) {
    show_files({"a.jpg", "b.jpg"});
    RECT row_rect{};
    ListView_GetItemRect(table(), 1, &row_rect, LVIR_BOUNDS);
    int y = (row_rect.top + row_rect.bottom) / 2;
    driver::double_click(table(), scale::px(20), y);
    EXPECT_FALSE(IsWindowVisible(control(kCellEditor)));
    driver::double_click(table(), scale::px(650), y);
    EXPECT_FALSE(IsWindowVisible(control(kCellEditor)));
}

TEST_F(MainWindowTest, ExitWithoutADirectoryWritesNoSettings) {
    driver::click(control(kExitButton));
    EXPECT_FALSE(window->is_open());
    EXPECT_EQ(read_file(settings_path()), "");
    EXPECT_EQ(GetFileAttributesW(widen(settings_path()).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainWindowTest, ExitStoresTheDirectoryInTheAnsiCodePage) {
    model.state.last_directory.restore("C:\\照片");
    driver::click(control(kExitButton));
    EXPECT_FALSE(window->is_open());
    std::string bytes = read_file(settings_path());
    EXPECT_NE(bytes.find(gbk("[配置]")), std::string::npos) << bytes;
    EXPECT_NE(bytes.find(gbk("记录=C:\\照片")), std::string::npos) << bytes;
    EXPECT_EQ(load_settings(), "C:\\照片");
}

TEST_F(MainWindowTest, ClosingFromTheTitleBarStoresTheDirectoryToo) {
    model.state.last_directory.restore("D:\\pics");
    SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    driver::pump();
    EXPECT_FALSE(window->is_open());
    EXPECT_EQ(load_settings(), "D:\\pics");
}

TEST_F(MainWindowTest, SettingsKeepAnyDirectoryExactlyAndTheFilesOtherKeys) {
    std::string path = settings_path();
    write_file(path, gbk("[其他]\r\n键=值\r\n"));
    ASSERT_TRUE(save_settings("C:\\照片"));
    EXPECT_NE(read_file(path).find(gbk("记录=C:\\照片")), std::string::npos);  // as the file has always been

    TempDirectory places;
    places.make_directory("사진 ☀");
    model.state.last_directory.restore(places.path("사진 ☀"));
    driver::click(control(kExitButton));
    EXPECT_EQ(read_file(path).substr(0, 2), "\xFF\xFE");  // UTF-16, which holds any name
    EXPECT_EQ(load_settings(), places.path("사진 ☀"));
    EXPECT_EQ(platform::read_ini_value(path, "其他", "键"), "值");

    // The next run's picker opens there.
    model.state.last_directory.restore("");
    open_main_window();
    open_picker();
    EXPECT_EQ(current_line(), "사진 ☀");
}

TEST_F(MainWindowTest, AFileTheCodePageCannotReadIsNeverTurnedIntoUtf16) {
    // Another program's key in another encoding: 0x80 and 0xFF are no GBK text.
    const std::string before = gbk("[其他]\r\n") + "key=\x80\xFF\r\n";
    write_file(settings_path(), before);
    TempDirectory places;
    places.make_directory("사진");
    EXPECT_FALSE(save_settings(places.path("사진")));
    EXPECT_EQ(read_file(settings_path()), before);
}

TEST_F(MainWindowTest, AFailedSaveIsToldOnceAndTheProgramGoesOn) {
    TempDirectory places;
    places.make_directory("一");
    places.make_directory("二");
    // A directory where the settings file belongs: no write can succeed.
    ASSERT_TRUE(CreateDirectoryW(widen(settings_path()).c_str(), nullptr));
    {
        MessageBoxAnswerer watcher;
        model.state.last_directory.restore(places.path("一"));
        open_picker();
        open_directory_line(places.name());
        open_directory_line("二");
        EXPECT_EQ(current_line(), "二");
        driver::click(control(kExitButton));
        EXPECT_EQ(watcher.texts(), std::vector<std::string>{"保存配置失败！"});
    }
    EXPECT_FALSE(window->is_open());
    RemoveDirectoryW(widen(settings_path()).c_str());
}

// Run with --gtest_also_run_disabled_tests to look at the window as a user would.
TEST_F(MainWindowTest, DISABLED_Screenshot) {
    show_files({"IMG_0001.JPG", "IMG_0002.JPG", "说明.txt"});
    model.status.set_text("共选择 3 个文件");
    EXPECT_TRUE(driver::save_screenshot(L"main-window.bmp"));
}
