#include "filelist/batch.h"
#include "filelist/main_model.h"
#include "rename/plain_file_name.h"
#include "rename/rename_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace filelist;
using namespace renaming;

TEST(PlainFileName, AcceptsOrdinaryNames) {
    for (const char* name : {"A001.jpg", "a", ".jpg", "20080517 142345.JPG", "照片.png", "a.b.c", "CONSOLE.txt",
                             "COM10.txt", "CONIN", "LPT", "xCON", "nul_1", "AUX1.txt"}) {
        EXPECT_TRUE(is_plain_file_name(name)) << name;
    }
}

TEST(PlainFileName, RefusesNamesThatReachElsewhereOrThatWindowsAlters) {
    const char* refused[] = {
        "",
        "a/b.jpg",
        "..\\a.jpg",
        "/etc/passwd",
        "C:a.jpg",
        "a:stream.jpg",
        "a<b",
        "a>b",
        "a\"b",
        "a|b",
        "a?.jpg",
        "*.jpg",
        "a\tb.jpg",
        "a\nb",
        "a.",
        "a ",
        ".",
        "..",
        "A001.jpg. ",
        "CON",
        "con.txt",
        "Nul.tar.gz",
        "PRN",
        "aux",
        "COM1",
        "com9.log",
        "LPT1.txt",
        "lpt9",
        "CON .txt",
        "COM\xC2\xB9.txt",
        "lpt\xC2\xB3",
        "COM0",
        "lpt0.jpg",
        "LPT0 .jpg",
        "conin$",
        "CONOUT$.txt",
        "Conin$ .log",
        "COM0.",
        // Not UTF-8: Windows would store replacement characters instead.
        ("2008\xFF"
         "0517.jpg"),
        "\xE7\x85.jpg",
        "a\xC0\xAF.jpg",
    };
    for (const char* name : refused) EXPECT_FALSE(is_plain_file_name(name)) << name;
    EXPECT_FALSE(is_plain_file_name(std::string("a\0b", 3)));
}

namespace {

RenameBatch batch_of(std::vector<std::string> old_names, std::vector<std::string> new_names,
                     std::vector<std::string> extensions) {
    return {"/d/", std::move(old_names), std::move(new_names), std::move(extensions)};
}

}  // namespace

TEST(RenamePlan, JoinsDirectoryNewNameAndExtension) {
    auto steps = plan_renames(batch_of({"IMG_1.jpg", "a.b.JPG"}, {"A001", "A002"}, {".jpg", ".JPG"}));
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].old_path, "/d/IMG_1.jpg");
    EXPECT_EQ(steps[0].target_path, "/d/A001.jpg");
    EXPECT_EQ(steps[0].action, RenameAction::Rename);
    EXPECT_EQ(steps[1].target_path, "/d/A002.JPG");
}

TEST(RenamePlan, SameNameNeedsNoChangeButCaseDoes) {
    auto steps = plan_renames(batch_of({"A001.jpg", "a001.JPG", "photo", ".jpg", ".JPG"}, {"A001", "A001", "photo", "", ""},
                                       {".jpg", ".JPG", "", ".jpg", ".jpg"}));
    EXPECT_EQ(steps[0].action, RenameAction::NoChange);
    EXPECT_EQ(steps[1].action, RenameAction::Rename);
    EXPECT_EQ(steps[2].action, RenameAction::NoChange);
    EXPECT_EQ(steps[3].action, RenameAction::NoChange);  // an empty base name kept as it is
    EXPECT_EQ(steps[4].action, RenameAction::Refused);   // but never given to another name
}

TEST(RenamePlan, RefusesEmptyAndUnsafeTargetsAndOldNames) {
    auto steps = plan_renames(batch_of({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "../f.jpg"},
                                       {"", "../x", "CON", "A001", "ok", "ok2"},
                                       {".jpg", ".jpg", ".jpg", ".jpg:s", ".", ".jpg"}));
    for (const RenameStep& step : steps) EXPECT_EQ(step.action, RenameAction::Refused) << step.target_path;
}

TEST(RenameBatch, TakesTheFirstRowsWithTheirEditedExtensions) {
    Batch rows;
    rows.fill_list("/d/", {"a.jpg", "b.png", "c.gif"});
    for (std::size_t k = 0; k < 3; ++k) rows.set_new_name(k, "A" + std::to_string(k + 1));
    rows.set_extension(1, ".webp");  // edited in place

    RenameBatch all = take_rename_batch(rows, 3);
    EXPECT_EQ(all.directory, "/d/");
    EXPECT_EQ(all.old_names, rows.file_names());
    EXPECT_EQ(all.new_names, (std::vector<std::string>{"A1", "A2", "A3"}));
    EXPECT_EQ(all.extensions, (std::vector<std::string>{".jpg", ".webp", ".gif"}));

    EXPECT_EQ(take_rename_batch(rows, 2).old_names.size(), 2u);
    EXPECT_EQ(take_rename_batch(rows, 9).new_names.size(), 3u);
    rows.clear();
    RenameBatch none = take_rename_batch(rows, 3);
    EXPECT_TRUE(none.old_names.empty());
    EXPECT_TRUE(plan_renames(none).empty());
}
