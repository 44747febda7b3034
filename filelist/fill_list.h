#pragma once

#include "filelist/app_state.h"
#include "filelist/file_table.h"

#include <string>
#include <vector>

namespace filelist {

// Rebuilds the table from a list of file names: one row per name with its
// number, base name, extension and state.base_directory; new names and results
// empty. new_names becomes one empty text per name. Nothing else changes.
void fill_list(AppState& state, FileTable& table, const std::vector<std::string>& names);

}  // namespace filelist
