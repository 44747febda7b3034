#include "platform/pending_events.h"
#include "platform/pending_events_hook.h"

namespace platform {

// Without windows there is no event queue; only the hook runs.
void process_pending_events() { detail::run_pending_events_hook(); }

bool quit_requested() { return false; }

}  // namespace platform
