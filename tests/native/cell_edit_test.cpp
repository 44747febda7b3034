#include "filelist/cell_edit.h"
#include "filelist/fill_list.h"
#include "filelist/main_model.h"

#include <gtest/gtest.h>

#include <vector>

using namespace filelist;

namespace {

const std::vector<int> kWidths = {40, 150, 150, 60, 200, 80};

struct CellEditTest : ::testing::Test {
    MainModel m;
    TableView view;

    void SetUp() override {
        m.state.base_directory = "/photos/";
        fill_list(m.state, m.table, {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
        m.state.new_names = {"A001", "A002", "A003", "A004"};
        for (std::size_t k = 0; k < 4; ++k) m.table.set_cell(k, FileTable::kNewName, m.state.new_names[k]);
        view.column_widths = kWidths;
        view.table_x = 8;
        view.current_row = 2;
    }

    std::optional<CellEditor> activate_at(int x) {
        track_pointer(m.state, x, 100);
        return begin_cell_edit(m.state, m.table, view);
    }
};

}  // namespace

TEST(HitTest, OnlyTheInsideOfAColumnHits) {
    EXPECT_EQ(hit_test_column(kWidths, 20).column, -1);   // 序 is never hit
    EXPECT_EQ(hit_test_column(kWidths, 40).column, -1);   // boundary
    EXPECT_EQ(hit_test_column(kWidths, 41).column, 1);
    EXPECT_EQ(hit_test_column(kWidths, 189).column, 1);
    EXPECT_EQ(hit_test_column(kWidths, 190).column, -1);  // boundary
    EXPECT_EQ(hit_test_column(kWidths, 191).column, 2);
    EXPECT_EQ(hit_test_column(kWidths, 650).column, 5);
    EXPECT_EQ(hit_test_column(kWidths, 680).column, -1);  // right of the last column
    EXPECT_EQ(hit_test_column(kWidths, -5).column, -1);
    ColumnHit hit = hit_test_column(kWidths, 300);
    EXPECT_EQ(hit.left, 190);
    EXPECT_EQ(hit.width, 150);
}

TEST_F(CellEditTest, EditorOpensBelowTheHitColumnWithTheCellText) {
    auto editor = activate_at(250);
    ASSERT_TRUE(editor);
    EXPECT_EQ(m.state.edit_column, FileTable::kNewName);
    EXPECT_EQ(editor->x, 200);
    EXPECT_EQ(editor->width, 150);
    EXPECT_EQ(editor->height, 17);
    EXPECT_EQ(editor->text, "A003");
}

TEST_F(CellEditTest, ResultColumnNumberColumnAndBoundariesOpenNothing) {
    EXPECT_FALSE(activate_at(650));
    EXPECT_EQ(m.state.edit_column, 5);
    EXPECT_FALSE(activate_at(20));
    EXPECT_EQ(m.state.edit_column, -1);
    EXPECT_FALSE(activate_at(40));
    EXPECT_EQ(m.state.edit_column, -1);
}

TEST_F(CellEditTest, ScrolledTableHitsTheColumnUnderThePointer) {
    view.scroll_x = 300;
    // Content x 350 lies in 后缀名 (340..400), which the user sees at 40..100.
    auto editor = activate_at(50);
    ASSERT_TRUE(editor);
    EXPECT_EQ(m.state.edit_column, FileTable::kExtension);
    EXPECT_EQ(editor->x, 340 - 300 + 8 + 2);
    EXPECT_EQ(editor->text, ".jpg");
}

TEST_F(CellEditTest, NoCurrentRowOpensNothing) {
    view.current_row.reset();
    EXPECT_FALSE(activate_at(250));
    view.current_row = 9;
    EXPECT_FALSE(activate_at(250));
}

TEST_F(CellEditTest, TypingGoesIntoTheCurrentRowOfTheEditedColumn) {
    ASSERT_TRUE(activate_at(370));  // 后缀名
    commit_cell_edit(m.state, m.table, 2, ".png");
    EXPECT_EQ(m.table.cell(2, FileTable::kExtension), ".png");

    // Another row selected while the editor stays open: the text goes there.
    commit_cell_edit(m.state, m.table, 0, ".gif");
    EXPECT_EQ(m.table.cell(0, FileTable::kExtension), ".gif");
    EXPECT_EQ(m.table.cell(2, FileTable::kExtension), ".png");

    commit_cell_edit(m.state, m.table, std::nullopt, ".bmp");
    EXPECT_EQ(m.table.cell(0, FileTable::kExtension), ".gif");
    // Only the table changes; the model's lists stay as they were.
    EXPECT_EQ(m.state.new_names[0], "A001");
}

TEST_F(CellEditTest, NothingIsWrittenWhileNoEditableColumnIsChosen) {
    activate_at(650);
    commit_cell_edit(m.state, m.table, 1, "x");
    EXPECT_EQ(m.table.cell(1, FileTable::kResult), "");
    m.state.edit_column = 0;
    commit_cell_edit(m.state, m.table, 1, "x");
    EXPECT_EQ(m.table.cell(1, FileTable::kNumber), "2");
}

TEST_F(CellEditTest, AnEditedNewNameIsTheNameTheRunUsesWhileOldNameAndDirectoryOnlyShow) {
    ASSERT_TRUE(activate_at(250));  // 新名称
    commit_cell_edit(m.state, m.table, 1, "MYNAME");
    EXPECT_EQ(m.table.cell(1, FileTable::kNewName), "MYNAME");
    EXPECT_EQ(m.state.new_names[1], "MYNAME");

    for (int x : {100, 500}) {  // 原名称, 目录
        auto editor = activate_at(x);
        ASSERT_TRUE(editor) << x;
        EXPECT_TRUE(editor->read_only) << x;
        std::string before = m.table.cell(1, m.state.edit_column);
        commit_cell_edit(m.state, m.table, 1, "typed");
        EXPECT_EQ(m.table.cell(1, m.state.edit_column), before) << x;
    }
    EXPECT_EQ(m.state.new_names[1], "MYNAME");
}
