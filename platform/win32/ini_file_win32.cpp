#include "platform/ini_file.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

#include <windows.h>

namespace platform {
namespace {

// True when the ANSI code page holds the text exactly.
bool fits_ansi_code_page(const std::wstring& text) {
    if (text.empty()) return true;
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    int back = MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, nullptr, 0);
    std::wstring round(static_cast<std::size_t>(back), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, round.data(), back);
    return round == text;
}

std::string read_whole_file(const std::wstring& path, bool& readable) {
    win32::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    readable = file.get() != INVALID_HANDLE_VALUE;
    std::string bytes;
    char chunk[4096];
    DWORD n = 0;
    while (readable && ReadFile(file.get(), chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
    return bytes;
}

bool write_whole_file(const std::wstring& path, const std::string& bytes) {
    win32::UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.get() != INVALID_HANDLE_VALUE &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// The profile functions keep a file that starts with a UTF-16LE byte-order
// mark in UTF-16 and read and write any text there. The file's own lines,
// in the ANSI code page until now, are carried over; the new file replaces
// the old one only once it is written whole. Bytes the code page does not
// hold (another program's keys in another encoding) would turn into
// replacement characters: the file then stays as it is, and the save fails.
bool make_unicode(const std::wstring& path) {
    bool exists = false;
    std::string ansi = read_whole_file(path, exists);
    if (exists && ansi.size() >= 2 && static_cast<unsigned char>(ansi[0]) == 0xFF &&
        static_cast<unsigned char>(ansi[1]) == 0xFE) {
        return true;
    }
    if (!exists && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;  // a directory, say
    std::wstring text;
    if (!ansi.empty()) {
        int n =
            MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
        if (n <= 0) return false;
        text.resize(static_cast<std::size_t>(n));
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), static_cast<int>(ansi.size()), text.data(), n);
    }
    std::string unicode = "\xFF\xFE";
    unicode.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    std::wstring staged = path + L".new";
    if (!write_whole_file(staged, unicode)) {
        DeleteFileW(staged.c_str());
        return false;
    }
    if (!MoveFileExW(staged.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(staged.c_str());
        return false;
    }
    return true;
}

}  // namespace

// The profile functions keep the file in the system's ANSI code page, as the
// program has always stored it; a value that code page cannot hold turns the
// file into UTF-16, which holds any.
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
    std::wstring wpath = win32::widen(path), wsection = win32::widen(section), wkey = win32::widen(key),
                 wvalue = win32::widen(value);
    if (!(fits_ansi_code_page(wsection) && fits_ansi_code_page(wkey) && fits_ansi_code_page(wvalue)) &&
        !make_unicode(wpath)) {
        return false;
    }
    return WritePrivateProfileStringW(wsection.c_str(), wkey.c_str(), wvalue.c_str(), wpath.c_str()) != FALSE;
}

}  // namespace platform
