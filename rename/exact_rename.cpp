#include "rename/exact_rename.h"

#include "platform/directory_search.h"
#include "platform/file_rename.h"
#include "platform/path.h"
#include "rename/directory_snapshot.h"
#include "text/text_case.h"

namespace renaming {
namespace {

// The longest name Linux and most file systems under it hold, in bytes.
constexpr std::size_t kLongestPortableName = 255;

std::string last_component(const std::string& path) {
    std::size_t separator = path.find_last_of(std::string("/") + platform::kPathSeparator);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string directory_of(const std::string& path) {
    std::size_t separator = path.find_last_of(std::string("/") + platform::kPathSeparator);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

bool may_keep_another_name(const std::string& from, const std::string& to) {
    std::string target = last_component(to);
    return target.size() > kLongestPortableName ||
           text::folded_name(last_component(from)) == text::folded_name(target);
}

// The file reached by to bears another name: back to from with it.
void move_back(const std::string& from, const std::string& to) {
    std::optional<std::string> kept = platform::name_on_disk(to);
    if (!kept) return;
    std::string kept_path = directory_of(to) + *kept;
    if (kept_path != from) platform::rename_file_no_replace(kept_path, from);
}

}  // namespace

bool rename_exactly(const std::string& from, const std::string& to) {
    if (!platform::rename_file_no_replace(from, to)) return false;
    std::optional<std::string> kept = platform::name_on_disk(to);
    if (kept && *kept == last_component(to)) return true;
    move_back(from, to);
    return false;
}

bool rename_in_batch(const std::string& from, const std::string& to) {
    if (may_keep_another_name(from, to)) return rename_exactly(from, to);
    return platform::rename_file_no_replace(from, to);
}

std::vector<std::size_t> renames_kept_under_another_name(const std::string& directory,
                                                         const std::vector<DoneRename>& renames) {
    std::vector<std::size_t> altered;
    if (renames.empty()) return altered;
    std::vector<std::string> targets;
    targets.reserve(renames.size());
    for (const DoneRename& rename : renames) targets.push_back(last_component(rename.to));
    std::optional<DirectorySnapshot> disk = DirectorySnapshot::take_readable(directory, targets);
    for (std::size_t i = 0; i < renames.size(); ++i) {
        const DoneRename& rename = renames[i];
        const std::string target = last_component(rename.to);
        if (!disk) {
            if (platform::name_on_disk(rename.to) == target) continue;
        } else if (rename.file.index == 0) {
            if (disk->holds_exactly(target)) continue;
        } else {
            // Decided by the file itself: only under a name its target
            // reaches, spelled otherwise, did it not get the name asked for.
            std::optional<std::string> now = disk->name_of(rename.file);
            std::optional<platform::EntryIdentity> reached = disk->find(target);
            if (!now || *now == target || !reached || !platform::is_same_file(reached->identity, rename.file)) continue;
        }
        move_back(rename.from, rename.to);
        altered.push_back(i);
    }
    return altered;
}

}  // namespace renaming
