#pragma once

#include "image/image_file.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace filelist {

// The one program-wide record. Element k of file_names and new_names belongs
// to table row k (both counted from 0 here).
struct AppState {
    int pointer_x = 0;                 // last pointer x over the table, in its client pixels
    int lastStatus = 0;                // status of the image object's latest library call
    imaging::ImageFile image{lastStatus};  // the only image object of the program
    std::string last_directory;        // directory the picker showed last, without trailing separator
    std::uintptr_t gdiplusToken = 0;   // token of the imaging library, 0 when not started
    int edit_column = 0;               // column being edited in place: 1 to 4, or -1 for none
    int rule_confirmed = 0;            // 1 once a numbering rule has been confirmed
    std::vector<std::string> file_names;  // chosen files: bare names with extension, in table order
    std::string base_directory;        // their directory, ending in the path separator
    std::vector<std::string> new_names;   // new base names, without extension, same order
    std::array<std::string, 3> rule_fields;  // leading text, start number, increment, as typed
};

}  // namespace filelist
