#pragma once

#include "picker/directory_tree.h"
#include "text/natural_order.h"

#include <cstddef>
#include <string>
#include <vector>

namespace picker {

// Everything the file picker shows, in plain form. A new one is made at every
// opening, so nothing of an earlier opening survives.
struct FilePickerModel {
    std::vector<std::string> drives;  // 驱动器框1: the machine's drives
    std::string drive;                // the drive shown; empty when the directory has none
    std::string directory;            // 目录框1: full path of the directory shown
    DirectoryTree tree;               // 目录框1's lines around that directory

    // 组合框1, with the first type selected.
    std::vector<std::string> types{"*.jpg", "*.bmp", "*.tif", "*.gif", "*.png",
                                   "*.ico", "*.psd", "*.txt", "*.*"};
    std::size_t selected_type = 0;
    std::string custom_type = "*.*";  // 编辑框1

    text::NameList files;                       // 列表框1: the matching files, sorted by name
    text::NaturalSorter file_sorter;            // storage of the last refill's sort, kept for the next
    std::vector<std::size_t> selection;   // indexes into files, ascending
    std::string count_text;               // 标签2
};

}  // namespace picker
