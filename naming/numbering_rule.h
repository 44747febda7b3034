#pragma once

#include "filelist/app_state.h"

#include <array>
#include <functional>
#include <string>

namespace naming {

// What the numbering window shows when its "确定" is clicked.
struct RuleChoice {
    std::array<std::string, 3> fields;  // 打头字符, 起始编号, 递增量, as typed
    bool capture_date = false;          // 以图像拍摄日期为文件名 ticked
};

// Names every row after its photograph's capture date; empty when the
// program has no such builder.
using CaptureDateBuilder = std::function<void()>;

// "确定": confirms the rule and names every row of the batch by it (nothing
// to name in an empty table). The sequential rule's texts are kept in
// state.rule_fields; in capture-date mode they stay as they were and the
// capture-date builder runs. While a
// long loop is under way (a run renaming files with the names shown) it
// changes nothing and says so with false.
bool confirm_rule(filelist::AppState& state, const RuleChoice& choice,
                  const CaptureDateBuilder& build_capture_date_names);

// "取消": withdraws the rule; the names already shown stay.
void cancel_rule(filelist::AppState& state);

}  // namespace naming
