#include "app/lifecycle.h"
#include "app/main_commands.h"
#include "app/row_texts.h"
#include "filelist/main_model.h"
#include "platform/pending_events.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace filelist;
using namespace renaming;
using namespace app;

namespace {

using Texts = std::vector<std::string>;

struct RenameRunTest : ::testing::Test {
    TempDirectory dir;
    TempDirectory journal;
    MainModel model;
    MainCommands commands{model, {}, {journal.path("journal.txt")}};

    void TearDown() override { platform::set_pending_events_hook(nullptr); }

    // The files exist on disk, each holding its own name; the table shows them
    // with the given new names and a confirmed rule.
    void choose(const Texts& files, const Texts& new_names) {
        for (const std::string& name : files) dir.write(name, name);
        model.state.batch.fill_list(dir.path() + "/", files);
        for (std::size_t k = 0; k < new_names.size(); ++k) model.state.batch.set_new_name(k, new_names[k]);
        model.state.rule_confirmed = 1;
    }

    Texts results() const {
        Texts out;
        for (std::size_t row = 0; row < model.state.batch.row_count(); ++row)
            out.push_back(result_text(model.state.batch.result(row)));
        return out;
    }

    Texts files_on_disk() const {
        Texts out;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

}  // namespace

TEST_F(RenameRunTest, RenamesEveryFileInItsDirectoryKeepingItsExtension) {
    choose({"IMG_1.jpg", "a.b.JPG", "notes"}, {"A001", "A002", "A003"});
    int pending_event_runs = 0;
    platform::set_pending_events_hook([&] { ++pending_event_runs; });
    commands.rename_files();
    EXPECT_EQ(results(), (Texts{"改名成功", "改名成功", "改名成功"}));
    EXPECT_EQ(files_on_disk(), (Texts{"A001.jpg", "A002.JPG", "A003"}));
    EXPECT_EQ(dir.read("A002.JPG"), "a.b.JPG");
    EXPECT_EQ(model.status.text(), "改名处理结束,请查看!");
    EXPECT_EQ(pending_event_runs, 3);  // once after every row
    EXPECT_FALSE(model.state.busy());
    // Nothing else changes.
    EXPECT_EQ(model.state.batch.file_names(), (Texts{"IMG_1.jpg", "a.b.JPG", "notes"}));
    EXPECT_EQ(model.state.rule_confirmed, 1);
}

TEST_F(RenameRunTest, WithoutAConfirmedRuleNothingIsTouched) {
    choose({"a.jpg"}, {"A001"});
    model.state.rule_confirmed = 0;
    commands.rename_files();
    EXPECT_EQ(model.status.text(), "你没有设置文件名编号方式!");
    EXPECT_EQ(results(), (Texts{""}));
    EXPECT_EQ(files_on_disk(), (Texts{"a.jpg"}));
}

TEST_F(RenameRunTest, SameNameNeedsNoFileSystemCall) {
    // The file is not on disk: a rename would fail, so only "不需改名" shows none was tried.
    choose({}, {});
    model.state.batch.fill_list(dir.path() + "/", {"A001.jpg", "gone.jpg"});
    model.state.batch.set_new_name(0, "A001");
    model.state.batch.set_new_name(1, "A002");
    commands.rename_files();
    EXPECT_EQ(results(), (Texts{"不需改名", "改名失败"}));
}

TEST_F(RenameRunTest, ExistingTargetsAreNeverReplaced) {
    choose({"a.jpg", "b.jpg", "c.jpg"}, {"keep", "X", "X"});
    dir.write("keep.jpg", "existing");
    commands.rename_files();
    // Two rows with one target: the first gets it, the second finds it taken.
    EXPECT_EQ(results(), (Texts{"改名失败", "改名成功", "改名失败"}));
    EXPECT_EQ(dir.read("keep.jpg"), "existing");
    EXPECT_EQ(dir.read("a.jpg"), "a.jpg");
    EXPECT_EQ(dir.read("X.jpg"), "b.jpg");
    EXPECT_EQ(dir.read("c.jpg"), "c.jpg");
}

TEST_F(RenameRunTest, RowsGoTopToBottom) {
    // a → b fails while b.jpg is still there; b → c then succeeds.
    choose({"a.jpg", "b.jpg"}, {"b", "c"});
    commands.rename_files();
    EXPECT_EQ(results(), (Texts{"改名失败", "改名成功"}));
    EXPECT_EQ(files_on_disk(), (Texts{"a.jpg", "c.jpg"}));
}

TEST_F(RenameRunTest, EmptyAndUnsafeNamesAreRefusedWithoutTouchingTheDisk) {
    std::filesystem::create_directory(dir.path("sub"));
    choose({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}, {"", "sub/b", "../e", "CON", "trail."});
    model.state.batch.set_extension(4, "");
    commands.rename_files();
    EXPECT_EQ(results(), Texts(5, "改名失败"));
    EXPECT_EQ(files_on_disk(), (Texts{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "sub"}));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path("sub")));
    EXPECT_EQ(model.status.text(), "改名处理结束,请查看!");
}

TEST_F(RenameRunTest, LetterCaseOnlyRenameIsAttempted) {
    choose({"a001.JPG"}, {"A001"});
    commands.rename_files();
    EXPECT_EQ(results(), (Texts{"改名成功"}));
    EXPECT_EQ(files_on_disk(), (Texts{"A001.JPG"}));
}

TEST_F(RenameRunTest, EditedExtensionIsUsed) {
    choose({"a.jpg", "b.jpg"}, {"A001", "A002"});
    model.state.batch.set_extension(0, ".png");
    commands.rename_files();
    EXPECT_EQ(files_on_disk(), (Texts{"A001.png", "A002.jpg"}));
}

TEST_F(RenameRunTest, SecondRunFindsTheOldNamesGone) {
    choose({"a.jpg", "B.jpg"}, {"A", "B"});
    commands.rename_files();
    EXPECT_EQ(results(), (Texts{"改名成功", "不需改名"}));
    commands.rename_files();
    EXPECT_EQ(results(), (Texts{"改名失败", "不需改名"}));
    EXPECT_EQ(files_on_disk(), (Texts{"A.jpg", "B.jpg"}));
}

TEST_F(RenameRunTest, EmptyBatchOnlyReportsTheEnd) {
    choose({}, {});
    commands.rename_files();
    EXPECT_EQ(model.status.text(), "改名处理结束,请查看!");

    // After "清空" the earlier files are still chosen, but no row shows them.
    choose({"a.jpg", "b.jpg"}, {"A001", "A002"});
    clear_list(model);
    model.status.set_text("");
    commands.rename_files();
    EXPECT_EQ(model.status.text(), "改名处理结束,请查看!");
    EXPECT_EQ(files_on_disk(), (Texts{"a.jpg", "b.jpg"}));
}

TEST_F(RenameRunTest, SecondClickDuringARunDoesNothing) {
    choose({"a.jpg", "b.jpg", "c.jpg"}, {"A001", "A002", "A003"});
    int nested_clicks = 0;
    platform::set_pending_events_hook([&] {
        ++nested_clicks;
        EXPECT_TRUE(model.state.busy());
        commands.rename_files();
        EXPECT_EQ(model.status.text(), "");
    });
    commands.rename_files();
    EXPECT_EQ(nested_clicks, 3);
    EXPECT_EQ(results(), Texts(3, "改名成功"));
    EXPECT_EQ(files_on_disk(), (Texts{"A001.jpg", "A002.jpg", "A003.jpg"}));
}

TEST_F(RenameRunTest, RunKeepsToItsBatchWhenTheTableIsClearedMeanwhile) {
    choose({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}, {"A001", "A002", "A003", "A004"});
    int row = 0;
    platform::set_pending_events_hook([&] {
        if (++row == 2) clear_list(model);
    });
    commands.rename_files();
    EXPECT_EQ(model.state.batch.row_count(), 0u);
    EXPECT_EQ(files_on_disk(), (Texts{"A001.jpg", "A002.jpg", "A003.jpg", "A004.jpg"}));
    EXPECT_EQ(model.status.text(), "改名处理结束,请查看!");
}

TEST_F(RenameRunTest, RunKeepsToItsBatchWhenFilesAreChosenAgainMeanwhile) {
    choose({"a.jpg", "b.jpg", "c.jpg"}, {"A001", "A002", "A003"});
    TempDirectory other;
    other.write("x.jpg", "x");
    other.write("y.jpg", "y");
    int row = 0;
    platform::set_pending_events_hook([&] {
        if (++row != 1) return;
        // A new choice of files, and new names for them, while row 2 is next.
        model.state.batch.fill_list(other.path() + "/", {"x.jpg", "y.jpg"});
        model.state.batch.set_new_name(0, "A002");
        model.state.batch.set_new_name(1, "Z");
        model.state.batch.set_extension(0, ".png");
    });
    commands.rename_files();
    EXPECT_EQ(files_on_disk(), (Texts{"A001.jpg", "A002.jpg", "A003.jpg"}));
    EXPECT_EQ(other.read("x.jpg"), "x");
    EXPECT_EQ(other.read("y.jpg"), "y");
    EXPECT_FALSE(other.exists("A002.png"));
    // The new rows show no result of the earlier batch.
    EXPECT_EQ(results(), (Texts{"", ""}));
}

TEST_F(RenameRunTest, OnlyTheVeryFilesChosenAndRenamedAreMoved) {
    namespace fs = std::filesystem;
    struct Case {
        const char* what;
        bool before_the_run;
        std::function<void(TempDirectory&)> meddle;
        Texts results;
        Texts on_disk;
    };
    const Case cases[] = {
        {"a directory under a chosen name",
         true,
         [](TempDirectory& d) {
             fs::remove(d.path("b.jpg"));
             fs::create_directory(d.path("b.jpg"));
         },
         {"改名成功", "改名失败"},
         {"A001.jpg", "b.jpg"}},
        {"a directory and a new file under the new names before the undo",
         false,
         [](TempDirectory& d) {
             fs::remove(d.path("A001.jpg"));
             fs::create_directory(d.path("A001.jpg"));
             fs::remove(d.path("A002.jpg"));  // the new file may well get the old one's inode
             d.write("A002.jpg", "another file, another size");
         },
         {"撤销失败", "撤销失败"},
         {"A001.jpg", "A002.jpg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDirectory fresh;
        for (const char* name : {"a.jpg", "b.jpg"}) fresh.write(name, name);
        model.state.batch.fill_list(fresh.path() + "/", {"a.jpg", "b.jpg"});
        model.state.batch.set_new_name(0, "A001");
        model.state.batch.set_new_name(1, "A002");
        model.state.rule_confirmed = 1;
        if (c.before_the_run) c.meddle(fresh);
        commands.rename_files();
        if (!c.before_the_run) {
            c.meddle(fresh);
            commands.undo_last_run();
        }
        EXPECT_EQ(results(), c.results);
        Texts names;
        for (const auto& entry : fs::directory_iterator(fresh.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.on_disk);
    }
}
