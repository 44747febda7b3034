#include "picker/directory_path.h"

namespace picker {
namespace {

char separator_of(PathSyntax syntax) { return syntax == PathSyntax::Windows ? '\\' : '/'; }

bool is_separator(char c, PathSyntax syntax) { return c == '/' || (syntax == PathSyntax::Windows && c == '\\'); }

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

struct Root {
    std::size_t length = 0;  // characters of the path that make up the root
    std::string spelling;
};

Root root_of(std::string_view path, PathSyntax syntax) {
    if (syntax == PathSyntax::Posix) {
        if (!path.empty() && path[0] == '/') return {1, std::string(1, '/')};
        return {};
    }
    if (path.size() >= 2 && is_letter(path[0]) && path[1] == ':') {
        return {2, std::string(path.substr(0, 2)) + '\\'};
    }
    if (path.size() >= 2 && is_separator(path[0], syntax) && is_separator(path[1], syntax)) {
        // \\server\share: both names belong to the root.
        std::string spelling(2, '\\');
        std::size_t end = 2;
        for (int part = 0; part < 2; ++part) {
            while (end < path.size() && is_separator(path[end], syntax)) ++end;
            std::size_t start = end;
            while (end < path.size() && !is_separator(path[end], syntax)) ++end;
            if (end > start) {
                if (part == 1) spelling += '\\';
                spelling += path.substr(start, end - start);
            }
        }
        spelling += '\\';
        return {end, std::move(spelling)};
    }
    if (!path.empty() && is_separator(path[0], syntax)) return {1, std::string(1, '\\')};
    return {};
}

}  // namespace

DirectoryPath split_directory(std::string_view path, PathSyntax syntax) {
    DirectoryPath parts;
    Root root = root_of(path, syntax);
    parts.root = std::move(root.spelling);
    std::size_t i = root.length;
    while (i < path.size()) {
        while (i < path.size() && is_separator(path[i], syntax)) ++i;
        std::size_t start = i;
        while (i < path.size() && !is_separator(path[i], syntax)) ++i;
        if (i > start) parts.names.emplace_back(path.substr(start, i - start));
    }
    return parts;
}

std::string join_directory(const DirectoryPath& parts, std::size_t depth, PathSyntax syntax) {
    std::string path = parts.root;
    for (std::size_t k = 0; k < depth && k < parts.names.size(); ++k) {
        if (!path.empty() && !is_separator(path.back(), syntax)) path += separator_of(syntax);
        path += parts.names[k];
    }
    return path;
}

std::string tidy_directory(std::string_view path, PathSyntax syntax) {
    DirectoryPath parts = split_directory(path, syntax);
    return join_directory(parts, parts.names.size(), syntax);
}

std::string parent_directory(std::string_view path, PathSyntax syntax) {
    DirectoryPath parts = split_directory(path, syntax);
    if (parts.names.empty()) return {};
    return join_directory(parts, parts.names.size() - 1, syntax);
}

std::string with_trailing_separator(std::string_view directory, PathSyntax syntax) {
    std::string path = tidy_directory(directory, syntax);
    if (!path.empty() && !is_separator(path.back(), syntax)) path += separator_of(syntax);
    return path;
}

std::string drive_of(std::string_view path, PathSyntax syntax) {
    if (syntax == PathSyntax::Posix) return !path.empty() && path[0] == '/' ? "/" : "";
    std::size_t colon = path.find(':');
    if (colon == std::string_view::npos) return {};
    std::string drive(path.substr(0, colon));
    if (drive.size() == 1 && drive[0] >= 'a' && drive[0] <= 'z') drive[0] = static_cast<char>(drive[0] - 0x20);
    return drive;
}

}  // namespace picker
