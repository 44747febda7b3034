#include "filelist/batch.h"
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

struct RecordingObserver : Batch::Observer {
    std::vector<std::size_t> replaced;
    std::vector<std::size_t> changed;
    void rows_replaced(std::size_t n) override { replaced.push_back(n); }
    void row_changed(std::size_t row) override { changed.push_back(row); }
    void marks_changed() override {}
    void rows_reordered(const std::vector<std::size_t>&) override {}
};

}  // namespace

TEST(FillList, ShowsOneRowPerFile) {
    Batch batch;
    batch.fill_list("D:\\pics\\", {"photo.jpg", "notes", "a.b.TXT"});

    ASSERT_EQ(batch.row_count(), 3u);
    const std::array<const char*, Batch::kColumnCount> expected_first = {"1", "photo", "", ".jpg", "D:\\pics\\", ""};
    for (int c = 0; c < Batch::kColumnCount; ++c) EXPECT_EQ(batch.cell(0, c), expected_first[c]) << c;
    EXPECT_EQ(batch.cell(1, Batch::kOriginalName), "notes");
    EXPECT_EQ(batch.cell(1, Batch::kExtension), "");
    EXPECT_EQ(batch.cell(2, Batch::kNumber), "3");
    EXPECT_EQ(batch.cell(2, Batch::kOriginalName), "a.b");
    EXPECT_EQ(batch.new_names(), std::vector<std::string>(3));
}

TEST(FillList, RefillReplacesRowsNamesAndMarks) {
    Batch batch;
    RecordingObserver observer;
    batch.add_observer(&observer);
    batch.fill_list("/one/", {"a.jpg", "b.jpg", "c.jpg"});
    batch.set_new_name(0, "A001");
    batch.set_result(0, RowOutcome{Outcome::Renamed});
    batch.set_marks({RowMark{{ConflictKind::TargetTaken}}});
    auto generation = batch.generation();

    batch.fill_list("/two/", {"x.png"});

    EXPECT_EQ(batch.row_count(), 1u);
    EXPECT_EQ(batch.cell(0, Batch::kNewName), "");
    EXPECT_EQ(batch.result(0), RowOutcome{});
    EXPECT_EQ(batch.mark(0), RowMark{});
    EXPECT_EQ(batch.cell(0, Batch::kDirectory), "/two/");
    EXPECT_EQ(batch.new_names(), std::vector<std::string>{""});
    EXPECT_NE(batch.generation(), generation);
    EXPECT_EQ(observer.replaced, (std::vector<std::size_t>{3, 1}));

    batch.clear();
    EXPECT_EQ(batch.row_count(), 0u);
    EXPECT_TRUE(batch.new_names().empty());
    batch.remove_observer(&observer);
}

TEST(Batch, OutOfRangeRowsReadEmptyAndIgnoreWrites) {
    Batch batch;
    RecordingObserver observer;
    batch.add_observer(&observer);
    batch.fill_list("/d/", {"a.jpg", "b.jpg"});
    EXPECT_TRUE(batch.set_result(1, RowOutcome{Outcome::Failed}));
    EXPECT_FALSE(batch.set_result(2, RowOutcome{Outcome::Failed}));
    EXPECT_FALSE(batch.set_new_name(2, "x"));
    EXPECT_EQ(batch.cell(5, 0), "");
    EXPECT_EQ(batch.cell(0, Batch::kColumnCount), "");
    EXPECT_EQ(batch.result(1).kind, Outcome::Failed);
    EXPECT_EQ(batch.result(2), RowOutcome{});
    EXPECT_EQ(observer.changed, std::vector<std::size_t>{1});
    batch.remove_observer(&observer);
}
