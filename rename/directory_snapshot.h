#pragma once

#include "platform/file_identity.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace renaming {

// One listing of a directory: every entry's name with what it is and which
// file it is, taken in one pass and then kept up to date by the program's own
// renames, so that each rename of a batch can be checked without asking the
// disk again.
class DirectorySnapshot {
public:
    // Lists directory now; an unreadable one gives an empty snapshot. The
    // names expected in it are asked about together first, so that on a
    // folder that answers slowly the listing does not wait on each in turn.
    static DirectorySnapshot take(const std::string& directory, const std::vector<std::string>& expected = {});
    // The same, nothing when the directory cannot be read.
    static std::optional<DirectorySnapshot> take_readable(const std::string& directory,
                                                          const std::vector<std::string>& expected = {});

    // The entry a name reaches, as Windows finds it: the exact spelling, else
    // the one entry whose name differs from it only in letter case. Nothing
    // when there is none.
    std::optional<platform::EntryIdentity> find(std::string_view name) const;

    // Whether an entry has exactly this name, letter case included.
    bool holds_exactly(const std::string& name) const { return entries_.count(name) > 0; }

    // Every name, as the directory spells it.
    std::vector<std::string> names() const;

    // The name a file is under now, whatever it was renamed to; nothing when
    // the directory holds no such file.
    std::optional<std::string> name_of(const platform::FileIdentity& file) const;

    // A rename of the program's own moved an entry.
    void moved(const std::string& from, const std::string& to);

private:
    void add(std::string name, const platform::EntryIdentity& entry);
    // The spelling under which the snapshot holds the entry a name reaches.
    const std::string* spelling_of(std::string_view name) const;

    std::unordered_map<std::string, platform::EntryIdentity> entries_;
    std::unordered_map<std::string, std::vector<std::string>> by_folded_name_;
    // Names by file index, made on the first name_of and dropped by a move.
    mutable std::unordered_multimap<std::uint64_t, std::string> by_index_;
    mutable bool indexed_ = false;
};

}  // namespace renaming
