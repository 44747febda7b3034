#pragma once

#include "filelist/app_state.h"
#include "naming/numbering_rule.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_base.h"

#include <windows.h>

#include <functional>

namespace naming {

// Control ids of the numbering window, named after what they are.
enum NumberingWindowControl : int {
    kRuleGroup = 100,    // 分组框1 编号规则
    kPrefixLabel,        // 标签1 打头字符
    kPrefixEdit,         // 编辑框1
    kStartLabel,         // 标签2 起始编号
    kStartEdit,          // 编辑框2
    kIncrementLabel,     // 标签5 递增量
    kIncrementEdit,      // 编辑框3
    kIncrementSpinner,   // its up-down arrows
    kCaptureDateCheck,   // 选择框1 以图像拍摄日期为文件名
    kConfirmRuleButton,  // 按钮1 确定
    kCancelRuleButton,   // 按钮2 取消
    kMoreRulesButton,    // 更多规则: opens 命名规则
};

// "自动编号改名": the numbering rule. Built afresh at every opening, so its
// boxes always start with the default rule; it closes itself from either
// button. Its title-bar close changes nothing.
class NumberingWindow : public platform::win32::WindowBase {
public:
    // on_names_built runs after "确定" has named the rows; open_more_rules
    // opens the 命名规则 window.
    NumberingWindow(filelist::AppState& state, CaptureDateBuilder build_capture_date_names,
                    std::function<void()> on_names_built, std::function<void()> open_more_rules = {});

    // Creates and shows the window, modeless, owned by owner.
    bool create(HWND owner);

    // True while "确定" is naming the rows; the object must then stay alive
    // even when its window has been closed meanwhile.
    bool busy() const { return busy_; }

private:
    // WindowBase
    void on_create() override;
    void on_command(int id, int code) override;
    void on_dpi_changed(int dpi) override;

    void place_spinner();

    // Button handlers.
    void confirm_rule();
    void cancel_rule();

    void close();

    filelist::AppState& state_;
    CaptureDateBuilder build_capture_date_names_;
    std::function<void()> on_names_built_;
    std::function<void()> open_more_rules_;
    bool busy_ = false;
};

}  // namespace naming
