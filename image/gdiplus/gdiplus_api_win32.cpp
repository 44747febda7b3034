#include "image/gdiplus/gdiplus_api.h"

namespace imaging {

namespace gdiplus {

FARPROC Resolver::find(const char* name) {
    FARPROC found = module_ ? GetProcAddress(module_, name) : nullptr;
    if (!found) missing_.emplace_back(name);
    return found;
}

Library::Library(const std::wstring& path) : module_(LoadLibraryW(path.c_str())), api_(module_.get()) {}

namespace {

std::wstring system_gdiplus_path() {
    wchar_t directory[MAX_PATH];
    UINT n = GetSystemDirectoryW(directory, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return std::wstring(directory, n) + L"\\gdiplus.dll";
}

}  // namespace

const Api& api() {
    static const Library library(system_gdiplus_path());
    return library.api();
}

}  // namespace gdiplus

}  // namespace imaging
