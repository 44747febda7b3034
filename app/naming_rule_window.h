#pragma once

#include "app/main_commands.h"
#include "app/rule_preview.h"
#include "naming/saved_rules.h"
#include "platform/win32/window_base.h"

#include <windows.h>

#include <functional>

namespace app {

// Control ids of the 命名规则 window, in its tab order.
enum NamingRuleControl : int {
    kTemplateLabel = 600,  // 模板
    kTemplateEdit,
    kTemplateErrorLine,  // what is wrong with the fields, and where
    kCounterStartLabel,  // 起始
    kCounterStartEdit,
    kCounterStepLabel,  // 步长
    kCounterStepEdit,
    kCounterDigitsLabel,  // 位数
    kCounterDigitsEdit,
    kDateSourceLabel,  // 日期来源
    kDateSourceList,
    kClockCorrectionLabel,  // 时间校正
    kClockCorrectionEdit,
    kFindLabel,  // 查找
    kFindEdit,
    kReplaceLabel,  // 替换为
    kReplaceEdit,
    kMatchCaseCheck,   // 区分大小写
    kRegexCheck,       // 正则表达式
    kLetterCaseLabel,  // 大小写
    kLetterCaseList,
    kLowerExtensionCheck,  // 后缀名小写
    kSavedRulesLabel,      // 已存规则
    kSavedRulesBox,
    kSaveRuleButton,       // 保存规则
    kDeleteRuleButton,     // 删除规则
    kNumberClashesCheck,   // 同名时加序号
    kGroupPairsCheck,      // 同名不同后缀视为一组
    kPreviewList,          // 原名称, 新名称, 说明
    kProgressLine,         // while capture dates are read
    kConfirmNamingButton,  // 确定
    kCancelNamingButton,   // 取消
};

// "命名规则": names from a template of text, the original name, a counter,
// the folder and each photo's date, previewed row by row as the rule is
// typed. 确定 gives the rows the previewed names; 取消, Esc and the close box
// change nothing.
class NamingRuleWindow : public platform::win32::WindowBase {
public:
    // on_confirmed runs once 确定 has named the rows.
    // Rules are saved by name in the file at saved_rules_path.
    NamingRuleWindow(MainCommands& commands, filelist::AppState& state, std::function<void()> on_confirmed,
                     std::string saved_rules_path = naming::default_saved_rules_path());

    bool create(HWND owner);

    // True while capture dates are being read; the object must then stay
    // alive even when its window has been closed meanwhile.
    bool busy() const { return reading_dates_; }

private:
    // WindowBase
    void on_create() override;
    void on_command(int id, int code) override;
    LRESULT on_notify(const NMHDR& header) override;
    void on_deferred(int task) override;
    void on_dpi_changed(int dpi) override;

    naming::NameRuleFields fields() const;
    void show_fields(const naming::NameRuleFields& fields);
    // 已存规则 and its two buttons.
    void on_saved_rule_chosen();
    void on_save_rule_clicked();
    void on_delete_rule_clicked();
    void list_saved_rules(const std::string& shown_name);
    // Reads the capture dates the rule needs and have not been read yet.
    void read_dates_if_needed(const naming::NameRuleFields& fields);
    // The preview follows the fields.
    void request_refresh();
    void refresh_preview();
    void on_confirm_clicked();
    LRESULT draw_row(NMLVCUSTOMDRAW& draw) const;

    MainCommands& commands_;
    filelist::AppState& state_;
    std::function<void()> on_confirmed_;
    RulePreview preview_;
    naming::SavedRules saved_rules_;
    bool reading_dates_ = false;
    bool confirm_after_reading_ = false;
    bool refresh_requested_ = false;
    int columns_dpi_ = 96;
};

}  // namespace app
