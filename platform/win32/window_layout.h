#pragma once

#include "platform/win32/handles.h"

#include <windows.h>

#include <span>
#include <string>
#include <vector>

// Windows are described by a table of controls and created from it in a loop,
// so the code reads like the layout it draws. The table is in pixels at 96
// DPI; the controls are placed, and their fonts made, at the window's DPI, and
// laid out again from the same table when the DPI changes.
namespace platform::win32 {

enum class ControlKind {
    PushButton,
    Label,
    PictureLabel,
    Edit,
    CheckBox,
    GroupBox,
    DropDownList,
    ComboBox,  // a drop-down list the user can also type into
    ListBox,
    ListView,
    UpDown,
};

// A font by face, pixel height at 96 DPI and weight.
struct FontStyle {
    const wchar_t* face;
    int pixel_height;
    bool bold = false;

    bool operator==(const FontStyle& other) const;
};

struct ControlLayout {
    ControlKind kind;
    int id;
    const char* text;  // UTF-8
    int x, y, w, h;    // client pixels at 96 DPI; inside `group`, relative to that group box
    DWORD extra_style = 0;
    int group = 0;                  // id of the group box the position is relative to, or 0
    const FontStyle* font = nullptr;  // null for the window's own font
};

// The controls of one window, made from its table. Owns the fonts they are
// drawn with, one per font of the table, made for the current DPI.
class ControlSet {
public:
    ControlSet() = default;
    ControlSet(const ControlSet&) = delete;
    ControlSet& operator=(const ControlSet&) = delete;

    // Creates every control of the table as a child of parent, in table
    // order (which is also the order Tab moves in).
    void create(HWND parent, std::span<const ControlLayout> layout, const FontStyle& window_font, int dpi);

    // Places every control again at dpi and gives each its font made for dpi.
    // Texts, selections and contents stay.
    //
    // A one-line label whose text is wider than its place in its font (a face
    // that stands in for a missing one may run wider) gets the same font a
    // little narrower, just enough for the text to fit.
    void lay_out(int dpi);

    // Where the control of this id goes at the current DPI, in the parent's
    // client area; empty for an id not in the table.
    RECT place(int id) const;
    HFONT font_of(int id) const;

private:
    const ControlLayout* row(int id) const;
    void make_fonts();
    void fit_labels();
    void place_control(const ControlLayout& row) const;

    struct MadeFont {
        FontStyle style;
        UniqueFont font;
    };
    HWND parent_ = nullptr;
    std::span<const ControlLayout> layout_;
    FontStyle window_font_{L"", 0};
    int dpi_ = 96;
    std::vector<MadeFont> fonts_;
    // Narrowed fonts of one-line labels whose text would not fit otherwise.
    struct FittedFont {
        int id;
        UniqueFont font;
    };
    std::vector<FittedFont> fitted_;
};

// A font of the given face and pixel height, in the GB2312 character set so
// that Chinese text finds its glyphs even where the face itself is missing.
UniqueFont make_font(const FontStyle& style, int dpi);

// UTF-8 text of a window or control.
std::string window_text(HWND hwnd);
void set_window_text(HWND hwnd, const std::string& text);

}  // namespace platform::win32
