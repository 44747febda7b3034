#pragma once

#include <functional>

namespace platform {

// Runs every window event already queued, then returns. Long loops call it
// between steps so the windows repaint and clicks are handled meanwhile.
void process_pending_events();

// True once the program has been asked to end while events were processed
// (the quit request is kept for the main loop); long loops stop early then.
bool quit_requested();

// Extra work run at the end of every process_pending_events call. Lets tests
// act "between two rows" of a long loop as a user's click would.
void set_pending_events_hook(std::function<void()> hook);

}  // namespace platform
