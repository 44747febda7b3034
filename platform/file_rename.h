#pragma once

#include <optional>
#include <string>

namespace platform {

// Renames the file at from to to, never replacing an existing file: when to
// exists, when from is missing, or when the file system cannot promise not to
// replace, nothing changes and the result is false.
bool rename_file_no_replace(const std::string& from, const std::string& to);

// The name of the directory entry that path reaches, letter case and all, as
// the directory holds it; nothing when none does. A file system may reach an
// entry by another spelling than its own (Windows ignores case) or keep a
// name other than the one it was given (one cut at the file system's limit).
std::optional<std::string> name_on_disk(const std::string& path);

}  // namespace platform
