#include "filelist/fill_list.h"
#include "filelist/split_name.h"

#include <utility>

namespace filelist {

void fill_list(AppState& state, FileTable& table, const std::vector<std::string>& names) {
    state.new_names.assign(names.size(), std::string());

    std::vector<FileTable::Row> rows(names.size());
    for (std::size_t k = 0; k < names.size(); ++k) {
        SplitName parts = split_name(names[k]);
        FileTable::Row& row = rows[k];
        row[FileTable::kNumber] = std::to_string(k + 1);
        row[FileTable::kOriginalName] = std::move(parts.base);
        row[FileTable::kExtension] = std::move(parts.extension);
        row[FileTable::kDirectory] = state.base_directory;
    }
    table.replace_rows(std::move(rows));
}

}  // namespace filelist
