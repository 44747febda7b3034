#pragma once

#include "filelist/main_model.h"

#include <string>
#include <vector>

namespace naming {

// Marks, before any rename, the rows of the table that a run started now
// would fail, each with its reason, from one listing of the batch's
// directory. Nothing on disk and no cell changes.
class ConflictMarks {
public:
    // Lists the batch's directory; marks are worked out from this listing
    // until the next one.
    void take_listing(const filelist::MainModel& model);

    // The marks for what the model holds now (new names, edited cells).
    void mark(filelist::MainModel& model) const;

    static void clear(filelist::MainModel& model);

private:
    std::vector<std::string> listing_;
};

}  // namespace naming
