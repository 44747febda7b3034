#pragma once

// Shared by the platform's process_pending_events implementations.
namespace platform::detail {

void run_pending_events_hook();

}  // namespace platform::detail
