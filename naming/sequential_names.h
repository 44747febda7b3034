#pragma once

#include "filelist/batch.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace naming {

// The names of sequential mode: the leading text, then a running number that
// starts at the start number and grows by the increment from row to row.
// Every number is written with at least as many digits as the start text is
// wide, so "001" gives A001 … A009, A010 and the names sort in row order; "1.9"
// gives A001 too.
class SequentialNumbering {
public:
    // fields: leading text, start number, increment, as typed.
    explicit SequentialNumbering(const std::array<std::string, 3>& fields);

    // The next name, beginning with the start number. The running number is a
    // 32-bit integer that wraps around past either end of its range.
    std::string next();

private:
    std::string prefix_;
    std::size_t min_digits_;
    std::uint32_t current_;  // unsigned, so that the sums wrap without overflow
    std::uint32_t increment_;
};

// Gives every row of the batch its sequential name.
void build_sequential_names(filelist::Batch& batch, const std::array<std::string, 3>& rule_fields);

}  // namespace naming
