#pragma once

#include <cstddef>

// Heap use of the benchmark process, counted by its own operator new/delete.
namespace memory_counter {

std::size_t bytes_in_use();
std::size_t peak_bytes();
// Starts a new peak measurement from the current use.
void reset_peak();

}  // namespace memory_counter
