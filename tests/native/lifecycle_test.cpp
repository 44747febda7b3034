#include "app/lifecycle.h"
#include "app/settings.h"
#include "filelist/fill_list.h"
#include "filelist/main_model.h"
#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace filelist;
using namespace app;

namespace {

// The settings file lives beside the test program; each test starts without one.
struct SettingsFileTest : ::testing::Test {
    void SetUp() override { std::remove(settings_path().c_str()); }
    void TearDown() override { std::remove(settings_path().c_str()); }
};

}  // namespace

TEST(ClearList, EmptiesAnyNonEmptyTableAndKeepsTheModel) {
    for (std::size_t rows : {1u, 3u}) {
        MainModel m;
        std::vector<std::string> names(rows, "x.jpg");
        fill_list(m.state, m.table, names);
        clear_list(m.table, m.status);
        EXPECT_EQ(m.table.row_count(), 0u);
        EXPECT_EQ(m.status.text(), "清空处理结束");
        EXPECT_EQ(m.state.new_names.size(), rows);
    }
    MainModel empty;
    empty.status.set_text("共选择 0 个文件");
    clear_list(empty.table, empty.status);
    EXPECT_EQ(empty.status.text(), "共选择 0 个文件");
}

TEST_F(SettingsFileTest, SettingsFileSitsBesideTheProgram) {
    EXPECT_EQ(std::filesystem::path(settings_path()).filename().string(), "配置.ini");
}

TEST_F(SettingsFileTest, QuitWithoutADirectoryLeavesNoSettingsFile) {
    AppState state;
    start_up(state);
    EXPECT_EQ(state.last_directory, "");
    shut_down(state);
    EXPECT_FALSE(std::filesystem::exists(settings_path()));
}

TEST_F(SettingsFileTest, DirectoryIsStoredAtQuitAndReadAtStart) {
    {
        AppState state;
        start_up(state);
        state.last_directory = "/home/user/照片";
        shut_down(state);
        shut_down(state);  // "退出" followed by the window's own end
    }
    EXPECT_EQ(platform::read_ini_value(settings_path(), "配置", "记录"), "/home/user/照片");
    AppState next_run;
    start_up(next_run);
    EXPECT_EQ(next_run.last_directory, "/home/user/照片");
}
