#include "platform/pending_events.h"
#include "platform/pending_events_hook.h"

#include <utility>

namespace platform {
namespace {

std::function<void()>& hook() {
    static std::function<void()> instance;
    return instance;
}

}  // namespace

void set_pending_events_hook(std::function<void()> new_hook) { hook() = std::move(new_hook); }

namespace detail {

void run_pending_events_hook() {
    // A copy, so a hook that replaces itself does not destroy the running one.
    if (auto current = hook()) current();
}

}  // namespace detail
}  // namespace platform
