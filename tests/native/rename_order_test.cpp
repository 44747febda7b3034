#include "app/main_commands.h"
#include "app/row_texts.h"
#include "filelist/main_model.h"
#include "platform/pending_events.h"
#include "rename/journal_format.h"
#include "rename/name_table.h"
#include "rename/rename_order.h"
#include "temp_directory.h"
#include "text/text_case.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <unordered_map>
#include <string>
#include <vector>

using namespace renaming;

namespace {

using Texts = std::vector<std::string>;

// A batch of .jpg files renamed to the names given (without extension).
struct Batch {
    RenameBatch batch;
    std::vector<RenameStep> steps;
    Batch(const Texts& from, const Texts& to) {
        batch.directory = "/d/";
        for (const std::string& name : from) batch.old_names.push_back(name + ".jpg");
        batch.new_names = to;
        batch.extensions.assign(from.size(), ".jpg");
        steps = plan_renames(batch);
    }
    RenameOrder order(const Texts& also_on_disk = {}) const {
        std::vector<std::string> listing = batch.old_names;
        for (const std::string& name : also_on_disk) listing.push_back(name + ".jpg");
        return order_renames(batch, steps, std::vector<bool>(batch.old_names.size(), true), listing);
    }
};

// The renames as "from>to", temporary names as "~".
Texts written(const RenameOrder& order) {
    Texts out;
    for (const OrderedRename& r : order.renames) {
        auto shown = [](const std::string& name) {
            return is_temporary_name(name) ? std::string("~") : name.substr(0, name.size() - 4);
        };
        out.push_back(shown(r.from) + ">" + shown(r.to));
    }
    return out;
}

Texts reasons(const RenameOrder& order) {
    Texts out;
    for (const RowConflict& c : order.failing) out.push_back(app::mark_text(filelist::RowMark{c}));
    return out;
}

}  // namespace

TEST(RenameOrder, EachTargetIsFreedBeforeItIsTaken) {
    struct Case {
        const char* what;
        Texts from, to, outside;
        Texts renames;
        Texts failing;
    };
    const Case cases[] = {
        {"a shift up", {"A1", "A2", "A3"}, {"A2", "A3", "A4"}, {}, {"A3>A4", "A2>A3", "A1>A2"}, {"", "", ""}},
        {"a shift down", {"A2", "A3"}, {"A1", "A2"}, {}, {"A2>A1", "A3>A2"}, {"", ""}},
        {"a swap", {"x", "y"}, {"y", "x"}, {}, {"x>~", "y>x", "~>y"}, {"", ""}},
        {"a cycle of three", {"a", "b", "c"}, {"b", "c", "a"}, {}, {"a>~", "c>a", "b>c", "~>b"}, {"", "", ""}},
        {"a chain ending at a file outside the batch",
         {"a", "b", "c"},
         {"b", "c", "z"},
         {"z"},
         {},
         {"目标文件被第 2 行占用", "目标文件被第 3 行占用", "目标文件已存在"}},
        {"two rows of a chain wanting one name: the first wins",
         {"a", "b", "c"},
         {"b", "x", "x"},
         {},
         {"b>x", "a>b"},
         {"", "", "与第 2 行同名"}},
        {"a cycle through a refused name", {"a", "b"}, {"b", "CON"}, {}, {}, {"目标文件被第 2 行占用", "名称不合法"}},
        {"names that differ in case only are one name", {"a", "B"}, {"b", "A"}, {}, {"a>~", "B>A", "~>b"}, {"", ""}},
        {"a change of letter case only keeps its name taken",
         {"a", "x"},
         {"A", "a"},
         {},
         {"a>A"},
         {"", "与第 1 行同名"}},
    };
    for (const Case& c : cases) {
        RenameOrder order = Batch(c.from, c.to).order(c.outside);
        EXPECT_EQ(written(order), c.renames) << c.what;
        EXPECT_EQ(reasons(order), c.failing) << c.what;
    }
}

// The order's own hash table finds exactly the names a map of folded names
// finds: every spelling of a name as one, an ASCII name never equal to
// another script's.
TEST(RenameOrder, TheNameTableAgreesWithAMapOfFoldedNames) {
    using namespace name_table;
    const std::vector<std::string> stems = {"img_", "IMG_", "Ä", "ä", "照片", "ǅ", "ss", "ß"};
    std::mt19937 random(5);
    auto random_name = [&] {
        return stems[random() % stems.size()] + std::to_string(random() % 400) + (random() % 2 ? ".JPG" : ".jpg");
    };
    std::vector<std::string> entered(3000);
    for (auto& name : entered) name = random_name();
    NameKeys keys(entered.size() * 3);
    NameTable table(entered.size());
    std::unordered_map<std::string, std::size_t> plain;
    for (std::size_t i = 0; i < entered.size(); ++i) {
        NameTable::Entry& entry = table.at(keys.key(entered[i]));
        if (entry.holder == kNone) entry.holder = i;
        plain.emplace(text::folded_name(entered[i]), i);
    }
    for (int n = 0; n < 6000; ++n) {
        const std::string name = random_name();
        const NameTable::Entry* found = table.find(keys.key(name));
        auto expected = plain.find(text::folded_name(name));
        ASSERT_EQ(found != nullptr, expected != plain.end()) << name;
        if (found) {
            ASSERT_EQ(found->holder, expected->second) << name;
        }
    }
}

TEST(RenameOrder, AHundredThousandRowsShiftWithoutATemporaryName) {
    Texts from, to;
    for (int i = 1; i <= 100000; ++i) {
        from.push_back("A" + std::to_string(100000 + i));
        to.push_back("A" + std::to_string(100001 + i));
    }
    RenameOrder order = Batch(from, to).order();
    ASSERT_EQ(order.renames.size(), 100000u);
    EXPECT_EQ(order.renames.front().row, 99999u);
    EXPECT_EQ(order.renames.back().row, 0u);
    for (const OrderedRename& r : order.renames) ASSERT_FALSE(r.to_temporary);
}

namespace {

struct DependencyRunTest : ::testing::Test {
    TempDirectory dir;
    TempDirectory journal;
    filelist::MainModel model;
    app::MainCommands commands{model, {}, {journal.path("journal.txt")}};

    void TearDown() override { platform::set_pending_events_hook(nullptr); }
    void choose(const Texts& from, const Texts& to) {
        for (const std::string& name : from) dir.write(name + ".jpg", name);
        Texts files;
        for (const std::string& name : from) files.push_back(name + ".jpg");
        model.state.batch.fill_list(dir.path() + "/", files);
        for (std::size_t k = 0; k < to.size(); ++k) model.state.batch.set_new_name(k, to[k]);
        model.state.rule_confirmed = 1;
    }
    Texts results() const {
        Texts out;
        for (std::size_t row = 0; row < model.state.batch.row_count(); ++row)
            out.push_back(app::result_text(model.state.batch.result(row)));
        return out;
    }
};

}  // namespace

TEST_F(DependencyRunTest, ASwapAndItsUndoGiveEveryFileTheRightName) {
    choose({"x", "y"}, {"y", "x"});
    commands.rename_in_dependency_order();
    EXPECT_EQ(results(), (Texts{"改名成功", "改名成功"}));
    EXPECT_EQ(dir.read("y.jpg"), "x");
    EXPECT_EQ(dir.read("x.jpg"), "y");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
    commands.undo_last_run();
    EXPECT_EQ(results(), (Texts{"已撤销", "已撤销"}));
    EXPECT_EQ(dir.read("x.jpg"), "x");
    EXPECT_EQ(dir.read("y.jpg"), "y");
}

TEST_F(DependencyRunTest, ACycleThatCannotBeCompletedPutsItsFilesBack) {
    choose({"a", "b", "c"}, {"b", "c", "a"});
    int steps = 0;
    platform::set_pending_events_hook([&] {
        // After the first file stepped aside, another takes c's file away.
        if (++steps == 1) std::filesystem::rename(dir.path("c.jpg"), dir.path("elsewhere.bin"));
    });
    commands.rename_in_dependency_order();
    EXPECT_EQ(results(), (Texts{"改名失败", "改名失败", "改名失败"}));
    EXPECT_EQ(dir.read("a.jpg"), "a");
    EXPECT_EQ(dir.read("b.jpg"), "b");
    EXPECT_EQ(dir.read("elsewhere.bin"), "c");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);  // no temporary name left
}
