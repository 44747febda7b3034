#pragma once

#include <windows.h>

namespace naming {

// The message "载入图片失败！" with an error icon and an OK button; returns
// when the user has dismissed it.
void show_image_load_failure_box(HWND owner);

}  // namespace naming
