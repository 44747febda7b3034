#include "filelist/batch.h"
#include "naming/rule_number.h"
#include "naming/sequential_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace filelist;
using namespace naming;

namespace {

std::vector<std::string> names(const std::string& prefix, const std::string& start, const std::string& increment,
                               std::size_t count) {
    SequentialNumbering numbering({prefix, start, increment});
    std::vector<std::string> out;
    for (std::size_t i = 0; i < count; ++i) out.push_back(numbering.next());
    return out;
}

// Name of row `row` (counted from 1).
std::string name_at(const std::string& prefix, const std::string& start, const std::string& increment,
                    std::size_t row) {
    return names(prefix, start, increment, row).back();
}

using Names = std::vector<std::string>;

}  // namespace

TEST(SequentialNames, DefaultRuleCountsWithThreeDigits) {
    Names first = names("A", "001", "1", 12);
    EXPECT_EQ(first,
              (Names{"A001", "A002", "A003", "A004", "A005", "A006", "A007", "A008", "A009", "A010", "A011", "A012"}));
    EXPECT_EQ(name_at("A", "001", "1", 99), "A099");
    EXPECT_EQ(name_at("A", "001", "1", 100), "A100");
    EXPECT_EQ(name_at("A", "001", "1", 101), "A101");
    EXPECT_EQ(name_at("A", "001", "1", 1000), "A1000");
}

TEST(SequentialNames, WidthFollowsTheDigitsOfTheStartNumber) {
    EXPECT_EQ(names("A", "1", "1", 11), (Names{"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9", "A10", "A11"}));
    EXPECT_EQ(name_at("A", "0001", "1", 1), "A0001");
    EXPECT_EQ(name_at("A", "0001", "1", 10), "A0010");
    EXPECT_EQ(name_at("A", "0001", "1", 100), "A0100");
    EXPECT_EQ(name_at("A", "0001", "1", 1000), "A1000");
    EXPECT_EQ(name_at("A", "00001", "1", 1), "A00001");
    EXPECT_EQ(name_at("A", "00001", "1", 10000), "A10000");
    EXPECT_EQ(names("", "001", "1", 3), (Names{"001", "002", "003"}));
}

TEST(SequentialNames, WidthStaysWhenTheNumberRunsAheadOfTheRow) {
    // The zeros depend on the number, not on the row, so the names sort in row order.
    EXPECT_EQ(names("A", "001", "5", 4), (Names{"A001", "A006", "A011", "A016"}));
    EXPECT_EQ(names("A", "005", "1", 7), (Names{"A005", "A006", "A007", "A008", "A009", "A010", "A011"}));
    EXPECT_EQ(names("IMG_", "01", "2", 10), (Names{"IMG_01", "IMG_03", "IMG_05", "IMG_07", "IMG_09", "IMG_11", "IMG_13",
                                                   "IMG_15", "IMG_17", "IMG_19"}));
}

TEST(SequentialNames, ZeroAndNegativeIncrements) {
    EXPECT_EQ(names("A", "001", "0", 3), (Names{"A001", "A001", "A001"}));
    EXPECT_EQ(names("A", "003", "-1", 5), (Names{"A003", "A002", "A001", "A000", "A-001"}));
    EXPECT_EQ(names("B", "10", "-7", 3), (Names{"B10", "B03", "B-04"}));
}

TEST(SequentialNames, RunningNumberWrapsAroundAt32Bits) {
    EXPECT_EQ(names("A", "2147483646", "1", 3), (Names{"A2147483646", "A2147483647", "A-2147483648"}));
    EXPECT_EQ(names("A", "-2147483647", "-1", 3), (Names{"A-2147483647", "A-2147483648", "A2147483647"}));
    EXPECT_EQ(names("A", "0", "2147483647", 3), (Names{"A0", "A2147483647", "A-2"}));
}

TEST(SequentialNames, LeadingTextIsUsedAsTyped) {
    EXPECT_EQ(names("照片 ", "1", "1", 2), (Names{"照片 1", "照片 2"}));
    EXPECT_EQ(names("a/b", "1", "1", 1), (Names{"a/b1"}));
}

TEST(RuleNumber, ReadsTheLeadingDecimalNumber) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"001", 1},
        {"1.9", 1},
        {"-1.9", -1},
        {" 005", 5},
        {"\t+12x", 12},
        {"-01", -1},
        {"", 0},
        {"abc", 0},
        {".5", 0},
        {"-", 0},
        {"- 5", 0},
        {"12 34", 12},
        {"0", 0},
        {"-0", 0},
        // Beyond the range the low 32 bits stay: 2^32 + 5 and 2^31.
        {"4294967301", 5},
        {"2147483648", std::numeric_limits<std::int32_t>::min()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"99999999999999999999", static_cast<std::int32_t>(0x630FFFFFu)},
    };
    for (const Case& c : cases) {
        LeadingNumber number = read_leading_number(c.text);
        EXPECT_EQ(number.value, c.value) << '"' << c.text << '"';
    }
}

TEST(RuleNumber, UnreadableTextsCountFromZero) {
    EXPECT_EQ(names("A", "", "", 2), (Names{"A0", "A0"}));
    EXPECT_EQ(names("A", "x", "1", 3), (Names{"A0", "A1", "A2"}));
    EXPECT_EQ(names("A", " 005", "2.7", 3), (Names{"A0005", "A0007", "A0009"}));
    EXPECT_EQ(names("A", "-01", "1", 3), (Names{"A-01", "A00", "A01"}));
}

TEST(SequentialNames, ZerosFollowTheWidthOfTheStartTextAsTyped) {
    EXPECT_EQ(names("A", "1.9", "1", 2), (Names{"A001", "A002"}));
    EXPECT_EQ(names("A", " 1", "1", 1), Names{"A01"});
    EXPECT_EQ(names("A", "+5", "1", 1), Names{"A05"});
    EXPECT_EQ(names("A", "１", "1", 1), Names{"A00"});  // a double-width character, no number
}

TEST(BuildSequentialNames, NamesEveryRowOfTheBatch) {
    Batch batch;
    batch.fill_list("/photos/", {"a.jpg", "b.jpg", "c.jpg"});
    build_sequential_names(batch, {"A", "001", "1"});
    EXPECT_EQ(batch.new_names(), (Names{"A001", "A002", "A003"}));
    EXPECT_EQ(batch.cell(2, Batch::kNewName), "A003");
    EXPECT_EQ(batch.cell(0, Batch::kOriginalName), "a");

    // After "清空" there are no rows: nothing is named.
    batch.clear();
    build_sequential_names(batch, {"X", "1", "1"});
    EXPECT_TRUE(batch.new_names().empty());
}
