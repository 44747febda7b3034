#pragma once

#include <windows.h>

#include <string>

namespace imaging {

// GUIDs as the image object's callers see them: braced upper-case text,
// {B96B3CAE-0728-11D3-9D7B-0000F81EF32E}.
std::string guid_to_text(const GUID& guid);
// The GUID a braced text spells (hex digits of either case); all zero for any
// other text.
GUID text_to_guid(const std::string& text);

}  // namespace imaging
