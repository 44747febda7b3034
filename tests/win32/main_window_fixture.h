#pragma once

#include "app/main_window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace app;
using namespace filelist;
using namespace naming;
using namespace picker;

// Class names of the windows the main window opens, for finding them.
inline constexpr wchar_t kPickerClass[] = L"BatchRenameFilePicker";
inline constexpr wchar_t kNumberingClass[] = L"BatchRenameNumberingWindow";
inline constexpr wchar_t kAboutClass[] = L"BatchRenameAboutWindow";

// The red of a row a run would fail.
inline constexpr COLORREF kMarkRed = RGB(204, 0, 0);

// How the table draws a row: the colours it asks for, and whether it leaves
// the selection's own colours on.
struct RowColour {
    COLORREF text;
    bool drawn_as_selected;
};

// Tests that drive the main window, shown over a model of their own, with no
// settings file from an earlier test: the window is made before each test
// and closed after it, and the settings file removed both times.
struct MainWindowFixture : ::testing::Test {
    MainModel model;
    std::unique_ptr<MainWindow> window;

    void SetUp() override;
    void TearDown() override;

    // For a SetUp of its own that prepares the settings file in between; the
    // rename journal goes too.
    static void remove_settings();
    void open_main_window();

    HWND control(int id) const { return window->control(id); }
    HWND table() const { return control(kFileTableView); }
    std::string status() const;
    // One column of the table as it shows it, top to bottom.
    std::vector<std::string> column(int c) const;
    // A row as the table's custom drawing asks for it, drawn selected or not.
    RowColour row_colour(int row, bool selected = false) const;
    // A row's tooltip.
    std::string row_tip(int row) const;

    // The table as the picker's "确定" leaves it for these files of a directory.
    void show_files(const std::vector<std::string>& names, const std::string& directory = "C:\\photos\\");
    // "自动编号", then the numbering window's button, with the rule as it opens.
    void numbering_window_click(int button);

    // "选择文件": the file picker opens.
    void open_picker();
    // The open file picker and its controls; null when it is not open.
    HWND picker() const;
    HWND picker_control(int id) const { return GetDlgItem(picker(), id); }
    HWND files() const;
    HWND directories() const;
    // The directory box's current line: the directory shown.
    std::string current_line() const;
    // A double click on the directory box's line that shows this label.
    void open_directory_line(const std::string& label);
};
