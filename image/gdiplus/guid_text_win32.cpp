#include "image/gdiplus/guid_text_win32.h"

#include "platform/win32/text.h"

#include <objbase.h>

namespace imaging {

std::string guid_to_text(const GUID& guid) {
    wchar_t text[39] = {};
    if (StringFromGUID2(guid, text, 39) != 39) return {};
    return platform::win32::narrow(text);
}

GUID text_to_guid(const std::string& text) {
    GUID guid{};
    // Only the braced form: any other text would send CLSIDFromString looking
    // for a program id in the registry.
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return guid;
    std::wstring wide = platform::win32::widen(text);
    if (FAILED(CLSIDFromString(wide.c_str(), &guid))) guid = GUID{};
    return guid;
}

}  // namespace imaging
