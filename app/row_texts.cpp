#include "app/row_texts.h"

namespace app {

using filelist::ConflictKind;
using filelist::FailReason;
using filelist::Outcome;

std::string result_text(const filelist::RowOutcome& outcome) {
    switch (outcome.kind) {
        case Outcome::None:
            return {};
        case Outcome::Renamed:
            return "改名成功";
        case Outcome::NoChange:
            return "不需改名";
        case Outcome::Failed:
            return "改名失败";
        case Outcome::Undone:
            return "已撤销";
        case Outcome::UndoFailed:
            return "撤销失败";
    }
    return {};
}

namespace {

std::string conflict_text(const filelist::RowConflict& conflict) {
    switch (conflict.kind) {
        case ConflictKind::None:
            return {};
        case ConflictKind::TargetTaken:
            return "目标文件已存在";
        case ConflictKind::HeldByLaterRow:
            return "目标文件被第 " + std::to_string(conflict.other_row + 1) + " 行占用";
        case ConflictKind::SameAsEarlier:
            return "与第 " + std::to_string(conflict.other_row + 1) + " 行同名";
        case ConflictKind::RefusedName:
            return "名称不合法";
        case ConflictKind::SourceMissing:
            return "原文件不存在";
    }
    return {};
}

std::string undo_failure_text(FailReason reason) {
    switch (reason) {
        case FailReason::NotThatFile:
            return "新名称下已不是原来的文件";
        case FailReason::Missing:
            return "文件已不在";
        case FailReason::OldNameTaken:
            return "原名称已被占用";
        default:
            return "改名失败";
    }
}

}  // namespace

std::string mark_text(const filelist::RowMark& mark) {
    std::string text = conflict_text(mark.conflict);
    if (mark.dependency_order_resolves) text += "，按依赖顺序改名可解决";
    return text;
}

std::string undo_outcome_text(const filelist::RowOutcome& outcome) {
    if (outcome.kind == Outcome::Undone) return "已撤销";
    if (outcome.kind == Outcome::UndoFailed) return "撤销失败：" + undo_failure_text(outcome.reason);
    return {};
}

std::string run_status_text(renaming::RunStatus status) {
    switch (status) {
        case renaming::RunStatus::Done:
            return "完成";
        case renaming::RunStatus::Unfinished:
            return "未完成";
        case renaming::RunStatus::Undone:
            return "已撤销";
        case renaming::RunStatus::PartlyUndone:
            return "部分撤销";
        case renaming::RunStatus::Damaged:
            return "记录损坏";
        case renaming::RunStatus::InProgress:
            return "进行中";
    }
    return {};
}

std::string place_text(renaming::FilePlace place) {
    switch (place) {
        case renaming::FilePlace::UnderNewName:
            return "在新名称下";
        case renaming::FilePlace::PutBack:
            return "已改回";
        case renaming::FilePlace::Gone:
            return "不在";
    }
    return {};
}

}  // namespace app
