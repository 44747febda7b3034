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

std::string CaptureDateNamer::capture_date_name(const std::string& directory, const std::string& file_name,
                                                const ImageLoadFailureNotice& notify_load_failure) {
    platform::process_pending_events();
    if (!image_.LoadFromFile(directory + file_name)) {
        if (notify_load_failure) notify_load_failure();
        return filelist::split_name(file_name).base;
    }

    imaging::PropertyRecord record;
    image_.GetPropertyItem(kDateTimeOriginal, record);
    platform::process_pending_events();
    image_.Dispose();
    platform::process_pending_events();

    std::string date = text_of(record);
    date.erase(std::remove(date.begin(), date.end(), ':'), date.end());
    platform::process_pending_events();
    if (is_unknown_date(date)) return filelist::split_name(file_name).base;
    return date;
}

void CaptureDateNamer::build_capture_date_names(filelist::MainModel& model,
                                                const ImageLoadFailureNotice& notify_load_failure) {
    // Events run between files and may replace the chosen files: work on the
    // batch as it is now, and stop once the table shows another one.
    filelist::Batch& batch = model.state.batch;
    const std::vector<std::string> names = batch.file_names();
    const std::string directory = batch.base_directory();
    const auto generation = batch.generation();

    for (std::size_t k = 0; k < names.size(); ++k) {
        std::string name = capture_date_name(directory, names[k], notify_load_failure);
        if (batch.generation() != generation || platform::quit_requested()) return;
        batch.set_new_name(k, std::move(name));
        platform::process_pending_events();
    }
}

}  // namespace naming
