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

}  // namespace

RenameOrder order_renames(const RenameBatch& batch, const std::vector<RenameStep>& steps,
                          const std::vector<bool>& movable, const std::vector<std::string>& directory_listing) {
    const std::size_t n = std::min(steps.size(), batch.old_names.size());
    RenameOrder order;
    order.failing.assign(n, RowConflict{});
    std::vector<std::string> target(n);
    for (std::size_t k = 0; k < n; ++k) target[k] = batch.new_names[k] + batch.extensions[k];
    NameKeys keys(2 * n + directory_listing.size() + 1);
    std::vector<NameKey> old_key(n), target_key(n);

    // Who holds each name of the directory: a row of the batch, or something else.
    NameTable names(2 * n + directory_listing.size() + 1);
    std::vector<char> on_disk(n, 0);
    constexpr std::size_t kAhead = 16;
    std::vector<std::uint32_t> hashes(n);
    for (std::size_t k = 0; k < n; ++k) {
        old_key[k] = keys.key(batch.old_names[k]);
        hashes[k] = NameTable::hash(old_key[k]);
    }
    for (std::size_t k = 0; k < n; ++k) {
        if (k + kAhead < n) names.prefetch(hashes[k + kAhead]);
        NameTable::Entry& entry = names.at(old_key[k], hashes[k]);
        if (entry.holder == kNone) entry.holder = k;
    }
    std::vector<NameKey> listed(directory_listing.size());
    std::vector<std::uint32_t> listed_hashes(directory_listing.size());
    for (std::size_t i = 0; i < directory_listing.size(); ++i) {
        listed[i] = keys.key(directory_listing[i]);
        listed_hashes[i] = NameTable::hash(listed[i]);
    }
    for (std::size_t i = 0; i < listed.size(); ++i) {
        if (i + kAhead < listed.size()) names.prefetch(listed_hashes[i + kAhead]);
        NameTable::Entry& entry = names.at(listed[i], listed_hashes[i]);
        if (entry.holder == kNone) {
            entry.holder = kOutside;
        } else if (entry.holder != kOutside) {
            on_disk[entry.holder] = 1;
        }
    }

    // Which rows move, and which names they want; the first row of the table
    // wins a target several want.
    std::vector<char> moves(n, 0), in_place(n, 0);
    std::vector<std::size_t> target_holder(n, kNone);
    for (std::size_t k = 0; k < n; ++k) {
        if (steps[k].action != RenameAction::Rename) continue;
        target_key[k] = keys.key(target[k]);
        hashes[k] = NameTable::hash(target_key[k]);
    }
    for (std::size_t k = 0; k < n; ++k) {
        if (k + kAhead < n && steps[k + kAhead].action == RenameAction::Rename) names.prefetch(hashes[k + kAhead]);
        if (steps[k].action == RenameAction::Refused) {
            order.failing[k].kind = ConflictKind::RefusedName;
            continue;
        }
        if (steps[k].action != RenameAction::Rename) continue;
        if (k >= movable.size() || !movable[k] || !on_disk[k]) {
            order.failing[k].kind = ConflictKind::SourceMissing;
            continue;
        }
        NameTable::Entry& wanted = names.at(target_key[k], hashes[k]);
        if (wanted.wanted != kNone) {
            order.failing[k] = {ConflictKind::SameAsEarlier, wanted.wanted};
            continue;
        }
        wanted.wanted = k;
        // A row whose file is not on the disk holds no name.
        const std::size_t holder = wanted.holder;
        target_holder[k] = holder == kOutside || (holder != kNone && on_disk[holder]) ? holder : kNone;
        moves[k] = 1;
        in_place[k] = target_key[k] == old_key[k];  // a change of letter case only
    }

    // Who waits for whom: a row whose target is the old name of a moving row
    // goes after it. A target held by anything that stays fails its row.
    std::vector<std::size_t> waits_for(n, kNone), waited_by(n, kNone);
    std::vector<std::size_t> failed;
    for (std::size_t k = 0; k < n; ++k) {
        if (!moves[k] || in_place[k]) continue;
        const std::size_t j = target_holder[k];
        if (j == kNone) continue;  // free
        if (j != kOutside && moves[j] && !in_place[j]) {
            waits_for[k] = j;
            waited_by[j] = k;
        } else {
            order.failing[k] = j == kOutside ? RowConflict{ConflictKind::TargetTaken, 0}
                                             : RowConflict{ConflictKind::HeldByLaterRow, j};  // a row whose file stays
            failed.push_back(k);
        }
    }
    // A row whose file stays keeps its name taken: the row waiting for it
    // fails too, and so on down its chain.
    for (std::size_t i = 0; i < failed.size(); ++i) {
        const std::size_t gone = failed[i];
        moves[gone] = 0;
        const std::size_t waiter = waited_by[gone];
        if (waiter != kNone && moves[waiter] && order.failing[waiter].kind == ConflictKind::None) {
            order.failing[waiter] = {ConflictKind::HeldByLaterRow, gone};
            failed.push_back(waiter);
        }
    }

    order.renames.reserve(n);
    std::vector<char> placed(n, 0), in_cycle(n, 0);
    auto emit = [&](std::size_t k, std::string from, std::string to, bool temporary, std::size_t cycle) {
        order.renames.push_back({k, std::move(from), std::move(to), temporary, cycle});
        placed[k] = 1;
    };
    // Chains first, from the rows nobody waits for: the end of each chain,
    // whose target is free, goes first, then back up the chain.
    std::vector<std::size_t> chain;
    for (std::size_t head = 0; head < n; ++head) {
        if (!moves[head] || placed[head] || (waited_by[head] != kNone && moves[waited_by[head]])) continue;
        chain.clear();
        for (std::size_t k = head; k != kNone && moves[k] && !placed[k]; k = waits_for[k]) {
            chain.push_back(k);
            if (in_place[k]) break;
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) emit(*it, batch.old_names[*it], target[*it], false, 0);
    }
    // What is left goes round in cycles: the first row's file steps aside to a
    // temporary name that nothing in the directory or the batch bears, the
    // others follow back round, and it takes its target last.
    std::size_t temporaries = 0, cycles = 0;
    std::unordered_set<std::string> chosen;  // folded temporary names taken so far (they are no ASCII)
    for (std::size_t first = 0; first < n; ++first) {
        if (!moves[first] || placed[first]) continue;
        const std::size_t cycle = ++cycles;
        std::vector<std::size_t> members;
        for (std::size_t k = first; !placed[k] && !in_cycle[k]; k = waits_for[k]) {
            in_cycle[k] = 1;
            members.push_back(k);
        }
        std::string temporary;
        for (;;) {
            temporary = std::string(kTemporaryNamePrefix) + std::to_string(++temporaries) + batch.extensions[first];
            std::string folded = platform::folded_name(temporary);
            const NameTable::Entry* entry = names.find(NameKey{folded, false});
            if ((entry && (entry->holder != kNone || entry->wanted != kNone)) || !chosen.insert(folded).second)
                continue;
            break;
        }
        order.renames.push_back({first, batch.old_names[first], temporary, true, cycle});
        for (std::size_t i = members.size(); i-- > 1;) {
            emit(members[i], batch.old_names[members[i]], target[members[i]], false, cycle);
        }
        emit(first, temporary, target[first], false, cycle);
    }
    return order;
}

}  // namespace renaming
