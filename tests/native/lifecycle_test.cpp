#include "app/lifecycle.h"
#include "app/main_commands.h"
#include "app/settings.h"
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

TEST(ClearList, EmptiesAnyNonEmptyTable) {
    for (std::size_t rows : {1u, 3u}) {
        MainModel m;
        m.state.batch.fill_list("/d/", std::vector<std::string>(rows, "x.jpg"));
        clear_list(m);
        EXPECT_EQ(m.state.batch.row_count(), 0u);
        EXPECT_EQ(m.status.text(), "清空处理结束");
    }
    MainModel empty;
    empty.status.set_text("共选择 0 个文件");
    clear_list(empty);
    EXPECT_EQ(empty.status.text(), "共选择 0 个文件");
}

TEST_F(SettingsFileTest, SettingsFileSitsBesideTheProgram) {
    EXPECT_EQ(std::filesystem::path(settings_path()).filename().string(), "配置.ini");
}

TEST_F(SettingsFileTest, QuitWithoutADirectoryLeavesNoSettingsFile) {
    MainModel model;
    MainCommands commands(model, {});
    commands.start_up();
    EXPECT_EQ(model.state.last_directory.value(), "");
    commands.shut_down();
    EXPECT_FALSE(std::filesystem::exists(settings_path()));
}

TEST_F(SettingsFileTest, DirectoryIsStoredAtQuitAndReadAtStart) {
    {
        MainModel model;
        MainCommands commands(model, {});
        commands.start_up();
        model.state.last_directory.restore("/home/user/照片");
        commands.shut_down();
        commands.shut_down();  // "退出" followed by the window's own end
    }
    EXPECT_EQ(platform::read_ini_value(settings_path(), "配置", "记录"), "/home/user/照片");
    MainModel next_run;
    MainCommands commands(next_run, {});
    commands.start_up();
    EXPECT_EQ(next_run.state.last_directory.value(), "/home/user/照片");
}
