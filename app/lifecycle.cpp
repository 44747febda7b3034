#include "app/lifecycle.h"
#include "app/settings.h"

#include "platform/pending_events.h"

namespace app {

void start_up(filelist::AppState& state, imaging::LibrarySession& library) {
    state.last_directory.restore(load_settings());
    library.start();
}

bool shut_down(const filelist::AppState& state, naming::CaptureDateNamer& namer, imaging::LibrarySession& library) {
    namer.release_image();
    library.stop();
    if (state.last_directory.empty()) return true;
    bool saved = save_settings(state.last_directory.value());
    platform::process_pending_events();
    return saved;
}

void clear_list(filelist::MainModel& model) {
    if (model.state.batch.empty()) return;
    model.state.batch.clear();
    model.status.set_text("清空处理结束");
}

}  // namespace app
