#include "rename/directory_snapshot.h"

#include "text/text_case.h"

#include <algorithm>

namespace renaming {

DirectorySnapshot DirectorySnapshot::take(const std::string& directory, const std::vector<std::string>& expected) {
    return take_readable(directory, expected).value_or(DirectorySnapshot());
}

std::optional<DirectorySnapshot> DirectorySnapshot::take_readable(const std::string& directory,
                                                                  const std::vector<std::string>& expected) {
    std::vector<std::string> paths;
    paths.reserve(expected.size());
    for (const std::string& name : expected) paths.push_back(directory + name);
    platform::look_up_together(paths);
    DirectorySnapshot snapshot;
    const bool listed = platform::list_entry_identities(
        directory, [&](std::string_view name, const platform::EntryIdentity& entry) { snapshot.add(std::string(name), entry); });
    if (!listed) return std::nullopt;
    return snapshot;
}

void DirectorySnapshot::add(std::string name, const platform::EntryIdentity& entry) {
    by_folded_name_[text::folded_name(name)].push_back(name);
    entries_.insert_or_assign(std::move(name), entry);
}

const std::string* DirectorySnapshot::spelling_of(std::string_view name) const {
    if (auto exact = entries_.find(std::string(name)); exact != entries_.end()) return &exact->first;
    auto folded = by_folded_name_.find(text::folded_name(name));
    if (folded == by_folded_name_.end() || folded->second.size() != 1) return nullptr;
    return &folded->second.front();
}

std::optional<platform::EntryIdentity> DirectorySnapshot::find(std::string_view name) const {
    const std::string* spelling = spelling_of(name);
    if (!spelling) return std::nullopt;
    return entries_.at(*spelling);
}

std::vector<std::string> DirectorySnapshot::names() const {
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const auto& [name, entry] : entries_) names.push_back(name);
    return names;
}

std::optional<std::string> DirectorySnapshot::name_of(const platform::FileIdentity& file) const {
    if (!indexed_) {
        by_index_.clear();
        by_index_.reserve(entries_.size());
        for (const auto& [name, entry] : entries_) {
            if (!entry.is_directory) by_index_.emplace(entry.identity.index, name);
        }
        indexed_ = true;
    }
    auto [first, last] = by_index_.equal_range(file.index);
    for (auto it = first; it != last; ++it) {
        if (platform::is_same_file(entries_.at(it->second).identity, file)) return it->second;
    }
    return std::nullopt;
}

void DirectorySnapshot::moved(const std::string& from, const std::string& to) {
    const std::string* spelling = spelling_of(from);
    if (!spelling) return;
    const std::string held = *spelling;
    platform::EntryIdentity entry = entries_.at(held);
    entries_.erase(held);
    auto& spellings = by_folded_name_[text::folded_name(held)];
    spellings.erase(std::remove(spellings.begin(), spellings.end(), held), spellings.end());
    add(to, entry);
    if (!indexed_ || entry.is_directory) return;
    auto [first, last] = by_index_.equal_range(entry.identity.index);
    for (auto it = first; it != last; ++it) {
        if (it->second == held) {
            it->second = to;
            break;
        }
    }
}

}  // namespace renaming
