// Sorting the main table: rows move whole, ties keep their order, and what
// refers to a row (an undo, a pending Esc) still finds its file.
#include "app/main_commands.h"
#include "app/row_texts.h"
#include "filelist/cell_edit.h"
#include "filelist/main_model.h"
#include "filelist/table_sort.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace filelist;

namespace {

using Texts = std::vector<std::string>;

Texts column(const Batch& batch, int c) {
    Texts out;
    for (std::size_t row = 0; row < batch.row_count(); ++row) out.push_back(batch.cell(row, c));
    return out;
}

constexpr Outcome kOutcomes[] = {Outcome::Renamed, Outcome::NoChange, Outcome::Failed, Outcome::Undone};

struct TableSortTest : ::testing::Test {
    MainModel model;
    Batch& batch = model.state.batch;
    TableSort sort;

    // Each row's file, new name, extension, result and mark say which row it was.
    void fill() {
        batch.fill_list("/d/", {"IMG_10.jpg", "img_2.JPG", "IMG_1.cr2", "b.txt"});
        const Texts news = {"x2", "x10", "", "x1"};
        for (std::size_t k = 0; k < news.size(); ++k) {
            batch.set_new_name(k, news[k]);
            batch.set_result(k, RowOutcome{kOutcomes[k]});
        }
        batch.set_marks({{}, RowMark{{ConflictKind::TargetTaken}}, {}, {}});
    }
};

}  // namespace

TEST_F(TableSortTest, HeaderClicksSortByTheColumnAndASecondClickReverses) {
    fill();
    struct Step {
        int column;
        Texts original_names;  // after the click
        bool accepted;
    };
    const Step steps[] = {
        {Batch::kOriginalName, {"b", "IMG_1", "img_2", "IMG_10"}, true},
        {Batch::kOriginalName, {"IMG_10", "img_2", "IMG_1", "b"}, true},
        // Rows without a new name tie: they keep their order, before the others.
        {Batch::kNewName, {"IMG_1", "b", "IMG_10", "img_2"}, true},
        {Batch::kNewName, {"img_2", "IMG_10", "b", "IMG_1"}, true},
        // All rows share a directory: nothing moves, either way.
        {Batch::kDirectory, {"img_2", "IMG_10", "b", "IMG_1"}, true},
        {Batch::kDirectory, {"img_2", "IMG_10", "b", "IMG_1"}, true},
        {Batch::kExtension, {"IMG_1", "img_2", "IMG_10", "b"}, true},
        {Batch::kNumber, {"IMG_1", "img_2", "IMG_10", "b"}, false},
        {Batch::kResult, {"IMG_1", "img_2", "IMG_10", "b"}, false},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(sort.sort_by_column(model.state, step.column), step.accepted) << step.column;
        EXPECT_EQ(column(batch, Batch::kOriginalName), step.original_names) << step.column;
    }
    // Each row's cells went with it, and 序 counts the new places.
    EXPECT_EQ(column(batch, Batch::kNumber), (Texts{"1", "2", "3", "4"}));
    EXPECT_EQ(column(batch, Batch::kNewName), (Texts{"", "x10", "x2", "x1"}));
    EXPECT_EQ(column(batch, Batch::kExtension), (Texts{".cr2", ".JPG", ".jpg", ".txt"}));
    EXPECT_EQ(batch.result(0).kind, kOutcomes[2]);
    EXPECT_EQ(batch.result(1).kind, kOutcomes[1]);
    EXPECT_EQ(batch.result(2).kind, kOutcomes[0]);
    EXPECT_EQ(batch.result(3).kind, kOutcomes[3]);
    EXPECT_EQ(batch.mark(1).conflict.kind, ConflictKind::TargetTaken);
    EXPECT_EQ(batch.file_names(), (Texts{"IMG_1.cr2", "img_2.JPG", "IMG_10.jpg", "b.txt"}));
    EXPECT_EQ(batch.new_names(), (Texts{"", "x10", "x2", "x1"}));
    EXPECT_EQ(batch.row_of(batch.row_id(2)), 2u);
}

TEST_F(TableSortTest, CaptureTimesOldestFirstThenUndatedByName) {
    fill();
    EXPECT_TRUE(sort.sort_by_capture_time(model.state, {"20200101 120000", "", "20190505 080000", ""}));
    EXPECT_EQ(column(batch, Batch::kOriginalName), (Texts{"IMG_1", "IMG_10", "b", "img_2"}));
    EXPECT_EQ(sort.sorted_column(batch), -1);
    EXPECT_FALSE(sort.sort_by_capture_time(model.state, {"too few"}));
}

TEST_F(TableSortTest, NothingMovesWhileALongLoopRuns) {
    fill();
    model.state.activity = Activity::BuildingNames;
    EXPECT_FALSE(sort.sort_by_column(model.state, Batch::kOriginalName));
    EXPECT_FALSE(sort.sort_by_capture_time(model.state, Texts(4)));
    EXPECT_EQ(batch.file_names().front(), "IMG_10.jpg");
    model.state.activity = Activity::Idle;
    EXPECT_FALSE(batch.reorder({0, 0, 1, 2}));
    EXPECT_FALSE(batch.reorder({0, 1}));
}

TEST_F(TableSortTest, EscAfterASortPutsBackTheCellOfTheSameFile) {
    fill();
    CellEdit edit(batch);
    std::vector<int> widths = {40, 100, 100, 60, 100, 80};
    TableView view;
    view.column_widths = widths;
    view.current_row = 0;
    ASSERT_TRUE(edit.begin_in_column(view, Batch::kNewName));
    edit.commit(0, "typed");
    sort.sort_by_column(model.state, Batch::kOriginalName);
    edit.end(false);
    EXPECT_EQ(column(batch, Batch::kNewName), (Texts{"x1", "", "x10", "x2"}));
}

TEST(TableSortUndo, UndoAfterASortShowsEachResultOnItsFilesRow) {
    TempDirectory dir;
    MainModel model;
    TempDirectory journal;
    app::MainCommands commands(model, {}, {journal.path("journal.txt")});
    for (const char* name : {"b.jpg", "a.jpg"}) dir.write(name, name);
    model.state.batch.fill_list(dir.path() + "/", {"b.jpg", "a.jpg"});
    model.state.batch.set_new_name(0, "B001");
    model.state.rule_confirmed = 1;
    commands.rename_files();
    ASSERT_EQ(app::result_text(model.state.batch.result(0)), "改名成功");

    commands.sort_by_column(Batch::kOriginalName);  // a.jpg first now
    ASSERT_TRUE(commands.can_undo());
    commands.undo_last_run();
    EXPECT_EQ(app::result_text(model.state.batch.result(1)), "已撤销");
    EXPECT_TRUE(dir.exists("b.jpg"));
}
