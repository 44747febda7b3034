#include "app/row_texts.h"
#include "rename/rename_conflicts.h"
#include "text/text_case.h"

#include <gtest/gtest.h>

#include <array>

#include <string>
#include <vector>

using namespace renaming;

namespace {

using Names = std::vector<std::string>;

// The rows (old name, new base name, extension) against a listing of the directory.
std::vector<RowConflict> conflicts_of(const std::vector<std::array<const char*, 3>>& rows, const Names& listing) {
    RenameBatch batch;
    batch.directory = "/photos/";
    for (const auto& row : rows) {
        batch.old_names.push_back(row[0]);
        batch.new_names.push_back(row[1]);
        batch.extensions.push_back(row[2]);
    }
    return find_conflicts(batch, plan_renames(batch), listing);
}

std::vector<std::string> texts_of(const std::vector<RowConflict>& conflicts) {
    std::vector<std::string> texts;
    for (const RowConflict& c : conflicts) texts.push_back(app::mark_text(filelist::RowMark{c}));
    return texts;
}

}  // namespace

TEST(RenameConflicts, EachReasonAsTheTableGivesIt) {
    const Names listing = {"a.jpg", "b.jpg", "c.jpg", "A002.jpg", "d.jpg", "taken.JPG"};
    EXPECT_EQ(texts_of(conflicts_of({{"a.jpg", "A001", ".jpg"},        // free
                                     {"b.jpg", "a002", ".jpg"},        // A002.jpg is no file of the batch
                                     {"c.jpg", "A001", ".jpg"},        // row 1 takes it first
                                     {"d.jpg", "", ".jpg"},            // no name
                                     {"gone.jpg", "X", ".jpg"},        // not in the directory any more
                                     {"taken.JPG", "TAKEN", ".jpg"}},  // letter case only: no conflict
                                    listing)),
              (Names{"", "目标文件已存在", "与第 1 行同名", "名称不合法", "原文件不存在", ""}));
}

TEST(RenameConflicts, ChainsFailWhereALaterRowHoldsTheTargetAndFreeOnceAnEarlierRowMovedIt) {
    // A001…A003 renumbered from 002: each target is still held by the next row.
    const Names listing = {"A001.jpg", "A002.jpg", "A003.jpg"};
    std::vector<RowConflict> shifted = conflicts_of(
        {{"A001.jpg", "A002", ".jpg"}, {"A002.jpg", "A003", ".jpg"}, {"A003.jpg", "A004", ".jpg"}}, listing);
    EXPECT_EQ(texts_of(shifted), (Names{"目标文件被第 2 行占用", "目标文件被第 3 行占用", ""}));
    EXPECT_EQ(shifted[0].kind, ConflictKind::HeldByLaterRow);

    // The other way round every target has been freed by the row before.
    EXPECT_EQ(texts_of(conflicts_of({{"A001.jpg", "A000", ".jpg"}, {"A002.jpg", "A001", ".jpg"}}, listing)),
              (Names{"", ""}));
    // A file of the batch that stays where it is holds its name for good.
    EXPECT_EQ(texts_of(conflicts_of({{"A001.jpg", "A002", ".jpg"}, {"A002.jpg", "A002", ".jpg"}}, listing)),
              (Names{"目标文件已存在", ""}));
}

TEST(RenameConflicts, NamesCompareAsWindowsComparesThem) {
    EXPECT_EQ(text::folded_name("Ärger_ÿ.Jpg"), text::folded_name("äRGER_Ÿ.JPG"));
    EXPECT_NE(text::folded_name("a.jpg"), text::folded_name("a.jpeg"));
    // Two photos of the same second, in any letter case.
    EXPECT_EQ(texts_of(conflicts_of({{"p1.jpg", "20080517 142345", ".jpg"}, {"p2.JPG", "20080517 142345", ".JPG"}},
                                    {"p1.jpg", "p2.JPG"})),
              (Names{"", "与第 1 行同名"}));
}
