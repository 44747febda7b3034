#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace naming {

// The start number and the increment of a numbering rule are free texts; these
// routines read the number at their front and write running numbers back.

struct LeadingNumber {
    std::int32_t value = 0;  // the number; 0 when the text starts with none
};

// Reads blanks, an optional sign and decimal digits from the front of text and
// ignores the rest, so a fraction is dropped toward zero ("-1.9" gives -1).
// A number beyond the 32-bit range keeps its low 32 bits, as the running
// numbers do when they wrap.
LeadingNumber read_leading_number(std::string_view text);

// How many digits the running numbers get: as many as the start text is
// wide in the bytes of the Chinese ANSI code page the program's users type in
// (one for an ASCII character, two for any other), less a minus sign typed
// before the number, which a negative number writes itself. "001" and "1.9"
// give 3, " 1" and "+5" 2, "-01" 2.
std::size_t start_digits(std::string_view start_text);

// Appends value in decimal with at least min_digits digits, zeros filled in
// after the sign ("-007").
void append_number(std::string& out, std::int32_t value, std::size_t min_digits);

}  // namespace naming
