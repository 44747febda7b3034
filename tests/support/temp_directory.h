#pragma once

#include "platform/path.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// A fresh directory under the system's temporary directory, its name unique
// to this process and object and not plain ASCII, removed with everything in
// it when the object goes. Places in it are UTF-8 paths relative to it, with
// the platform's separator between the parts; a failure to make or write one
// is a test failure. The same helper serves the native and the Windows tests.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    // Without the trailing separator, as the picker remembers a directory.
    const std::string& path() const { return path_; }
    // The full path of a place in it; path("") ends with the separator.
    std::string path(const std::string& relative) const { return path_ + platform::kPathSeparator + relative; }
    // The directory's own name, the last part of path().
    std::string name() const;

    void make_directory(const std::string& relative) const;
    // Creates the file or replaces its content.
    void write(const std::string& relative, std::string_view content) const;
    void write(const std::string& relative, const std::vector<std::uint8_t>& content) const;
    // The file's content; empty when it cannot be read.
    std::string read(const std::string& relative) const;
    std::vector<std::uint8_t> read_bytes(const std::string& relative) const;
    bool exists(const std::string& relative) const;

    // Every entry of a directory in it ("" for itself), files and
    // directories, with the content of each file; a directory maps to "<目录>".
    std::map<std::string, std::string> contents(const std::string& relative = "") const;
    // The entries' names as the directory holds them, letter case included, sorted.
    std::vector<std::string> names(const std::string& relative = "") const;

private:
    std::string path_;
};

// The bytes of any file, or nothing when it cannot be read.
std::string read_file(const std::string& path);
// Writes any file whole; false when it cannot be written.
bool write_file(const std::string& path, std::string_view content);
