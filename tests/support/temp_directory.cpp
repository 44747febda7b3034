#include "temp_directory.h"

// The parts that are the same on every platform.

void TempDirectory::write(const std::string& relative, const std::vector<std::uint8_t>& content) const {
    write(relative, std::string_view(reinterpret_cast<const char*>(content.data()), content.size()));
}

std::string TempDirectory::read(const std::string& relative) const { return read_file(path(relative)); }

std::vector<std::uint8_t> TempDirectory::read_bytes(const std::string& relative) const {
    std::string bytes = read(relative);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::vector<std::string> TempDirectory::names(const std::string& relative) const {
    std::vector<std::string> out;
    for (const auto& entry : contents(relative)) out.push_back(entry.first);
    return out;
}
