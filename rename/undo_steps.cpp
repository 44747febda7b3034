#include "rename/undo_steps.h"

#include "rename/exact_rename.h"

#include <set>
#include <string_view>
#include <tuple>
#include <unordered_map>

namespace renaming {

using filelist::FailReason;
using filelist::Outcome;
using filelist::RowOutcome;

namespace {

// Whether the very file of step k is under its name from before that step,
// or from before an earlier step of the same file (a cycle moved it through
// a temporary name): back where the undo of k would take it, or further.
bool is_back_already(const DirectorySnapshot& disk, const std::vector<JournalStep>& steps,
                     const std::unordered_map<std::string_view, std::size_t>& step_to, std::size_t k) {
    if (steps[k].file.index == 0) return false;
    std::optional<std::string> now = disk.name_of(steps[k].file);
    if (!now || *now == steps[k].to) return false;
    for (std::size_t j = k, hops = 0; hops <= steps.size(); ++hops) {
        if (steps[j].from == *now) return true;
        auto earlier = step_to.find(steps[j].from);
        if (earlier == step_to.end() || earlier->second >= j || !platform::is_same_file(steps[earlier->second].file, steps[k].file))
            return false;
        j = earlier->second;
    }
    return false;
}

}  // namespace

std::vector<RowOutcome> undo_steps(const std::string& directory, const std::vector<JournalStep>& steps,
                                   const std::vector<std::size_t>& order, const UndoProgress& done) {
    std::vector<RowOutcome> results(steps.size(), RowOutcome{Outcome::UndoFailed, FailReason::Refused});
    DirectorySnapshot disk = DirectorySnapshot::take(directory);
    std::vector<DoneRename> moved;
    std::vector<std::size_t> moved_steps;
    std::unordered_map<std::string_view, std::size_t> step_to;  // the step that gave each name
    for (std::size_t k = 0; k < steps.size(); ++k) step_to[steps[k].to] = k;
    for (std::size_t k : order) {
        if (k >= steps.size()) continue;
        const JournalStep& step = steps[k];
        std::optional<platform::EntryIdentity> now = disk.find(step.to);
        FailReason failure = FailReason::None;
        if (is_back_already(disk, steps, step_to, k)) {
            // Put back by an undo that was cut short before it wrote so.
            results[k] = RowOutcome{Outcome::Undone};
            if (done && !done(k, results[k])) break;
            continue;
        }
        if (!now) {
            failure = FailReason::Missing;
        } else if (now->is_directory || !platform::is_same_file(now->identity, step.file)) {
            failure = FailReason::NotThatFile;
        } else if (auto old = disk.find(step.from); old && !(old->identity == now->identity)) {
            // (Under a change of letter case only, the old name reaches the file itself.)
            failure = FailReason::OldNameTaken;
        } else if (!rename_in_batch(directory + step.to, directory + step.from)) {
            failure = FailReason::Refused;
        }
        const RowOutcome result =
            failure == FailReason::None ? RowOutcome{Outcome::Undone} : RowOutcome{Outcome::UndoFailed, failure};
        if (failure == FailReason::None) {
            disk.moved(step.to, step.from);
            moved.push_back({directory + step.to, directory + step.from, step.file});
            moved_steps.push_back(k);
        }
        results[k] = result;
        if (done && !done(k, result)) break;
    }
    // As for a run: a rename the disk kept under another name went back. Only
    // each file's last move says where it should be now.
    std::vector<DoneRename> last_moves;
    std::vector<std::size_t> last_steps;
    std::set<std::tuple<std::uint32_t, std::uint64_t, std::uint64_t, std::uint64_t>> seen;
    for (std::size_t i = moved.size(); i-- > 0;) {
        const platform::FileIdentity& file = steps[moved_steps[i]].file;
        if (!seen.emplace(file.volume, file.index, file.size, file.write_time).second) continue;  // moved again later
        last_moves.push_back(moved[i]);
        last_steps.push_back(moved_steps[i]);
    }
    for (std::size_t i : renames_kept_under_another_name(directory, last_moves)) {
        results[last_steps[i]] = RowOutcome{Outcome::UndoFailed, FailReason::KeptAnotherName};
        if (done) done(last_steps[i], results[last_steps[i]]);
    }
    return results;
}

}  // namespace renaming
