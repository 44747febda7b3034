#pragma once

#include <cstddef>
#include <cstdint>

// What the program's long loops find out about a row, in plain values: the
// windows turn them into the texts the table, its tooltips and the history show.
namespace filelist {

// Why a row of the batch would fail if a run started now.
enum class ConflictKind : std::uint8_t {
    None,
    TargetTaken,     // a file outside the batch has the target name
    HeldByLaterRow,  // a file of the batch has it, and only a later row would move it away
    SameAsEarlier,   // an earlier row already takes the same target
    RefusedName,     // the name cannot be a file name here
    SourceMissing,   // the file is no longer there
};

struct RowConflict {
    ConflictKind kind = ConflictKind::None;
    std::size_t other_row = 0;  // the row meant, counted from 0, for HeldByLaterRow and SameAsEarlier

    bool operator==(const RowConflict&) const = default;
};

// A row's mark: why a run started now would fail on it, and whether renaming
// in dependency order would get it through.
struct RowMark {
    RowConflict conflict;
    bool dependency_order_resolves = false;

    bool failing() const { return conflict.kind != ConflictKind::None; }
    bool operator==(const RowMark&) const = default;
};

// What a run or an undo did with a row's file.
enum class Outcome : std::uint8_t { None, Renamed, NoChange, Failed, Undone, UndoFailed };

// Why a rename or its undo failed.
enum class FailReason : std::uint8_t {
    None,
    NotTried,         // refused by the plan: no plain file name, no file, or in the way
    Refused,          // the file system refused
    KeptAnotherName,  // the disk kept another name, and the file went back
    CycleUndone,      // its cycle of renames could not be completed and went back whole
    NotThatFile,      // undo: a directory, or another file, is under the new name now
    Missing,          // undo: nothing is under the new name
    OldNameTaken,     // undo: something has taken the old name meanwhile
};

struct RowOutcome {
    Outcome kind = Outcome::None;
    FailReason reason = FailReason::None;

    bool operator==(const RowOutcome&) const = default;
};

}  // namespace filelist
