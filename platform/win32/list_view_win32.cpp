#include "platform/win32/list_view.h"

#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

namespace platform::win32 {

void add_list_view_columns(HWND list, std::span<const ListColumn> columns, int dpi, DWORD extended_style) {
    ListView_SetExtendedListViewStyle(list, extended_style);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::wstring header = widen(columns[i].header);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = header.data();
        column.cx = scale_to_dpi(columns[i].width, dpi);
        column.iSubItem = static_cast<int>(i);
        ListView_InsertColumn(list, static_cast<int>(i), &column);
    }
}

void copy_to_list_view(const std::string& utf8, wchar_t* buffer, int capacity) {
    if (!buffer || capacity <= 0) return;
    std::wstring text = widen(utf8);
    std::size_t n = std::min(text.size(), static_cast<std::size_t>(capacity - 1));
    std::wmemcpy(buffer, text.data(), n);
    buffer[n] = L'\0';
}

}  // namespace platform::win32
