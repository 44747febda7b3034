#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Drives real windows from inside the test process, as a user would: clicks,
// keystrokes and pointer moves go through the controls' own messages.
namespace driver {

// Runs every queued window event.
void pump();

// Pumps events until the condition holds or the time is up; returns the condition.
bool wait_until(const std::function<bool()>& condition, int timeout_ms = 5000);

void click(HWND button);
void type_text(HWND control, const std::string& utf8);
void move_pointer(HWND control, int x, int y);
void double_click(HWND control, int x, int y);

// A key pressed with the focus on control, through the message loop as the
// keyboard would send it; ctrl and shift held as given.
void press_key(HWND control, UINT key, bool ctrl = false, bool shift = false);
// The same with Alt held (Alt+F4 and the like).
void press_alt_key(HWND control, UINT key);

// Files dropped on a window as Explorer drops them (WM_DROPFILES).
void drop_files(HWND window, const std::vector<std::string>& paths);

std::string text(HWND window);

// Position and size of a control in its parent's client area.
RECT rect_in_parent(HWND control);
// Position and outer size of a top-level window on the screen.
RECT outer_rect(HWND window);

int list_view_rows(HWND list_view);
std::string list_view_cell(HWND list_view, int row, int column);
std::string list_view_header(HWND list_view, int column);
void select_list_view_row(HWND list_view, int row);

std::string list_box_item(HWND box, int index);
std::vector<std::string> list_box_items(HWND box);
// The selected item of a single-choice list box; empty when none is.
std::string list_box_selected_item(HWND box);
// The places of the selected items of a multiple-choice list box, in order.
std::vector<int> list_box_selection(HWND box);
// A click on a list box item, with the keys held (MK_CONTROL, MK_SHIFT).
void click_list_box_item(HWND box, int index, WPARAM keys = 0);
void double_click_list_box_item(HWND box, int index);

std::string combo_box_item(HWND combo, int index);
std::vector<std::string> combo_box_items(HWND combo);
// The user picks an item of a drop-down list.
void choose_combo_box_item(HWND combo, int index);

// The place of a text among items, or -1.
int index_of(const std::vector<std::string>& items, const std::string& text);

// This thread's top-level windows that match.
std::vector<HWND> thread_windows(const std::function<bool(HWND)>& wanted);
std::vector<HWND> thread_windows_of_class(const wchar_t* class_name);
// This thread's only top-level window of a class; null when there is none or more than one.
HWND thread_window_of_class(const wchar_t* class_name);

// Saves what the screen shows, or only the place of a window, as a 24-bit
// BMP (convert it to PNG to look at it).
bool save_screenshot(const std::wstring& bmp_path, HWND window = nullptr);

}  // namespace driver
