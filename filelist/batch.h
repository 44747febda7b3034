#pragma once

#include "filelist/row_outcome.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace filelist {

// The files of one batch: their directory and one row per file. The batch is
// the one owner of the chosen names, their new names and everything the
// main table shows of them; the list view only displays it and hears of every
// change through its observers. Rows are counted from 0, top to bottom.
class Batch {
public:
    enum Column : int {
        kNumber = 0,    // 序
        kOriginalName,  // 原名称
        kNewName,       // 新名称
        kExtension,     // 后缀名
        kDirectory,     // 目录
        kResult,        // 处理结果
        kColumnCount
    };

    class Observer {
    public:
        virtual void rows_replaced(std::size_t row_count) = 0;
        virtual void row_changed(std::size_t row) = 0;
        virtual void marks_changed() = 0;
        // Rows moved whole: row k now holds what row moved_from[k] held.
        virtual void rows_reordered(const std::vector<std::size_t>& moved_from) = 0;

    protected:
        ~Observer() = default;
    };

    // The chosen files as the run renames them: the directory (ending in the
    // path separator), each file's bare name with extension, and each file's
    // new base name (no extension), element k belonging to row k.
    const std::string& base_directory() const { return base_directory_; }
    const std::vector<std::string>& file_names() const { return file_names_; }
    const std::vector<std::string>& new_names() const { return new_names_; }

    std::size_t row_count() const { return file_names_.size(); }
    bool empty() const { return file_names_.empty(); }

    // The extension the run gives row's file: the 后缀名 cell.
    const std::string& extension(std::size_t row) const;
    // What the last run or undo did with the row's file: the 处理结果 column.
    RowOutcome result(std::size_t row) const;
    // Why a run started now would fail on the row; none when it would not.
    RowMark mark(std::size_t row) const;

    // The text a column of names shows for a row; empty for a row that does
    // not exist and for 处理结果, whose text comes from the outcome. 序 counts
    // rows from 1, 原名称 is the file's base name.
    std::string cell(std::size_t row, int column) const;

    // Replaces every row: one per name, in the directory given, with empty new
    // names, results and marks.
    void fill_list(std::string base_directory, std::vector<std::string> file_names);
    // No rows at all.
    void clear();

    // Each of these writes one row; false (nothing written) for a row that does
    // not exist.
    bool set_new_name(std::size_t row, std::string name);
    bool set_extension(std::size_t row, std::string extension);
    bool set_result(std::size_t row, RowOutcome result);

    // Puts the rows in a new order: row k gets everything row order[k] held
    // (its file, new name, cells, result and mark). False, and nothing moved,
    // unless order holds each row exactly once.
    bool reorder(const std::vector<std::size_t>& order);

    // A number for each row's file that stays with it when the rows move,
    // unique within the batch; row_of finds the row again.
    std::uint32_t row_id(std::size_t row) const { return row < row_ids_.size() ? row_ids_[row] : kNoRowId; }
    std::optional<std::size_t> row_of(std::uint32_t id) const;
    static constexpr std::uint32_t kNoRowId = 0xFFFFFFFF;

    // A mark per row (fewer clear the rest).
    void set_marks(std::vector<RowMark> marks);
    void clear_marks() { set_marks({}); }

    // Changes whenever the set of rows is replaced (not when they move), so a long loop can tell
    // whether the rows it started on are still the ones shown.
    std::uint64_t generation() const { return generation_; }

    void add_observer(Observer* observer);
    void remove_observer(Observer* observer);

private:
    void tell_row_changed(std::size_t row);

    std::string base_directory_;
    std::vector<std::string> file_names_;
    std::vector<std::string> new_names_;
    std::vector<std::string> extensions_;
    std::vector<RowOutcome> results_;
    std::vector<RowMark> marks_;  // empty, or one per row
    std::vector<std::uint32_t> row_ids_;
    std::vector<std::uint32_t> row_of_id_;  // the row each id is in
    std::uint64_t generation_ = 0;
    std::vector<Observer*> observers_;
};

}  // namespace filelist
