#include "app/table_menu.h"

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace app {

void track_table_menu(HWND owner, POINT screen, const TableMenuState& state) {
    platform::win32::UniqueMenu menu(CreatePopupMenu());
    auto add = [&](int command, const char* text, bool enabled) {
        AppendMenuW(menu.get(), MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), static_cast<UINT_PTR>(command),
                    platform::win32::widen(text).c_str());
    };
    add(kUndoLastRunCommand, "撤销上次改名(&U)\tCtrl+Z", state.can_undo);
    add(kDependencyOrderCommand, "按依赖顺序改名(&D)", state.can_rename_in_dependency_order);
    add(kSortByCaptureDateCommand, "按拍摄日期排序(&T)", state.can_sort_by_capture_date);
    add(kNamingRuleCommand, "命名规则(&R)…", state.can_name_by_rule);
    add(kHistoryCommand, "改名记录(&H)", true);
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
}

}  // namespace app
