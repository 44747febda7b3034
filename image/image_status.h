#pragma once

namespace imaging {

// Status numbers of the imaging library, which the image object leaves in the
// program's lastStatus; a backend that is not the library answers with the
// number that means the same thing.
namespace image_status {

inline constexpr int Ok = 0;
inline constexpr int InvalidParameter = 2;
inline constexpr int NotImplemented = 6;
inline constexpr int Win32Error = 7;
inline constexpr int FileNotFound = 10;
inline constexpr int UnknownImageFormat = 13;
inline constexpr int PropertyNotFound = 19;

}  // namespace image_status

}  // namespace imaging
