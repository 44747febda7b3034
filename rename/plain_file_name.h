#pragma once

#include <string_view>

namespace renaming {

// True when name can only mean a file in the directory it is joined to, on
// every system the program serves: not empty; no path separator, no drive or
// stream colon, none of the other characters Windows forbids in names
// (<>:"/\|?*) and no control character; not ending in a dot or a blank (Windows
// would drop them and name another file); not a device name such as CON, NUL,
// CONIN$, COM0 or LPT1, with or without an extension, in any letter case.
bool is_plain_file_name(std::string_view name);

}  // namespace renaming
