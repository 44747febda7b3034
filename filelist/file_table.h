#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace filelist {

// The rows of the main window's file table. The table owns the cell texts; a
// list view only displays them and hears of every change through the observer.
class FileTable {
public:
    enum Column : int {
        kNumber = 0,     // 序
        kOriginalName,   // 原名称
        kNewName,        // 新名称
        kExtension,      // 后缀名
        kDirectory,      // 目录
        kResult,         // 处理结果
        kColumnCount
    };
    using Row = std::array<std::string, kColumnCount>;

    class Observer {
    public:
        virtual void rows_replaced(std::size_t row_count) = 0;
        virtual void row_changed(std::size_t row) = 0;
        virtual void warnings_changed() = 0;

    protected:
        ~Observer() = default;
    };

    std::size_t row_count() const { return rows_.size(); }

    // Text of a cell; the empty text for a row or column that does not exist.
    const std::string& cell(std::size_t row, int column) const;

    // Writes a cell; false (and nothing written) for a row or column that does
    // not exist.
    bool set_cell(std::size_t row, int column, std::string text);

    // A note on a row beside its cells: why a rename run started now would
    // fail on it; empty when it would not. Replacing the rows drops them.
    const std::string& warning(std::size_t row) const;
    void set_warnings(std::vector<std::string> warnings);

    // Replaces every row at once (also with none).
    void replace_rows(std::vector<Row> rows);
    void clear() { replace_rows({}); }

    // Changes whenever the set of rows is replaced, so a long loop can tell
    // whether the rows it started on are still the ones shown.
    std::uint64_t generation() const { return generation_; }

    void set_observer(Observer* observer) { observer_ = observer; }

private:
    std::vector<Row> rows_;
    std::vector<std::string> warnings_;
    std::uint64_t generation_ = 0;
    Observer* observer_ = nullptr;
};

}  // namespace filelist
