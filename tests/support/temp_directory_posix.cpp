#include "temp_directory.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TempDirectory::TempDirectory() {
    std::string pattern = (fs::temp_directory_path() / "批量改名测试-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary directory: " + pattern);
    path_ = pattern;
}

TempDirectory::~TempDirectory() {
    // A test may have taken the rights away to make a write fail.
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) fs::permissions(it->path(), fs::perms::owner_all, ec);
    }
    fs::permissions(path_, fs::perms::owner_all, ec);
    fs::remove_all(path_, ec);
}

std::string TempDirectory::name() const { return fs::path(path_).filename().string(); }

void TempDirectory::make_directory(const std::string& relative) const {
    std::error_code ec;
    if (!fs::create_directory(path(relative), ec)) ADD_FAILURE() << "cannot make the directory " << path(relative);
}

bool write_file(const std::string& path, std::string_view content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return static_cast<bool>(out);
}

void TempDirectory::write(const std::string& relative, std::string_view content) const {
    if (!write_file(path(relative), content)) ADD_FAILURE() << "cannot write the file " << path(relative);
}

bool TempDirectory::exists(const std::string& relative) const {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path(relative), ec));
}

std::map<std::string, std::string> TempDirectory::contents(const std::string& relative) const {
    std::string directory = relative.empty() ? path_ : path(relative);
    std::map<std::string, std::string> out;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory, ec)) {
        std::string name = entry.path().filename().string();
        out[name] = entry.is_directory(ec) ? "<目录>" : read_file(entry.path().string());
    }
    return out;
}
