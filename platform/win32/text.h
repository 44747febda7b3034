#pragma once

#include <string>
#include <string_view>

// Texts are UTF-8 inside the program and UTF-16 at every Win32 call.
namespace platform::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// A path as the file functions take it: the wide form, with the \\?\ prefix
// once it is too long for the plain form.
std::wstring file_system_path(std::string_view utf8_path);

}  // namespace platform::win32
