#include "rename/rename_order.h"

#include "platform/text_case.h"
#include "rename/journal_format.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_set>

namespace renaming {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr std::size_t kOutside = static_cast<std::size_t>(-2);  // a name held by no row of the batch

// A name as Windows compares it: an ASCII name by its own bytes without
// regard to letter case, any other by its folded form (which an ASCII name
// never equals). A hundred thousand names need no copy but the few that are
// not ASCII.
struct NameKey {
    std::string_view text;
    bool ascii = true;
};

char ascii_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; }

bool operator==(const NameKey& a, const NameKey& b) {
    if (a.ascii != b.ascii || a.text.size() != b.text.size()) return false;
    if (!a.ascii) return a.text == b.text;
    for (std::size_t i = 0; i < a.text.size(); ++i) {
        if (ascii_upper(a.text[i]) != ascii_upper(b.text[i])) return false;
    }
    return true;
}

// Keeps the folded forms of the names that are not ASCII, for as long as the keys are used.
class NameKeys {
public:
    explicit NameKeys(std::size_t count) { folded_.reserve(count); }
    NameKey key(std::string_view name) {
        for (char c : name) {
            if (static_cast<unsigned char>(c) >= 0x80) {
                folded_.push_back(platform::folded_name(name));
                return {folded_.back(), false};
            }
        }
        return {name, true};
    }

private:
    std::vector<std::string> folded_;  // reserved up front: views of its strings stay valid
};

// Every name of a batch and its directory, looked up as Windows compares
// them, with the row whose file holds it and the row that wants it: open
// addressing over one small array of slots, which a hundred thousand
// look-ups walk without chasing a node each.
class NameTable {
public:
    struct Entry {
        NameKey key;
        std::size_t holder = kNone;  // a row, kOutside, or kNone for a free name
        std::size_t wanted = kNone;  // the first row that wants it as its target
    };

    explicit NameTable(std::size_t entries) {
        std::size_t size = 16;
        while (size < entries + entries / 2) size *= 2;
        slots_.resize(size);
        mask_ = size - 1;
        entries_.reserve(entries);
    }
    // The entry of a name, made free and unwanted when it is new.
    Entry& at(const NameKey& key) { return at(key, hash(key)); }
    Entry& at(const NameKey& key, std::uint32_t h) {
        for (std::size_t i = h & mask_;; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.entry == 0) {
                entries_.push_back({key});
                slot = {h, static_cast<std::uint32_t>(entries_.size())};
                return entries_.back();
            }
            Entry& entry = entries_[slot.entry - 1];
            if (slot.hash == h && entry.key == key) return entry;
        }
    }
    const Entry* find(const NameKey& key) const {
        const std::uint32_t h = hash(key);
        for (std::size_t i = h & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.entry == 0) return nullptr;
            const Entry& entry = entries_[slot.entry - 1];
            if (slot.hash == h && entry.key == key) return &entry;
        }
    }

    // Asks for the slot of a name looked up shortly, so that a loop over many
    // names waits for memory once rather than once a name.
    void prefetch(std::uint32_t h) const {
#if defined(__GNUC__) || defined(__clang__)
        __builtin_prefetch(&slots_[h & mask_]);
#else
        (void)h;
#endif
    }

    static std::uint32_t hash(const NameKey& key) {
        std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ key.text.size() ^ (key.ascii ? 0 : 0x5555);
        std::uint64_t word = 0;
        int filled = 0;
        for (char c : key.text) {
            word = (word << 8) | static_cast<unsigned char>(key.ascii ? ascii_upper(c) : c);
            if (++filled == 8) {
                h = (h ^ word) * 0xFF51AFD7ED558CCDULL;
                h ^= h >> 32;
                word = 0;
                filled = 0;
            }
        }
        h = (h ^ word) * 0xC4CEB9FE1A85EC53ULL;
        h ^= h >> 29;
        return static_cast<std::uint32_t>(h);
    }
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t entry = 0;  // 1 + its place in entries_; 0 for an empty slot
    };
    std::vector<Slot> slots_;
    std::vector<Entry> entries_;  // reserved up front: references to entries stay valid
    std::size_t mask_ = 0;
};

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
        std::string folded = platform::folded_name(temporary);
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
