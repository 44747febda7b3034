#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace imaging {

// Class id of the first installed encoder whose format id text equals format
// exactly; nothing when none does. The status of the encoder list query is
// left in lastStatus.
std::optional<CLSID> find_encoder(const std::string& format, int& lastStatus);

}  // namespace imaging
