#pragma once

#include "filelist/main_model.h"
#include "image/image_file.h"
#include "naming/capture_date_names.h"

namespace app {

// Main window created: reads the remembered directory and starts the imaging library.
void start_up(filelist::AppState& state, imaging::LibrarySession& library);

// "退出" or the close box, before the main window goes: releases the image,
// stops the imaging library and stores a non-empty remembered directory.
// False when the directory could not be stored.
bool shut_down(const filelist::AppState& state, naming::CaptureDateNamer& namer, imaging::LibrarySession& library);

// "清空": empties a table that holds any rows and reports it.
void clear_list(filelist::MainModel& model);

}  // namespace app
