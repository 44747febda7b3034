#pragma once

#include "filelist/main_model.h"
#include "platform/file_identity.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace renaming {

// "确定改名": renames the chosen files in their directory and writes one
// result per row; and its undo, which brings the files of the last run back
// to their old names. Between rows the windows' pending events run, so the
// table shows each result at once and the buttons stay usable; a run and an
// undo are built so that nothing clicked meanwhile changes which files they
// touch, and neither starts while another long loop is under way.
class RenameRun {
public:
    // Starts the run when a numbering rule is confirmed; otherwise only says
    // so in the status line. Does nothing while a run or an undo is going on.
    void confirm_rename(filelist::MainModel& model);

    // Renames the first count files (fewer when the table or the new names
    // hold fewer rows), top row first, then reports the end in the status line.
    // Stops between rows when the program is asked to end.
    void rename_all(filelist::MainModel& model, std::size_t count);

    // True when the table still shows the batch of a run that renamed files,
    // and no long loop is going on.
    bool can_undo(const filelist::MainModel& model) const;

    // Renames every file the last run renamed back to its old name, bottom
    // row first, never replacing a file and moving only the very file the run
    // renamed; each such row reads 已撤销 or 撤销失败. Once per run.
    void undo_last_run(filelist::MainModel& model);

private:
    struct Renamed {
        std::size_t row;
        std::string old_name;  // in the run's directory
        std::string new_name;
        platform::FileIdentity file;  // the file renamed, whatever is put under its names later
    };
    std::vector<Renamed> last_run_;
    std::uint64_t last_run_generation_ = 0;
    std::string last_run_directory_;
};

}  // namespace renaming
