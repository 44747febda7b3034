#pragma once

#include "image/image_metadata.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace imaging {

// The status numbers of GDI+, the only list of them in the program: the image
// object leaves one in the program's lastStatus, and a backend that is not
// GDI+ answers with the number that means the same thing.
namespace image_status {

inline constexpr int Ok = 0;
inline constexpr int InvalidParameter = 2;
inline constexpr int OutOfMemory = 3;
inline constexpr int NotImplemented = 6;
inline constexpr int Win32Error = 7;
inline constexpr int FileNotFound = 10;
inline constexpr int ValueOverflow = 11;
inline constexpr int UnknownImageFormat = 13;
inline constexpr int PropertyNotFound = 19;

}  // namespace image_status

// GUIDs travel as braced upper-case text: {B96B3CAE-0728-11D3-9D7B-0000F81EF32E}.

struct RectF {
    float X = 0, Y = 0, Width = 0, Height = 0;
};

struct SizeF {
    float Width = 0, Height = 0;
};

// One installed image encoder.
struct CodecInfo {
    std::string clsid;
    std::string formatId;
    std::string codecName;
    std::string dllName;
    std::string formatDescription;
    std::string filenameExtension;
    std::string mimeType;
    std::uint32_t flags = 0;
    std::uint32_t version = 0;
    std::uint32_t sigCount = 0;
    std::uint32_t sigSize = 0;
    std::vector<std::uint8_t> sigPattern;
    std::vector<std::uint8_t> sigMask;
};

struct EncoderParameterRecord {
    std::string guid;  // parameter category
    std::uint32_t numberOfValues = 0;
    std::uint32_t type =
        0;  // 1 byte, 2 ASCII, 3 short, 4 long, 5 rational, 6 long range, 7 undefined, 8 rational range
    std::vector<std::uint8_t> value;
};

struct EncoderParameterList {
    std::uint32_t count = 0;  // must equal parameters.size()
    std::vector<EncoderParameterRecord> parameters;
};

struct PaletteRecord {
    std::uint32_t flags = 0;
    std::uint32_t count = 0;
    std::vector<std::uint32_t> entries;  // ARGB
};

// The program's image object. It holds at most one image at a time and
// leaves the status of its latest library call (0 = Ok) in the program-wide
// status it was given. Every operation reports failure as a result; none
// throws or shows a message.
class ImageFile {
public:
    explicit ImageFile(int& lastStatus);
    ~ImageFile();
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    // The program's own path: open a photo, read one property, let it go.

    // Opens an image; an image still held is released first.
    bool LoadFromFile(const std::string& fileName, bool useIcm = false);
    // Leaves the record untouched when the image has no such property.
    bool GetPropertyItem(std::int32_t propertyId, PropertyRecord& record);
    // Releases the held image; false, without any library call, when none is held.
    bool Dispose();

    // The rest of the object's contract, which the program does not call.

    std::uintptr_t GetHandle() const;
    void SetHandle(std::uintptr_t handle);
    // Opens an image from the object's own copy of the bytes.
    bool LoadFromBytes(std::span<const std::uint8_t> bytes, bool useIcm = false);

    std::string GetRawFormat();
    RectF GetBounds(std::int32_t& unit);
    SizeF GetDimension();
    std::uint32_t GetType();
    std::uint32_t GetWidth();
    std::uint32_t GetHeight();
    float GetHorizontalResolution();
    float GetVerticalResolution();
    std::uint32_t GetFlags();
    std::int32_t GetPixelFormat();

    bool GetFrameDelays(std::vector<std::int32_t>& delays);
    bool SetPropertyItem(const PropertyRecord& record);
    bool RemovePropertyItem(std::int32_t propertyId);
    std::int32_t GetPropertyIdList(std::vector<std::int32_t>& ids);

    void* Alloc(std::size_t size);
    void Free(void* memory);
    // The target's earlier image is released first.
    bool Clone(ImageFile& target);
    bool GetThumbnail(std::uint32_t width, std::uint32_t height, ImageFile& target);
    // An empty format means the image's own format.
    bool SaveToFile(const std::string& fileName, const std::string& format = {},
                    const EncoderParameterList* parameters = nullptr);
    std::vector<std::uint8_t> SaveToBytes(const std::string& format = {},
                                          const EncoderParameterList* parameters = nullptr);
    bool SaveAdd(const EncoderParameterList& parameters);
    bool SaveAddImage(ImageFile& other, const EncoderParameterList& parameters);
    bool GetEncoderParameterList(const std::string& format, EncoderParameterList& list);
    std::uint32_t GetFrameCount(const std::string& dimension);
    bool GetFrameDimensionsList(std::vector<std::string>& dimensions);
    bool SelectActiveFrame(const std::string& dimension, std::uint32_t index);
    bool RotateFlip(std::int32_t rotateFlipType);
    bool GetPalette(PaletteRecord& palette);
    bool SetPalette(const PaletteRecord& palette);

private:
    struct Backend;  // the imaging library behind the object, one per platform
    int& lastStatus_;
    std::unique_ptr<Backend> backend_;
};

// The installed encoders; 0 (and codecs unchanged) when the list cannot be had.
std::int32_t GetEncoders(std::vector<CodecInfo>& codecs, int& lastStatus);
// Class id of the first encoder whose format id equals format exactly; empty when none.
std::string FindEncoderClsid(const std::string& format, int& lastStatus);

// Starts the imaging library and stores its token in gdiplusToken (0 when it
// could not start).
std::uintptr_t StartGdiplus(std::uintptr_t& gdiplusToken, std::uint32_t version = 1);
// Stops the imaging library with the stored token and clears it; does nothing
// when the token is already 0.
void StopGdiplus(std::uintptr_t& gdiplusToken);

// The imaging library for as long as the program runs: started as the main
// window is made, stopped at the end (at the latest when the session goes).
// Whether it started is not examined: the image object reports its own
// failures.
class LibrarySession {
public:
    LibrarySession() = default;
    ~LibrarySession() { stop(); }
    LibrarySession(const LibrarySession&) = delete;
    LibrarySession& operator=(const LibrarySession&) = delete;

    void start() { StartGdiplus(gdiplusToken_); }
    void stop() { StopGdiplus(gdiplusToken_); }

private:
    std::uintptr_t gdiplusToken_ = 0;
};

}  // namespace imaging
