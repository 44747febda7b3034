#pragma once

#include <windows.h>

namespace platform::win32 {

// Hands one queued message to its window, with dialog-style keyboard
// navigation (Tab between controls) in the program's windows.
void dispatch_message(MSG& msg);

// Runs the message loop until WM_QUIT; returns its exit code.
int run_message_loop();

}  // namespace platform::win32
