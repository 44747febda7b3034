#pragma once

#include <string>
#include <vector>

namespace app {

// The paths named after the program's own on its command line
// ("BatchRename.exe FILE…" or "BatchRename.exe DIRECTORY", as Explorer's
// "Send to" starts it), quoted or not.
std::vector<std::string> command_line_paths(const wchar_t* command_line);

}  // namespace app
