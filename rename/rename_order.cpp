#include "rename/rename_order.h"

#include "rename/journal_format.h"
#include "rename/name_table.h"
#include "text/text_case.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_set>

namespace renaming {
namespace {

using namespace name_table;

// The four steps of the order, over one table of every name involved.
class DependencyOrder {
public:
    DependencyOrder(const RenameBatch& batch, const std::vector<RenameStep>& steps, const std::vector<bool>& movable,
                    const std::vector<std::string>& directory_listing)
        : batch_(batch),
          steps_(steps),
          movable_(movable),
          listing_(directory_listing),
          n_(std::min(steps.size(), batch.old_names.size())),
          keys_(2 * n_ + directory_listing.size() + 1),
          names_(2 * n_ + directory_listing.size() + 1),
          target_(n_),
          old_key_(n_),
          target_key_(n_),
          hashes_(n_),
          on_disk_(n_, 0),
          moves_(n_, 0),
          in_place_(n_, 0),
          target_holder_(n_, kNone),
          waits_for_(n_, kNone),
          waited_by_(n_, kNone),
          placed_(n_, 0) {
        order_.failing.assign(n_, RowConflict{});
        for (std::size_t k = 0; k < n_; ++k) target_[k] = batch.new_names[k] + batch.extensions[k];
    }

    RenameOrder make() {
        index_names();
        choose_targets();
        find_waits();
        order_.renames.reserve(n_);
        emit_chains();
        break_cycles();
        return std::move(order_);
    }

private:
    static constexpr std::size_t kAhead = 16;

    // Who holds each name of the directory: a row of the batch, or something else.
    void index_names() {
        for (std::size_t k = 0; k < n_; ++k) {
            old_key_[k] = keys_.key(batch_.old_names[k]);
            hashes_[k] = NameTable::hash(old_key_[k]);
        }
        for (std::size_t k = 0; k < n_; ++k) {
            if (k + kAhead < n_) names_.prefetch(hashes_[k + kAhead]);
            NameTable::Entry& entry = names_.at(old_key_[k], hashes_[k]);
            if (entry.holder == kNone) entry.holder = k;
        }
        std::vector<NameKey> listed(listing_.size());
        std::vector<std::uint32_t> listed_hashes(listing_.size());
        for (std::size_t i = 0; i < listing_.size(); ++i) {
            listed[i] = keys_.key(listing_[i]);
            listed_hashes[i] = NameTable::hash(listed[i]);
        }
        for (std::size_t i = 0; i < listed.size(); ++i) {
            if (i + kAhead < listed.size()) names_.prefetch(listed_hashes[i + kAhead]);
            NameTable::Entry& entry = names_.at(listed[i], listed_hashes[i]);
            if (entry.holder == kNone) {
                entry.holder = kOutside;
            } else if (entry.holder != kOutside) {
                on_disk_[entry.holder] = 1;
            }
        }
    }

    // Which rows move, and which names they want; the first row of the table
    // wins a target several want.
    void choose_targets() {
        for (std::size_t k = 0; k < n_; ++k) {
            if (steps_[k].action != RenameAction::Rename) continue;
            target_key_[k] = keys_.key(target_[k]);
            hashes_[k] = NameTable::hash(target_key_[k]);
        }
        for (std::size_t k = 0; k < n_; ++k) {
            if (k + kAhead < n_ && steps_[k + kAhead].action == RenameAction::Rename) names_.prefetch(hashes_[k + kAhead]);
            if (steps_[k].action == RenameAction::Refused) {
                order_.failing[k].kind = ConflictKind::RefusedName;
                continue;
            }
            if (steps_[k].action != RenameAction::Rename) continue;
            if (k >= movable_.size() || !movable_[k] || !on_disk_[k]) {
                order_.failing[k].kind = ConflictKind::SourceMissing;
                continue;
            }
            NameTable::Entry& wanted = names_.at(target_key_[k], hashes_[k]);
            if (wanted.wanted != kNone) {
                order_.failing[k] = {ConflictKind::SameAsEarlier, wanted.wanted};
                continue;
            }
            wanted.wanted = k;
            // A row whose file is not on the disk holds no name.
            const std::size_t holder = wanted.holder;
            target_holder_[k] = holder == kOutside || (holder != kNone && on_disk_[holder]) ? holder : kNone;
            moves_[k] = 1;
            in_place_[k] = target_key_[k] == old_key_[k];  // a change of letter case only
        }
    }

    // Who waits for whom: a row whose target is the old name of a moving row
    // goes after it. A target held by anything that stays fails its row, and
    // the row waiting for that one, and so on down its chain.
    void find_waits() {
        std::vector<std::size_t> failed;
        for (std::size_t k = 0; k < n_; ++k) {
            if (!moves_[k] || in_place_[k]) continue;
            const std::size_t j = target_holder_[k];
            if (j == kNone) continue;  // free
            if (j != kOutside && moves_[j] && !in_place_[j]) {
                waits_for_[k] = j;
                waited_by_[j] = k;
            } else {
                order_.failing[k] = j == kOutside ? RowConflict{ConflictKind::TargetTaken, 0}
                                                  : RowConflict{ConflictKind::HeldByLaterRow, j};  // its file stays
                failed.push_back(k);
            }
        }
        for (std::size_t i = 0; i < failed.size(); ++i) {
            const std::size_t gone = failed[i];
            moves_[gone] = 0;
            const std::size_t waiter = waited_by_[gone];
            if (waiter != kNone && moves_[waiter] && order_.failing[waiter].kind == ConflictKind::None) {
                order_.failing[waiter] = {ConflictKind::HeldByLaterRow, gone};
                failed.push_back(waiter);
            }
        }
    }

    void emit(std::size_t k, std::string from, std::string to, bool temporary, std::size_t cycle) {
        order_.renames.push_back({k, std::move(from), std::move(to), temporary, cycle});
        if (!temporary) placed_[k] = 1;
    }

    // Chains first, from the rows nobody waits for: the end of each chain,
    // whose target is free, goes first, then back up the chain.
    void emit_chains() {
        std::vector<std::size_t> chain;
        for (std::size_t head = 0; head < n_; ++head) {
            if (!moves_[head] || placed_[head] || (waited_by_[head] != kNone && moves_[waited_by_[head]])) continue;
            chain.clear();
            for (std::size_t k = head; k != kNone && moves_[k] && !placed_[k]; k = waits_for_[k]) {
                chain.push_back(k);
                if (in_place_[k]) break;
            }
            for (auto it = chain.rbegin(); it != chain.rend(); ++it) emit(*it, batch_.old_names[*it], target_[*it], false, 0);
        }
    }

    // What is left goes round in cycles: the first row's file steps aside to a
    // temporary name that nothing in the directory or the batch bears, the
    // others follow back round, and it takes its target last.
    void break_cycles() {
        std::vector<char> in_cycle(n_, 0);
        std::size_t temporaries = 0, cycles = 0;
        std::unordered_set<std::string> chosen;  // folded temporary names taken so far (they are no ASCII)
        for (std::size_t first = 0; first < n_; ++first) {
            if (!moves_[first] || placed_[first]) continue;
            const std::size_t cycle = ++cycles;
            std::vector<std::size_t> members;
            for (std::size_t k = first; !placed_[k] && !in_cycle[k]; k = waits_for_[k]) {
                in_cycle[k] = 1;
                members.push_back(k);
            }
            std::string temporary;
            do {
                temporary = std::string(kTemporaryNamePrefix) + std::to_string(++temporaries) + batch_.extensions[first];
            } while (!free_temporary(temporary, chosen));
            emit(first, batch_.old_names[first], temporary, true, cycle);
            for (std::size_t i = members.size(); i-- > 1;) {
                emit(members[i], batch_.old_names[members[i]], target_[members[i]], false, cycle);
            }
            emit(first, temporary, target_[first], false, cycle);
        }
    }

    bool free_temporary(const std::string& temporary, std::unordered_set<std::string>& chosen) const {
        std::string folded = text::folded_name(temporary);
        const NameTable::Entry* entry = names_.find(NameKey{folded, false});
        if (entry && (entry->holder != kNone || entry->wanted != kNone)) return false;
        return chosen.insert(std::move(folded)).second;
    }

    const RenameBatch& batch_;
    const std::vector<RenameStep>& steps_;
    const std::vector<bool>& movable_;
    const std::vector<std::string>& listing_;
    const std::size_t n_;
    NameKeys keys_;
    NameTable names_;
    std::vector<std::string> target_;
    std::vector<NameKey> old_key_, target_key_;
    std::vector<std::uint32_t> hashes_;
    std::vector<char> on_disk_, moves_, in_place_;
    std::vector<std::size_t> target_holder_, waits_for_, waited_by_;
    std::vector<char> placed_;
    RenameOrder order_;
};

}  // namespace

RenameOrder order_renames(const RenameBatch& batch, const std::vector<RenameStep>& steps,
                          const std::vector<bool>& movable, const std::vector<std::string>& directory_listing) {
    return DependencyOrder(batch, steps, movable, directory_listing).make();
}

}  // namespace renaming
