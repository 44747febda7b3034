#pragma once

#include "filelist/app_state.h"
#include "filelist/status_line.h"

namespace filelist {

// Everything the main window shows, in plain form: the program-wide record,
// with the batch of the file table, and the status line. The windows bind to
// it; the program's steps work on it without any window.
struct MainModel {
    AppState state;
    StatusLine status;
};

}  // namespace filelist
