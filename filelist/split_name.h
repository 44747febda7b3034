#pragma once

#include <string>
#include <string_view>

namespace filelist {

// A file name cut into its base name and its extension at the last dot; the
// extension keeps the dot ("a.b.jpg" gives "a.b" and ".jpg"). A name without
// a dot is all base name, with an empty extension. Every place that cuts a
// file name uses this routine, so the cuts always agree.
struct SplitName {
    std::string base;
    std::string extension;
};

SplitName split_name(std::string_view name);

}  // namespace filelist
