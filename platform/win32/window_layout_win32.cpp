#include "platform/win32/window_layout.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

#include <commctrl.h>

#include <string>

namespace platform::win32 {
namespace {

struct KindStyle {
    const wchar_t* window_class;
    DWORD style;
    DWORD ex_style;
};

KindStyle style_of(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton: return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::Label: return {WC_STATICW, SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::PictureLabel: return {WC_STATICW, SS_BITMAP | SS_REALSIZECONTROL, 0};
        case ControlKind::Edit: return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, 0};
        case ControlKind::CheckBox: return {WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP, 0};
        case ControlKind::GroupBox: return {WC_BUTTONW, BS_GROUPBOX, 0};
        case ControlKind::DropDownList: return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::ListBox:
            return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_BORDER, 0};
        case ControlKind::ListView:
            return {WC_LISTVIEWW, LVS_REPORT | WS_TABSTOP | WS_BORDER, 0};
        // Placed where its layout row says: an alignment style would move it
        // and shrink its buddy once attached.
        case ControlKind::UpDown: return {UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_ARROWKEYS, 0};
    }
    return {WC_STATICW, 0, 0};
}

}  // namespace

UniqueFont make_font(const wchar_t* face, int pixel_height, bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = -pixel_height;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&lf));
}

void create_controls(HWND parent, std::span<const ControlLayout> layout, HFONT font) {
    for (const ControlLayout& entry : layout) {
        int x = entry.x;
        int y = entry.y;
        if (entry.group != 0) {
            for (const ControlLayout& g : layout) {
                if (g.id == entry.group) {
                    x += g.x;
                    y += g.y;
                    break;
                }
            }
        }
        KindStyle ks = style_of(entry.kind);
        std::wstring text = widen(entry.text ? entry.text : "");
        HWND control = CreateWindowExW(ks.ex_style, ks.window_class, text.c_str(),
                                       WS_CHILD | WS_VISIBLE | ks.style | entry.extra_style, x, y, entry.w, entry.h,
                                       parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                                       GetModuleHandleW(nullptr), nullptr);
        if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

HWND create_top_level(const wchar_t* window_class, const char* caption, DWORD style, int x, int y, int w, int h,
                      HWND owner, void* create_param) {
    return CreateWindowExW(0, window_class, widen(caption).c_str(), style, x, y, w, h, owner, nullptr,
                           GetModuleHandleW(nullptr), create_param);
}

std::string window_text(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    return narrow(text);
}

void set_window_text(HWND hwnd, const std::string& text) { SetWindowTextW(hwnd, widen(text).c_str()); }

}  // namespace platform::win32
