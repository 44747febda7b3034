#include "image/gdiplus/image_file_backend.h"

namespace imaging {

std::uintptr_t ImageFile::GetHandle() const { return backend_->handle(); }

// 0 lets go of everything held, without disposing: the caller has taken the
// image, or disposed of it. Another handle is another image: what the reader
// found no longer describes it.
void ImageFile::SetHandle(std::uintptr_t handle) {
    if (handle != 0 && handle == backend_->handle()) return;
    backend_->forget();
    backend_->image = gdiplus::image_of(handle);
}

}  // namespace imaging
