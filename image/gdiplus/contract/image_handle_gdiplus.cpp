#include "image/gdiplus/image_file_backend.h"

namespace imaging {

// The handle is GDI+'s image: asking for it opens the image with GDI+.
std::uintptr_t ImageFile::GetHandle() const { return gdiplus::handle_of(backend_->library_image()); }

// A handle from elsewhere is another image: what the reader found no longer
// describes it.
void ImageFile::SetHandle(std::uintptr_t handle) {
    gdiplus::GpImage* image = gdiplus::image_of(handle);
    if (image == backend_->image) return;
    backend_->forget();
    backend_->image = image;
}

}  // namespace imaging
