#pragma once

#include <string>

namespace app {

// The one remembered setting: the directory the file picker showed last, kept
// as [配置] 记录 in "配置.ini" beside the program.
std::string settings_path();

// The stored directory, or the empty text when the file or the key is missing.
std::string load_settings();

// Stores the directory; false when it could not be written (the file is then
// as it was). A path the ANSI code page cannot hold is stored in UTF-16.
bool save_settings(const std::string& value);

}  // namespace app
