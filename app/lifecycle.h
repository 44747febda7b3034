#pragma once

#include "filelist/app_state.h"
#include "filelist/file_table.h"
#include "filelist/status_line.h"

namespace app {

// Main window created: reads the remembered directory and starts the imaging library.
void start_up(filelist::AppState& state);

// "退出" or the close box, before the main window goes: releases the image,
// stops the imaging library and stores a non-empty last_directory. False
// when the directory could not be stored.
bool shut_down(filelist::AppState& state);

// "清空": empties a table that holds any rows and reports it; the chosen files
// and names stay in the state.
void clear_list(filelist::FileTable& table, filelist::StatusLine& status);

}  // namespace app
