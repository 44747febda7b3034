#pragma once

#include "image/image_file.h"
#include "platform/win32/handles.h"

#include <windows.h>
#include <objidl.h>

#include <bit>
#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

namespace imaging {

// The GDI+ flat API of gdiplus.dll, resolved by name at run time. The
// structures are GDI+'s published layouts, declared here so that no GDI+
// header is needed; their sizes follow the pointer width of the build.
namespace gdiplus {

using Status = int;  // GDI+ Status, one of image_status

struct GpImage;  // opaque image object of the library

struct StartupInput {
    UINT32 GdiplusVersion;
    void* DebugEventCallback;
    BOOL SuppressBackgroundThread;
    BOOL SuppressExternalCodecs;
};

struct PropertyItem {
    ULONG id;
    ULONG length;
    WORD type;
    void* value;
};

struct ImageCodecInfo {
    CLSID Clsid;
    GUID FormatID;
    const WCHAR* CodecName;
    const WCHAR* DllName;
    const WCHAR* FormatDescription;
    const WCHAR* FilenameExtension;
    const WCHAR* MimeType;
    DWORD Flags;
    DWORD Version;
    DWORD SigCount;
    DWORD SigSize;
    const BYTE* SigPattern;
    const BYTE* SigMask;
};

struct EncoderParameter {
    GUID Guid;
    ULONG NumberOfValues;
    ULONG Type;
    void* Value;
};

struct EncoderParameters {
    UINT Count;
    EncoderParameter Parameter[1];
};

struct ColorPalette {
    UINT Flags;
    UINT Count;
    DWORD Entries[1];
};

struct RectF {
    float X, Y, Width, Height;
};

inline constexpr bool kPointers32 = sizeof(void*) == 4;
static_assert(sizeof(StartupInput) == (kPointers32 ? 16 : 24));
static_assert(sizeof(PropertyItem) == (kPointers32 ? 16 : 24));
static_assert(sizeof(ImageCodecInfo) == (kPointers32 ? 76 : 104));
static_assert(sizeof(EncoderParameter) == (kPointers32 ? 28 : 32));
static_assert(offsetof(EncoderParameters, Parameter) == (kPointers32 ? 4 : 8));
static_assert(offsetof(ColorPalette, Entries) == 8);

// Finds exported functions of one module and remembers the names it could not find.
class Resolver {
public:
    explicit Resolver(HMODULE module) : module_(module) {}
    FARPROC find(const char* name);
    const std::vector<std::string>& missing() const { return missing_; }

private:
    HMODULE module_;
    std::vector<std::string> missing_;
};

// One exported function. Calling a function that could not be resolved does
// nothing and yields NotImplemented (or a null pointer), so a missing
// function or library makes an operation fail instead of crashing it.
template <class Pointer>
class Function {
public:
    Function(Resolver& resolver, const char* name) : fn_(std::bit_cast<Pointer>(resolver.find(name))) {}

    explicit operator bool() const { return fn_ != nullptr; }

    template <class... Args>
    auto operator()(Args... args) const {
        using Result = std::invoke_result_t<Pointer, Args...>;
        if constexpr (std::is_void_v<Result>) {
            if (fn_) fn_(args...);
        } else if constexpr (std::is_pointer_v<Result>) {
            return fn_ ? fn_(args...) : nullptr;
        } else {
            return fn_ ? fn_(args...) : Result{image_status::NotImplemented};
        }
    }

private:
    Pointer fn_;
};

// The functions the program uses, each resolved once from the given module
// (none when the module is null).
struct Api {
    explicit Api(HMODULE module) : resolver(module) {}
    Api(const Api&) = delete;
    Api& operator=(const Api&) = delete;

    // Names that did not resolve.
    const std::vector<std::string>& missing() const { return resolver.missing(); }

    Resolver resolver;  // declared first: every function below resolves through it

    Function<Status(WINAPI*)(ULONG_PTR*, const StartupInput*, void*)> GdiplusStartup{resolver, "GdiplusStartup"};
    Function<void(WINAPI*)(ULONG_PTR)> GdiplusShutdown{resolver, "GdiplusShutdown"};
    Function<void*(WINAPI*)(SIZE_T)> GdipAlloc{resolver, "GdipAlloc"};
    Function<void(WINAPI*)(void*)> GdipFree{resolver, "GdipFree"};

    Function<Status(WINAPI*)(const WCHAR*, GpImage**)> GdipLoadImageFromFile{resolver, "GdipLoadImageFromFile"};
    Function<Status(WINAPI*)(const WCHAR*, GpImage**)> GdipLoadImageFromFileICM{resolver, "GdipLoadImageFromFileICM"};
    Function<Status(WINAPI*)(IStream*, GpImage**)> GdipLoadImageFromStream{resolver, "GdipLoadImageFromStream"};
    Function<Status(WINAPI*)(IStream*, GpImage**)> GdipLoadImageFromStreamICM{resolver, "GdipLoadImageFromStreamICM"};
    Function<Status(WINAPI*)(GpImage*)> GdipDisposeImage{resolver, "GdipDisposeImage"};
    Function<Status(WINAPI*)(GpImage*, GpImage**)> GdipCloneImage{resolver, "GdipCloneImage"};
    Function<Status(WINAPI*)(GpImage*, UINT, UINT, GpImage**, BOOL(CALLBACK*)(void*), void*)> GdipGetImageThumbnail{
        resolver, "GdipGetImageThumbnail"};

    Function<Status(WINAPI*)(GpImage*, GUID*)> GdipGetImageRawFormat{resolver, "GdipGetImageRawFormat"};
    Function<Status(WINAPI*)(GpImage*, RectF*, int*)> GdipGetImageBounds{resolver, "GdipGetImageBounds"};
    Function<Status(WINAPI*)(GpImage*, float*, float*)> GdipGetImageDimension{resolver, "GdipGetImageDimension"};
    Function<Status(WINAPI*)(GpImage*, int*)> GdipGetImageType{resolver, "GdipGetImageType"};
    Function<Status(WINAPI*)(GpImage*, UINT*)> GdipGetImageWidth{resolver, "GdipGetImageWidth"};
    Function<Status(WINAPI*)(GpImage*, UINT*)> GdipGetImageHeight{resolver, "GdipGetImageHeight"};
    Function<Status(WINAPI*)(GpImage*, float*)> GdipGetImageHorizontalResolution{resolver,
                                                                                 "GdipGetImageHorizontalResolution"};
    Function<Status(WINAPI*)(GpImage*, float*)> GdipGetImageVerticalResolution{resolver,
                                                                               "GdipGetImageVerticalResolution"};
    Function<Status(WINAPI*)(GpImage*, UINT*)> GdipGetImageFlags{resolver, "GdipGetImageFlags"};
    Function<Status(WINAPI*)(GpImage*, int*)> GdipGetImagePixelFormat{resolver, "GdipGetImagePixelFormat"};

    Function<Status(WINAPI*)(GpImage*, ULONG, UINT*)> GdipGetPropertyItemSize{resolver, "GdipGetPropertyItemSize"};
    Function<Status(WINAPI*)(GpImage*, ULONG, UINT, PropertyItem*)> GdipGetPropertyItem{resolver,
                                                                                        "GdipGetPropertyItem"};
    Function<Status(WINAPI*)(GpImage*, const PropertyItem*)> GdipSetPropertyItem{resolver, "GdipSetPropertyItem"};
    Function<Status(WINAPI*)(GpImage*, ULONG)> GdipRemovePropertyItem{resolver, "GdipRemovePropertyItem"};
    Function<Status(WINAPI*)(GpImage*, UINT*)> GdipGetPropertyCount{resolver, "GdipGetPropertyCount"};
    Function<Status(WINAPI*)(GpImage*, UINT, ULONG*)> GdipGetPropertyIdList{resolver, "GdipGetPropertyIdList"};

    Function<Status(WINAPI*)(UINT*, UINT*)> GdipGetImageEncodersSize{resolver, "GdipGetImageEncodersSize"};
    Function<Status(WINAPI*)(UINT, UINT, ImageCodecInfo*)> GdipGetImageEncoders{resolver, "GdipGetImageEncoders"};
    Function<Status(WINAPI*)(GpImage*, const CLSID*, UINT*)> GdipGetEncoderParameterListSize{
        resolver, "GdipGetEncoderParameterListSize"};
    Function<Status(WINAPI*)(GpImage*, const CLSID*, UINT, EncoderParameters*)> GdipGetEncoderParameterList{
        resolver, "GdipGetEncoderParameterList"};
    Function<Status(WINAPI*)(GpImage*, const WCHAR*, const CLSID*, const EncoderParameters*)> GdipSaveImageToFile{
        resolver, "GdipSaveImageToFile"};
    Function<Status(WINAPI*)(GpImage*, IStream*, const CLSID*, const EncoderParameters*)> GdipSaveImageToStream{
        resolver, "GdipSaveImageToStream"};
    Function<Status(WINAPI*)(GpImage*, const EncoderParameters*)> GdipSaveAdd{resolver, "GdipSaveAdd"};
    Function<Status(WINAPI*)(GpImage*, GpImage*, const EncoderParameters*)> GdipSaveAddImage{resolver,
                                                                                             "GdipSaveAddImage"};

    Function<Status(WINAPI*)(GpImage*, UINT*)> GdipImageGetFrameDimensionsCount{resolver,
                                                                                "GdipImageGetFrameDimensionsCount"};
    Function<Status(WINAPI*)(GpImage*, GUID*, UINT)> GdipImageGetFrameDimensionsList{resolver,
                                                                                     "GdipImageGetFrameDimensionsList"};
    Function<Status(WINAPI*)(GpImage*, const GUID*, UINT*)> GdipImageGetFrameCount{resolver, "GdipImageGetFrameCount"};
    Function<Status(WINAPI*)(GpImage*, const GUID*, UINT)> GdipImageSelectActiveFrame{resolver,
                                                                                      "GdipImageSelectActiveFrame"};
    Function<Status(WINAPI*)(GpImage*, int)> GdipImageRotateFlip{resolver, "GdipImageRotateFlip"};
    Function<Status(WINAPI*)(GpImage*, int*)> GdipGetImagePaletteSize{resolver, "GdipGetImagePaletteSize"};
    Function<Status(WINAPI*)(GpImage*, ColorPalette*, int)> GdipGetImagePalette{resolver, "GdipGetImagePalette"};
    Function<Status(WINAPI*)(GpImage*, const ColorPalette*)> GdipSetImagePalette{resolver, "GdipSetImagePalette"};
};

// A loaded copy of a GDI+ library with its function table; every function is
// missing when the library cannot be loaded.
class Library {
public:
    explicit Library(const std::wstring& path);
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool loaded() const { return module_ != nullptr; }
    const Api& api() const { return api_; }

private:
    platform::win32::UniqueModule module_;
    Api api_;
};

// gdiplus.dll of the system directory (never one planted beside the
// program), loaded on first use and kept for the rest of the process.
const Api& api();

}  // namespace gdiplus

}  // namespace imaging
