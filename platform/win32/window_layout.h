#pragma once

#include <windows.h>

#include <span>
#include <string>

// Windows are described by a table of controls and created from it in a loop,
// so the code reads like the layout it draws.
namespace platform::win32 {

enum class ControlKind {
    PushButton,
    Label,
    PictureLabel,
    Edit,
    CheckBox,
    GroupBox,
    DropDownList,
    ListBox,
    ListView,
    UpDown,
};

struct ControlLayout {
    ControlKind kind;
    int id;
    const char* text;  // UTF-8
    int x, y, w, h;    // client pixels; inside `group`, relative to that group box
    DWORD extra_style = 0;
    int group = 0;     // id of the group box the position is relative to, or 0
};

// Creates every control of the table as a child of parent, in table order,
// each with the given font (when not null).
void create_controls(HWND parent, std::span<const ControlLayout> layout, HFONT font);

// Creates a top-level window of a registered class at (x, y) with the outer
// size w x h and the UTF-8 caption.
HWND create_top_level(const wchar_t* window_class, const char* caption, DWORD style, int x, int y, int w, int h,
                      HWND owner, void* create_param);

// UTF-8 text of a window or control.
std::string window_text(HWND hwnd);
void set_window_text(HWND hwnd, const std::string& text);

}  // namespace platform::win32
