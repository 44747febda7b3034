#pragma once

#include <string>
#include <string_view>
#include <vector>

// File names in the order Explorer shows them: case does not matter, and a
// run of digits counts by its value, so IMG_2 comes before IMG_10.
// Punctuation comes before digits and digits before letters; other
// characters follow by code point. Names that differ only in case or in
// leading zeros still get a fixed order (fewer zeros first, then byte order).
int natural_compare(std::string_view a, std::string_view b);

inline bool natural_less(std::string_view a, std::string_view b) { return natural_compare(a, b) < 0; }

void sort_naturally(std::vector<std::string>& names);
