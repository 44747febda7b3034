#include "app/about_window.h"
#include "app/bitmap_pixels_win32.h"
#include "app/main_window.h"
#include "app/resource_ids.h"
#include "main_window_fixture.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "display_scale.h"
#include "window_driver.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace app;
using namespace filelist;
using namespace naming;
using namespace picker;

namespace {

using platform::win32::widen;

constexpr COLORREF kBackground = RGB(236, 236, 236);

// Top-level windows of this thread owned by owner and showing caption.
std::vector<HWND> owned_windows(HWND owner, const std::string& caption) {
    return driver::thread_windows(
        [&](HWND hwnd) { return GetWindow(hwnd, GW_OWNER) == owner && driver::text(hwnd) == caption; });
}

// True when upper lies above lower among the top-level windows.
bool is_above(HWND upper, HWND lower) {
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == lower) return true;
    }
    return false;
}

// What the screen shows in a part of a window's client area.
PixelImage screen_pixels(HWND window, RECT area) {
    int w = area.right - area.left, h = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    platform::win32::UniqueMemoryDc memory(CreateCompatibleDC(screen));
    platform::win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen, w, h));
    POINT origin{area.left, area.top};
    ClientToScreen(window, &origin);
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory.get(), old);
    ReleaseDC(nullptr, screen);
    return read_bitmap_pixels(bitmap.get()).value_or(PixelImage{});
}

COLORREF pixel(const PixelImage& image, int x, int y) {
    std::size_t at = image.offset(x, y);
    return RGB(image.bgr[at + 2], image.bgr[at + 1], image.bgr[at]);
}

HFONT font_handle(HWND control) { return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)); }

LOGFONTW font_of(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

// Width of a line in 宋体 of the given pixel height, whose Latin letters are
// half as wide as its Chinese characters.
int width_in_song_ti(const std::string& line, int height) {
    int half_cells = 0;
    for (wchar_t c : widen(line)) half_cells += c < 0x80 ? 1 : 2;
    return (half_cells * height + 1) / 2;
}

// A plain window of the test's own, standing in for another window the main
// window has open.
struct PlainOwnedWindow {
    platform::win32::UniqueWindow window;

    explicit PlainOwnedWindow(HWND owner) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"AboutTestPlainWindow";
        RegisterClassExW(&wc);  // fails harmlessly when already registered
        window.reset(CreateWindowExW(0, wc.lpszClassName, L"另一个窗口", WS_OVERLAPPED | WS_CAPTION, 120, 90, 300, 200,
                                     owner, nullptr, wc.hInstance, nullptr));
        ShowWindow(window.get(), SW_SHOW);
        driver::pump();
    }
    HWND get() const { return window.get(); }
};

struct AboutWindowTest : MainWindowFixture {
    HWND main() const { return window->hwnd(); }

    // Presses "关于" and returns the About window it shows.
    HWND open_about() {
        driver::click(control(kAboutButton));
        std::vector<HWND> found = owned_windows(main(), "关于");
        return found.size() == 1 ? found.front() : nullptr;
    }

    // Presses the left mouse button on a control, without releasing it.
    static void press(HWND control) {
        SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        driver::pump();
    }
};

}  // namespace

TEST_F(AboutWindowTest, OpensModelessOverTheMainWindowWithItsLayout) {
    HWND about = open_about();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_TRUE(IsWindowEnabled(main()));  // modeless: the main window stays usable
    EXPECT_EQ(GetWindow(about, GW_OWNER), main());
    EXPECT_TRUE(scale::window_placed_at(about, 50, 50, 327, 232));

    struct Expected {
        int id;
        const char* text;
        int x, y, w, h;
    };
    const Expected controls[] = {
        {kAboutLogo, "", 23, 12, 48, 48},          {kAboutTitle, "Lanmoor-批量改名", 83, 22, 180, 32},
        {kAboutDetails, nullptr, 83, 65, 172, 59}, {kAboutAuthor, "Lanmoor工作室 编写", 7, 177, 306, 21},
        {kAboutOkLabel, "确定", 112, 142, 88, 24},
    };
    RECT client{};
    GetClientRect(about, &client);
    for (const Expected& e : controls) {
        HWND c = GetDlgItem(about, e.id);
        ASSERT_NE(c, nullptr) << e.id;
        EXPECT_TRUE(IsWindowVisible(c)) << e.id;
        if (e.text) {
            EXPECT_EQ(driver::text(c), e.text) << e.id;
        }
        EXPECT_TRUE(scale::placed_at(c, e.x, e.y, e.w, e.h)) << e.id;
        RECT r = driver::rect_in_parent(c);
        EXPECT_LE(r.right, client.right) << e.id;  // nothing is cut off by the frame
        EXPECT_LE(r.bottom, client.bottom) << e.id;
    }
}

TEST_F(AboutWindowTest, DetailsShowTheVersionAndThreeContactLinesThatFit) {
    HWND about = open_about();
    ASSERT_NE(about, nullptr);
    HWND details = GetDlgItem(about, kAboutDetails);
    std::vector<std::string> lines = lines_of(driver::text(details));
    ASSERT_EQ(lines.size(), 4u) << driver::text(details);
    EXPECT_EQ(lines[0], "软件版本:1.5");
    for (std::size_t i = 1; i < 4; ++i) {
        std::size_t colon = lines[i].find(':');
        ASSERT_NE(colon, std::string::npos) << lines[i];
        EXPECT_GT(colon, 0u) << "a prefix names the contact: " << lines[i];
        EXPECT_LT(colon + 1, lines[i].size()) << lines[i];
    }
    EXPECT_NE(lines[2].find("example.com"), std::string::npos);   // the web address is a placeholder
    EXPECT_NE(lines[3].find("@example.com"), std::string::npos);  // and so is the e-mail address

    // In 宋体 a Latin letter takes half the font's height in width, a Chinese
    // character the full height, and a line the height: every line fits the
    // label's width and all four its height, so none wraps or is cut off.
    const int kFontHeight = scale::px(14);
    RECT area{};
    GetClientRect(details, &area);
    for (const std::string& line : lines) {
        EXPECT_LE(width_in_song_ti(line, kFontHeight), area.right) << line;
    }
    EXPECT_LE(4 * kFontHeight, area.bottom);
    RECT title{};
    GetClientRect(GetDlgItem(about, kAboutTitle), &title);
    EXPECT_LE(width_in_song_ti(driver::text(GetDlgItem(about, kAboutTitle)), scale::px(21)), title.right);
}

TEST_F(AboutWindowTest, LabelsUseTheirFonts) {
    HWND about = open_about();
    ASSERT_NE(about, nullptr);
    LOGFONTW title = font_of(GetDlgItem(about, kAboutTitle));
    EXPECT_STREQ(title.lfFaceName, L"宋体");
    EXPECT_TRUE(scale::font_height_is(font_handle(GetDlgItem(about, kAboutTitle)), 21));
    EXPECT_EQ(title.lfWeight, FW_BOLD);
    LOGFONTW details = font_of(GetDlgItem(about, kAboutDetails));
    EXPECT_STREQ(details.lfFaceName, L"宋体");
    EXPECT_TRUE(scale::font_height_is(font_handle(GetDlgItem(about, kAboutDetails)), 14));
    EXPECT_EQ(details.lfWeight, FW_NORMAL);
    for (int id : {kAboutAuthor, kAboutOkLabel}) {
        LOGFONTW font = font_of(GetDlgItem(about, id));
        EXPECT_STREQ(font.lfFaceName, L"宋体") << id;
        EXPECT_TRUE(scale::font_height_is(font_handle(GetDlgItem(about, id)), 12)) << id;
    }
}

TEST_F(AboutWindowTest, WindowAndLabelsHaveTheLightGreyBackground) {
    HWND about = open_about();
    ASSERT_NE(about, nullptr);

    platform::win32::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    for (int id : {kAboutTitle, kAboutDetails, kAboutAuthor, kAboutOkLabel}) {
        SetBkColor(dc.get(), RGB(255, 255, 255));
        auto brush = reinterpret_cast<HBRUSH>(SendMessageW(about, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                                                           reinterpret_cast<LPARAM>(GetDlgItem(about, id))));
        ASSERT_NE(brush, nullptr) << id;
        LOGBRUSH info{};
        ASSERT_EQ(GetObjectW(brush, sizeof info, &info), static_cast<int>(sizeof info)) << id;
        EXPECT_EQ(info.lbStyle, static_cast<UINT>(BS_SOLID)) << id;
        EXPECT_EQ(info.lbColor, kBackground) << id;
        EXPECT_EQ(GetBkColor(dc.get()), kBackground) << "text cells match the label, " << id;
    }

    // The screen shows that colour around the controls, beside the author line's
    // text and around the title's text.
    RECT client{};
    GetClientRect(about, &client);
    PixelImage shown = screen_pixels(about, client);
    ASSERT_TRUE(shown.is_consistent());
    for (auto [x, y] : {std::pair{3, 3}, std::pair{300, 100}, std::pair{300, 190}, std::pair{84, 23}}) {
        EXPECT_EQ(pixel(shown, scale::px(x), scale::px(y)), kBackground) << x << "," << y;
    }
}

TEST_F(AboutWindowTest, LogoResourceIsA120By120TrueColourBitmap) {
    HRSRC found = FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_ABOUT_LOGO), RT_BITMAP);
    ASSERT_NE(found, nullptr);
    DWORD size = SizeofResource(GetModuleHandleW(nullptr), found);
    HGLOBAL loaded = LoadResource(GetModuleHandleW(nullptr), found);
    ASSERT_NE(loaded, nullptr);
    ASSERT_GE(size, sizeof(BITMAPINFOHEADER));
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(loaded));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biSize, 40u);
    EXPECT_EQ(header->biWidth, 120);
    EXPECT_EQ(header->biHeight, 120);  // positive: rows from the bottom up
    EXPECT_EQ(header->biPlanes, 1);
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(header->biSizeImage, 43202u);
    EXPECT_EQ(header->biXPelsPerMeter, 11808);
    EXPECT_EQ(header->biYPelsPerMeter, 11808);
    // The resource holds the file without its 14-byte file header.
    EXPECT_EQ(size, 40u + 43202u);
    EXPECT_EQ(sizeof(BITMAPFILEHEADER) + size, 43256u);
}

TEST_F(AboutWindowTest, LogoIsShownShrunkIntoItsSquare) {
    HWND about = open_about();
    ASSERT_NE(about, nullptr);
    HWND logo_label = GetDlgItem(about, kAboutLogo);
    auto logo = reinterpret_cast<HBITMAP>(SendMessageW(logo_label, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(logo, nullptr);
    std::optional<PixelImage> logo_pixels = read_bitmap_pixels(logo);
    ASSERT_TRUE(logo_pixels);
    const int side = scale::px(48);
    EXPECT_EQ(logo_pixels->width, side);
    EXPECT_EQ(logo_pixels->height, side);

    // The screen shows the whole shrunk logo in the label's square, pixel for pixel.
    PixelImage shown = screen_pixels(about, driver::rect_in_parent(logo_label));
    ASSERT_EQ(shown.width, side);
    ASSERT_EQ(shown.height, side);
    EXPECT_TRUE(shown == *logo_pixels);
    std::set<COLORREF> colours;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) colours.insert(pixel(shown, x, y));
    }
    EXPECT_GT(colours.size(), 8u) << "the square is not blank";
    EXPECT_EQ(pixel(shown, 0, 0), kBackground);  // the logo's corner blends into the window
    // Shrinking smooths the edges: colours appear that the drawn logo does not hold.
    std::set<COLORREF> solid = {kBackground, RGB(38, 99, 178), RGB(22, 52, 104), RGB(255, 255, 255)};
    bool blended = false;
    for (COLORREF c : colours) blended |= !solid.count(c);
    EXPECT_TRUE(blended);
}

TEST_F(AboutWindowTest, PressingOkClosesOnlyTheAboutWindow) {
    show_files({"a.jpg", "b.jpg"});
    model.status.set_text("共选择 2 个文件");
    PlainOwnedWindow other(main());
    HWND about = open_about();
    ASSERT_NE(about, nullptr);
    HWND ok = GetDlgItem(about, kAboutOkLabel);

    // A press at the label's middle lands on the label itself, not on the window behind it.
    RECT r{};
    GetWindowRect(ok, &r);
    EXPECT_EQ(WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}), ok);

    RECT main_rect = driver::outer_rect(main());
    RECT other_rect = driver::outer_rect(other.get());
    press(ok);  // the press alone closes it; no release follows

    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(owned_windows(main(), "关于").empty());
    ASSERT_TRUE(window->is_open());
    EXPECT_TRUE(IsWindowVisible(main()));
    EXPECT_TRUE(IsWindowEnabled(main()));
    RECT main_after = driver::outer_rect(main());
    EXPECT_TRUE(EqualRect(&main_rect, &main_after));
    EXPECT_EQ(driver::text(main()), "Lanmoor-批量文件改名1.5");
    EXPECT_EQ(driver::list_view_rows(table()), 2);
    EXPECT_EQ(status(), "共选择 2 个文件");
    EXPECT_EQ(model.state.batch.file_names().size(), 2u);
    ASSERT_TRUE(IsWindow(other.get()));
    EXPECT_TRUE(IsWindowVisible(other.get()));
    RECT other_after = driver::outer_rect(other.get());
    EXPECT_TRUE(EqualRect(&other_rect, &other_after));
    EXPECT_EQ(driver::text(other.get()), "另一个窗口");

    // "关于" opens it afresh.
    HWND again = open_about();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(IsWindowVisible(again));
    EXPECT_EQ(driver::text(GetDlgItem(again, kAboutOkLabel)), "确定");
}

TEST_F(AboutWindowTest, SecondAboutClickBringsTheOpenWindowForward) {
    HWND about = open_about();
    ASSERT_NE(about, nullptr);
    PlainOwnedWindow other(main());
    SetForegroundWindow(other.get());
    driver::pump();
    ASSERT_TRUE(is_above(other.get(), about));

    driver::click(control(kAboutButton));
    std::vector<HWND> found = owned_windows(main(), "关于");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front(), about);
    EXPECT_TRUE(is_above(about, other.get()));
    EXPECT_EQ(GetForegroundWindow(), about);
}

TEST_F(AboutWindowTest, ClosingTheMainWindowTakesTheAboutWindowAlong) {
    HWND about = open_about();
    ASSERT_NE(about, nullptr);
    driver::click(control(kExitButton));
    EXPECT_FALSE(window->is_open());
    EXPECT_FALSE(IsWindow(about));
}

// Run with --gtest_also_run_disabled_tests to look at the window as a user would.
TEST_F(AboutWindowTest, DISABLED_Screenshot) {
    ASSERT_NE(open_about(), nullptr);
    EXPECT_TRUE(driver::save_screenshot(L"about-window.bmp"));
}
