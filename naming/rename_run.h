#pragma once

#include "filelist/main_model.h"

#include <cstddef>

namespace naming {

// "确定改名": renames the chosen files in their directory and writes one
// result per row. Between rows the windows' pending events run, so the table
// shows each result at once and the buttons stay usable; the run is built so
// that nothing clicked meanwhile changes what it renames.
class RenameRun {
public:
    // Starts the run when a numbering rule is confirmed; otherwise only says
    // so in the status line. Does nothing while a run is going on.
    void confirm_rename(filelist::MainModel& model);

    // Renames the first count files (fewer when the table or the new names
    // hold fewer rows), top row first, then reports the end in the status line.
    // Stops between rows when the program is asked to end.
    void rename_all(filelist::MainModel& model, std::size_t count);

    bool running() const { return running_; }

private:
    bool running_ = false;
};

}  // namespace naming
