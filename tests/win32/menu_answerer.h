#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Answers this process's pop-up menus from a thread of its own, as a user
// would: keeps the items each menu showed, then chooses the item of the
// access key given, or dismisses the menu with Esc. A menu waits for the
// user inside the handler that opens it.
class MenuAnswerer {
public:
    explicit MenuAnswerer(wchar_t access_key = 0);
    ~MenuAnswerer();
    MenuAnswerer(const MenuAnswerer&) = delete;
    MenuAnswerer& operator=(const MenuAnswerer&) = delete;

    struct Item {
        std::string text;  // as the menu holds it, access key and shortcut included
        bool enabled;
    };
    // The items of the menus answered so far, the first menu's first.
    std::vector<Item> items() const;
    int menus_answered() const { return answered_; }

private:
    void watch();

    wchar_t access_key_;
    mutable std::mutex mutex_;
    std::vector<Item> items_;
    std::atomic<int> answered_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
