#pragma once

#include "platform/win32/handles.h"

#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <span>
#include <vector>

namespace imaging {

// A COM stream over a movable global memory block. The stream owns the block
// (it frees it with its last reference), so whoever still reads from the
// stream, GDI+ included, keeps the bytes alive.
class MemoryStream {
public:
    MemoryStream() = default;
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    // Drops any earlier stream, then makes one over a copy of bytes, at
    // position 0; null when the memory or the stream cannot be had.
    IStream* CreateFromBytes(std::span<const std::uint8_t> bytes);
    // Drops this object's reference on the stream.
    void Release() { stream_.reset(); }
    IStream* GetComStream() const { return stream_.get(); }
    // The stream's content (not the slack of its memory block); empty when
    // there is no stream or the content cannot be read.
    std::vector<std::uint8_t> ReadAll() const;

private:
    platform::win32::UniqueCom<IStream> stream_;
};

}  // namespace imaging
