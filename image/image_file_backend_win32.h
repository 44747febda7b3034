#pragma once

#include "image/gdiplus_api.h"
#include "image/image_file.h"
#include "image/memory_stream_win32.h"

#include <cstdint>
#include <optional>
#include <string>

// What an ImageFile holds on Windows: the GDI+ image it owns, and the stream
// an image loaded from bytes reads from.
struct ImageFile::Backend {
    gdiplus::GpImage* image = nullptr;
    MemoryStream stream;
};

namespace gdiplus {

inline GpImage* image_of(std::uintptr_t handle) { return reinterpret_cast<GpImage*>(handle); }
inline std::uintptr_t handle_of(GpImage* image) { return reinterpret_cast<std::uintptr_t>(image); }

// A file name as GDI+ takes it; nothing when the name holds a zero character,
// which would cut it short and name another file.
std::optional<std::wstring> file_name_for_library(const std::string& utf8);

}  // namespace gdiplus
