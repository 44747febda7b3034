#include "main_window_fixture.h"

#include "app/settings.h"
#include "rename/rename_journal.h"
#include "picker/file_picker_window.h"
#include "platform/pending_events.h"
#include "platform/win32/text.h"
#include "window_driver.h"

#include <commctrl.h>

using namespace filelist;
using namespace picker;
using namespace app;
using namespace naming;

void MainWindowFixture::SetUp() {
    remove_settings();
    open_main_window();
}

void MainWindowFixture::TearDown() {
    // A test that failed half-way may have left its hook behind.
    platform::set_pending_events_hook(nullptr);
    window.reset();
    driver::pump();
    remove_settings();
}

void MainWindowFixture::remove_settings() {
    DeleteFileW(platform::win32::widen(settings_path()).c_str());
    for (const std::string& journal : renaming::default_journal_paths())
        DeleteFileW(platform::win32::widen(journal).c_str());
}

void MainWindowFixture::open_main_window() {
    window = std::make_unique<MainWindow>(model);
    ASSERT_TRUE(window->create(SW_SHOW));
    driver::pump();
}

std::string MainWindowFixture::status() const { return driver::text(control(kStatusLabel)); }

std::vector<std::string> MainWindowFixture::column(int c) const {
    std::vector<std::string> out;
    for (int row = 0; row < driver::list_view_rows(table()); ++row) {
        out.push_back(driver::list_view_cell(table(), row, c));
    }
    return out;
}

RowColour MainWindowFixture::row_colour(int row, bool selected) const {
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr = {table(), static_cast<UINT_PTR>(kFileTableView), static_cast<UINT>(NM_CUSTOMDRAW)};
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.nmcd.uItemState = selected ? CDIS_SELECTED : 0;
    draw.clrText = CLR_DEFAULT;
    SendMessageW(window->hwnd(), WM_NOTIFY, kFileTableView, reinterpret_cast<LPARAM>(&draw));
    return {draw.clrText, (draw.nmcd.uItemState & CDIS_SELECTED) != 0};
}

std::string MainWindowFixture::row_tip(int row) const {
    wchar_t buffer[128] = {};
    NMLVGETINFOTIPW tip{};
    tip.hdr = {table(), static_cast<UINT_PTR>(kFileTableView), static_cast<UINT>(LVN_GETINFOTIPW)};
    tip.pszText = buffer;
    tip.cchTextMax = 128;
    tip.iItem = row;
    SendMessageW(window->hwnd(), WM_NOTIFY, kFileTableView, reinterpret_cast<LPARAM>(&tip));
    return platform::win32::narrow(buffer);
}

void MainWindowFixture::show_files(const std::vector<std::string>& names, const std::string& directory) {
    model.state.batch.fill_list(directory, names);
    driver::pump();
}

void MainWindowFixture::numbering_window_click(int button) {
    driver::click(control(kNumberingButton));
    HWND numbering = driver::thread_window_of_class(kNumberingClass);
    ASSERT_NE(numbering, nullptr);
    driver::click(GetDlgItem(numbering, button));
    ASSERT_FALSE(IsWindow(numbering));
}

void MainWindowFixture::open_picker() {
    driver::click(control(kSelectFilesButton));
    ASSERT_NE(picker(), nullptr);
}

HWND MainWindowFixture::picker() const { return driver::thread_window_of_class(kPickerClass); }

HWND MainWindowFixture::files() const { return picker_control(kFileListBox); }

HWND MainWindowFixture::directories() const { return picker_control(kDirectoryBox); }

std::string MainWindowFixture::current_line() const { return driver::list_box_selected_item(directories()); }

void MainWindowFixture::open_directory_line(const std::string& label) {
    int index = driver::index_of(driver::list_box_items(directories()), label);
    ASSERT_GE(index, 0) << label;
    driver::double_click_list_box_item(directories(), index);
}
