#pragma once

#include <string>

namespace naming {

// Renames a file without replacing any, then checks that the directory now
// holds it under exactly the target's name. A file system can report success
// and still keep another name: one cut at its length limit, or the old
// letter case. The file then goes back to its old name where it can, and the
// result is false, so that no row reports a rename the disk does not show.
bool rename_exactly(const std::string& from, const std::string& to);

}  // namespace naming
