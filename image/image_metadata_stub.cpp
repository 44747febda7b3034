#include "image/image_metadata.h"

// Placeholder until the metadata reader lands: knows no format.
std::optional<ImageMetadata> read_image_metadata(const ByteSource&) { return std::nullopt; }
