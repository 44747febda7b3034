#include "rename/rename_conflicts.h"

#include "text/text_case.h"

#include <unordered_map>

namespace renaming {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Who has a name in the directory while the run is worked through.
struct Holder {
    std::size_t batch_row = kNone;   // the file of this row, still under its old name
    std::size_t renamed_by = kNone;  // the row whose rename gave a file this name
};

}  // namespace

std::vector<RowConflict> find_conflicts(const RenameBatch& batch, const std::vector<RenameStep>& steps,
                                        const std::vector<std::string>& directory_listing) {
    const std::size_t rows = std::min(steps.size(), batch.old_names.size());
    std::vector<std::string> old_keys(rows), target_keys(rows);
    for (std::size_t k = 0; k < rows; ++k) {
        old_keys[k] = text::folded_name(batch.old_names[k]);
        target_keys[k] = text::folded_name(batch.new_names[k] + batch.extensions[k]);
    }
    std::unordered_map<std::string, Holder> names;
    names.reserve(directory_listing.size() + rows);
    for (const std::string& name : directory_listing) names.emplace(text::folded_name(name), Holder{});
    for (std::size_t k = 0; k < rows; ++k) {
        auto found = names.find(old_keys[k]);
        if (found != names.end() && found->second.batch_row == kNone) found->second.batch_row = k;
    }
    auto moves_away = [&](std::size_t k) {
        return steps[k].action == RenameAction::Rename && target_keys[k] != old_keys[k];
    };

    std::vector<RowConflict> conflicts(rows);
    for (std::size_t k = 0; k < rows; ++k) {
        RowConflict& conflict = conflicts[k];
        if (steps[k].action == RenameAction::Refused) {
            conflict.kind = ConflictKind::RefusedName;
            continue;
        }
        if (steps[k].action == RenameAction::NoChange) continue;
        auto source = names.find(old_keys[k]);
        if (source == names.end() || source->second.batch_row != k) {
            conflict.kind = ConflictKind::SourceMissing;
            continue;
        }
        if (!moves_away(k)) continue;  // a change of letter case only
        auto target = names.find(target_keys[k]);
        if (target == names.end()) {
            names.erase(source);
            names.emplace(target_keys[k], Holder{kNone, k});
            continue;
        }
        const Holder& holder = target->second;
        if (holder.renamed_by != kNone) {
            conflict = {ConflictKind::SameAsEarlier, holder.renamed_by};
        } else if (holder.batch_row != kNone && holder.batch_row > k && moves_away(holder.batch_row)) {
            conflict = {ConflictKind::HeldByLaterRow, holder.batch_row};
        } else {
            conflict.kind = ConflictKind::TargetTaken;
        }
    }
    return conflicts;
}

}  // namespace renaming
