#include "filelist/fill_list.h"
#include "filelist/main_model.h"
#include "filelist/split_name.h"

#include <gtest/gtest.h>

using namespace filelist;

TEST(SplitName, CutsAtTheLastDot) {
    struct Case {
        const char* name;
        const char* base;
        const char* extension;
    };
    const Case cases[] = {
        {"IMG_0012.JPG", "IMG_0012", ".JPG"},  // case kept
        {"a.b.jpg", "a.b", ".jpg"},
        {"README", "README", ""},
        {"archive.", "archive", "."},
        {".profile", "", ".profile"},
        {"", "", ""},
        {"照片.备份.jpeg", "照片.备份", ".jpeg"},
    };
    for (const Case& c : cases) {
        SplitName parts = split_name(c.name);
        EXPECT_EQ(parts.base, c.base) << c.name;
        EXPECT_EQ(parts.extension, c.extension) << c.name;
        EXPECT_EQ(parts.base + parts.extension, c.name);
    }
}

namespace {

struct RecordingObserver : FileTable::Observer {
    std::vector<std::size_t> replaced;
    std::vector<std::size_t> changed;
    void rows_replaced(std::size_t n) override { replaced.push_back(n); }
    void row_changed(std::size_t row) override { changed.push_back(row); }
    void warnings_changed() override {}
};

}  // namespace

TEST(FillList, ShowsOneRowPerFile) {
    MainModel m;
    m.state.base_directory = "D:\\pics\\";
    fill_list(m.state, m.table, {"photo.jpg", "notes", "a.b.TXT"});

    ASSERT_EQ(m.table.row_count(), 3u);
    const FileTable::Row expected_first = {"1", "photo", "", ".jpg", "D:\\pics\\", ""};
    for (int c = 0; c < FileTable::kColumnCount; ++c) EXPECT_EQ(m.table.cell(0, c), expected_first[c]) << c;
    EXPECT_EQ(m.table.cell(1, FileTable::kOriginalName), "notes");
    EXPECT_EQ(m.table.cell(1, FileTable::kExtension), "");
    EXPECT_EQ(m.table.cell(2, FileTable::kNumber), "3");
    EXPECT_EQ(m.table.cell(2, FileTable::kOriginalName), "a.b");
    EXPECT_EQ(m.state.new_names, std::vector<std::string>(3));
}

TEST(FillList, RefillReplacesRowsAndNamesButKeepsTheRule) {
    MainModel m;
    RecordingObserver observer;
    m.table.set_observer(&observer);
    m.state.base_directory = "/one/";
    fill_list(m.state, m.table, {"a.jpg", "b.jpg", "c.jpg"});
    m.state.new_names = {"A001", "A002", "A003"};
    m.table.set_cell(0, FileTable::kNewName, "A001");
    m.table.set_cell(0, FileTable::kResult, "改名成功");
    m.state.rule_confirmed = 1;
    m.state.rule_fields = {"A", "001", "1"};
    m.state.edit_column = 3;
    auto generation = m.table.generation();

    m.state.base_directory = "/two/";
    fill_list(m.state, m.table, {"x.png"});

    EXPECT_EQ(m.table.row_count(), 1u);
    EXPECT_EQ(m.table.cell(0, FileTable::kNewName), "");
    EXPECT_EQ(m.table.cell(0, FileTable::kResult), "");
    EXPECT_EQ(m.table.cell(0, FileTable::kDirectory), "/two/");
    EXPECT_EQ(m.state.new_names, std::vector<std::string>{""});
    EXPECT_EQ(m.state.rule_confirmed, 1);
    EXPECT_EQ(m.state.rule_fields[1], "001");
    EXPECT_EQ(m.state.edit_column, 3);
    EXPECT_NE(m.table.generation(), generation);
    EXPECT_EQ(observer.replaced, (std::vector<std::size_t>{3, 1}));

    fill_list(m.state, m.table, {});
    EXPECT_EQ(m.table.row_count(), 0u);
    EXPECT_TRUE(m.state.new_names.empty());
}

TEST(FileTable, OutOfRangeCellsReadEmptyAndIgnoreWrites) {
    FileTable table;
    RecordingObserver observer;
    table.set_observer(&observer);
    table.replace_rows(std::vector<FileTable::Row>(2));
    EXPECT_TRUE(table.set_cell(1, FileTable::kResult, "x"));
    EXPECT_FALSE(table.set_cell(2, FileTable::kResult, "x"));
    EXPECT_FALSE(table.set_cell(0, FileTable::kColumnCount, "x"));
    EXPECT_FALSE(table.set_cell(0, -1, "x"));
    EXPECT_EQ(table.cell(5, 0), "");
    EXPECT_EQ(table.cell(1, FileTable::kResult), "x");
    EXPECT_EQ(observer.changed, std::vector<std::size_t>{1});
}
