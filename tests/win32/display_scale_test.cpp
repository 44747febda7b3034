// The four windows at the display scale the tests run at (96, 144 or 192
// DPI, one Wine prefix each): whole, readable, and laid out again when they
// move to a monitor of another scale.
#include "display_scale.h"
#include "main_window_fixture.h"
#include "picker/file_picker_window.h"
#include "platform/win32/text.h"
#include "window_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using platform::win32::widen;

struct DisplayScaleTest : MainWindowFixture {
    // The four windows, opened from the main window as a user opens them.
    struct Opened {
        const char* name;
        HWND window;
    };
    std::vector<Opened> open_all_windows() {
        show_files({"IMG_0001.JPG", "IMG_0002.JPG", "说明.txt"});
        model.status.set_text("共选择 3 个文件");
        std::vector<Opened> windows{{"main", window->hwnd()}};
        open_picker();
        windows.push_back({"picker", picker()});
        driver::click(control(kNumberingButton));
        windows.push_back({"numbering", driver::thread_window_of_class(kNumberingClass)});
        driver::click(control(kAboutButton));
        windows.push_back({"about", driver::thread_window_of_class(kAboutClass)});
        return windows;
    }
};

std::wstring class_of(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return name;
}

std::vector<HWND> children_of(HWND window) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    return children;
}

std::vector<std::wstring> lines_of(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

// The room a control's text has: a label's whole client area, a button's
// less its frame, a check box's less its box.
RECT text_room(HWND control) {
    RECT room{};
    GetClientRect(control, &room);
    if (class_of(control) != L"Button") return room;
    LONG style = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (style == BS_AUTOCHECKBOX || style == BS_CHECKBOX) {
        room.left += scale::px(13 + 4);
    } else if (style != BS_GROUPBOX) {
        InflateRect(&room, -scale::px(2), -scale::px(2));
    }
    return room;
}

bool shows_text(HWND control) {
    std::wstring cls = class_of(control);
    if (cls == L"Static") return (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP;
    return cls == L"Button";
}

}  // namespace

TEST_F(DisplayScaleTest, EveryControlLiesInsideItsWindow) {
    for (const Opened& w : open_all_windows()) {
        ASSERT_NE(w.window, nullptr) << w.name;
        RECT client{};
        GetClientRect(w.window, &client);
        for (HWND c : children_of(w.window)) {
            RECT r = driver::rect_in_parent(c);  // a drop-down list as shown closed
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
                << w.name << ": control " << GetDlgCtrlID(c) << " at " << r.left << "," << r.top << "-" << r.right
                << "," << r.bottom << " in " << client.right << " x " << client.bottom;
        }
    }
}

TEST_F(DisplayScaleTest, EveryLabelsTextFitsItsControlInItsOwnFont) {
    for (const Opened& w : open_all_windows()) {
        ASSERT_NE(w.window, nullptr) << w.name;
        for (HWND c : children_of(w.window)) {
            if (!shows_text(c)) continue;
            std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(c)) + 1, L'\0');
            text.resize(static_cast<std::size_t>(GetWindowTextW(c, text.data(), static_cast<int>(text.size()))));
            if (text.empty()) continue;
            HDC dc = GetDC(c);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc, &metrics);
            RECT room = text_room(c);
            std::vector<std::wstring> lines = lines_of(text);
            for (const std::wstring& line : lines) {
                SIZE extent{};
                GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &extent);
                EXPECT_LE(extent.cx, room.right - room.left)
                    << w.name << ": " << platform::win32::narrow(line) << " at " << scale::screen_dpi() << " DPI";
            }
            EXPECT_LE(static_cast<LONG>(lines.size()) * metrics.tmHeight, room.bottom - room.top)
                << w.name << ": " << platform::win32::narrow(text);
            SelectObject(dc, old);
            ReleaseDC(c, dc);
        }
    }
}

TEST_F(DisplayScaleTest, EveryFontIsADesignedHeightScaled) {
    for (const Opened& w : open_all_windows()) {
        ASSERT_NE(w.window, nullptr) << w.name;
        for (HWND c : children_of(w.window)) {
            std::wstring cls = class_of(c);
            bool has_text =
                shows_text(c) || cls == L"Edit" || cls == L"ListBox" || cls == L"ComboBox" || cls == WC_LISTVIEWW;
            if (!has_text) continue;  // the spinner's arrows and the logo
            auto font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
            bool designed = false;
            for (int height : {12, 14, 16, 21}) designed |= bool(scale::font_height_is(font, height));
            EXPECT_TRUE(designed) << w.name << ": control " << GetDlgCtrlID(c);
        }
    }
}

// Wine gives one DPI to every monitor and never moves a window between
// scales: the test sends the message the system sends on such a move.
TEST_F(DisplayScaleTest, AMoveToAnotherScaleLaysEveryWindowOutAgainKeepingWhatItShows) {
    std::vector<std::string> names;
    for (int k = 1; k <= 60; ++k) names.push_back("IMG_" + std::to_string(1000 + k) + ".JPG");
    show_files(names);
    numbering_window_click(kConfirmRuleButton);
    driver::select_list_view_row(table(), 40);
    ListView_EnsureVisible(table(), 40, FALSE);
    int top_row = ListView_GetTopIndex(table());
    ASSERT_GT(top_row, 0);
    open_picker();
    driver::click(control(kNumberingButton));
    HWND numbering = driver::thread_window_of_class(kNumberingClass);
    SetWindowTextW(GetDlgItem(numbering, kPrefixEdit), L"照片");

    const int from = scale::screen_dpi(), to = from * 2;
    auto move_to = [](HWND w, int dpi, int old_dpi) {
        RECT now = driver::outer_rect(w);
        RECT suggested{now.left, now.top, now.left + MulDiv(now.right - now.left, dpi, old_dpi),
                       now.top + MulDiv(now.bottom - now.top, dpi, old_dpi)};
        SendMessageW(w, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        driver::pump();
    };
    struct Probe {
        HWND window;
        int id;
        int x, y, w, h;  // its 96-DPI place
    };
    const Probe probes[] = {
        {window->hwnd(), kFileTableView, 8, 46, 704, 369},
        {picker(), kFileListBox, 186, 7, 316, 346},
        {numbering, kConfirmRuleButton, 201, 24, 75, 32},
    };
    for (const Probe& p : probes) {
        RECT before{};
        GetClientRect(p.window, &before);
        move_to(p.window, to, from);
        // The client area is the design's at the new scale, whatever frame the system draws there.
        RECT after{};
        GetClientRect(p.window, &after);
        EXPECT_NEAR(after.right, MulDiv(before.right, to, from), 1) << p.id;
        EXPECT_NEAR(after.bottom, MulDiv(before.bottom, to, from), 1) << p.id;
        RECT r = driver::rect_in_parent(GetDlgItem(p.window, p.id));
        EXPECT_NEAR(r.left, MulDiv(p.x, to, 96), 1) << p.id;
        EXPECT_NEAR(r.right - r.left, MulDiv(p.w, to, 96), 1) << p.id;
        EXPECT_NEAR(r.bottom - r.top, MulDiv(p.h, to, 96), 1) << p.id;
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(p.window, p.id), WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_NEAR(-font.lfHeight, MulDiv(p.id == kFileTableView ? 16 : 12, to, 96), 1) << p.id;
    }
    // What the windows showed is still there.
    EXPECT_EQ(ListView_GetColumnWidth(table(), 1), MulDiv(150, to, 96));
    EXPECT_EQ(driver::list_view_rows(table()), 60);
    EXPECT_EQ(driver::list_view_cell(table(), 40, 2), "A041");
    EXPECT_EQ(ListView_GetNextItem(table(), -1, LVNI_SELECTED), 40);
    EXPECT_EQ(ListView_GetTopIndex(table()), top_row);
    EXPECT_EQ(driver::text(GetDlgItem(numbering, kPrefixEdit)), "照片");

    // And back: every place as it was.
    for (const Probe& p : probes) {
        move_to(p.window, from, to);
        EXPECT_TRUE(scale::placed_at(GetDlgItem(p.window, p.id), p.x, p.y, p.w, p.h)) << p.id;
    }
    EXPECT_EQ(ListView_GetColumnWidth(table(), 1), scale::px(150));
}

namespace {

// A frame drawn taller than the system reports it (a caption font taller
// than the caption metric, as in a Wine prefix of a user's own): every window
// of the program made while it lives takes that much more from its client
// area than the frame metrics say.
class TallerFrames {
public:
    // once_shown: the frame grows only after the window is first shown, as
    // where Wine works out the frame it draws itself at that moment.
    explicit TallerFrames(int extra, bool once_shown = false) {
        extra_ = extra;
        once_shown_ = once_shown;
        hook_ = SetWindowsHookExW(WH_CBT, &TallerFrames::on_cbt, nullptr, GetCurrentThreadId());
    }
    ~TallerFrames() { UnhookWindowsHookEx(hook_); }
    TallerFrames(const TallerFrames&) = delete;
    TallerFrames& operator=(const TallerFrames&) = delete;

private:
    static LRESULT CALLBACK on_cbt(int code, WPARAM wparam, LPARAM lparam) {
        if (code == HCBT_CREATEWND) {
            auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lparam);
            if (!(create->lpcs->style & WS_CHILD)) SetWindowSubclass(reinterpret_cast<HWND>(wparam), &frame_proc, 1, 0);
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }
    static LRESULT CALLBACK frame_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR) {
        if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &frame_proc, id);
        if (message == WM_SHOWWINDOW && wparam && once_shown_) PostMessageW(hwnd, kFrameWorkedOut, 0, 0);
        if (message == kFrameWorkedOut) {
            SetPropW(hwnd, L"frame", reinterpret_cast<HANDLE>(1));
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        LRESULT result = DefSubclassProc(hwnd, message, wparam, lparam);
        if (message == WM_NCCALCSIZE && (!once_shown_ || GetPropW(hwnd, L"frame")))
            reinterpret_cast<RECT*>(lparam)->top += extra_;
        if (message == WM_NCDESTROY) RemovePropW(hwnd, L"frame");
        return result;
    }
    static constexpr UINT kFrameWorkedOut = WM_APP + 77;
    static inline int extra_ = 0;
    static inline bool once_shown_ = false;
    HHOOK hook_ = nullptr;
};

}  // namespace

TEST_F(DisplayScaleTest, EveryWindowKeepsItsDesignedClientAreaUnderAFrameTallerThanReported) {
    struct Designed {
        const char* name;
        int w, h;  // outer size at 96 DPI
    };
    const Designed designs[] = {{"main", 728, 472}, {"picker", 515, 463}, {"numbering", 304, 242}, {"about", 327, 232}};
    for (bool once_shown : {false, true}) {
        SCOPED_TRACE(once_shown ? "the frame grows once shown" : "the frame is taller from the start");
        window.reset();
        TallerFrames frames(scale::px(30), once_shown);
        open_main_window();
        std::vector<Opened> opened = open_all_windows();
        driver::pump();
        ASSERT_EQ(opened.size(), std::size(designs));
        for (std::size_t i = 0; i < opened.size(); ++i) {
            EXPECT_TRUE(scale::client_sized(opened[i].window, designs[i].w, designs[i].h)) << designs[i].name;
        }
        // The status line is whole again.
        RECT client{};
        GetClientRect(window->hwnd(), &client);
        EXPECT_LE(driver::rect_in_parent(control(kStatusLabel)).bottom, client.bottom);
    }
}

TEST_F(DisplayScaleTest, EveryWindowShowsTheProgramsIconAtItsSize) {
    // Explorer shows the first icon group of the .exe; the tests carry the same resources.
    EXPECT_NE(FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), RT_GROUP_ICON), nullptr);
    using MetricForDpi = int(WINAPI*)(int, UINT);
    auto metric = reinterpret_cast<MetricForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    ASSERT_NE(metric, nullptr);
    const int small_side = metric(SM_CXSMICON, static_cast<UINT>(scale::screen_dpi()));
    for (const Opened& w : open_all_windows()) {
        ASSERT_NE(w.window, nullptr) << w.name;
        auto icon = reinterpret_cast<HICON>(SendMessageW(w.window, WM_GETICON, ICON_SMALL, 0));
        ASSERT_NE(icon, nullptr) << w.name;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info)) << w.name;
        BITMAP colour{};
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, small_side) << w.name;
        EXPECT_EQ(colour.bmBitsPixel, 32) << w.name;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}
