#include "picker/handed_files.h"

#include "picker/choose_batch.h"
#include "picker/directory_path.h"
#include "platform/directory_search.h"
#include "platform/file_rename.h"
#include "text/natural_order.h"
#include "text/text_case.h"

#include <algorithm>

namespace picker {

HandedPaths sort_out_handed_paths(const std::vector<std::string>& paths) {
    HandedPaths handed;
    std::string first_directory;
    std::string folded_directory;
    for (const std::string& given : paths) {
        std::string path = tidy_directory(platform::full_path(given));
        if (path.empty()) continue;
        if (platform::is_listable_directory(path)) {
            if (first_directory.empty()) first_directory = path;
            continue;
        }
        // The name as the directory spells it (d.jpg for a D.JPG handed over):
        // the run and its undo give back exactly the name the file had.
        std::optional<std::string> on_disk = platform::name_on_disk(path);
        if (!on_disk) continue;  // gone, or never there
        DirectoryPath parts = split_directory(path);
        if (parts.names.empty()) continue;
        std::string directory = parent_directory(path);
        // Windows takes C:\Photos and c:\photos for one directory.
        std::string folded = text::folded_name(directory);
        if (handed.file_names.empty()) {
            handed.directory = directory;
            folded_directory = folded;
        } else if (folded != folded_directory) {
            handed.kind = HandedPaths::Kind::SeveralDirectories;
            handed.file_names.clear();
            return handed;
        }
        handed.file_names.push_back(std::move(*on_disk));
    }
    if (!handed.file_names.empty()) {
        // The same file handed over twice is one row.
        text::sort_naturally(handed.file_names);
        handed.file_names.erase(std::unique(handed.file_names.begin(), handed.file_names.end()),
                                handed.file_names.end());
        handed.kind = HandedPaths::Kind::Files;
    } else if (!first_directory.empty()) {
        handed.kind = HandedPaths::Kind::Directory;
        handed.directory = first_directory;
    }
    return handed;
}

void take_handed_files(const HandedPaths& handed, filelist::MainModel& main) {
    if (handed.kind != HandedPaths::Kind::Files) return;
    choose_batch(main, handed.directory, handed.file_names);
    main.state.last_directory.move_to(handed.directory);
}

}  // namespace picker
