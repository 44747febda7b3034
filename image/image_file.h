#pragma once

#include <cstdint>

// The program's image object. One lives for the whole run; it holds at most
// one image at a time and reports the status of its latest library call into
// the program-wide status it was given.
class ImageFile {
public:
    explicit ImageFile(int& lastStatus) : lastStatus_(lastStatus) {}
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;
    ~ImageFile();

    // Releases the held image; false, without any library call, when none is held.
    bool Dispose();

private:
    int& lastStatus_;
};

// Starts the imaging library and stores its token in gdiplusToken (0 when it
// could not start).
std::uintptr_t StartGdiplus(std::uintptr_t& gdiplusToken, std::uint32_t version = 1);

// Stops the imaging library with the stored token and clears it; does nothing
// when the token is already 0.
void StopGdiplus(std::uintptr_t& gdiplusToken);
