#include "rename/rename_journal.h"

#include "platform/clock.h"
#include "platform/path.h"
#include "platform/program_directory.h"
#include "platform/shared_file.h"

#include <thread>
#include <utility>

namespace renaming {
namespace {

constexpr const char* kFileName = "改名记录.txt";
constexpr const char* kFolderName = "Lanmoor-批量文件改名";

// Another copy holding the journal lets go within moments: it holds it only
// for one append.
constexpr int kBusyRetries = 40;
constexpr auto kBusyPause = std::chrono::milliseconds(25);
// Outcomes are written in batches, so that a run of thousands of files costs
// a few appends rather than one per file; what a kill loses of them is read
// back from the disk.
constexpr auto kAppendInterval = std::chrono::milliseconds(250);

template <typename Try>
platform::FileAccess with_retries(Try attempt) {
    platform::FileAccess result = attempt();
    for (int i = 0; i < kBusyRetries && result == platform::FileAccess::Busy; ++i) {
        std::this_thread::sleep_for(kBusyPause);
        result = attempt();
    }
    return result;
}

std::size_t count_runs(std::string_view text) {
    std::size_t n = 0;
    const std::string_view start = "\t开始\t";
    for (std::size_t at = text.find(start); at != std::string_view::npos; at = text.find(start, at + start.size())) ++n;
    return n;
}

}  // namespace

std::vector<std::string> default_journal_paths() {
    std::vector<std::string> paths;
    std::string beside = platform::program_directory();
    if (!beside.empty()) paths.push_back(beside + platform::kPathSeparator + kFileName);
    std::string data = platform::local_app_data_directory(kFolderName);
    if (!data.empty()) paths.push_back(data + platform::kPathSeparator + kFileName);
    return paths;
}

RenameJournal::RenameJournal(std::vector<std::string> paths) : paths_(std::move(paths)), pending_(paths_.size()) {}

bool RenameJournal::append(std::size_t place, const std::string& text, bool flush) {
    const std::string header = journal_header();
    return with_retries([&] { return platform::append_to_file(paths_[place], text, header, flush); }) ==
           platform::FileAccess::Done;
}

bool RenameJournal::begin_run(const std::string& directory, const std::vector<JournalStep>& steps) {
    flush_pending();
    // Unique among every copy of the program: the moment, this process, and a
    // count within it.
    auto now =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch());
    std::string id = "R";
    const char* hex = "0123456789ABCDEF";
    auto add_hex = [&](std::uint64_t value) {
        std::string digits;
        do {
            digits.insert(digits.begin(), hex[value & 0xF]);
            value >>= 4;
        } while (value);
        id += digits;
    };
    add_hex(static_cast<std::uint64_t>(now.count()));
    id += '-';
    add_hex(platform::process_id());
    id += '-';
    add_hex(++id_sequence_);

    const std::string plan = plan_text(id, platform::local_time_text(), directory, steps);
    for (std::size_t place = 0; place < paths_.size(); ++place) {
        // Held before another copy can read its plan, so none takes it for
        // a run that was left unfinished.
        platform::FileLock lock;
        if (platform::FileLock::acquire(run_lock_path(place, id), lock) != platform::FileAccess::Done) continue;
        if (append(place, plan, true)) {
            run_id_ = std::move(id);
            run_place_ = place;
            run_lock_ = std::move(lock);
            last_append_ = std::chrono::steady_clock::now();
            return true;
        }
    }
    run_id_.clear();
    return false;
}

std::string RenameJournal::run_lock_path(std::size_t place, const std::string& run_id) const {
    return place < paths_.size() ? paths_[place] + "." + run_id : std::string();
}

platform::FileAccess RenameJournal::hold_run(std::size_t place, const std::string& run_id,
                                             platform::FileLock& lock) const {
    if (place >= paths_.size()) return platform::FileAccess::Failed;
    return platform::FileLock::acquire(run_lock_path(place, run_id), lock);
}

bool RenameJournal::run_held(std::size_t place, const std::string& run_id) const {
    return place < paths_.size() && platform::FileLock::held_now(run_lock_path(place, run_id));
}

void RenameJournal::queue(std::size_t place, std::string line) {
    if (place >= pending_.size()) return;
    pending_[place] += line;
    if (std::chrono::steady_clock::now() - last_append_ >= kAppendInterval) flush_pending();
}

void RenameJournal::record(std::size_t step, bool renamed) {
    if (!run_id_.empty()) queue(run_place_, outcome_line(run_id_, step, renamed));
}

void RenameJournal::end_run() {
    if (run_id_.empty()) return;
    pending_[run_place_] += end_line(run_id_);
    flush_pending();
    run_lock_ = platform::FileLock();
    trim(run_place_);
    run_id_.clear();
}

void RenameJournal::record_undo(std::size_t place, const std::string& run_id, std::size_t step, bool undone) {
    queue(place, undo_line(run_id, step, undone));
}

void RenameJournal::record_asked(std::size_t place, const std::string& run_id) {
    if (place >= pending_.size()) return;
    pending_[place] += asked_line(run_id);
    flush_pending();
}

void RenameJournal::flush_pending() {
    for (std::size_t place = 0; place < pending_.size(); ++place) {
        // Kept when the journal cannot be written now: the next append carries it.
        if (!pending_[place].empty() && append(place, pending_[place], false)) pending_[place].clear();
    }
    last_append_ = std::chrono::steady_clock::now();
}

// The oldest runs are dropped by writing the journal anew beside it and
// moving that into place, under the journal's lock: no copy appends
// meanwhile, and a kill at any moment leaves the old journal or the new one.
void RenameJournal::trim(std::size_t place) {
    const std::string& path = paths_[place];
    platform::FileLock lock;
    if (with_retries([&] { return platform::FileLock::acquire(path, lock); }) != platform::FileAccess::Done) return;
    std::string text;
    if (platform::read_file(path, text) != platform::FileAccess::Done) return;
    if (text.size() <= kMaxBytes && count_runs(text) <= kMaxRuns) return;
    std::optional<std::string> kept = trimmed_journal(text, kMaxRuns, kMaxBytes);
    if (!kept) return;
    const std::string staging = path + ".new";
    if (!platform::write_flushed_file(staging, *kept) || !platform::replace_file(staging, path)) {
        platform::remove_file(staging);
    }
}

JournalContents RenameJournal::read() const {
    JournalContents contents;
    contents.texts.resize(paths_.size());
    for (std::size_t place = 0; place < paths_.size(); ++place) {
        std::string& text = contents.texts[place];
        if (with_retries([&] { return platform::read_file(paths_[place], text); }) != platform::FileAccess::Done) {
            text.clear();
            continue;
        }
        for (JournalRun& run : scan_journal(text)) contents.runs.push_back({std::move(run), place});
    }
    return contents;
}

bool RenameJournal::may_hold_unfinished_run() const {
    std::string text;
    for (const std::string& path : paths_) {
        if (with_retries([&] { return platform::read_file(path, text); }) != platform::FileAccess::Done) continue;
        if (renaming::may_hold_unfinished_run(text)) return true;
    }
    return false;
}

std::vector<std::string> RenameJournal::clear() {
    std::vector<std::string> kept;
    for (std::size_t place = 0; place < paths_.size(); ++place) {
        pending_[place].clear();
        platform::FileLock lock;
        if (with_retries([&] { return platform::FileLock::acquire(paths_[place], lock); }) !=
            platform::FileAccess::Done) {
            // No lock can be made where no journal can be either; one that
            // is there and cannot be locked stays.
            std::string text;
            if (platform::read_file(paths_[place], text) == platform::FileAccess::Done) kept.push_back(paths_[place]);
            continue;
        }
        if (!platform::remove_file(paths_[place])) kept.push_back(paths_[place]);
    }
    return kept;
}

}  // namespace renaming
