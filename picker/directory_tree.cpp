#include "picker/directory_tree.h"
#include "picker/directory_path.h"
#include "text/natural_order.h"
#include "platform/directory_search.h"

namespace picker {

DirectoryTree directory_tree(const std::string& directory) {
    DirectoryTree tree;
    picker::DirectoryPath parts = picker::split_directory(directory);
    if (!parts.root.empty()) tree.lines.push_back({parts.root, parts.root, 0, true});
    int depth = parts.root.empty() ? -1 : 0;
    for (std::size_t k = 0; k < parts.names.size(); ++k) {
        tree.lines.push_back({parts.names[k], picker::join_directory(parts, k + 1), ++depth, true});
    }
    if (tree.lines.empty()) return tree;
    tree.current = tree.lines.size() - 1;

    text::NameList children;
    platform::find_subdirectories(directory, [&](std::string_view name) { children.push_back(name); });
    text::NaturalSorter().sort(children);
    std::string prefix = picker::with_trailing_separator(tree.lines.back().path);
    tree.lines.reserve(tree.lines.size() + children.size());
    for (std::size_t k = 0; k < children.size(); ++k) {
        std::string name(children[k]);
        std::string path = prefix + name;
        tree.lines.push_back({std::move(name), std::move(path), depth + 1, false});
    }
    return tree;
}

}  // namespace picker
