#include "app/about_window.h"

#include "app/bitmap_pixels_win32.h"
#include "app/resource_ids.h"
#include "platform/win32/window_layout.h"

#include <commctrl.h>

#include <utility>

namespace app {

namespace {

using platform::win32::ControlKind;
using platform::win32::ControlLayout;

using platform::win32::FontStyle;

constexpr FontStyle kTitleFont{L"宋体", 21, true};
constexpr FontStyle kDetailsFont{L"宋体", 14};
constexpr int kLogoSide = 48;

// The contact values are placeholders until the studio publishes real ones.
constexpr const char* kDetails =
    "软件版本:1.5\r\n"
    "QQ:123456789\r\n"
    "网址:www.example.com\r\n"
    "邮箱:info@example.com";

constexpr ControlLayout kLayout[] = {
    {ControlKind::PictureLabel, kAboutLogo, "", 23, 12, kLogoSide, kLogoSide},
    // One line: where a wider substitute for 宋体 is drawn, the end is clipped rather than wrapped.
    {ControlKind::Label, kAboutTitle, "Lanmoor-批量改名", 83, 22, 180, 32, SS_LEFTNOWORDWRAP, 0, &kTitleFont},
    {ControlKind::Label, kAboutDetails, kDetails, 83, 65, 172, 59, 0, 0, &kDetailsFont},
    {ControlKind::Label, kAboutAuthor, "Lanmoor工作室 编写", 7, 177, 306, 21},
    // A label dressed as a button: raised frame, centred text; SS_NOTIFY lets it receive the press.
    {ControlKind::Label, kAboutOkLabel, "确定", 112, 142, 88, 24, SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY | WS_DLGFRAME},
};

constexpr platform::win32::WindowDesign kDesign{
    L"BatchRenameAboutWindow",
    "关于",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
    50, 50, 327, 232,
    kLayout,
    FontStyle{L"宋体", 12},
};

}  // namespace

bool AboutWindow::create(HWND owner) { return create_window(kDesign, owner, SW_SHOW); }

void AboutWindow::on_create() {
    background_.reset(CreateSolidBrush(kAboutBackground));
    show_logo();
    watch_presses(kAboutOkLabel, [this] { close_about(); });
}

void AboutWindow::on_dpi_changed(int) { show_logo(); }

void AboutWindow::show_logo() {
    // Drawn once per scale from the 120 x 120 source, smoothly, rather than
    // stretched at every paint.
    platform::win32::UniqueBitmap logo = load_scaled_bitmap(IDB_ABOUT_LOGO, scaled(kLogoSide), scaled(kLogoSide));
    SendMessageW(control(kAboutLogo), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo.get()));
    // The label no longer shows the old picture, which may go now.
    logo_ = std::move(logo);
}

bool AboutWindow::on_key(const platform::win32::KeyPress& key) {
    if (key.key != VK_ESCAPE && key.key != VK_RETURN && key.key != VK_SPACE) return false;
    close_about();
    return true;
}

bool AboutWindow::paint_background(HDC dc) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, background_.get());
    return true;
}

HBRUSH AboutWindow::label_background(HDC dc, HWND) {
    // The text cells take the same colour as the brush that fills the rest of the label.
    SetBkColor(dc, kAboutBackground);
    return background_.get();
}

void AboutWindow::close_about() { DestroyWindow(hwnd()); }

}  // namespace app
