#include "platform/program_directory.h"
#include "platform/win32/text.h"

#include <windows.h>

namespace platform {

std::string program_directory() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
    std::size_t slash = buffer.rfind(L'\\');
    if (slash == std::wstring::npos) return {};
    return win32::narrow(std::wstring_view(buffer).substr(0, slash));
}

}  // namespace platform
