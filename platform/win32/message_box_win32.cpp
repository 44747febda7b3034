#include "platform/win32/message_box.h"

#include "platform/win32/text.h"

namespace platform::win32 {
namespace {

constexpr std::string_view kTitle = "批量文件改名";

int show(HWND owner, std::string_view text, UINT style) {
    return MessageBoxW(owner, widen(text).c_str(), widen(kTitle).c_str(), style);
}

}  // namespace

void show_message(HWND owner, std::string_view text, MessageKind kind) {
    show(owner, text, MB_OK | (kind == MessageKind::Error ? MB_ICONERROR : MB_ICONWARNING));
}

bool ask_yes_no(HWND owner, std::string_view text) { return show(owner, text, MB_YESNO | MB_ICONQUESTION) == IDYES; }

}  // namespace platform::win32
