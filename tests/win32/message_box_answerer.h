#pragma once

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

// Answers this process's message boxes from a thread of its own, as a user
// would, with the button given (OK, or 是 and 否 as IDYES and IDNO), and
// keeps the text of each: a message box waits for the user inside the
// handler that shows it.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(int button = IDOK);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    std::vector<std::string> texts() const;

private:
    void watch();
    void answer(HWND box);

    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
    std::set<HWND> answered_;
    int button_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
