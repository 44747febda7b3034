#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Reading UTF-8 text one character at a time and comparing characters
// without regard to case, the way file names are compared on Windows.
namespace text {

// The code point that starts at text[i]; advances i past it. A byte that
// does not start a well-formed sequence stands for itself (0xDC00 + byte),
// so any byte string reads to the end and compares consistently.
char32_t next_code_point(std::string_view text, std::size_t& i);

// Appends the UTF-8 bytes of c.
void append_utf8(std::string& out, char32_t c);

// The upper-case form of c for the scripts that file names commonly use
// (Latin, Greek, Cyrillic, full-width Latin); other characters unchanged.
char32_t upper_case(char32_t c);

// A name in the form that compares equal for every spelling Windows takes
// as the same name (upper case, in UTF-8).
std::string folded_name(std::string_view name);
// The same, appended to out.
void append_folded(std::string& out, std::string_view name);

}  // namespace text
