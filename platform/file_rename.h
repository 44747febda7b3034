#pragma once

#include <string>

namespace platform {

// Renames the file at from to to, never replacing an existing file: when to
// exists, when from is missing, or when the file system cannot promise not to
// replace, nothing changes and the result is false.
bool rename_file_no_replace(const std::string& from, const std::string& to);

}  // namespace platform
