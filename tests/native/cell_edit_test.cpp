#include "filelist/batch.h"
#include "filelist/cell_edit.h"

#include <gtest/gtest.h>

#include <vector>

using namespace filelist;

namespace {

const std::vector<int> kWidths = {40, 150, 150, 60, 200, 80};

struct CellEditTest : ::testing::Test {
    Batch batch;
    CellEdit edit{batch};
    TableView view;

    void SetUp() override {
        batch.fill_list("/photos/", {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
        for (std::size_t k = 0; k < 4; ++k) batch.set_new_name(k, "A00" + std::to_string(k + 1));
        view.column_widths = kWidths;
        view.table_x = 8;
        view.current_row = 2;
    }

    std::optional<CellEditor> activate_at(int x) { return edit.begin(view, x); }
};

}  // namespace

TEST(HitTest, OnlyTheInsideOfAColumnHits) {
    EXPECT_EQ(hit_test_column(kWidths, 20).column, -1);  // 序 is never hit
    EXPECT_EQ(hit_test_column(kWidths, 40).column, -1);  // boundary
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
    EXPECT_EQ(edit.edit_column(), Batch::kNewName);
    EXPECT_EQ(editor->x, 200);
    EXPECT_EQ(editor->width, 150);
    EXPECT_EQ(editor->height, 17);
    EXPECT_EQ(editor->text, "A003");
}

TEST_F(CellEditTest, ResultColumnNumberColumnAndBoundariesOpenNothing) {
    EXPECT_FALSE(activate_at(650));
    EXPECT_EQ(edit.edit_column(), 5);
    EXPECT_FALSE(activate_at(20));
    EXPECT_EQ(edit.edit_column(), -1);
    EXPECT_FALSE(activate_at(40));
    EXPECT_EQ(edit.edit_column(), -1);
}

TEST_F(CellEditTest, ScrolledTableHitsTheColumnUnderThePointer) {
    view.scroll_x = 300;
    // Content x 350 lies in 后缀名 (340..400), which the user sees at 40..100.
    auto editor = activate_at(50);
    ASSERT_TRUE(editor);
    EXPECT_EQ(edit.edit_column(), Batch::kExtension);
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
    edit.commit(2, ".png");
    EXPECT_EQ(batch.extension(2), ".png");

    // Another row selected while the editor stays open: the text goes there.
    edit.commit(0, ".gif");
    EXPECT_EQ(batch.extension(0), ".gif");
    EXPECT_EQ(batch.extension(2), ".png");

    edit.commit(std::nullopt, ".bmp");
    EXPECT_EQ(batch.extension(0), ".gif");
    EXPECT_EQ(batch.new_names()[0], "A001");
}

TEST_F(CellEditTest, AnEditedNewNameIsTheNameTheRunUsesWhileOldNameAndDirectoryOnlyShow) {
    ASSERT_TRUE(activate_at(250));  // 新名称
    edit.commit(1, "MYNAME");
    EXPECT_EQ(batch.cell(1, Batch::kNewName), "MYNAME");
    EXPECT_EQ(batch.new_names()[1], "MYNAME");

    for (int x : {100, 500}) {  // 原名称, 目录
        auto editor = activate_at(x);
        ASSERT_TRUE(editor) << x;
        EXPECT_TRUE(editor->read_only) << x;
        std::string before = batch.cell(1, edit.edit_column());
        edit.commit(1, "typed");
        EXPECT_EQ(batch.cell(1, edit.edit_column()), before) << x;
    }
    EXPECT_EQ(batch.new_names()[1], "MYNAME");
    activate_at(650);  // 处理结果
    edit.commit(1, "x");
    EXPECT_EQ(batch.result(1), RowOutcome{});
}

TEST_F(CellEditTest, EscPutsBackEveryCellTheEditorChangedAndEnterKeepsThem) {
    struct Case {
        bool keep;
        std::vector<std::string> names_after;
    };
    for (const Case& c : {Case{false, {"A001", "A002", "A003", "A004"}}, Case{true, {"X", "A002", "Z", "A004"}}}) {
        SetUp();
        ASSERT_TRUE(activate_at(250));
        edit.commit(2, "Y");
        edit.commit(2, "Z");  // a second keystroke: the first before-value counts
        edit.commit(0, "X");  // another row selected while the editor is open
        EXPECT_EQ(edit.end(c.keep), !c.keep);
        EXPECT_EQ(batch.new_names(), c.names_after) << c.keep;
        EXPECT_FALSE(edit.end(false));  // nothing left to put back
    }
}

TEST_F(CellEditTest, ANewSetOfRowsForgetsWhatEscWouldPutBack) {
    ASSERT_TRUE(activate_at(250));
    edit.commit(0, "EDITED");
    batch.fill_list("/other/", {"p.jpg", "q.jpg"});
    batch.set_new_name(0, "B001");
    EXPECT_FALSE(edit.end(false));
    EXPECT_EQ(batch.new_names(), (std::vector<std::string>{"B001", ""}));

    // Typing into the open editor after the new pick: Esc puts back only that.
    edit.commit(1, "typed");
    EXPECT_TRUE(edit.end(false));
    EXPECT_EQ(batch.new_names(), (std::vector<std::string>{"B001", ""}));
}
