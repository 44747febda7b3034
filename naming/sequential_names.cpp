#include "naming/sequential_names.h"
#include "naming/rule_number.h"

namespace naming {

SequentialNumbering::SequentialNumbering(const std::array<std::string, 3>& fields) : prefix_(fields[0]) {
    min_digits_ = start_digits(fields[1]);
    current_ = static_cast<std::uint32_t>(read_leading_number(fields[1]).value);
    increment_ = static_cast<std::uint32_t>(read_leading_number(fields[2]).value);
}

std::string SequentialNumbering::next() {
    std::string name;
    name.reserve(prefix_.size() + 12 + min_digits_);
    name = prefix_;
    append_number(name, static_cast<std::int32_t>(current_), min_digits_);
    current_ += increment_;
    return name;
}

void build_sequential_names(filelist::Batch& batch, const std::array<std::string, 3>& rule_fields) {
    SequentialNumbering numbering(rule_fields);
    for (std::size_t row = 0; row < batch.row_count(); ++row) batch.set_new_name(row, numbering.next());
}

}  // namespace naming
