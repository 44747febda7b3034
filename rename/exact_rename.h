#pragma once

#include "platform/file_identity.h"

#include <cstddef>
#include <string>
#include <vector>

namespace renaming {

// Renames a file without replacing any, then checks that the directory now
// holds it under exactly the target's name. A file system can report success
// and still keep another name: one cut at its length limit, or the old
// letter case. The file then goes back to its old name where it can, and the
// result is false, so that no row reports a rename the disk does not show.
bool rename_exactly(const std::string& from, const std::string& to);

// One rename of a batch: checked at once where a file system is known to keep
// another name (a change of letter case only, a name longer than 255 bytes),
// the others by renames_kept_under_another_name when the batch ends, which
// costs one listing of the directory rather than a look per file.
bool rename_in_batch(const std::string& from, const std::string& to);

struct DoneRename {
    std::string from;
    std::string to;
    platform::FileIdentity file;  // the file renamed; an index of 0 when unknown
};

// The renames of a batch whose file the disk keeps under another spelling of
// its target's name, by their place in renames; those files go back to their
// old names where they can. A file found elsewhere, or gone, got its name and
// was moved on since (another program renamed it): that rename stands. A
// file of unknown identity counts as kept under another name unless its
// target's exact name is there.
std::vector<std::size_t> renames_kept_under_another_name(const std::string& directory,
                                                         const std::vector<DoneRename>& renames);

}  // namespace renaming
