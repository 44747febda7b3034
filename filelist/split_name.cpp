#include "filelist/split_name.h"

namespace filelist {

SplitName split_name(std::string_view name) {
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {std::string(name), {}};
    return {std::string(name.substr(0, dot)), std::string(name.substr(dot))};
}

}  // namespace filelist
