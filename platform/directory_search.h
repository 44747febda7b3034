#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Reading one directory: its files, its subdirectories, and the
// machine's drives. Names are bare (no directory), in the order the file
// system gives them, never "." or "..".
namespace platform {

using NameSink = std::function<void(std::string_view name)>;
using NameTest = std::function<bool(std::string_view name)>;

// Hands on the names of the files (not directories) of directory that pass
// the test. The test sees every name first, as it is cheaper than asking the
// file system what an entry is. False when the directory could not be read.
bool find_files(const std::string& directory, const NameTest& wanted, const NameSink& on_name);

// Hands on the names of the subdirectories of directory. False when the
// directory could not be read.
bool find_subdirectories(const std::string& directory, const NameSink& on_name);

// Hands on the names of every entry of directory, files and directories
// alike. False when the directory could not be read.
bool list_entries(const std::string& directory, const NameSink& on_name);

// True when directory exists and its entries can be read. Never shows the
// system's "no disk" dialog for a drive that is not ready.
bool is_listable_directory(const std::string& directory);

// The machine's drives: letters alone ("C", "D") on Windows; the one root
// "/" elsewhere.
std::vector<std::string> list_drives();

// The current directory of a drive, as the platform resolves "D:" (on POSIX,
// the process's current directory). Empty when it cannot tell.
std::string drive_current_directory(const std::string& drive);

// The process's current directory.
std::string current_directory();

// An absolute, tidied form of path: relative paths are resolved against the
// current directory, "." and ".." are applied and doubled separators go.
// Empty when it cannot be formed.
std::string full_path(const std::string& path);

}  // namespace platform
