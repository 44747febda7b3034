#pragma once

#include <string>
#include <string_view>

// UTF-8 text as wide characters and back, one wide character per code point
// where wchar_t is 32 bits wide, UTF-16 where it is 16 (Windows). Lets the
// standard library's wide regular expressions match characters, not bytes.
namespace text {

std::wstring to_wide(std::string_view utf8);
std::string from_wide(std::wstring_view wide);

}  // namespace text
