#pragma once

#include <string>

namespace platform {

// Value of [section] key in the INI file at path; empty when the file, the
// section or the key is missing or the file cannot be read.
std::string read_ini_value(const std::string& path, const std::string& section, const std::string& key);

// Sets [section] key = value, creating the file, the section or the key when
// missing and leaving every other line as it was. False when it could not be
// written; the file is then unchanged.
bool write_ini_value(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value);

}  // namespace platform
