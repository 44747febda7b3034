#pragma once

#include <string>
#include <string_view>
#include <vector>

// Directory paths as the directory box shows them: a root as the platform
// spells it ("C:\", "\\server\share\", "/"), then the names below it, joined
// by the separator, without a trailing separator.
namespace picker {

enum class PathSyntax { Windows, Posix };

#ifdef _WIN32
inline constexpr PathSyntax kNativeSyntax = PathSyntax::Windows;
#else
inline constexpr PathSyntax kNativeSyntax = PathSyntax::Posix;
#endif

struct DirectoryPath {
    std::string root;                 // empty for a relative path
    std::vector<std::string> names;   // from the root down
};

DirectoryPath split_directory(std::string_view path, PathSyntax syntax = kNativeSyntax);

// The root and the first `depth` names, joined.
std::string join_directory(const DirectoryPath& parts, std::size_t depth, PathSyntax syntax = kNativeSyntax);

// The path in its tidy spelling (no trailing or doubled separators).
std::string tidy_directory(std::string_view path, PathSyntax syntax = kNativeSyntax);

// The directory one level up; empty for a root.
std::string parent_directory(std::string_view path, PathSyntax syntax = kNativeSyntax);

// The directory as a prefix for names: ending in exactly one separator
// ("C:\photos" and "C:\" give "C:\photos\" and "C:\"). Empty stays empty.
std::string with_trailing_separator(std::string_view directory, PathSyntax syntax = kNativeSyntax);

// The drive of a path: on Windows the text before its first ":", a letter
// in upper case ("D" for d:\photos; empty for a path without ":"),
// elsewhere "/" for an absolute path.
std::string drive_of(std::string_view path, PathSyntax syntax = kNativeSyntax);

}  // namespace picker
