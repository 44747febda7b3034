#pragma once

#include "naming/name_rule.h"

#include <memory>
#include <string>

namespace naming {

// 查找 and 替换为, and 大小写, applied to a name the template made. Built once
// per change of the fields: a regular expression is compiled once, however
// many rows it then meets.
class NameEdits {
public:
    // The edits of the fields, or the error of their expression
    // ("正则表达式有误：括号不配对", "正则表达式太复杂").
    static std::unique_ptr<NameEdits> make(const NameRuleFields& fields, std::string& error);
    virtual ~NameEdits() = default;

    // The name with every occurrence replaced and its case changed; an
    // expression the library gives up on for this name leaves the error.
    std::string apply(const std::string& name, std::string& error) const;

protected:
    explicit NameEdits(LetterCase letter_case) : letter_case_(letter_case) {}
    virtual std::string replace(const std::string& name, std::string& error) const = 0;

private:
    LetterCase letter_case_;
};

// The letters A-Z of a name in the case asked for; words (for 首字母大写)
// split at spaces, "_", "-" and ".". Other characters stay as they are.
std::string with_letter_case(const std::string& name, LetterCase letter_case);

// Letters A-Z in lower case, as 后缀名小写 wants an extension.
std::string ascii_lower(std::string text);

}  // namespace naming
