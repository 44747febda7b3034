#include "platform/ini_file.h"
#include "platform/ini_text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>

namespace platform {
namespace {

// A settings file larger than this is not ours to rewrite: reading gives
// nothing and writing refuses rather than risk dropping what we cannot hold.
constexpr long long kMaxIniBytes = 16LL * 1024 * 1024;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

enum class ReadState { Ok, Missing, Failed };

struct ReadResult {
    ReadState state = ReadState::Failed;
    std::string text;
};

ReadResult read_whole_file(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return {errno == ENOENT ? ReadState::Missing : ReadState::Failed, {}};
    if (!S_ISREG(st.st_mode) || st.st_size > kMaxIniBytes) return {};
    UniqueFile f(std::fopen(path.c_str(), "rb"));
    if (!f) return {};
    std::string text;
    char chunk[16384];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
        text.append(chunk, n);
        if (static_cast<long long>(text.size()) > kMaxIniBytes) return {};
    }
    if (std::ferror(f.get())) return {};
    return {ReadState::Ok, std::move(text)};
}

}  // namespace

std::string read_ini_value(const std::string& path, const std::string& section, const std::string& key) {
    ReadResult file = read_whole_file(path);
    if (file.state != ReadState::Ok) return {};
    return ini_text::find_value(file.text, section, key).value_or(std::string());
}

bool write_ini_value(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) {
    ReadResult file = read_whole_file(path);
    if (file.state == ReadState::Failed) return false;
    std::string updated = ini_text::with_value(file.text, section, key, value);

    // Write a sibling file and move it into place, so a failed write never
    // leaves a half-written settings file behind.
    std::string temp = path + ".tmp-" + std::to_string(getpid());
    {
        UniqueFile out(std::fopen(temp.c_str(), "wb"));
        if (!out) return false;
        bool written = std::fwrite(updated.data(), 1, updated.size(), out.get()) == updated.size();
        if (std::fflush(out.get()) != 0 || !written) {
            out.reset();
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
