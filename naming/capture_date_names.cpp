#include "naming/capture_date_names.h"

#include "filelist/split_name.h"
#include "platform/pending_events.h"

#include <algorithm>

namespace naming {

namespace {

constexpr std::int32_t kDateTimeOriginal = 0x9003;

// The value bytes as text, up to the first zero byte.
std::string text_of(const imaging::PropertyRecord& record) {
    auto end = std::find(record.value.begin(), record.value.end(), std::uint8_t{0});
    return std::string(record.value.begin(), end);
}

// Cameras write zeros or blanks for a date they do not know.
bool is_unknown_date(const std::string& date) {
    return std::all_of(date.begin(), date.end(), [](char c) { return c == '0' || c == ' '; });
}

}  // namespace

std::string capture_date_name(filelist::AppState& state, const std::string& directory, const std::string& file_name,
                              const ImageLoadFailureNotice& notify_load_failure) {
    platform::process_pending_events();
    if (!state.image.LoadFromFile(directory + file_name)) {
        if (notify_load_failure) notify_load_failure();
        return filelist::split_name(file_name).base;
    }

    imaging::PropertyRecord record;
    state.image.GetPropertyItem(kDateTimeOriginal, record);
    platform::process_pending_events();
    state.image.Dispose();
    platform::process_pending_events();

    std::string date = text_of(record);
    date.erase(std::remove(date.begin(), date.end(), ':'), date.end());
    platform::process_pending_events();
    if (is_unknown_date(date)) return filelist::split_name(file_name).base;
    return date;
}

void build_capture_date_names(filelist::MainModel& model, const ImageLoadFailureNotice& notify_load_failure) {
    // Events run between files and may replace the chosen files: work on the
    // batch as it is now, and stop once the table shows another one.
    const std::vector<std::string> names = model.state.file_names;
    const std::string directory = model.state.base_directory;
    const auto generation = model.table.generation();

    for (std::size_t k = 0; k < names.size(); ++k) {
        std::string name = capture_date_name(model.state, directory, names[k], notify_load_failure);
        if (model.table.generation() != generation || platform::quit_requested()) return;
        if (k < model.state.new_names.size()) model.state.new_names[k] = name;
        model.table.set_cell(k, filelist::FileTable::kNewName, std::move(name));
        platform::process_pending_events();
    }
}

}  // namespace naming
