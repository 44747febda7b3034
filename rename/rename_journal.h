#pragma once

#include "platform/shared_file.h"
#include "rename/journal_format.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace renaming {

// Where the journal is kept, in the order tried: "改名记录.txt" beside the
// program, like 配置.ini, and where that cannot be written,
// "Lanmoor-批量文件改名\改名记录.txt" in the user's local application data.
std::vector<std::string> default_journal_paths();

// Everything the journals hold: each one's text, and its runs.
struct JournalContents {
    struct Run {
        JournalRun run;
        std::size_t text = 0;  // which of texts (and of the journal paths) holds it
    };
    std::vector<std::string> texts;
    std::vector<Run> runs;  // oldest first
};

// The rename journal: a record of every run, written so that nothing a run
// does is lost even when the program is killed mid-run. A run's plan is on
// the disk itself before its first rename; what became of each rename is
// appended as the run goes and at its end. The journal file is held only for
// each append, so that two copies of the program can keep one journal.
class RenameJournal {
public:
    explicit RenameJournal(std::vector<std::string> paths);

    const std::vector<std::string>& paths() const { return paths_; }

    // Starts a run: its plan, flushed to the first journal that can hold it.
    // False when none can; nothing is then recorded of the run. The run is
    // held (run_held) from before its plan is written until end_run.
    bool begin_run(const std::string& directory, const std::vector<JournalStep>& steps);
    const std::string& run_id() const { return run_id_; }

    // What became of step k of the run started last (counted from 0).
    void record(std::size_t step, bool renamed);
    // The run has ended: its last outcomes and its end mark; then the journal
    // is trimmed when it holds too much.
    void end_run();

    // Which journal holds the run started last.
    std::size_t run_place() const { return run_place_; }

    // A run is held while a copy of the program renames its files or puts
    // them back, by a lock beside its journal that dies with the process:
    // other copies neither undo it nor ask about it meanwhile. Busy when
    // another copy holds it.
    platform::FileAccess hold_run(std::size_t place, const std::string& run_id, platform::FileLock& lock) const;
    bool run_held(std::size_t place, const std::string& run_id) const;

    // An undo of step k of a run, recorded against that run in the journal
    // that holds it (place: its index in paths()).
    void record_undo(std::size_t place, const std::string& run_id, std::size_t step, bool undone);
    // A start asked about an unfinished run.
    void record_asked(std::size_t place, const std::string& run_id);
    // Writes what is waiting to be written.
    void flush_pending();

    JournalContents read() const;
    // A cheap look for a run that did not end and was not asked about, for
    // every start; false means there surely is none.
    bool may_hold_unfinished_run() const;
    // Empties every journal; the paths of those that could not be emptied.
    std::vector<std::string> clear();

    // The oldest runs go once a journal holds more than this.
    static constexpr std::size_t kMaxRuns = 50;
    static constexpr std::size_t kMaxBytes = 20u << 20;

private:
    void queue(std::size_t place, std::string line);
    bool append(std::size_t place, const std::string& text, bool flush);
    void trim(std::size_t place);

    std::vector<std::string> paths_;
    std::string run_lock_path(std::size_t place, const std::string& run_id) const;

    std::string run_id_;
    std::size_t run_place_ = 0;
    platform::FileLock run_lock_;
    std::vector<std::string> pending_;  // per place, lines waiting
    std::chrono::steady_clock::time_point last_append_{};
    std::uint64_t id_sequence_ = 0;
};

}  // namespace renaming
