#pragma once

#include <windows.h>

namespace platform::win32 {

// Hands one queued message to its window: a key first to the window's own
// key filter, then dialog-style keyboard handling (Tab between controls,
// Enter and Esc) in the program's windows.
void dispatch_message(MSG& msg);

// Runs the message loop until WM_QUIT; returns its exit code.
int run_message_loop();

// Sees every key press before its control does; true when it took the key.
using KeyFilter = bool (*)(const MSG& msg);
void set_key_filter(KeyFilter filter);

}  // namespace platform::win32
