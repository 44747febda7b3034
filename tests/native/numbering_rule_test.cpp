#include "filelist/main_model.h"
#include "naming/numbering_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace filelist;
using namespace naming;

namespace {

using Texts = std::vector<std::string>;

void choose(MainModel& m, const Texts& files) { m.state.batch.fill_list("/d/", files); }

RuleChoice sequential(std::string prefix, std::string start, std::string increment) {
    return {{std::move(prefix), std::move(start), std::move(increment)}, false};
}

RuleChoice capture_date() { return {{"ignored", "9", "9"}, true}; }

}  // namespace

TEST(ConfirmRule, SequentialModeNamesEveryRowAndKeepsTheTexts) {
    MainModel m;
    choose(m, {"a.jpg", "b.jpg", "c.jpg"});
    confirm_rule(m.state, sequential("A", "001", "1"), nullptr);
    EXPECT_EQ(m.state.rule_confirmed, 1);
    EXPECT_EQ(m.state.rule_fields, (std::array<std::string, 3>{"A", "001", "1"}));
    EXPECT_EQ(m.state.batch.new_names(), (Texts{"A001", "A002", "A003"}));
    EXPECT_EQ(m.state.batch.cell(2, Batch::kNewName), "A003");
}

TEST(ConfirmRule, SingleRowIsNamedToo) {
    MainModel m;
    choose(m, {"photo.jpg"});
    confirm_rule(m.state, sequential("A", "001", "1"), nullptr);
    EXPECT_EQ(m.state.rule_confirmed, 1);
    EXPECT_EQ(m.state.batch.new_names(), (Texts{"A001"}));
}

TEST(ConfirmRule, EmptyTableOnlyConfirms) {
    MainModel m;
    m.state.rule_fields = {"old", "1", "1"};
    confirm_rule(m.state, sequential("A", "001", "1"), nullptr);
    EXPECT_EQ(m.state.rule_confirmed, 1);
    EXPECT_EQ(m.state.rule_fields[0], "old");
    EXPECT_TRUE(m.state.batch.new_names().empty());
}

TEST(ConfirmRule, CaptureDateModeRunsItsBuilderAndIgnoresTheTexts) {
    MainModel m;
    choose(m, {"a.jpg", "b.jpg"});
    m.state.rule_fields = {"P", "5", "5"};
    int built = 0;
    confirm_rule(m.state, capture_date(), [&] {
        ++built;
        EXPECT_EQ(m.state.rule_confirmed, 1);  // confirmed before anything is built
    });
    EXPECT_EQ(built, 1);
    EXPECT_EQ(m.state.rule_fields, (std::array<std::string, 3>{"P", "5", "5"}));
    EXPECT_EQ(m.state.batch.new_names(), (Texts{"", ""}));
}

TEST(ConfirmRule, CaptureDateModeWithoutABuilderOnlyConfirms) {
    MainModel m;
    choose(m, {"a.jpg", "b.jpg"});
    confirm_rule(m.state, capture_date(), nullptr);
    EXPECT_EQ(m.state.rule_confirmed, 1);
    EXPECT_EQ(m.state.batch.new_names(), (Texts{"", ""}));
    EXPECT_EQ(m.state.batch.cell(0, Batch::kNewName), "");

    MainModel empty;
    int built = 0;
    confirm_rule(empty.state, capture_date(), [&] { ++built; });
    EXPECT_EQ(built, 0);
    EXPECT_EQ(empty.state.rule_confirmed, 1);
}

TEST(CancelRule, WithdrawsTheRuleButKeepsTheNamesShown) {
    MainModel m;
    choose(m, {"a.jpg", "b.jpg"});
    confirm_rule(m.state, sequential("A", "001", "1"), nullptr);
    cancel_rule(m.state);
    EXPECT_EQ(m.state.rule_confirmed, 0);
    EXPECT_EQ(m.state.rule_fields, (std::array<std::string, 3>{}));
    EXPECT_EQ(m.state.batch.new_names(), (Texts{"A001", "A002"}));
    EXPECT_EQ(m.state.batch.cell(1, Batch::kNewName), "A002");
}
