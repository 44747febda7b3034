#include "app/rule_preview.h"

#include "app/row_texts.h"
#include "filelist/split_name.h"
#include "platform/clock.h"
#include "platform/directory_search.h"
#include "platform/file_times.h"
#include "rename/rename_conflicts.h"
#include "rename/rename_plan.h"
#include "text/text_case.h"

#include <unordered_set>

namespace app {

void RulePreview::take_rows(const filelist::Batch& batch) {
    taken_ = true;
    generation_ = batch.generation();
    batch_ = renaming::RenameBatch{batch.base_directory(), batch.file_names(), {}, {}};
    const std::vector<std::string>& old_names = batch_.old_names;
    rows_.clear();
    rows_.reserve(old_names.size());
    for (std::size_t k = 0; k < old_names.size(); ++k) {
        naming::NameRuleRow row;
        row.base = filelist::split_name(old_names[k]).base;
        row.extension = batch.extension(k);
        rows_.push_back(std::move(row));
    }
    shots_ = naming::shots_of(rows_);
    listing_.clear();
    platform::list_entries(batch_.directory, [&](std::string_view name) { listing_.emplace_back(name); });
    std::unordered_set<std::string> in_batch;
    for (const std::string& name : old_names) in_batch.insert(text::folded_name(name));
    outside_batch_.clear();
    for (const std::string& name : listing_) {
        if (!in_batch.count(text::folded_name(name))) outside_batch_.push_back(name);
    }
    capture_dates_given_ = false;
    modification_dates_read_ = false;
    named_.clear();
    conflicts_.clear();
}

void RulePreview::set_capture_dates(const std::vector<std::string>& dates) {
    for (std::size_t k = 0; k < rows_.size() && k < dates.size(); ++k)
        rows_[k].capture = naming::time_of_date_name(dates[k]);
    capture_dates_given_ = true;
}

void RulePreview::read_modification_dates() {
    for (std::size_t k = 0; k < rows_.size(); ++k) {
        if (std::optional<std::int64_t> seconds = platform::last_write_time(batch_.directory + batch_.old_names[k])) {
            rows_[k].modified = platform::local_time_at(*seconds);
        }
    }
    modification_dates_read_ = true;
}

bool RulePreview::update(const naming::NameRuleFields& fields) {
    if (fields.date_source != naming::DateSource::Capture && !modification_dates_read_) read_modification_dates();
    naming::NameRuleResult result =
        naming::apply_name_rule(fields, rows_, naming::folder_name(batch_.directory), outside_batch_, &shots_);
    error_ = result.error;
    if (!error_.empty()) return false;
    named_ = std::move(result.rows);
    batch_.new_names.clear();
    batch_.extensions.clear();
    for (const naming::NamedRow& row : named_) {
        batch_.new_names.push_back(row.base);
        batch_.extensions.push_back(row.extension);
    }
    conflicts_ = renaming::find_conflicts(batch_, renaming::plan_renames(batch_), listing_);
    return true;
}

std::string RulePreview::old_name(std::size_t row) const {
    return row < batch_.old_names.size() ? batch_.old_names[row] : "";
}

std::string RulePreview::new_name(std::size_t row) const {
    if (row >= batch_.new_names.size()) return "";
    return batch_.new_names[row] + batch_.extensions[row];
}

std::string RulePreview::note(std::size_t row) const {
    if (failing(row)) return mark_text(filelist::RowMark{conflicts_[row], false});
    if (row >= named_.size()) return "";
    switch (named_[row].note) {
        case naming::NameNote::SuffixAdded:
            return "已加序号";
        case naming::NameNote::NoDate:
            return "无日期";
        case naming::NameNote::ModifiedDate:
            return "用修改日期";
        case naming::NameNote::None:
            break;
    }
    return "";
}

bool RulePreview::failing(std::size_t row) const {
    return row < conflicts_.size() && conflicts_[row].kind != filelist::ConflictKind::None;
}

}  // namespace app
