#pragma once

#include "image/gdiplus/gdiplus_api.h"
#include "image/image_file.h"
#include "image/image_metadata.h"
#include "image/gdiplus/memory_stream_win32.h"

#include <cstdint>
#include <optional>
#include <string>

namespace imaging {

namespace gdiplus {
inline GpImage* image_of(std::uintptr_t handle) { return reinterpret_cast<GpImage*>(handle); }
inline std::uintptr_t handle_of(GpImage* image) { return reinterpret_cast<std::uintptr_t>(image); }
}  // namespace gdiplus

// What an ImageFile holds on Windows. The program's own reader reads every
// loaded file's headers and metadata; GDI+ opens the image only when an
// operation needs what only GDI+ has (pixels, encoders, frames, a property
// the reader does not hold), since it decodes every pixel as it opens (a
// third of a second for a camera's photo under Wine). A file the reader does
// not know is opened by GDI+ at once.
struct ImageFile::Backend {
    gdiplus::GpImage* image = nullptr;
    MemoryStream stream;
    // What the reader found: an image with a whole header, or nothing.
    std::optional<ImageMetadata> metadata;
    // Where GDI+ opens the image from when it is needed: this file, or the
    // bytes in stream.
    std::wstring file_name;
    bool from_bytes = false;
    bool use_icm = false;
    bool library_tried = false;  // GDI+ was asked once; a failure is not asked again

    bool holds_image() const { return image || metadata; }
    // What GetHandle answers: GDI+'s image once GDI+ holds it; for an image
    // only the reader has read, a handle of this object's own (the place of
    // what the reader found), which means something only to this object; 0
    // when nothing is held. Asking never opens anything.
    std::uintptr_t handle() const {
        if (image) return gdiplus::handle_of(image);
        return metadata ? reinterpret_cast<std::uintptr_t>(&*metadata) : 0;
    }
    // The reader's view, which answers for format, size and the main image's
    // tags until GDI+ has opened the image; from then on GDI+ answers, as
    // its operations may change the image (a turn, another frame, a property).
    const ImageMetadata* reader() const { return image ? nullptr : metadata ? &*metadata : nullptr; }
    // GDI+'s image, opened now if it has not been; null when GDI+ cannot open it.
    gdiplus::GpImage* library_image();
    // Asks GDI+ to open the file or the bytes now; its status.
    int open_library_image();
    // Forgets everything held; the caller has disposed GDI+'s image.
    void forget();
};

namespace gdiplus {

// A file name as GDI+ takes it (the \\?\ form for a long path); nothing when
// the name holds a zero character, which would cut it short and name another file.
std::optional<std::wstring> file_name_for_library(const std::string& utf8);

// One property as GDI+ reports it; the status of the last step goes to status.
std::optional<PropertyRecord> library_property(GpImage* image, std::int32_t id, int& status);

}  // namespace gdiplus

}  // namespace imaging
