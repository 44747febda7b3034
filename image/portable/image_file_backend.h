#pragma once

#include "image/image_file.h"
#include "image/image_metadata.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace imaging {

// The image object of the portable build. There is no imaging library here:
// the program's own metadata reader opens the file, takes format, size and
// properties from its headers at once and lets the file go, so a held image
// is just what the reader found.
struct ImageFile::Backend {
    ImageMetadata image;

    // The held image, with the status of a call on it: the library answers a
    // call on no image with InvalidParameter.
    static ImageMetadata* held(const std::unique_ptr<Backend>& backend, int& status) {
        status = backend ? image_status::Ok : image_status::InvalidParameter;
        return backend ? &backend->image : nullptr;
    }

    // What the reader found becomes the held image, when it is an image at
    // all (a header with a size); the status says which.
    static bool adopt(std::unique_ptr<Backend>& backend, std::optional<ImageMetadata> image, int& status) {
        if (!image || !has_image_header(*image)) {
            status = image_status::UnknownImageFormat;
            return false;
        }
        backend = std::make_unique<Backend>(Backend{std::move(*image)});
        status = image_status::Ok;
        return true;
    }
};

inline const PropertyRecord* find_property(const ImageMetadata& image, std::int32_t id) {
    auto it = std::find_if(image.properties.begin(), image.properties.end(),
                           [id](const PropertyRecord& p) { return p.id == id; });
    return it == image.properties.end() ? nullptr : &*it;
}

}  // namespace imaging
