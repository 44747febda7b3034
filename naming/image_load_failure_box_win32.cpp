#include "naming/image_load_failure_box.h"

#include "platform/win32/text.h"

namespace naming {

void show_image_load_failure_box(HWND owner) {
    MessageBoxW(owner, platform::win32::widen("载入图片失败！").c_str(), platform::win32::widen("批量文件改名").c_str(),
                MB_OK | MB_ICONERROR);
}

}  // namespace naming
