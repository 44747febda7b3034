#pragma once

#include "filelist/row_outcome.h"

#include <cstddef>

namespace filelist {

// What a long loop tells whoever started it: each moment within a row where
// the windows may catch up (on_step), and each row's end with what became of
// it (on_row; a name builder's rows have no outcome). The loops never run the
// windows themselves: the window layer's progress does. on_row answers false
// only when the program is being closed; the loop then stops. A loop that
// waits on the disk between rows asks stopping while it waits.
class Progress {
public:
    virtual void on_step() {}
    virtual bool on_row(std::size_t /*row*/, const RowOutcome& /*outcome*/) { return true; }
    virtual bool stopping() { return false; }

protected:
    ~Progress() = default;
};

// For loops nobody watches.
class NoProgress final : public Progress {};

}  // namespace filelist
