#pragma once

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

}  // namespace imaging
