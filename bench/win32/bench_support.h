#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// What the Windows benchmarks share: a clock, a scratch directory, numbered names.
namespace bench {

using Clock = std::chrono::steady_clock;

inline double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A fresh directory under the temporary directory, removed with its files.
class BenchDirectory {
public:
    BenchDirectory();
    ~BenchDirectory();
    BenchDirectory(const BenchDirectory&) = delete;
    BenchDirectory& operator=(const BenchDirectory&) = delete;

    const std::string& path() const { return path_; }  // ends in the separator
    void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    // Another name for the same file: a thousand camera photos without a thousand copies.
    void link(const std::string& existing, const std::string& name) const;

private:
    std::string path_;
};

// Runs every queued window event, then lets the table paint what changed.
void settle(HWND table);

// Names the files of directory after their capture date, as the numbering
// window does; the seconds it took. Says so on stderr when the last file's
// name is not expected.
double time_capture_date_names(const std::string& directory, const std::vector<std::string>& names,
                               const std::string& expected);

// Opens the numbering window of the main window whose handle is given and
// times its 确定 until the table has shown the names; in capture-date mode
// when asked.
double time_numbering_confirm(HWND main_window, bool capture_dates);

// prefix, then i in five digits, then extension: IMG_00042.jpg.
std::string numbered(const char* prefix, int i, const char* extension);

}  // namespace bench
