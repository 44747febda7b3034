#include "app/lifecycle.h"
#include "app/settings.h"

#include "platform/pending_events.h"

void start_up(AppState& state) {
    state.last_directory = load_settings();
    StartGdiplus(state.gdiplusToken);
}

void shut_down(AppState& state) {
    state.image.Dispose();
    StopGdiplus(state.gdiplusToken);
    if (!state.last_directory.empty()) {
        save_settings(state.last_directory);
        platform::process_pending_events();
    }
}

void clear_list(FileTable& table, StatusLine& status) {
    if (table.row_count() == 0) return;
    table.clear();
    status.set_text("清空处理结束");
}
