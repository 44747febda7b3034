// The history of runs: a run undone from it after the program was started
// again, and the question a start asks about a run it did not finish.
#include "app/history_window.h"
#include "main_window_fixture.h"
#include "message_box_answerer.h"
#include "platform/win32/text.h"
#include "rename/rename_journal.h"
#include "temp_directory.h"
#include "window_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;
constexpr wchar_t kHistoryClass[] = L"BatchRenameHistoryWindow";

struct HistoryWindowTest : MainWindowFixture {
    TempDirectory folder;

    HWND history() const { return driver::thread_window_of_class(kHistoryClass); }
    HWND runs() const { return GetDlgItem(history(), kRunList); }
    HWND files() const { return GetDlgItem(history(), kRunFileList); }
    Texts run_row(int row) const {
        Texts cells;
        for (int c = 0; c < 4; ++c) cells.push_back(driver::list_view_cell(runs(), row, c));
        return cells;
    }
    Texts file_column(int c) const {
        Texts cells;
        for (int row = 0; row < driver::list_view_rows(files()); ++row)
            cells.push_back(driver::list_view_cell(files(), row, c));
        return cells;
    }
    void open_history() {
        SendMessageW(window->hwnd(), WM_COMMAND, kHistoryCommand, 0);
        driver::pump();
        ASSERT_NE(history(), nullptr);
    }
    std::vector<renaming::JournalStep> steps_of(const Texts& names) const {
        std::vector<renaming::JournalStep> steps;
        for (const std::string& name : names)
            steps.push_back({name, "Z" + name, platform::entry_identity(folder.path(name))->identity});
        return steps;
    }
    // The program ends and starts again; nothing of the run is left in memory.
    void restart() {
        window.reset();
        driver::pump();
        model.state.batch.clear();
        model.state.rule_confirmed = 0;
        open_main_window();
    }
};

}  // namespace

TEST_F(HistoryWindowTest, ARunIsUndoneFromTheHistoryAfterARestart) {
    for (const char* name : {"p1.jpg", "p2.jpg", "p3.jpg"}) folder.write(name, name);
    show_files({"p1.jpg", "p2.jpg", "p3.jpg"}, folder.path(""));
    numbering_window_click(kConfirmRuleButton);
    driver::click(control(kRenameButton));
    ASSERT_EQ(folder.names(), (Texts{"A001.jpg", "A002.jpg", "A003.jpg"}));
    restart();

    open_history();
    EXPECT_EQ(driver::text(history()), "改名记录");
    ASSERT_EQ(driver::list_view_rows(runs()), 1);
    Texts run = run_row(0);
    EXPECT_EQ(run[0].size(), std::string("2026-12-10 12:34:56").size());
    EXPECT_EQ(run[1], folder.path(""));
    EXPECT_EQ(run[2], "3");
    EXPECT_EQ(run[3], "完成");
    EXPECT_EQ(file_column(0), (Texts{"p1.jpg", "p2.jpg", "p3.jpg"}));
    EXPECT_EQ(file_column(1), (Texts{"A001.jpg", "A002.jpg", "A003.jpg"}));
    EXPECT_EQ(file_column(2), Texts(3, "在新名称下"));

    driver::click(GetDlgItem(history(), kUndoSelectedButton));
    EXPECT_EQ(folder.names(), (Texts{"p1.jpg", "p2.jpg", "p3.jpg"}));
    EXPECT_EQ(folder.read("p2.jpg"), "p2.jpg");
    EXPECT_EQ(file_column(2), Texts(3, "已撤销"));
    EXPECT_EQ(run_row(0)[3], "已撤销");

    // Esc closes it; opened again, it reads the journal anew.
    driver::press_key(runs(), VK_ESCAPE);
    EXPECT_EQ(history(), nullptr);
    open_history();
    EXPECT_EQ(run_row(0)[3], "已撤销");
    EXPECT_EQ(file_column(2), Texts(3, "已改回"));
}

TEST_F(HistoryWindowTest, AStartAsksOnceAboutARunItDidNotFinish) {
    for (const char* name : {"a.jpg", "b.jpg"}) folder.write(name, name);
    {
        // Killed after its first rename: the plan is on disk, no outcome, no end.
        renaming::RenameJournal journal(renaming::default_journal_paths());
        ASSERT_TRUE(journal.begin_run(folder.path(""), steps_of({"a.jpg", "b.jpg"})));
    }
    MoveFileW(platform::win32::widen(folder.path("a.jpg")).c_str(),
              platform::win32::widen(folder.path("Za.jpg")).c_str());

    for (int start = 0; start < 2; ++start) {
        MessageBoxAnswerer answerer(IDYES);
        restart();
        driver::wait_until([&] { return history() != nullptr; }, start == 0 ? 5000 : 300);
        if (start == 0) {
            EXPECT_EQ(answerer.texts(), Texts{"上次改名没有完成，要打开改名记录吗？"});
            ASSERT_NE(history(), nullptr);
            EXPECT_EQ(run_row(0)[3], "未完成");
            EXPECT_EQ(run_row(0)[2], "1");
            EXPECT_EQ(file_column(2), Texts{"在新名称下"});
            driver::click(GetDlgItem(history(), kUndoSelectedButton));
            EXPECT_EQ(folder.names(), (Texts{"a.jpg", "b.jpg"}));
        } else {
            EXPECT_TRUE(answerer.texts().empty());  // asked once
            EXPECT_EQ(history(), nullptr);
        }
    }
}

TEST_F(HistoryWindowTest, ARunAnotherCopyIsMakingIsInProgressAndNotAskedAbout) {
    folder.write("a.jpg", "a");
    renaming::RenameJournal other_copy(renaming::default_journal_paths());
    ASSERT_TRUE(other_copy.begin_run(folder.path(""), steps_of({"a.jpg"})));
    MessageBoxAnswerer answerer(IDYES);
    restart();
    driver::wait_until([&] { return history() != nullptr; }, 500);
    EXPECT_TRUE(answerer.texts().empty());
    open_history();
    EXPECT_EQ(run_row(0)[3], "进行中");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(history(), kUndoSelectedButton)));
}
