#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace picker {

// The lines of the directory box: the root and every directory down to the
// one shown, each one level deeper than the last, then the subdirectories of
// the one shown, one level deeper still.
struct DirectoryTreeLine {
    std::string label;  // the root as spelled, or a directory's own name
    std::string path;   // full path that opening the line shows
    int depth = 0;      // 0 for the root
    bool open = false;  // the root, the directories above the one shown, and that one
};

struct DirectoryTree {
    std::vector<DirectoryTreeLine> lines;
    std::size_t current = 0;  // line of the directory shown
};

// The tree around a directory given as a full path; its subdirectories are
// read from the disk and sorted by name. A directory that cannot be read
// shows without subdirectories.
DirectoryTree directory_tree(const std::string& directory);

}  // namespace picker
