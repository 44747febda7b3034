#pragma once

#include "filelist/activity.h"
#include "filelist/batch.h"
#include "filelist/remembered_directory.h"

#include <array>
#include <string>

namespace filelist {

// The one program-wide record: the batch the table shows, the directory the
// picker remembers, and the numbering rule.
struct AppState {
    Batch batch;
    RememberedDirectory last_directory;
    int rule_confirmed = 0;                  // 1 once a numbering rule has been confirmed
    std::array<std::string, 3> rule_fields;  // leading text, start number, increment, as typed
    Activity activity = Activity::Idle;

    bool busy() const { return activity != Activity::Idle; }
};

}  // namespace filelist
