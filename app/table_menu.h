#pragma once

#include <windows.h>

namespace app {

// Commands of the table's context menu.
enum TableMenuCommand : int {
    kUndoLastRunCommand = 201,  // 撤销上次改名
    kHistoryCommand,            // 改名记录
    kDependencyOrderCommand,    // 按依赖顺序改名
    kSortByCaptureDateCommand,  // 按拍摄日期排序
    kNamingRuleCommand,         // 命名规则
};

// What the menu offers now.
struct TableMenuState {
    bool can_undo = false;
    bool can_rename_in_dependency_order = false;
    bool can_sort_by_capture_date = false;
    bool can_name_by_rule = false;
};

// Shows the table's context menu at a point of the screen; the command
// chosen reaches the owner as WM_COMMAND.
void track_table_menu(HWND owner, POINT screen, const TableMenuState& state);

}  // namespace app
