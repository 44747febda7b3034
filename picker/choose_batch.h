#pragma once

#include "filelist/main_model.h"

#include <string>
#include <vector>

namespace picker {

// Files of one directory become the batch, however they were chosen (the
// picker's "确定", a drop, the command line): the table shows one row per
// name, in the order given, and the status line counts them. The directory
// may end in its separator or not.
void choose_batch(filelist::MainModel& main, const std::string& directory, std::vector<std::string> names);

}  // namespace picker
