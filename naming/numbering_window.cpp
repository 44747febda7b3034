#include "naming/numbering_window.h"
#include "platform/win32/window_layout.h"

#include <commctrl.h>

#include <utility>

namespace naming {

namespace {

using platform::win32::ControlKind;
using platform::win32::ControlLayout;
using platform::win32::FontStyle;

constexpr int kStartMaxCharacters = 5;
constexpr int kSpinnerWidth = 16;
constexpr int kIncrementMin = 0, kIncrementMax = 100, kIncrementDefault = 1;

constexpr ControlLayout kLayout[] = {
    {ControlKind::GroupBox, kRuleGroup, "编号规则", 10, 12, 182, 140},
    {ControlKind::Label, kPrefixLabel, "打头字符", 21, 23, 48, 17, 0, kRuleGroup},
    {ControlKind::Edit, kPrefixEdit, "A", 76, 20, 80, 26, 0, kRuleGroup},
    {ControlKind::Label, kStartLabel, "起始编号", 22, 56, 48, 17, 0, kRuleGroup},
    {ControlKind::Edit, kStartEdit, "001", 76, 55, 80, 26, 0, kRuleGroup},
    {ControlKind::Label, kIncrementLabel, "递增量", 22, 92, 48, 17, 0, kRuleGroup},
    // 编辑框3 and its arrows share 63 x 26 pixels; the arrows attach to the box
    // created just before them.
    {ControlKind::Edit, kIncrementEdit, "1", 76, 86, 63 - kSpinnerWidth, 26, 0, kRuleGroup},
    {ControlKind::UpDown, kIncrementSpinner, "", 76 + 63 - kSpinnerWidth, 86, kSpinnerWidth, 26,
     UDS_AUTOBUDDY | UDS_NOTHOUSANDS, kRuleGroup},
    {ControlKind::CheckBox, kCaptureDateCheck, "以图像拍摄日期为文件名", 24, 168, 168, 24},
    // Enter presses 确定.
    {ControlKind::PushButton, kConfirmRuleButton, "确定", 201, 24, 75, 32, BS_DEFPUSHBUTTON},
    {ControlKind::PushButton, kCancelRuleButton, "取消", 201, 96, 75, 32},
    // Its text needs more than the 75 pixels of the buttons above it.
    {ControlKind::PushButton, kMoreRulesButton, "更多规则(&M)…", 201, 164, 88, 28},
};

constexpr platform::win32::WindowDesign kDesign{
    L"BatchRenameNumberingWindow", "自动编号改名",     WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 304, 242, kLayout,
    FontStyle{L"宋体", 12},        kConfirmRuleButton,
};

// Where the window opens, from the owner's top-left corner, at 96 DPI.
constexpr POINT kOffsetFromOwner{60, 80};

}  // namespace

NumberingWindow::NumberingWindow(filelist::AppState& state, CaptureDateBuilder build_capture_date_names,
                                 std::function<void()> on_names_built, std::function<void()> open_more_rules)
    : state_(state),
      build_capture_date_names_(std::move(build_capture_date_names)),
      on_names_built_(std::move(on_names_built)),
      open_more_rules_(std::move(open_more_rules)) {}

bool NumberingWindow::create(HWND owner) { return create_window(kDesign, owner, SW_SHOW, kOffsetFromOwner); }

void NumberingWindow::on_create() {
    SendMessageW(control(kStartEdit), EM_SETLIMITTEXT, kStartMaxCharacters, 0);
    HWND spinner = control(kIncrementSpinner);
    SendMessageW(spinner, UDM_SETRANGE32, kIncrementMin, kIncrementMax);
    SendMessageW(spinner, UDM_SETPOS32, 0, kIncrementDefault);
    place_spinner();
}

void NumberingWindow::on_dpi_changed(int) { place_spinner(); }

void NumberingWindow::place_spinner() {
    // The arrows take the system's width when they attach to their box; they
    // keep the share of 编辑框3's 63 pixels that the layout gives them.
    RECT place = control_place(kIncrementSpinner);
    SetWindowPos(control(kIncrementSpinner), nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void NumberingWindow::on_command(int id, int code) {
    switch (id) {
        case kConfirmRuleButton:
            if (code == BN_CLICKED) confirm_rule();
            break;
        case IDOK:  // Enter where the system gives no default button
            confirm_rule();
            break;
        case kCancelRuleButton:
            if (code == BN_CLICKED) cancel_rule();
            break;
        case kMoreRulesButton:
            if (code == BN_CLICKED && open_more_rules_) open_more_rules_();
            break;
        case IDCANCEL:
            // Esc closes the window as its close box does: the rule stays.
            close();
            break;
        default:
            break;
    }
}

void NumberingWindow::confirm_rule() {
    // A second click while the capture-date builder lets events through would
    // name the rows twice over; names confirmed while a run renames files would
    // show names the run does not use. The window stays open meanwhile.
    if (busy_ || state_.busy()) return;
    busy_ = true;
    RuleChoice choice;
    choice.fields = {platform::win32::window_text(control(kPrefixEdit)),
                     platform::win32::window_text(control(kStartEdit)),
                     platform::win32::window_text(control(kIncrementEdit))};
    choice.capture_date = SendMessageW(control(kCaptureDateCheck), BM_GETCHECK, 0, 0) == BST_CHECKED;
    naming::confirm_rule(state_, choice, build_capture_date_names_);
    busy_ = false;
    if (on_names_built_ && !state_.batch.empty()) on_names_built_();
    close();
}

void NumberingWindow::cancel_rule() {
    naming::cancel_rule(state_);
    close();
}

void NumberingWindow::close() {
    // The window may already be gone: closed from its title bar while the
    // names were being built.
    if (is_open()) DestroyWindow(hwnd());
}

}  // namespace naming
