#pragma once

#include "filelist/row_outcome.h"
#include "rename/rename_plan.h"

#include <cstddef>
#include <string>
#include <vector>

namespace renaming {

using filelist::ConflictKind;
using filelist::RowConflict;

// Which rows a top-down run of these steps would fail, worked out from a
// listing of the directory (its entries' names, files and directories alike)
// without touching the disk. Names compare as Windows compares them, without
// regard to letter case; a row whose target differs from its own name only
// in case is no conflict. One result per step.
std::vector<RowConflict> find_conflicts(const RenameBatch& batch, const std::vector<RenameStep>& steps,
                                        const std::vector<std::string>& directory_listing);

}  // namespace renaming
