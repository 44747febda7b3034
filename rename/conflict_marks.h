#pragma once

#include "filelist/app_state.h"
#include "filelist/progress.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace renaming {

// Marks, before any rename, the rows of the table that a run started now
// would fail, each with its reason. The marks come from a listing of the
// batch's own directory, taken when its rows were last replaced, renamed or
// undone; nothing on disk and no name changes.
class ConflictMarks {
public:
    // Lists the batch's directory again (after a run or an undo). A listing
    // begun ahead for these rows is waited for instead, progress told of
    // each moment of the wait.
    void take_listing(const filelist::Batch& batch, filelist::Progress& progress);

    // Begins listing the batch's directory in the background, for the next
    // take_listing: on a folder that answers slowly it then costs no wait
    // of its own while the names are being built.
    void list_ahead(const filelist::Batch& batch);

    // The marks for what the batch holds now (new names, edited extensions).
    // A listing of other rows than the batch's is taken anew first. Rows
    // without a new name are marked only while a rule is confirmed: only then
    // would "确定改名" try them.
    void mark(filelist::AppState& state);

private:
    struct Listing;
    std::shared_ptr<Listing> ahead_;

    // The directory listed, and the rows the listing was taken for.
    std::string directory_;
    std::uint64_t generation_ = 0;
    bool listed_ = false;
    std::vector<std::string> names_;
};

}  // namespace renaming
