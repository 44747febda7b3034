#pragma once

#include "filelist/progress.h"
#include "platform/pending_events.h"

namespace app {

// The progress of a long loop as the windows want it: they catch up at every
// step and row, and the loop stops once the program is being closed. Loops
// that show more of their rows derive from it.
class WindowProgress : public filelist::Progress {
public:
    void on_step() override { platform::process_pending_events(); }
    bool on_row(std::size_t, const filelist::RowOutcome&) override {
        platform::process_pending_events();
        stopped_ = platform::quit_requested();
        return !stopped_;
    }
    bool stopping() override { return stopped_ = stopped_ || platform::quit_requested(); }
    bool stopped() const { return stopped_; }

private:
    bool stopped_ = false;
};

}  // namespace app
