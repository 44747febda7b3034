#pragma once

#include <functional>
#include <string>
#include <utility>

namespace filelist {

// The directory the file picker showed last, without a trailing separator.
// It comes from the settings file at start and changes only when the user
// moves somewhere (in the picker, or by handing over files): then it is also
// stored at once, so that it outlives the run.
class RememberedDirectory {
public:
    // Keeps a directory beyond this run (the program hands in its settings file).
    using Store = std::function<void(const std::string& directory)>;

    const std::string& value() const { return value_; }
    bool empty() const { return value_.empty(); }

    // Start-up: what the settings file holds; nothing is stored.
    void restore(std::string stored) { value_ = std::move(stored); }

    // The user has moved to directory: remembered, and stored when not empty.
    void move_to(const std::string& directory) {
        value_ = directory;
        if (!value_.empty() && store_) store_(value_);
    }

    void set_store(Store store) { store_ = std::move(store); }

private:
    std::string value_;
    Store store_;
};

}  // namespace filelist
