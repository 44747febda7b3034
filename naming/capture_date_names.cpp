#include "naming/capture_date_names.h"

#include "filelist/split_name.h"
#include "image/sources/byte_sources.h"
#include "image/sources/header_reads.h"

#include <algorithm>
#include <chrono>

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

// The capture date of the main image's EXIF, as the program's own reader
// found it: empty when there is none.
std::string exif_date(const imaging::ImageMetadata& image) {
    for (const imaging::PropertyRecord& record : image.properties) {
        if (record.id == kDateTimeOriginal) return date_digits(text_of(record));
    }
    return {};
}

// How long the builder waits on a file being read before the windows catch up.
constexpr std::chrono::milliseconds kWaitSlice{50};

// The name a file gets from its capture time: the date, else its own base name.
std::string name_for(CaptureTime time, const std::string& file_name) {
    return time.date.empty() ? filelist::split_name(file_name).base : std::move(time.date);
}

}  // namespace

CaptureTime CaptureDateNamer::read_capture_time(const std::string& directory, const std::string& file_name,
                                                filelist::Progress& progress) {
    const std::string path = directory + file_name;
    return capture_time_of(path, file_name, imaging::open_file_source(path).get(), progress);
}

CaptureTime CaptureDateNamer::capture_time_of(const std::string& path, const std::string& file_name,
                                              const imaging::ByteSource* source, filelist::Progress& progress) {
    std::optional<imaging::ImageMetadata> image;
    if (source) {
        imaging::MediaDate media = imaging::read_media_date(*source, filelist::split_name(file_name).extension);
        if (media.kind != imaging::MediaKind::None) return CaptureTime{true, date_digits(std::move(media.date))};
        // A photo whose header the program reads through, date and all, is
        // not opened a second time for the image object.
        image = imaging::read_image_metadata(*source);
        if (image && imaging::has_image_header(*image)) {
            if (std::string date = exif_date(*image); !date.empty()) return CaptureTime{true, std::move(date)};
        }
    }
    progress.on_step();
    if (!image_.LoadFromFile(path)) return CaptureTime{};

    imaging::PropertyRecord record;
    image_.GetPropertyItem(kDateTimeOriginal, record);
    progress.on_step();
    image_.Dispose();
    progress.on_step();
    std::string date = date_digits(text_of(record));
    if (date.empty() && image) date = date_digits(image->date_outside_exif);
    return CaptureTime{true, std::move(date)};
}

bool CaptureDateNamer::each_capture_time(const std::string& directory, const std::vector<std::string>& names,
                                         const std::vector<std::size_t>& rows, filelist::Progress& progress,
                                         const TimeSink& on_time) {
    std::vector<std::string> paths;
    paths.reserve(rows.size());
    for (std::size_t row : rows) paths.push_back(directory + names[row]);
    imaging::HeaderReads reads(paths);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::optional<imaging::FileHeader> header;
        while (!(header = reads.take(i, kWaitSlice))) {
            progress.on_step();
            if (progress.stopping()) return false;
        }
        std::unique_ptr<imaging::ByteSource> source = imaging::header_source(paths[i], std::move(*header));
        if (!on_time(rows[i], capture_time_of(paths[i], names[rows[i]], source.get(), progress))) return false;
    }
    return true;
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
    const auto generation = batch.generation();
    std::unordered_map<std::string, std::string>& known = remembered_times(batch);

    std::vector<std::size_t> unknown;
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (!known.contains(names[k])) unknown.push_back(k);
    }
    bool whole = each_capture_time(batch.base_directory(), names, unknown, progress, [&](std::size_t k, CaptureTime time) {
        if (!progress.on_row(k, filelist::RowOutcome{}) || batch.generation() != generation) return false;
        known[names[k]] = std::move(time.date);
        return true;
    });
    if (!whole) return std::nullopt;
    std::vector<std::string> times;
    times.reserve(names.size());
    for (const std::string& name : names) times.push_back(known[name]);
    return times;
}

void CaptureDateNamer::build_capture_date_names(filelist::Batch& batch,
                                                const ImageLoadFailureNotice& notify_load_failure,
                                                filelist::Progress& progress) {
    // Events run between files and may replace the chosen files: work on the
    // batch as it is now, and stop once the table shows another one.
    const std::vector<std::string> names = batch.file_names();
    const auto generation = batch.generation();
    std::vector<std::size_t> rows(names.size());
    for (std::size_t k = 0; k < rows.size(); ++k) rows[k] = k;

    each_capture_time(batch.base_directory(), names, rows, progress, [&](std::size_t k, CaptureTime time) {
        progress.on_step();
        if (!time.readable && notify_load_failure) notify_load_failure();
        if (batch.generation() != generation) return false;
        remembered_times(batch)[names[k]] = time.date;
        batch.set_new_name(k, name_for(std::move(time), names[k]));
        return progress.on_row(k, filelist::RowOutcome{});
    });
}

}  // namespace naming
