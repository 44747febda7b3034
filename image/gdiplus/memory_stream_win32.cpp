#include "image/gdiplus/memory_stream_win32.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace imaging {

IStream* MemoryStream::CreateFromBytes(std::span<const std::uint8_t> bytes) {
    Release();
    platform::win32::UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size()));
    if (!memory) return nullptr;
    if (!bytes.empty()) {
        void* address = GlobalLock(memory.get());
        if (!address) return nullptr;
        std::memcpy(address, bytes.data(), bytes.size());
        GlobalUnlock(memory.get());
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, &stream)) || !stream) return nullptr;
    memory.release();  // the stream frees it now
    stream_.reset(stream);
    return stream;
}

std::vector<std::uint8_t> MemoryStream::ReadAll() const {
    if (!stream_) return {};
    STATSTG stat{};
    HGLOBAL memory = nullptr;
    if (FAILED(stream_->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream_.get(), &memory))) {
        return {};
    }
    auto size = static_cast<std::size_t>(std::min<std::uint64_t>(stat.cbSize.QuadPart, GlobalSize(memory)));
    if (size == 0) return {};
    const void* address = GlobalLock(memory);
    if (!address) return {};
    std::vector<std::uint8_t> content;
    try {
        content.assign(static_cast<const std::uint8_t*>(address), static_cast<const std::uint8_t*>(address) + size);
    } catch (const std::bad_alloc&) {
        content.clear();
    }
    GlobalUnlock(memory);
    return content;
}

}  // namespace imaging
