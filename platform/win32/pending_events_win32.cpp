#include "platform/pending_events.h"
#include "platform/pending_events_hook.h"
#include "platform/win32/message_dispatch.h"

namespace platform {
namespace {
bool g_quit_requested = false;
}

void process_pending_events() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the request for the main loop, which ends the program.
            g_quit_requested = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        win32::dispatch_message(msg);
    }
    detail::run_pending_events_hook();
}

bool quit_requested() { return g_quit_requested; }

namespace win32 {
namespace {
KeyFilter g_key_filter = nullptr;
}

void set_key_filter(KeyFilter filter) { g_key_filter = filter; }

void dispatch_message(MSG& msg) {
    bool is_key = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    if (is_key && g_key_filter && g_key_filter(msg)) return;
    HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (top && IsDialogMessageW(top, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int run_message_loop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatch_message(msg);
    return static_cast<int>(msg.wParam);
}

}  // namespace win32
}  // namespace platform
