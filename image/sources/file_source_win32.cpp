#include "image/sources/byte_sources.h"
#include "image/sources/header_reads.h"
#include "image/sources/read_ahead_source.h"

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace imaging {

namespace {

class Win32FileSource final : public ByteSource {
public:
    Win32FileSource(platform::win32::UniqueHandle file, std::uint64_t size) : file_(std::move(file)), size_(size) {}

    std::uint64_t size() const override { return size_; }

    std::size_t read_at(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        std::size_t done = 0;
        while (done < out.size() && offset + done < size_) {
            OVERLAPPED at{};
            std::uint64_t position = offset + done;
            at.Offset = static_cast<DWORD>(position);
            at.OffsetHigh = static_cast<DWORD>(position >> 32);
            DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1u << 30));
            DWORD n = 0;
            if (!ReadFile(file_.get(), out.data() + done, chunk, &n, &at) || n == 0) break;
            done += n;
        }
        return done;
    }

private:
    platform::win32::UniqueHandle file_;
    std::uint64_t size_;
};

}  // namespace

std::unique_ptr<ByteSource> open_file_source(const std::string& path) {
    platform::win32::UniqueHandle file(CreateFileW(platform::win32::file_system_path(path).c_str(), GENERIC_READ,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return nullptr;
    }
    std::uint64_t size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return std::make_unique<ReadAheadSource>(std::make_unique<Win32FileSource>(std::move(file), size));
}

FileHeader read_file_header(const std::string& path, std::size_t max_bytes) {
    // Without backup semantics a directory does not open: files only. On a
    // network folder each call here is a request, so none more than needed.
    platform::win32::UniqueHandle file(CreateFileW(platform::win32::file_system_path(path).c_str(), GENERIC_READ,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FileHeader header;
    // The size first: reading a file makes some clients ask the server for
    // its attributes again.
    LARGE_INTEGER size{};
    if (file.get() == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.get(), &size)) return header;
    header.size = static_cast<std::uint64_t>(size.QuadPart);
    header.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(max_bytes, header.size)));
    std::size_t done = 0;
    while (done < header.bytes.size()) {
        DWORD n = 0;
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(header.bytes.size() - done, 1u << 30));
        if (!ReadFile(file.get(), header.bytes.data() + done, chunk, &n, nullptr) || n == 0) break;
        done += n;
    }
    header.bytes.resize(done);
    header.opened = true;
    return header;
}

}  // namespace imaging
