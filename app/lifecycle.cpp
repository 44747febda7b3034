#include "app/lifecycle.h"
#include "app/settings.h"

#include "platform/pending_events.h"

namespace app {

void start_up(filelist::AppState& state) {
    state.last_directory = load_settings();
    imaging::StartGdiplus(state.gdiplusToken);
}

bool shut_down(filelist::AppState& state) {
    state.image.Dispose();
    imaging::StopGdiplus(state.gdiplusToken);
    if (state.last_directory.empty()) return true;
    bool saved = save_settings(state.last_directory);
    platform::process_pending_events();
    return saved;
}

void clear_list(filelist::FileTable& table, filelist::StatusLine& status) {
    if (table.row_count() == 0) return;
    table.clear();
    status.set_text("清空处理结束");
}

}  // namespace app
