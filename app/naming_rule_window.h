#pragma once

#include "app/main_commands.h"
#include "app/rule_preview.h"
#include "platform/win32/window_base.h"

#include <windows.h>

#include <functional>

namespace app {

// Control ids of the 命名规则 window, in its tab order.
enum NamingRuleControl : int {
    kTemplateLabel = 600,    // 模板
    kTemplateEdit,
    kTemplateErrorLine,      // what is wrong with the fields, and where
    kCounterStartLabel,      // 起始
    kCounterStartEdit,
    kCounterStepLabel,       // 步长
    kCounterStepEdit,
    kCounterDigitsLabel,     // 位数
    kCounterDigitsEdit,
    kDateSourceLabel,        // 日期来源
    kDateSourceList,
    kClockCorrectionLabel,   // 时间校正
    kClockCorrectionEdit,
    kNumberClashesCheck,     // 同名时加序号
    kGroupPairsCheck,        // 同名不同后缀视为一组
    kPreviewList,            // 原名称, 新名称, 说明
    kProgressLine,           // while capture dates are read
    kConfirmNamingButton,    // 确定
    kCancelNamingButton,     // 取消
};

// "命名规则": names from a template of text, the original name, a counter,
// the folder and each photo's date, previewed row by row as the rule is
// typed. 确定 gives the rows the previewed names; 取消, Esc and the close box
// change nothing.
class NamingRuleWindow : public platform::win32::WindowBase {
public:
    // on_confirmed runs once 确定 has named the rows.
    NamingRuleWindow(MainCommands& commands, filelist::AppState& state, std::function<void()> on_confirmed);

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
    bool reading_dates_ = false;
    bool confirm_after_reading_ = false;
    bool refresh_requested_ = false;
    int columns_dpi_ = 96;
};

}  // namespace app
