#pragma once

#include "filelist/batch.h"

#include <string>
#include <vector>

namespace renaming {

// Marks, before any rename, the rows of the table that a run started now
// would fail, each with its reason, from one listing of the batch's
// directory. Nothing on disk and no name changes.
class ConflictMarks {
public:
    // Lists the batch's directory; marks are worked out from this listing
    // until the next one.
    void take_listing(const filelist::Batch& batch);

    // The marks for what the batch holds now (new names, edited extensions).
    void mark(filelist::Batch& batch) const;

private:
    std::vector<std::string> listing_;
};

}  // namespace renaming
