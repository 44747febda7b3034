#pragma once

#include "naming/name_rule.h"

#include <optional>
#include <string>
#include <vector>

namespace naming {

// Rules kept by name in 命名规则.txt beside the program, each with every
// field of the 命名规则 window. The file is text: "[name]" lines, each
// followed by its fields as "key=value" lines (a backslash, a line break
// written as \\ and \n).
class SavedRules {
public:
    explicit SavedRules(std::string path) : path_(std::move(path)) {}

    // Reads the file again; a missing file holds no rules. False when it
    // exists but cannot be read.
    bool load();

    const std::string& path() const { return path_; }
    std::vector<std::string> names() const;
    std::optional<NameRuleFields> find(const std::string& name) const;

    // Keeps the fields under the name, replacing a rule of that name, and
    // writes the file whole. False, changing nothing, when it cannot be written.
    bool save(const std::string& name, const NameRuleFields& fields);
    // Drops the rule of that name; false, changing nothing, when the file
    // cannot be written.
    bool remove(const std::string& name);

private:
    bool write(const std::vector<std::pair<std::string, NameRuleFields>>& rules) const;

    std::string path_;
    std::vector<std::pair<std::string, NameRuleFields>> rules_;
};

// 命名规则.txt in the program's folder.
std::string default_saved_rules_path();

}  // namespace naming
