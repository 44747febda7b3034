#pragma once

#include "filelist/batch.h"
#include "filelist/row_outcome.h"
#include "naming/name_rule.h"
#include "rename/rename_plan.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

// What the 命名规则 window previews: the batch's rows named by the rule as
// it stands, each with why its name is what it is and whether a run would
// fail on it. The rows and their directory are taken once; the rule is
// applied again at every change of the window's fields.
class RulePreview {
public:
    // The batch's names, extensions and folder, and a listing of the folder.
    void take_rows(const filelist::Batch& batch);
    // True while the rows taken are the batch's rows now.
    bool holds(const filelist::Batch& batch) const { return taken_ && generation_ == batch.generation(); }

    // Capture dates, one per row as the capture-date reader gives them
    // ("20080517 142345", empty for none). Until they are given, rows have none.
    void set_capture_dates(const std::vector<std::string>& dates);
    bool has_capture_dates() const { return capture_dates_given_; }

    // Names the rows by the fields. False, with the error, when the fields are
    // wrong: the rows keep the names of the last good fields.
    bool update(const naming::NameRuleFields& fields);
    const std::string& error() const { return error_; }

    std::size_t size() const { return rows_.size(); }
    // 原名称, 新名称 (with their extensions) and 说明 of a row.
    std::string old_name(std::size_t row) const;
    std::string new_name(std::size_t row) const;
    std::string note(std::size_t row) const;
    bool failing(std::size_t row) const;
    // The new base names, without extensions, and the extensions they go
    // with (lower case where 后缀名小写 asks), for 确定.
    const std::vector<std::string>& new_base_names() const { return batch_.new_names; }
    const std::vector<std::string>& new_extensions() const { return batch_.extensions; }

private:
    void read_modification_dates();

    bool taken_ = false;
    std::uint64_t generation_ = 0;
    renaming::RenameBatch batch_;  // the rows as the rename engine sees them, named by the last good fields
    std::vector<naming::NameRuleRow> rows_;
    std::vector<std::size_t> shots_;          // of the rows, worked out once
    std::vector<std::string> listing_;        // every entry of the folder
    std::vector<std::string> outside_batch_;  // the folder's names no row holds
    bool capture_dates_given_ = false;
    bool modification_dates_read_ = false;
    std::vector<naming::NamedRow> named_;
    std::vector<filelist::RowConflict> conflicts_;
    std::string error_;
};

}  // namespace app
