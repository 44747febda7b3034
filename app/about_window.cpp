#include "app/about_window.h"

#include "app/bitmap_pixels_win32.h"
#include "app/resource_ids.h"
#include "platform/win32/window_layout.h"

#include <commctrl.h>

namespace app {

namespace {

using platform::win32::ControlKind;
using platform::win32::ControlLayout;

constexpr wchar_t kClassName[] = L"BatchRenameAboutWindow";
constexpr const char* kCaption = "关于";
constexpr int kWindowX = 50, kWindowY = 50, kWindowWidth = 327, kWindowHeight = 232;
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
    {ControlKind::Label, kAboutTitle, "Lanmoor-批量改名", 83, 22, 180, 32, SS_LEFTNOWORDWRAP},
    {ControlKind::Label, kAboutDetails, kDetails, 83, 65, 172, 59},
    {ControlKind::Label, kAboutAuthor, "Lanmoor工作室 编写", 7, 177, 306, 21},
    // A label dressed as a button: raised frame, centred text; SS_NOTIFY lets it receive the press.
    {ControlKind::Label, kAboutOkLabel, "确定", 112, 142, 88, 24, SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY | WS_DLGFRAME},
};

}  // namespace

bool AboutWindow::create(HWND owner) {
    return create_window(kClassName, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, kWindowX, kWindowY,
                         kWindowWidth, kWindowHeight, owner, SW_SHOW);
}

LRESULT AboutWindow::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            on_created();
            return 0;
        case WM_ERASEBKGND:
            erase_background(reinterpret_cast<HDC>(wparam));
            return 1;
        case WM_CTLCOLORSTATIC:
            return paint_label_background(reinterpret_cast<HDC>(wparam));
        default:
            break;
    }
    return WindowBase::on_message(message, wparam, lparam);
}

void AboutWindow::on_created() {
    background_.reset(CreateSolidBrush(kAboutBackground));
    title_font_ = platform::win32::make_font(L"宋体", 21, true);
    details_font_ = platform::win32::make_font(L"宋体", 14, false);
    text_font_ = platform::win32::make_font(L"宋体", 12, false);
    platform::win32::create_controls(hwnd(), kLayout, text_font_.get());
    SendMessageW(control(kAboutTitle), WM_SETFONT, reinterpret_cast<WPARAM>(title_font_.get()), FALSE);
    SendMessageW(control(kAboutDetails), WM_SETFONT, reinterpret_cast<WPARAM>(details_font_.get()), FALSE);

    // The logo is shrunk once, smoothly, rather than stretched at every paint.
    logo_ = load_scaled_bitmap(IDB_ABOUT_LOGO, kLogoSide, kLogoSide);
    SendMessageW(control(kAboutLogo), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_.get()));

    SetWindowSubclass(control(kAboutOkLabel), &AboutWindow::ok_label_subclass_proc, 0,
                      reinterpret_cast<DWORD_PTR>(this));
}

void AboutWindow::erase_background(HDC dc) const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, background_.get());
}

LRESULT AboutWindow::paint_label_background(HDC dc) const {
    // The text cells take the same colour as the brush that fills the rest of the label.
    SetBkColor(dc, kAboutBackground);
    return reinterpret_cast<LRESULT>(background_.get());
}

void AboutWindow::close_about() { DestroyWindow(hwnd()); }

LRESULT CALLBACK AboutWindow::ok_label_subclass_proc(HWND label, UINT message, WPARAM wparam, LPARAM lparam,
                                                     UINT_PTR id, DWORD_PTR ref_data) {
    switch (message) {
        case WM_LBUTTONDOWN:
            // The press itself closes the window, label included: nothing of the label is used afterwards.
            reinterpret_cast<AboutWindow*>(ref_data)->close_about();
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(label, &AboutWindow::ok_label_subclass_proc, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(label, message, wparam, lparam);
}

}  // namespace app
