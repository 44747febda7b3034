#include "platform/ini_file.h"
#include "platform/win32/text.h"

#include <windows.h>

namespace platform {

// The profile functions keep the file in the system's ANSI code page, as the
// program has always stored it.
std::string read_ini_value(const std::string& path, const std::string& section, const std::string& key) {
    std::wstring wpath = win32::widen(path);
    std::wstring wsection = win32::widen(section);
    std::wstring wkey = win32::widen(key);
    std::wstring buffer(1024, L'\0');
    for (;;) {
        DWORD n = GetPrivateProfileStringW(wsection.c_str(), wkey.c_str(), L"", buffer.data(),
                                           static_cast<DWORD>(buffer.size()), wpath.c_str());
        // n == size - 1 means the value was cut to fit; try a larger buffer.
        if (n + 1 < buffer.size() || buffer.size() >= 65536) {
            buffer.resize(n);
            return win32::narrow(buffer);
        }
        buffer.resize(buffer.size() * 4);
    }
}

bool write_ini_value(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) {
    return WritePrivateProfileStringW(win32::widen(section).c_str(), win32::widen(key).c_str(),
                                      win32::widen(value).c_str(), win32::widen(path).c_str()) != FALSE;
}

}  // namespace platform
