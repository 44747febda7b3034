#pragma once

#include "filelist/row_outcome.h"
#include "rename/rename_history.h"

#include <string>

// Every text the program shows for what its long loops found: the 处理结果
// cells, the tooltips of rows a run would fail, the history's states and
// places, and the status lines of the commands.
namespace app {

inline constexpr const char* kRenameEndedStatus = "改名处理结束,请查看!";
inline constexpr const char* kUndoEndedStatus = "撤销处理结束,请查看!";
inline constexpr const char* kNoRuleStatus = "你没有设置文件名编号方式!";

// 改名成功, 不需改名, 改名失败, 已撤销, 撤销失败; empty for none.
std::string result_text(const filelist::RowOutcome& outcome);

// Why a run started now would fail on the row ("目标文件已存在", "与第 3 行同名"
// with rows counted from 1 as the 序 column counts them), and when renaming
// in dependency order would get it through, so; empty for none.
std::string mark_text(const filelist::RowMark& mark);

// A file's outcome in the history: 已撤销, or 撤销失败 and why; empty for none.
std::string undo_outcome_text(const filelist::RowOutcome& outcome);

// 完成, 未完成, 已撤销, 部分撤销, 记录损坏, 进行中.
std::string run_status_text(renaming::RunStatus status);

// 在新名称下, 已改回, 不在.
std::string place_text(renaming::FilePlace place);

}  // namespace app
