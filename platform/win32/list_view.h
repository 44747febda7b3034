#pragma once

#include <windows.h>

#include <span>
#include <string>

// The report-style list views of the program's windows: their columns, and
// the texts they ask for.
namespace platform::win32 {

struct ListColumn {
    const char* header;  // UTF-8
    int width;           // pixels at 96 DPI
};

// Sets the extended style and adds the columns, in order, at dpi.
void add_list_view_columns(HWND list, std::span<const ListColumn> columns, int dpi, DWORD extended_style);

// Copies text into a buffer the list view lends, cut to fit.
void copy_to_list_view(const std::string& utf8, wchar_t* buffer, int capacity);

}  // namespace platform::win32
