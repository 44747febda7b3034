#include "app/naming_rule_window.h"

#include "app/window_progress.h"
#include "platform/win32/message_box.h"
#include "platform/win32/list_view.h"
#include "platform/win32/text.h"
#include "platform/win32/window_layout.h"

#include <array>
#include <utility>

namespace app {
namespace {

using platform::win32::ControlKind;
using platform::win32::ControlLayout;
using platform::win32::FontStyle;

constexpr ControlLayout kLayout[] = {
    {ControlKind::Label, kTemplateLabel, "模板", 12, 15, 52, 17},
    {ControlKind::Edit, kTemplateEdit, "", 70, 11, 300, 24},
    {ControlKind::Label, kTemplateErrorLine, "", 70, 38, 480, 17},
    {ControlKind::Label, kCounterStartLabel, "起始", 12, 64, 52, 17},
    {ControlKind::Edit, kCounterStartEdit, "1", 70, 60, 70, 24},
    {ControlKind::Label, kCounterStepLabel, "步长", 156, 64, 36, 17},
    {ControlKind::Edit, kCounterStepEdit, "1", 196, 60, 60, 24},
    {ControlKind::Label, kCounterDigitsLabel, "位数", 272, 64, 36, 17},
    {ControlKind::Edit, kCounterDigitsEdit, "3", 312, 60, 40, 24},
    {ControlKind::Label, kDateSourceLabel, "日期来源", 12, 98, 52, 17},
    {ControlKind::DropDownList, kDateSourceList, "", 70, 94, 220, 24},
    {ControlKind::Label, kClockCorrectionLabel, "时间校正", 310, 98, 52, 17},
    {ControlKind::Edit, kClockCorrectionEdit, "", 368, 94, 100, 24},
    {ControlKind::Label, kFindLabel, "查找", 12, 132, 52, 17},
    {ControlKind::Edit, kFindEdit, "", 70, 128, 180, 24},
    {ControlKind::Label, kReplaceLabel, "替换为", 266, 132, 48, 17},
    {ControlKind::Edit, kReplaceEdit, "", 318, 128, 150, 24},
    {ControlKind::CheckBox, kMatchCaseCheck, "区分大小写", 70, 158, 100, 24},
    {ControlKind::CheckBox, kRegexCheck, "正则表达式", 176, 158, 100, 24},
    {ControlKind::Label, kLetterCaseLabel, "大小写", 12, 196, 52, 17},
    {ControlKind::DropDownList, kLetterCaseList, "", 70, 192, 120, 24},
    {ControlKind::CheckBox, kLowerExtensionCheck, "后缀名小写", 206, 192, 120, 24},
    {ControlKind::Label, kSavedRulesLabel, "已存规则", 12, 230, 52, 17},
    {ControlKind::ComboBox, kSavedRulesBox, "", 70, 226, 200, 24},
    {ControlKind::PushButton, kSaveRuleButton, "保存规则", 280, 224, 80, 28},
    {ControlKind::PushButton, kDeleteRuleButton, "删除规则", 368, 224, 80, 28},
    {ControlKind::CheckBox, kNumberClashesCheck, "同名时加序号", 12, 260, 140, 24},
    {ControlKind::CheckBox, kGroupPairsCheck, "同名不同后缀视为一组", 160, 260, 220, 24},
    {ControlKind::ListView, kPreviewList, "", 12, 290, 540, 224, LVS_OWNERDATA | LVS_SHOWSELALWAYS},
    {ControlKind::Label, kProgressLine, "", 12, 530, 330, 17},
    // Enter presses 确定.
    {ControlKind::PushButton, kConfirmNamingButton, "确定", 384, 524, 80, 30, BS_DEFPUSHBUTTON},
    {ControlKind::PushButton, kCancelNamingButton, "取消", 472, 524, 80, 30},
};

constexpr platform::win32::WindowDesign kDesign{
    L"BatchRenameNamingRuleWindow",
    "命名规则",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
    0,
    0,
    580,
    600,
    kLayout,
    FontStyle{L"宋体", 12},
    kConfirmNamingButton,
};

constexpr POINT kOffsetFromOwner{80, 60};

// The template the window opens with: a photo's date and time, which a
// burst's frames get apart by the numbers after them.
constexpr const char* kFirstTemplate = "[YMD]_[hms]";

// The 日期来源 items, in the order of naming::DateSource.
constexpr std::array<const char*, 3> kDateSources = {"拍摄日期", "修改日期", "拍摄日期，没有时用修改日期"};
// The 大小写 items, in the order of naming::LetterCase.
constexpr std::array<const char*, 4> kLetterCases = {"不变", "小写", "大写", "首字母大写"};

constexpr std::array<platform::win32::ListColumn, 3> kPreviewColumns = {
    {{"原名称", 200}, {"新名称", 200}, {"说明", 116}}};

constexpr COLORREF kFailingColour = RGB(204, 0, 0);

enum DeferredTask : int { kRefreshPreview = 1 };

// Capture dates are read with the window answering; the progress line counts them.
class DateReadingProgress final : public WindowProgress {
public:
    DateReadingProgress(HWND line, std::size_t total) : line_(line), total_(total) {}
    bool on_row(std::size_t row, const filelist::RowOutcome& outcome) override {
        if (row % 32 == 0 || row + 1 == total_) {
            platform::win32::set_window_text(
                line_, "正在读取拍摄日期 " + std::to_string(row + 1) + "/" + std::to_string(total_));
        }
        return WindowProgress::on_row(row, outcome);
    }

private:
    HWND line_;
    std::size_t total_;
};

bool is_checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void check(HWND box, bool on) { SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

void fill_list(HWND combo, const std::vector<std::string>& items) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::win32::widen(item).c_str()));
    }
}

int chosen(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

std::string trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    while (!text.empty() && text.front() == ' ') text.erase(text.begin());
    return text;
}

}  // namespace

NamingRuleWindow::NamingRuleWindow(MainCommands& commands, filelist::AppState& state,
                                   std::function<void()> on_confirmed, std::string saved_rules_path)
    : commands_(commands),
      state_(state),
      on_confirmed_(std::move(on_confirmed)),
      saved_rules_(std::move(saved_rules_path)) {}

bool NamingRuleWindow::create(HWND owner) { return create_window(kDesign, owner, SW_SHOW, kOffsetFromOwner); }

void NamingRuleWindow::on_create() {
    fill_list(control(kDateSourceList), {kDateSources.begin(), kDateSources.end()});
    fill_list(control(kLetterCaseList), {kLetterCases.begin(), kLetterCases.end()});
    naming::NameRuleFields first;
    first.template_text = kFirstTemplate;
    show_fields(first);
    saved_rules_.load();
    list_saved_rules("");
    platform::win32::add_list_view_columns(control(kPreviewList), kPreviewColumns, dpi(),
                                           LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    columns_dpi_ = dpi();
    preview_.take_rows(state_.batch);
    // Dates are read once the window is up, with its events answered.
    request_refresh();
    SetFocus(control(kTemplateEdit));
}

void NamingRuleWindow::on_dpi_changed(int dpi) {
    HWND view = control(kPreviewList);
    for (int i = 0; i < static_cast<int>(kPreviewColumns.size()); ++i)
        ListView_SetColumnWidth(view, i, MulDiv(ListView_GetColumnWidth(view, i), dpi, columns_dpi_));
    columns_dpi_ = dpi;
}

void NamingRuleWindow::on_command(int id, int code) {
    switch (id) {
        case kTemplateEdit:
        case kCounterStartEdit:
        case kCounterStepEdit:
        case kCounterDigitsEdit:
        case kClockCorrectionEdit:
        case kFindEdit:
        case kReplaceEdit:
            // Typed or set by a program alike.
            if (code == EN_CHANGE) request_refresh();
            break;
        case kDateSourceList:
        case kLetterCaseList:
            if (code == CBN_SELCHANGE) request_refresh();
            break;
        case kSavedRulesBox:
            if (code == CBN_SELCHANGE) on_saved_rule_chosen();
            break;
        case kSaveRuleButton:
            if (code == BN_CLICKED) on_save_rule_clicked();
            break;
        case kDeleteRuleButton:
            if (code == BN_CLICKED) on_delete_rule_clicked();
            break;
        case kNumberClashesCheck:
        case kGroupPairsCheck:
        case kMatchCaseCheck:
        case kRegexCheck:
        case kLowerExtensionCheck:
            if (code == BN_CLICKED) request_refresh();
            break;
        case kConfirmNamingButton:
            if (code == BN_CLICKED) on_confirm_clicked();
            break;
        case IDOK:
            on_confirm_clicked();
            break;
        case kCancelNamingButton:
        case IDCANCEL:
            if (is_open()) DestroyWindow(hwnd());
            break;
        default:
            break;
    }
}

void NamingRuleWindow::request_refresh() {
    // A burst of changes is one refresh.
    if (refresh_requested_) return;
    refresh_requested_ = true;
    post_deferred(kRefreshPreview);
}

void NamingRuleWindow::on_deferred(int task) {
    if (task != kRefreshPreview) return;
    refresh_requested_ = false;
    refresh_preview();
}

naming::NameRuleFields NamingRuleWindow::fields() const {
    using platform::win32::window_text;
    naming::NameRuleFields f;
    f.template_text = window_text(control(kTemplateEdit));
    f.counter_start = window_text(control(kCounterStartEdit));
    f.counter_step = window_text(control(kCounterStepEdit));
    f.counter_digits = window_text(control(kCounterDigitsEdit));
    const auto source = SendMessageW(control(kDateSourceList), CB_GETCURSEL, 0, 0);
    f.date_source = source == 1 ? naming::DateSource::Modified
                                : (source == 2 ? naming::DateSource::CaptureElseModified : naming::DateSource::Capture);
    f.clock_correction = window_text(control(kClockCorrectionEdit));
    f.number_clashes = is_checked(control(kNumberClashesCheck));
    f.group_pairs = is_checked(control(kGroupPairsCheck));
    f.find_text = window_text(control(kFindEdit));
    f.replace_text = window_text(control(kReplaceEdit));
    f.match_case = is_checked(control(kMatchCaseCheck));
    f.use_regex = is_checked(control(kRegexCheck));
    const int letter_case = chosen(control(kLetterCaseList));
    f.letter_case = static_cast<naming::LetterCase>(letter_case < 0 ? 0 : letter_case);
    f.lower_extension = is_checked(control(kLowerExtensionCheck));
    return f;
}

void NamingRuleWindow::show_fields(const naming::NameRuleFields& f) {
    using platform::win32::set_window_text;
    set_window_text(control(kTemplateEdit), f.template_text);
    set_window_text(control(kCounterStartEdit), f.counter_start);
    set_window_text(control(kCounterStepEdit), f.counter_step);
    set_window_text(control(kCounterDigitsEdit), f.counter_digits);
    SendMessageW(control(kDateSourceList), CB_SETCURSEL, static_cast<WPARAM>(f.date_source), 0);
    set_window_text(control(kClockCorrectionEdit), f.clock_correction);
    set_window_text(control(kFindEdit), f.find_text);
    set_window_text(control(kReplaceEdit), f.replace_text);
    check(control(kMatchCaseCheck), f.match_case);
    check(control(kRegexCheck), f.use_regex);
    SendMessageW(control(kLetterCaseList), CB_SETCURSEL, static_cast<WPARAM>(f.letter_case), 0);
    check(control(kLowerExtensionCheck), f.lower_extension);
    check(control(kNumberClashesCheck), f.number_clashes);
    check(control(kGroupPairsCheck), f.group_pairs);
    request_refresh();
}

void NamingRuleWindow::list_saved_rules(const std::string& shown_name) {
    HWND box = control(kSavedRulesBox);
    fill_list(box, saved_rules_.names());
    platform::win32::set_window_text(box, shown_name);
}

void NamingRuleWindow::on_saved_rule_chosen() {
    HWND box = control(kSavedRulesBox);
    const int index = chosen(box);
    const std::vector<std::string> names = saved_rules_.names();
    if (index < 0 || static_cast<std::size_t>(index) >= names.size()) return;
    if (std::optional<naming::NameRuleFields> f = saved_rules_.find(names[static_cast<std::size_t>(index)])) {
        show_fields(*f);
    }
}

void NamingRuleWindow::on_save_rule_clicked() {
    using platform::win32::MessageKind;
    const std::string name = trimmed(platform::win32::window_text(control(kSavedRulesBox)));
    if (name.empty()) {
        platform::win32::show_message(hwnd(), "请输入规则名称", MessageKind::Warning);
        return;
    }
    if (saved_rules_.find(name) && !platform::win32::ask_yes_no(hwnd(), "已有名为“" + name + "”的规则，要替换它吗？")) {
        return;
    }
    if (!saved_rules_.save(name, fields())) {
        platform::win32::show_message(hwnd(), "规则未能保存：" + saved_rules_.path(), MessageKind::Error);
        return;
    }
    list_saved_rules(name);
}

void NamingRuleWindow::on_delete_rule_clicked() {
    using platform::win32::MessageKind;
    const std::string name = trimmed(platform::win32::window_text(control(kSavedRulesBox)));
    if (!saved_rules_.find(name)) {
        platform::win32::show_message(hwnd(), "请先选择要删除的规则", MessageKind::Warning);
        return;
    }
    if (!platform::win32::ask_yes_no(hwnd(), "要删除规则“" + name + "”吗？")) return;
    if (!saved_rules_.remove(name)) {
        platform::win32::show_message(hwnd(), "规则未能删除：" + saved_rules_.path(), MessageKind::Error);
        return;
    }
    list_saved_rules("");
}

void NamingRuleWindow::read_dates_if_needed(const naming::NameRuleFields& f) {
    if (reading_dates_ || preview_.has_capture_dates() || f.date_source == naming::DateSource::Modified) return;
    naming::TemplateParse parse = naming::parse_template(f.template_text);
    if (!parse.parsed || !parse.parsed->uses_date) return;
    reading_dates_ = true;
    HWND line = control(kProgressLine);
    DateReadingProgress progress(line, preview_.size());
    std::optional<std::vector<std::string>> dates = commands_.capture_dates(progress);
    reading_dates_ = false;
    if (!is_open()) return;
    platform::win32::set_window_text(line, "");
    if (dates) preview_.set_capture_dates(*dates);
}

void NamingRuleWindow::refresh_preview() {
    if (reading_dates_ || !is_open()) return;  // the read's end refreshes with the fields as they are then
    if (!preview_.holds(state_.batch)) preview_.take_rows(state_.batch);  // other files were chosen meanwhile
    read_dates_if_needed(fields());
    if (!is_open()) return;
    const bool good = preview_.update(fields());
    platform::win32::set_window_text(control(kTemplateErrorLine), preview_.error());
    if (good) {
        HWND list = control(kPreviewList);
        ListView_SetItemCountEx(list, static_cast<int>(preview_.size()), LVSICF_NOSCROLL);
        InvalidateRect(list, nullptr, FALSE);
    }
    if (confirm_after_reading_) {
        confirm_after_reading_ = false;
        on_confirm_clicked();
    }
}

void NamingRuleWindow::on_confirm_clicked() {
    if (reading_dates_) {  // 确定 waits for the dates
        confirm_after_reading_ = true;
        return;
    }
    if (!is_open()) return;
    if (!preview_.holds(state_.batch)) preview_.take_rows(state_.batch);
    read_dates_if_needed(fields());
    if (!is_open() || !preview_.holds(state_.batch) || !preview_.update(fields())) return;
    if (!commands_.apply_names(preview_.new_base_names(), preview_.new_extensions()))
        return;  // a run or an undo is under way
    if (on_confirmed_) on_confirmed_();
    if (is_open()) DestroyWindow(hwnd());
}

LRESULT NamingRuleWindow::on_notify(const NMHDR& header) {
    if (header.idFrom != kPreviewList) return 0;
    NMHDR& mutable_header = const_cast<NMHDR&>(header);
    if (header.code == LVN_GETDISPINFOW) {
        auto& info = reinterpret_cast<NMLVDISPINFOW&>(mutable_header);
        if (!(info.item.mask & LVIF_TEXT)) return 0;
        const auto row = static_cast<std::size_t>(info.item.iItem);
        const std::string text = info.item.iSubItem == 0   ? preview_.old_name(row)
                                 : info.item.iSubItem == 1 ? preview_.new_name(row)
                                                           : preview_.note(row);
        platform::win32::copy_to_list_view(text, info.item.pszText, info.item.cchTextMax);
        return 0;
    }
    if (header.code == NM_CUSTOMDRAW) return draw_row(reinterpret_cast<NMLVCUSTOMDRAW&>(mutable_header));
    return 0;
}

LRESULT NamingRuleWindow::draw_row(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT &&
        preview_.failing(static_cast<std::size_t>(draw.nmcd.dwItemSpec))) {
        draw.clrText = kFailingColour;
    }
    return CDRF_DODEFAULT;
}

}  // namespace app
