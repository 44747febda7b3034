#pragma once

#include <optional>
#include <string>
#include <string_view>

// The INI text format as the Windows profile functions read it: "[section]"
// lines, then "key=value" lines. Section and key names compare without regard
// to ASCII letter case and surrounding blanks; the value is trimmed of blanks.
namespace platform::ini_text {

std::optional<std::string> find_value(std::string_view text, std::string_view section, std::string_view key);

// The text with [section] key set to value. Every other line keeps its bytes;
// a missing key is added at the end of its section, a missing section at the
// end of the text.
std::string with_value(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value);

}  // namespace platform::ini_text
