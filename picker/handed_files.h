#pragma once

#include "filelist/main_model.h"

#include <string>
#include <vector>

namespace picker {

// Paths handed to the program from outside the picker: dropped on the main
// window or named on its command line.
struct HandedPaths {
    enum class Kind {
        Nothing,             // none of the paths exists
        Files,               // files of one directory: they fill the table
        Directory,           // a directory and no file: the picker opens there
        SeveralDirectories,  // files of more than one directory: refused
    };
    Kind kind = Kind::Nothing;
    std::string directory;                // the files' directory, or the directory handed over
    std::vector<std::string> file_names;  // bare names, in the picker's order
};

// Sorts out what the paths are, looking at the disk. Paths that do not exist
// are skipped; files count before directories.
HandedPaths sort_out_handed_paths(const std::vector<std::string>& paths);

// Handed files fill the table as the picker's "确定" does, and their
// directory becomes the one the picker remembers.
void take_handed_files(const HandedPaths& handed, filelist::MainModel& main);

}  // namespace picker
