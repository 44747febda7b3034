#include "naming/capture_date_names.h"

#include "filelist/split_name.h"
#include "image/sources/byte_sources.h"

#include <algorithm>

namespace naming {

namespace {

constexpr std::int32_t kDateTimeOriginal = 0x9003;

// The value bytes as text, up to the first zero byte.
std::string text_of(const imaging::PropertyRecord& record) {
    auto end = std::find(record.value.begin(), record.value.end(), std::uint8_t{0});
    return std::string(record.value.begin(), end);
}

// The date as a name: "2008:05:17 14:23:45" gives "20080517 142345". Cameras
// write zeros or blanks for a date they do not know: that is no date.
std::string date_digits(std::string date) {
    date.erase(std::remove(date.begin(), date.end(), ':'), date.end());
    if (std::all_of(date.begin(), date.end(), [](char c) { return c == '0' || c == ' '; })) date.clear();
    return date;
}

// The capture time a photo without one in EXIF keeps in XMP, IPTC or a CIFF
// block, as EXIF writes it; empty when it keeps none.
std::string date_outside_exif(const imaging::ByteSource& source) {
    std::optional<imaging::ImageMetadata> image = imaging::read_image_metadata(source);
    return image ? image->date_outside_exif : std::string();
}

// The name a file gets from its capture time: the date, else its own base name.
std::string name_for(CaptureTime time, const std::string& file_name) {
    return time.date.empty() ? filelist::split_name(file_name).base : std::move(time.date);
}

}  // namespace

CaptureTime CaptureDateNamer::read_capture_time(const std::string& directory, const std::string& file_name,
                                                filelist::Progress& progress) {
    const std::string path = directory + file_name;
    std::unique_ptr<imaging::ByteSource> source = imaging::open_file_source(path);
    if (source) {
        imaging::MediaDate media = imaging::read_media_date(*source, filelist::split_name(file_name).extension);
        if (media.kind != imaging::MediaKind::None) return CaptureTime{true, date_digits(std::move(media.date))};
    }
    progress.on_step();
    if (!image_.LoadFromFile(path)) return CaptureTime{};

    imaging::PropertyRecord record;
    image_.GetPropertyItem(kDateTimeOriginal, record);
    progress.on_step();
    image_.Dispose();
    progress.on_step();
    std::string date = date_digits(text_of(record));
    if (date.empty() && source) date = date_digits(date_outside_exif(*source));
    return CaptureTime{true, std::move(date)};
}

std::string CaptureDateNamer::capture_date_name(const std::string& directory, const std::string& file_name,
                                                const ImageLoadFailureNotice& notify_load_failure,
                                                filelist::Progress& progress) {
    CaptureTime time = read_capture_time(directory, file_name, progress);
    progress.on_step();
    if (!time.readable && notify_load_failure) notify_load_failure();
    return name_for(std::move(time), file_name);
}

std::unordered_map<std::string, std::string>& CaptureDateNamer::remembered_times(const filelist::Batch& batch) {
    if (remembered_generation_ != batch.generation() || remembered_directory_ != batch.base_directory()) {
        remembered_.clear();
        remembered_generation_ = batch.generation();
        remembered_directory_ = batch.base_directory();
    }
    return remembered_;
}

std::optional<std::vector<std::string>> CaptureDateNamer::capture_times(const filelist::Batch& batch,
                                                                        filelist::Progress& progress) {
    const std::vector<std::string> names = batch.file_names();
    const std::string directory = batch.base_directory();
    const auto generation = batch.generation();
    std::unordered_map<std::string, std::string>& known = remembered_times(batch);

    std::vector<std::string> times;
    times.reserve(names.size());
    for (std::size_t k = 0; k < names.size(); ++k) {
        const std::string& name = names[k];
        if (auto found = known.find(name); found != known.end()) {
            times.push_back(found->second);
            continue;
        }
        CaptureTime time = read_capture_time(directory, name, progress);
        if (!progress.on_row(k, filelist::RowOutcome{}) || batch.generation() != generation) return std::nullopt;
        known[name] = time.date;
        times.push_back(std::move(time.date));
    }
    return times;
}

void CaptureDateNamer::build_capture_date_names(filelist::Batch& batch,
                                                const ImageLoadFailureNotice& notify_load_failure,
                                                filelist::Progress& progress) {
    // Events run between files and may replace the chosen files: work on the
    // batch as it is now, and stop once the table shows another one.
    const std::vector<std::string> names = batch.file_names();
    const std::string directory = batch.base_directory();
    const auto generation = batch.generation();

    for (std::size_t k = 0; k < names.size(); ++k) {
        CaptureTime time = read_capture_time(directory, names[k], progress);
        progress.on_step();
        if (!time.readable && notify_load_failure) notify_load_failure();
        if (batch.generation() != generation) return;
        remembered_times(batch)[names[k]] = time.date;
        batch.set_new_name(k, name_for(std::move(time), names[k]));
        if (!progress.on_row(k, filelist::RowOutcome{})) return;
    }
}

}  // namespace naming
