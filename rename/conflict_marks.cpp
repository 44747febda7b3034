#include "rename/conflict_marks.h"

#include "platform/directory_search.h"
#include "rename/rename_conflicts.h"
#include "rename/rename_order.h"
#include "rename/rename_plan.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <optional>
#include <thread>

namespace renaming {

// A listing under way in the background. Its thread keeps it alive, so a
// listing nobody waits for any more finishes harmlessly on its own.
struct ConflictMarks::Listing {
    std::string directory;
    std::uint64_t generation = 0;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::vector<std::string> names;
};

void ConflictMarks::list_ahead(const filelist::Batch& batch) {
    ahead_ = std::make_shared<Listing>();
    ahead_->directory = batch.base_directory();
    ahead_->generation = batch.generation();
    try {
        std::thread([listing = ahead_] {
            std::vector<std::string> names;
            platform::list_entries(listing->directory, [&](std::string_view name) { names.emplace_back(name); });
            std::lock_guard lock(listing->mutex);
            listing->names = std::move(names);
            listing->done = true;
            listing->finished.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        ahead_.reset();  // listed when wanted, as without a thread
    }
}

void ConflictMarks::take_listing(const filelist::Batch& batch, filelist::Progress& progress) {
    names_.clear();
    directory_ = batch.base_directory();
    generation_ = batch.generation();
    listed_ = true;
    std::shared_ptr<Listing> ahead = std::move(ahead_);
    if (!ahead || ahead->directory != directory_ || ahead->generation != generation_) {
        platform::list_entries(directory_, [&](std::string_view name) { names_.emplace_back(name); });
        return;
    }
    std::unique_lock lock(ahead->mutex);
    while (!ahead->finished.wait_for(lock, std::chrono::milliseconds(50), [&] { return ahead->done; })) {
        lock.unlock();
        progress.on_step();
        if (progress.stopping()) return;
        lock.lock();
    }
    names_ = std::move(ahead->names);
}

void ConflictMarks::mark(filelist::AppState& state) {
    filelist::Batch& batch = state.batch;
    if (!listed_ || generation_ != batch.generation() || directory_ != batch.base_directory()) {
        filelist::NoProgress quietly;
        take_listing(batch, quietly);
    }
    const auto& names = batch.new_names();
    if (state.rule_confirmed != 1 && std::all_of(names.begin(), names.end(), [](const auto& n) { return n.empty(); })) {
        batch.clear_marks();  // nothing a run would try
        return;
    }
    RenameBatch rows = take_rename_batch(batch, batch.row_count());
    const std::vector<RenameStep> steps = plan_renames(rows);
    std::vector<RowConflict> conflicts = find_conflicts(rows, steps, names_);
    // A row held up only by another row of the batch: would the dependency
    // order get it through?
    std::optional<RenameOrder> order;
    if (std::any_of(conflicts.begin(), conflicts.end(),
                    [](const RowConflict& c) { return c.kind == ConflictKind::HeldByLaterRow; })) {
        order = order_renames(rows, steps, std::vector<bool>(steps.size(), true), names_);
    }
    std::vector<filelist::RowMark> marks(conflicts.size());
    for (std::size_t row = 0; row < conflicts.size(); ++row) {
        const bool unnamed = rows.new_names[row].empty();
        if (unnamed && state.rule_confirmed != 1) continue;
        marks[row].conflict = conflicts[row];
        marks[row].dependency_order_resolves = order && conflicts[row].kind == ConflictKind::HeldByLaterRow &&
                                               order->failing[row].kind == ConflictKind::None;
    }
    batch.set_marks(std::move(marks));
}

}  // namespace renaming
