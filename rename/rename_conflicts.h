#pragma once

#include "rename/rename_plan.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace renaming {

// Why a row of the batch would fail if the run started now.
enum class ConflictKind {
    None,
    TargetTaken,     // a file outside the batch has the target name
    HeldByLaterRow,  // a file of the batch has it, and only a later row would move it away
    SameAsEarlier,   // an earlier row already takes the same target
    RefusedName,     // the name cannot be a file name here
    SourceMissing,   // the file is no longer there
};

struct RowConflict {
    ConflictKind kind = ConflictKind::None;
    std::size_t other_row = 0;  // the row meant, counted from 0, for HeldByLaterRow and SameAsEarlier
};

// Which rows a top-down run of these steps would fail, worked out from a
// listing of the directory (its entries' names, files and directories alike)
// without touching the disk. Names compare as Windows compares them, without
// regard to letter case; a row whose target differs from its own name only
// in case is no conflict. One result per step.
std::vector<RowConflict> find_conflicts(const RenameBatch& batch, const std::vector<RenameStep>& steps,
                                        const std::vector<std::string>& directory_listing);

// The reason as the table's tooltip gives it ("目标文件已存在", "与第 3 行同名"
// with rows counted from 1 as the 序 column counts them); empty for None.
std::string conflict_text(const RowConflict& conflict);

}  // namespace renaming
