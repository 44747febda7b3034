#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The local time now as "YYYY-MM-DD HH:MM:SS".
std::string local_time_text();

// This process's id, which no other running process has.
std::uint32_t process_id();

}  // namespace platform
