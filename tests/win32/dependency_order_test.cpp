// 按依赖顺序改名 through the real window: a folder numbered again after new
// photos that sort first, and a swap; each file ends under the name meant
// for it, and the undo gives every file its old name.
#include "main_window_fixture.h"
#include "temp_directory.h"
#include "window_driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;
using Contents = std::map<std::string, std::string>;

struct DependencyOrderTest : MainWindowFixture {};

}  // namespace

TEST_F(DependencyOrderTest, EachFileGetsTheNameMeantForItAndTheUndoGivesEveryNameBack) {
    struct Case {
        const char* what;
        Texts files;                                     // in table order, each holding its own name
        std::function<void(DependencyOrderTest&)> name;  // the rule, or names typed
        std::string first_tip;                           // before the run
        Contents after;
    };
    const Case cases[] = {
        {"new photos sorting first, numbered again from A001",
         {"0new1.jpg", "0new2.jpg", "A001.jpg", "A002.jpg", "A003.jpg"},
         [](DependencyOrderTest& t) { t.numbering_window_click(kConfirmRuleButton); },
         "目标文件被第 3 行占用，按依赖顺序改名可解决",
         {{"A001.jpg", "0new1.jpg"},
          {"A002.jpg", "0new2.jpg"},
          {"A003.jpg", "A001.jpg"},
          {"A004.jpg", "A002.jpg"},
          {"A005.jpg", "A003.jpg"}}},
        {"a swap",
         {"x.jpg", "y.jpg"},
         [](DependencyOrderTest& t) {
             t.numbering_window_click(kConfirmRuleButton);
             t.model.state.batch.set_new_name(0, "y");
             t.model.state.batch.set_new_name(1, "x");
         },
         "",
         {{"x.jpg", "y.jpg"}, {"y.jpg", "x.jpg"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDirectory folder;
        Contents before;
        for (const std::string& name : c.files) {
            folder.write(name, name);
            before[name] = name;
        }
        show_files(c.files, folder.path(""));
        c.name(*this);
        if (!c.first_tip.empty()) {
            EXPECT_EQ(row_tip(0), c.first_tip);
        }

        SendMessageW(window->hwnd(), WM_COMMAND, kDependencyOrderCommand, 0);
        driver::pump();
        EXPECT_EQ(column(5), Texts(c.files.size(), "改名成功"));
        EXPECT_EQ(status(), "改名处理结束,请查看!");
        EXPECT_EQ(folder.contents(), c.after);

        driver::press_key(table(), 'Z', true);
        EXPECT_EQ(column(5), Texts(c.files.size(), "已撤销"));
        EXPECT_EQ(folder.contents(), before);
    }
}
