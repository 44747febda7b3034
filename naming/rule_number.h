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
    std::size_t digits = 0;  // how many digits it was typed with, leading zeros included
};

// Reads blanks, an optional sign and decimal digits from the front of text and
// ignores the rest, so a fraction is dropped toward zero ("-1.9" gives -1).
// A number beyond the 32-bit range keeps its low 32 bits, as the running
// numbers do when they wrap.
LeadingNumber read_leading_number(std::string_view text);

// Appends value in decimal with at least min_digits digits, zeros filled in
// after the sign ("-007").
void append_number(std::string& out, std::int32_t value, std::size_t min_digits);

}  // namespace naming
