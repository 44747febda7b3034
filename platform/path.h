#pragma once

// How this platform joins a directory and a name. Paths are built by plain
// concatenation: a directory that ends in the separator, then the name.
namespace platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace platform
