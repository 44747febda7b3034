#include "platform/win32/text.h"

#include <windows.h>

namespace platform::win32 {

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

std::wstring file_system_path(std::string_view utf8_path) {
    std::wstring wide = widen(utf8_path);
    if (wide.size() < MAX_PATH || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
    // The \\?\ form is taken literally, so doubled separators (a root spelled
    // "C:\" plus the joining "\") must go first.
    std::wstring collapsed;
    collapsed.reserve(wide.size());
    bool unc = wide.rfind(L"\\\\", 0) == 0;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        bool keep_double = unc && i == 1;
        if (wide[i] == L'\\' && !collapsed.empty() && collapsed.back() == L'\\' && !keep_double) continue;
        collapsed += wide[i];
    }
    if (unc) return L"\\\\?\\UNC\\" + collapsed.substr(2);
    return L"\\\\?\\" + collapsed;
}

}  // namespace platform::win32
