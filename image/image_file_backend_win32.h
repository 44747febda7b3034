#pragma once

#include "image/gdiplus_api.h"
#include "image/image_file.h"
#include "image/image_metadata.h"
#include "image/memory_stream_win32.h"

#include <cstdint>
#include <optional>
#include <string>

namespace imaging {

// What an ImageFile holds on Windows: the GDI+ image it owns, the stream an
// image loaded from bytes reads from, and what the program's own reader found
// in the same file. GDI+ does not report every property (Wine's gives none of
// a JPEG's EXIF data) nor open every format (HEIF): the reader answers then,
// and a file only the reader knows is held as its metadata alone.
struct ImageFile::Backend {
    gdiplus::GpImage* image = nullptr;
    MemoryStream stream;
    std::optional<ImageMetadata> metadata;

    bool holds_image() const { return image || metadata; }
    // The reader's view when GDI+ holds no image of the file.
    const ImageMetadata* reader_only() const { return image ? nullptr : metadata ? &*metadata : nullptr; }
};

namespace gdiplus {

inline GpImage* image_of(std::uintptr_t handle) { return reinterpret_cast<GpImage*>(handle); }
inline std::uintptr_t handle_of(GpImage* image) { return reinterpret_cast<std::uintptr_t>(image); }

// A file name as GDI+ takes it; nothing when the name holds a zero character,
// which would cut it short and name another file.
std::optional<std::wstring> file_name_for_library(const std::string& utf8);

// One property as GDI+ reports it; the status of the last step goes to status.
std::optional<PropertyRecord> library_property(GpImage* image, std::int32_t id, int& status);

}  // namespace gdiplus

}  // namespace imaging
