#pragma once

#include <windows.h>

#include <functional>
#include <string>

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

std::string text(HWND window);

// Position and size of a control in its parent's client area.
RECT rect_in_parent(HWND control);
// Position and outer size of a top-level window on the screen.
RECT outer_rect(HWND window);

int list_view_rows(HWND list_view);
std::string list_view_cell(HWND list_view, int row, int column);
std::string list_view_header(HWND list_view, int column);
void select_list_view_row(HWND list_view, int row);

// Saves what the screen shows as a 24-bit BMP (convert it to PNG to look at it).
bool save_screenshot(const std::wstring& bmp_path);

// The bytes of a file, or nothing when it does not exist.
std::string read_file_bytes(const std::wstring& path);

}  // namespace driver
