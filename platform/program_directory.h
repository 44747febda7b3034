#pragma once

#include <string>

namespace platform {

// Directory that holds the running executable, without a trailing separator.
// Empty when the platform cannot tell.
std::string program_directory();

}  // namespace platform
