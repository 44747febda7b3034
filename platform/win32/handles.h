#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

// Owning wrappers for Win32 handles: each handle is released exactly once,
// by the wrapper that holds it. Copying is deleted (unique_ptr semantics).
namespace platform::win32 {

struct WindowDestroyer {
    void operator()(HWND h) const {
        if (IsWindow(h)) DestroyWindow(h);
    }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

// A memory device context from CreateCompatibleDC.
struct MemoryDcDeleter {
    void operator()(HDC h) const { DeleteDC(h); }
};
using UniqueMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

struct IconDestroyer {
    void operator()(HICON h) const { DestroyIcon(h); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

struct MenuDestroyer {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

// Memory the system allocated for the caller with LocalAlloc.
struct LocalMemoryFreer {
    void operator()(void* p) const { LocalFree(p); }
};

struct KernelHandleCloser {
    void operator()(HANDLE h) const {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using UniqueHandle = std::unique_ptr<void, KernelHandleCloser>;

struct FindHandleCloser {
    void operator()(HANDLE h) const {
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
    }
};
using UniqueFindHandle = std::unique_ptr<void, FindHandleCloser>;

struct ModuleFreer {
    void operator()(HMODULE h) const { FreeLibrary(h); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

struct GlobalMemoryFreer {
    void operator()(HGLOBAL h) const { GlobalFree(h); }
};
using UniqueGlobalMemory = std::unique_ptr<void, GlobalMemoryFreer>;

// One reference on a COM object (IStream and the like).
struct ComReleaser {
    template <class Interface>
    void operator()(Interface* object) const {
        object->Release();
    }
};
template <class Interface>
using UniqueCom = std::unique_ptr<Interface, ComReleaser>;

}  // namespace platform::win32
