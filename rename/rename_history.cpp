#include "rename/rename_history.h"

#include "rename/directory_snapshot.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <tuple>

namespace renaming {
namespace {

using FileKey = std::tuple<std::uint32_t, std::uint64_t, std::uint64_t, std::uint64_t>;

FileKey key_of(const platform::FileIdentity& file) { return {file.volume, file.index, file.size, file.write_time}; }

// Each file of a plan with its steps, in the order the run made them.
std::vector<std::vector<std::size_t>> steps_by_file(const std::vector<JournalStep>& steps) {
    std::map<FileKey, std::size_t> file_of;
    std::vector<std::vector<std::size_t>> files;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        auto [it, added] = file_of.emplace(key_of(steps[k].file), files.size());
        if (added) files.emplace_back();
        files[it->second].push_back(k);
    }
    return files;
}

bool renamed(StepOutcome outcome) { return outcome == StepOutcome::Renamed; }

RunStatus status_of(bool ended, std::size_t renamed_steps, std::size_t undone_steps) {
    if (renamed_steps > 0 && undone_steps >= renamed_steps) return RunStatus::Undone;
    if (undone_steps > 0) return RunStatus::PartlyUndone;
    return ended ? RunStatus::Done : RunStatus::Unfinished;
}

}  // namespace

void RenameHistory::load() {
    contents_ = journal_.read();
    files_run_.reset();
    files_.clear();
    std::vector<std::size_t> order(contents_.runs.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Newest first; runs of the same second as the journals hold them, the later first.
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const std::string& ta = contents_.runs[a].run.time;
        const std::string& tb = contents_.runs[b].run.time;
        return ta != tb ? ta > tb : a > b;
    });
    runs_.clear();
    source_.clear();
    for (std::size_t i : order) {
        const JournalContents::Run& held = contents_.runs[i];
        const JournalRun& run = held.run;
        HistoryRun h;
        h.id = run.id;
        h.time = run.time;
        h.directory = run.directory;
        h.place = held.text;
        h.asked = run.asked;
        h.ended = run.ended;
        runs_.push_back(h);
        source_.push_back(i);
        const std::size_t k = runs_.size() - 1;
        if (!run.plan_whole) continue;  // 记录损坏, and nothing is ever renamed from it
        if (run.ended) {
            // An ended run recorded every outcome: no need to read its names now.
            std::size_t renamed_steps = 0, undone = 0, files = 0;
            for (std::size_t s = 0; s < run.step_count; ++s) {
                const bool was_renamed = renamed(run.outcomes[s]) || run.undos[s] != UndoOutcome::None;
                if (!was_renamed) continue;
                ++renamed_steps;
                if (run.undos[s] == UndoOutcome::Undone) ++undone;
                if (!run.to_temporary[s]) ++files;
            }
            runs_[k].files_renamed = files;
            runs_[k].status = status_of(true, renamed_steps, undone);
        } else if (std::optional<Loaded> loaded = load_run(k)) {
            summarise(k, *loaded);
        } else {
            runs_[k].status = RunStatus::Damaged;
        }
        if (journal_.run_held(h.place, h.id)) runs_[k].status = RunStatus::InProgress;
    }
}

std::optional<RenameHistory::Loaded> RenameHistory::load_run(std::size_t run) const {
    const JournalContents::Run& held = contents_.runs[source_[run]];
    std::optional<std::vector<JournalStep>> steps = read_plan(contents_.texts[held.text], held.run);
    if (!steps) return std::nullopt;
    Loaded loaded{std::move(*steps), held.run.outcomes, held.run.undos};
    for (std::size_t k = 0; k < loaded.steps.size(); ++k) {
        // Only a renamed step is ever undone.
        if (loaded.undos[k] != UndoOutcome::None) loaded.outcomes[k] = StepOutcome::Renamed;
    }
    if (!held.run.ended) {
        // Past what was recorded, the disk tells how far the run got: where
        // each file is now among the names its steps give it. A name that is
        // taken again later in a shift proves nothing; the file itself does.
        DirectorySnapshot disk = DirectorySnapshot::take(held.run.directory);
        for (const std::vector<std::size_t>& file : steps_by_file(loaded.steps)) {
            std::optional<std::string> now = disk.name_of(loaded.steps[file.front()].file);
            if (!now) continue;
            for (std::size_t j = file.size(); j-- > 0;) {
                if (loaded.steps[file[j]].to != *now) continue;
                for (std::size_t i = 0; i <= j; ++i) {
                    if (loaded.outcomes[file[i]] == StepOutcome::Unknown)
                        loaded.outcomes[file[i]] = StepOutcome::Renamed;
                }
                break;
            }
        }
    }
    for (StepOutcome& outcome : loaded.outcomes) {
        if (outcome == StepOutcome::Unknown) outcome = StepOutcome::Failed;  // never reached
    }
    return loaded;
}

void RenameHistory::summarise(std::size_t run, const Loaded& loaded) {
    std::size_t renamed_steps = 0, undone = 0, files = 0;
    for (const std::vector<std::size_t>& file : steps_by_file(loaded.steps)) {
        bool any = false;
        for (std::size_t k : file) {
            if (!renamed(loaded.outcomes[k])) continue;
            any = true;
            ++renamed_steps;
            if (loaded.undos[k] == UndoOutcome::Undone) ++undone;
        }
        if (any) ++files;
    }
    runs_[run].files_renamed = files;
    runs_[run].status = status_of(runs_[run].ended, renamed_steps, undone);
}

const std::vector<HistoryFile>& RenameHistory::files(std::size_t run) {
    if (files_run_ == run) return files_;
    files_run_ = run;
    files_.clear();
    if (run >= runs_.size()) return files_;
    std::optional<Loaded> loaded = load_run(run);
    if (!loaded) {
        runs_[run].status = RunStatus::Damaged;  // a name that would reach outside its directory
        return files_;
    }
    DirectorySnapshot disk = DirectorySnapshot::take(runs_[run].directory);
    for (const std::vector<std::size_t>& steps : steps_by_file(loaded->steps)) {
        if (std::none_of(steps.begin(), steps.end(), [&](std::size_t k) { return renamed(loaded->outcomes[k]); })) {
            continue;
        }
        HistoryFile file;
        file.old_name = loaded->steps[steps.front()].from;
        file.new_name = loaded->steps[steps.back()].to;
        file.steps = steps;
        std::optional<std::string> now = disk.name_of(loaded->steps[steps.front()].file);
        if (now == file.new_name) {
            file.place = FilePlace::UnderNewName;
        } else if (now == file.old_name) {
            file.place = FilePlace::PutBack;
        }
        files_.push_back(std::move(file));
    }
    return files_;
}

void RenameHistory::undo(std::size_t run, filelist::Progress& progress) {
    if (run >= runs_.size()) return;
    platform::FileLock held;
    if (journal_.hold_run(runs_[run].place, runs_[run].id, held) == platform::FileAccess::Busy) {
        runs_[run].status = RunStatus::InProgress;
        return;
    }
    std::optional<Loaded> loaded = load_run(run);
    if (!loaded) {
        runs_[run].status = RunStatus::Damaged;
        return;
    }
    files(run);
    std::vector<std::size_t> file_of_step(loaded->steps.size(), files_.size());
    for (std::size_t f = 0; f < files_.size(); ++f) {
        for (std::size_t k : files_[f].steps) file_of_step[k] = f;
    }
    // The reverse of the order the run renamed in.
    std::vector<std::size_t> order;
    for (std::size_t k = loaded->steps.size(); k-- > 0;) {
        if (renamed(loaded->outcomes[k]) && loaded->undos[k] != UndoOutcome::Undone) order.push_back(k);
    }
    const HistoryRun& h = runs_[run];
    undo_steps(h.directory, loaded->steps, order, [&](std::size_t k, const filelist::RowOutcome& outcome) {
        const bool undone = outcome.kind == filelist::Outcome::Undone;
        journal_.record_undo(h.place, h.id, k, undone);
        loaded->undos[k] = undone ? UndoOutcome::Undone : UndoOutcome::Failed;
        if (file_of_step[k] < files_.size()) {
            HistoryFile& file = files_[file_of_step[k]];
            file.undo = outcome;
            if (undone && k == file.steps.front()) file.place = FilePlace::PutBack;
        }
        return progress.on_row(k, outcome);
    });
    journal_.flush_pending();
    summarise(run, *loaded);
}

std::optional<std::size_t> RenameHistory::unasked_unfinished_run() const {
    for (std::size_t k = 0; k < runs_.size(); ++k) {
        const JournalRun& run = contents_.runs[source_[k]].run;
        if (run.plan_whole && !run.ended && !runs_[k].asked && runs_[k].status != RunStatus::Damaged &&
            runs_[k].status != RunStatus::InProgress) {
            return k;
        }
    }
    return std::nullopt;
}

void RenameHistory::mark_asked(std::size_t run) {
    if (run >= runs_.size()) return;
    journal_.record_asked(runs_[run].place, runs_[run].id);
    runs_[run].asked = true;
}

std::vector<std::string> RenameHistory::clear() {
    std::vector<std::string> kept = journal_.clear();
    load();
    return kept;
}

}  // namespace renaming
