#pragma once

#include "filelist/batch.h"
#include "filelist/progress.h"
#include "image/image_file.h"
#include "image/sources/byte_sources.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace naming {

// Tells the user that a chosen file could not be opened as an image
// ("载入图片失败！") and waits until the message is dismissed.
using ImageLoadFailureNotice = std::function<void()>;

// When a file was taken, as the capture-date names read it.
struct CaptureTime {
    bool readable = false;  // an image the library opens, or a RAW file or video the reader knows
    std::string date;       // "20080517 142345"; empty when the file holds no usable date
};

// The capture-date name builder with the program's one image object. Each
// file's header is read once, the next files' read ahead meanwhile; a photo
// whose EXIF date the program's own reader finds there is never opened again.
// Others are opened as an image, their date read and the image let go before
// the next. Camera RAW files and videos are read by the program's own reader,
// headers only, whether or not the library can open them.
class CaptureDateNamer {
public:
    CaptureDateNamer() = default;
    CaptureDateNamer(const CaptureDateNamer&) = delete;
    CaptureDateNamer& operator=(const CaptureDateNamer&) = delete;

    // The new base name of one chosen file in directory: its photo's capture
    // date with the colons removed ("2008:05:17 14:23:45" gives
    // "20080517 142345"), or the file's own base name when it has no usable
    // date. A file that cannot be opened as an image keeps its base name after
    // the notice.
    std::string capture_date_name(const std::string& directory, const std::string& file_name,
                                  const ImageLoadFailureNotice& notify_load_failure, filelist::Progress& progress);

    // Names every chosen file after its capture date, row by row, telling
    // progress of each step and row. Stops when the rows are replaced or
    // emptied meanwhile, or progress says so.
    void build_capture_date_names(filelist::Batch& batch, const ImageLoadFailureNotice& notify_load_failure,
                                  filelist::Progress& progress);

    // The capture time of one chosen file in directory; never a message.
    CaptureTime read_capture_time(const std::string& directory, const std::string& file_name,
                                  filelist::Progress& progress);

    // The capture time of every row of the batch (empty for none), for
    // sorting: silently, each file read once per batch, progress told of each
    // row. Nothing when the rows are replaced meanwhile or progress says stop.
    std::optional<std::vector<std::string>> capture_times(const filelist::Batch& batch, filelist::Progress& progress);

    // The program ends: an image still held is let go. False when none was.
    bool release_image() { return image_.Dispose(); }

private:
    // The capture time of the file at path, from source (nothing when it
    // could not be opened).
    CaptureTime capture_time_of(const std::string& path, const std::string& file_name,
                                const imaging::ByteSource* source, filelist::Progress& progress);

    // Hands on the capture time of each of the given rows, in order, while
    // the headers of the next rows are read ahead. False when on_time says
    // stop, or the program is being closed while a file is awaited.
    using TimeSink = std::function<bool(std::size_t row, CaptureTime time)>;
    bool each_capture_time(const std::string& directory, const std::vector<std::string>& names,
                           const std::vector<std::size_t>& rows, filelist::Progress& progress,
                           const TimeSink& on_time);

    // The times read for this batch's files, by file name; forgotten when the rows are replaced.
    std::unordered_map<std::string, std::string>& remembered_times(const filelist::Batch& batch);

    std::uint64_t remembered_generation_ = 0;
    std::string remembered_directory_;
    std::unordered_map<std::string, std::string> remembered_;
    int lastStatus_ = 0;  // status of the image object's latest library call
    imaging::ImageFile image_{lastStatus_};
};

}  // namespace naming
