#pragma once

#include <cstdint>
#include <vector>

namespace imaging {

// One image property as the imaging library reports it: tag id, byte length,
// type code (1 byte, 2 ASCII, 3 short, 4 long, 5 rational, 7 undefined,
// 9 signed long, 10 signed rational) and the raw value bytes, multi-byte
// numbers in little-endian order. For the capture date (id 36867) the value is
// "YYYY:MM:DD HH:MM:SS" with its closing zero byte: length 20, type 2.
struct PropertyRecord {
    std::int32_t id = 0;
    std::int32_t length = 0;
    std::int32_t type = 0;
    std::vector<std::uint8_t> value;
};

}  // namespace imaging
