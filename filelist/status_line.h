#pragma once

#include <functional>
#include <string>
#include <utility>

namespace filelist {

// The main window's status line: the outcome of the last command.
class StatusLine {
public:
    const std::string& text() const { return text_; }

    void set_text(std::string text) {
        text_ = std::move(text);
        if (on_change_) on_change_(text_);
    }

    void set_on_change(std::function<void(const std::string&)> on_change) { on_change_ = std::move(on_change); }

private:
    std::string text_;
    std::function<void(const std::string&)> on_change_;
};

}  // namespace filelist
