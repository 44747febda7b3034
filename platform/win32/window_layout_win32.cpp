#include "platform/win32/window_layout.h"

#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace platform::win32 {
namespace {

struct KindStyle {
    const wchar_t* window_class;
    DWORD style;
};

KindStyle style_of(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton: return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP};
        case ControlKind::Label: return {WC_STATICW, SS_LEFT | SS_NOPREFIX};
        case ControlKind::PictureLabel: return {WC_STATICW, SS_BITMAP | SS_REALSIZECONTROL};
        case ControlKind::Edit: return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER};
        case ControlKind::CheckBox: return {WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP};
        case ControlKind::GroupBox: return {WC_BUTTONW, BS_GROUPBOX};
        case ControlKind::DropDownList: return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP};
        case ControlKind::ComboBox: return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP};
        case ControlKind::ListBox:
            return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_BORDER};
        case ControlKind::ListView: return {WC_LISTVIEWW, LVS_REPORT | WS_TABSTOP | WS_BORDER};
        // Placed where its layout row says: an alignment style would move it
        // and shrink its buddy once attached.
        case ControlKind::UpDown: return {UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_ARROWKEYS};
    }
    return {WC_STATICW, 0};
}

// A drop-down list opens below its closed height with room for a dozen rows.
constexpr int kDropDownListRows = 12;

// Gives a drop-down list the closed height of its place. The closed height
// follows the selection field's height by a margin that depends on the
// system's look (and, under Wine, on the field height asked for): step the
// field asked for until the closed height fits. A field never gets lower
// than its font needs, so a drop-down list may stay a little higher than its
// place.
void fit_drop_down(HWND combo, const RECT& place) {
    const int height = place.bottom - place.top;
    int field = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 4; ++attempt) {
        RECT closed{};
        GetWindowRect(combo, &closed);
        int off = height - (closed.bottom - closed.top);
        if (off == 0 || field + off < 1) break;
        field += off;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
    int row = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    SetWindowPos(combo, nullptr, 0, 0, place.right - place.left, height + kDropDownListRows * row + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool FontStyle::operator==(const FontStyle& other) const {
    return std::wcscmp(face, other.face) == 0 && pixel_height == other.pixel_height && bold == other.bold;
}

UniqueFont make_font(const FontStyle& style, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -scale_to_dpi(style.pixel_height, dpi);
    lf.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, style.face, LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&lf));
}

void ControlSet::create(HWND parent, std::span<const ControlLayout> layout, const FontStyle& window_font, int dpi) {
    parent_ = parent;
    layout_ = layout;
    window_font_ = window_font;
    dpi_ = dpi;
    make_fonts();
    for (const ControlLayout& entry : layout_) {
        KindStyle ks = style_of(entry.kind);
        RECT at = place(entry.id);
        std::wstring text = widen(entry.text ? entry.text : "");
        HWND control = CreateWindowExW(0, ks.window_class, text.c_str(), WS_CHILD | WS_VISIBLE | ks.style | entry.extra_style,
                                       at.left, at.top, at.right - at.left, at.bottom - at.top, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                                       GetModuleHandleW(nullptr), nullptr);
        if (!control) continue;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_of(entry.id)), FALSE);
    }
    for (const ControlLayout& entry : layout_) {
        if (entry.kind == ControlKind::DropDownList || entry.kind == ControlKind::ComboBox) {
            fit_drop_down(GetDlgItem(parent_, entry.id), place(entry.id));
        }
    }
    fit_labels();
}

void ControlSet::lay_out(int dpi) {
    dpi_ = dpi;
    // The old fonts stay alive until every control has its new one.
    std::vector<MadeFont> old_fonts = std::move(fonts_);
    make_fonts();
    std::vector<FittedFont> old_fitted = std::move(fitted_);
    for (const ControlLayout& entry : layout_) place_control(entry);
    fit_labels();
}

void ControlSet::place_control(const ControlLayout& entry) const {
    HWND control = GetDlgItem(parent_, entry.id);
    if (!control) return;
    RECT at = place(entry.id);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_of(entry.id)), FALSE);
    SetWindowPos(control, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (entry.kind == ControlKind::DropDownList || entry.kind == ControlKind::ComboBox) fit_drop_down(control, at);
    InvalidateRect(control, nullptr, TRUE);
}

const ControlLayout* ControlSet::row(int id) const {
    auto found = std::find_if(layout_.begin(), layout_.end(), [id](const ControlLayout& r) { return r.id == id; });
    return found == layout_.end() ? nullptr : &*found;
}

RECT ControlSet::place(int id) const {
    const ControlLayout* entry = row(id);
    if (!entry) return RECT{};
    int x = entry->x, y = entry->y;
    if (const ControlLayout* group = entry->group != 0 ? row(entry->group) : nullptr) {
        x += group->x;
        y += group->y;
    }
    int left = scale_to_dpi(x, dpi_), top = scale_to_dpi(y, dpi_);
    return RECT{left, top, left + scale_to_dpi(entry->w, dpi_), top + scale_to_dpi(entry->h, dpi_)};
}

void ControlSet::make_fonts() {
    auto add = [&](const FontStyle& style) {
        for (const MadeFont& made : fonts_) {
            if (made.style == style) return;
        }
        fonts_.push_back({style, make_font(style, dpi_)});
    };
    add(window_font_);
    for (const ControlLayout& entry : layout_) {
        if (entry.font) add(*entry.font);
    }
}

void ControlSet::fit_labels() {
    for (const ControlLayout& entry : layout_) {
        std::wstring text = widen(entry.text ? entry.text : "");
        if (entry.kind != ControlKind::Label || text.empty() || text.find(L'\n') != std::wstring::npos) continue;
        HWND label = GetDlgItem(parent_, entry.id);
        const int width = place(entry.id).right - place(entry.id).left;
        HDC dc = GetDC(label);
        if (!dc) continue;
        HFONT font = font_of(entry.id);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE extent{};
        TEXTMETRICW metrics{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        GetTextMetricsW(dc, &metrics);
        if (extent.cx > width && extent.cx > 0) {
            LOGFONTW narrow_font{};
            GetObjectW(font, sizeof narrow_font, &narrow_font);
            narrow_font.lfWidth = std::max(1L, metrics.tmAveCharWidth * width / extent.cx);
            // The average width only steers the face's scaling: step down until it fits.
            for (int attempt = 0; attempt < 8 && narrow_font.lfWidth > 1; ++attempt) {
                UniqueFont narrowed(CreateFontIndirectW(&narrow_font));
                SelectObject(dc, narrowed.get());
                GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
                SelectObject(dc, font);
                if (extent.cx <= width) {
                    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(narrowed.get()), TRUE);
                    fitted_.push_back({entry.id, std::move(narrowed)});
                    break;
                }
                --narrow_font.lfWidth;
            }
        }
        SelectObject(dc, old);
        ReleaseDC(label, dc);
    }
}

HFONT ControlSet::font_of(int id) const {
    for (const FittedFont& fitted : fitted_) {
        if (fitted.id == id) return fitted.font.get();
    }
    const ControlLayout* entry = row(id);
    const FontStyle& style = entry && entry->font ? *entry->font : window_font_;
    for (const MadeFont& made : fonts_) {
        if (made.style == style) return made.font.get();
    }
    return nullptr;
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
