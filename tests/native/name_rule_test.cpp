#include "naming/name_rule.h"
#include "naming/saved_rules.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace naming;

namespace {

using Texts = std::vector<std::string>;

platform::CivilTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return {y, mo, d, h, mi, s}; }

NameRuleRow row(std::string base, std::string extension, std::optional<platform::CivilTime> capture = std::nullopt,
                std::optional<platform::CivilTime> modified = std::nullopt) {
    return {std::move(base), std::move(extension), capture, modified};
}

Texts names_of(const NameRuleResult& result) {
    Texts names;
    for (const NamedRow& r : result.rows) names.push_back(r.base);
    return names;
}

const platform::CivilTime kShot = at(2024, 7, 1, 14, 23, 45);

struct Case {
    const char* what;
    NameRuleFields fields;
    std::vector<NameRuleRow> rows;
    Texts expected;  // the names, or the one error
    Texts outside = {};
};

NameRuleFields with(std::string template_text) {
    NameRuleFields fields;
    fields.template_text = std::move(template_text);
    return fields;
}

NameRuleFields with_counter(std::string template_text, std::string start, std::string step, std::string digits) {
    NameRuleFields fields = with(std::move(template_text));
    fields.counter_start = std::move(start);
    fields.counter_step = std::move(step);
    fields.counter_digits = std::move(digits);
    return fields;
}

NameRuleFields with_dates(std::string template_text, DateSource source, std::string correction = "") {
    NameRuleFields fields = with(std::move(template_text));
    fields.date_source = source;
    fields.clock_correction = std::move(correction);
    return fields;
}

NameRuleFields finding(std::string find, std::string replace, bool regex = false, bool match_case = false) {
    NameRuleFields fields = with("[N]");
    fields.find_text = std::move(find);
    fields.replace_text = std::move(replace);
    fields.use_regex = regex;
    fields.match_case = match_case;
    return fields;
}

NameRuleFields in_case(LetterCase letter_case) {
    NameRuleFields fields = with("[N]");
    fields.letter_case = letter_case;
    return fields;
}

}  // namespace

TEST(NameRule, TemplatesCountersDatesAndClashesGiveTheseNames) {
    const std::vector<Case> cases = {
        {"name and counter", with("[N]_[C]"), {row("a", ".jpg"), row("b", ".jpg")}, {"a_001", "b_002"}},
        {"ranges of characters", with("[N2-4]|[N3-]|[N2-9]"), {row("abcdef", ".txt")}, {"bcd|cdef|bcdef"}},
        {"characters, not bytes", with("[N2-3]"), {row("照片一二三", ".jpg")}, {"片一"}},
        {"[[ is a bracket", with("[[C]_[C]"), {row("x", "")}, {"[C]_001"}},
        {"a negative counter",
         with_counter("[C]", "-5", "3", "3"),
         {row("a", ""), row("b", ""), row("c", "")},
         {"-005", "-002", "001"}},
        {"no zeros", with_counter("IMG[C]", "9", "1", "0"), {row("a", ""), row("b", "")}, {"IMG9", "IMG10"}},
        {"the date's parts",
         with("[YMD]_[hms] [Y]-[M]-[D] [h].[m].[s]"),
         {row("p", ".jpg", kShot)},
         {"20240701_142345 2024-07-01 14.23.45"}},
        {"a burst in one second",
         with("[YMD]_[hms]"),
         {row("p1", ".jpg", kShot), row("p2", ".jpg", kShot), row("p3", ".jpg", kShot)},
         {"20240701_142345", "20240701_142345_2", "20240701_142345_3"}},
        {"a RAW and JPEG pair is one shot",
         with("[C]_[hms]"),
         {row("IMG_1", ".JPG"), row("img_1", ".CR2", kShot), row("IMG_2", ".JPG", kShot)},
         {"001_142345", "001_142345", "002_142345"}},
        {"pairs apart when asked",
         [] {
             auto f = with("[C]");
             f.group_pairs = false;
             return f;
         }(),
         {row("IMG_1", ".JPG"), row("IMG_1", ".CR2")},
         {"001", "002"}},
        {"a file outside the batch", with("A001"), {row("x", ".JPG")}, {"A001_2"}, {"a001.jpg", "A001_3.png"}},
        {"a pair whose suffix must free both",
         with("[YMD]"),
         {row("a", ".jpg", kShot), row("A", ".cr2", kShot)},
         {"20240701_2", "20240701_2"},
         {"20240701.cr2"}},
        {"clashes kept when asked",
         [] {
             auto f = with("same");
             f.number_clashes = false;
             return f;
         }(),
         {row("a", ".jpg"), row("b", ".jpg")},
         {"same", "same"}},
        {"no date keeps the name", with("[YMD]"), {row("scan", ".png"), row("p", ".jpg", kShot)}, {"scan", "20240701"}},
        {"modified date stands in",
         with_dates("[YMD]", DateSource::CaptureElseModified),
         {row("scan", ".png", std::nullopt, at(2020, 1, 2)), row("p", ".jpg", kShot, at(2020, 1, 2))},
         {"20200102", "20240701"}},
        {"a correction over midnight and the year",
         with_dates("[YMD] [hms]", DateSource::Capture, "+1:00"),
         {row("p", "", at(2023, 12, 31, 23, 30, 0))},
         {"20240101 003000"}},
        {"a correction back",
         with_dates("[YMD] [hms]", DateSource::Capture, "-0:05:30"),
         {row("p", "", at(2024, 3, 1, 0, 2, 0))},
         {"20240229 235630"}},
        {"26 hours over 29 February",
         with_dates("[YMD] [hms]", DateSource::Capture, "26:00"),
         {row("p", "", at(2024, 2, 28, 23, 0, 0)), row("q", "", at(2023, 2, 28, 23, 0, 0))},
         {"20240301 010000", "20230302 010000"}},
        {"no correction of modification dates",
         with_dates("[YMD] [hms]", DateSource::Modified, "+1:00"),
         {row("p", "", kShot, at(2020, 1, 2, 3, 4, 5))},
         {"20200102 030405"}},
        {"an unknown token", with("x[Q]"), {row("a", "")}, {"第 2 个字符起的 [Q] 不是已知的标记"}},
        {"an unclosed token", with("照片[C"), {row("a", "")}, {"第 3 个字符起的 [ 没有配对的 ]"}},
        {"a range backwards", with("[C][N5-2]"), {row("a", "")}, {"第 4 个字符起的 [N5-2] 的范围有误"}},
        {"a token in the wrong case", with("[ymd]"), {row("a", "")}, {"第 1 个字符起的 [ymd] 不是已知的标记"}},
        {"ten digits", with_counter("[C]", "1", "1", "10"), {row("a", "")}, {"位数应为 0 到 9 的整数"}},
        {"a start that is no number", with_counter("[C]", "1.5", "1", "3"), {row("a", "")}, {"起始应为整数"}},
        {"find ignoring case", finding("img", "photo"), {row("IMG_img", "")}, {"photo_photo"}},
        {"find in case", finding("img", "photo", false, true), {row("IMG_img", "")}, {"IMG_photo"}},
        {"find Chinese text", finding("照片", "相片"), {row("三亚照片1", "")}, {"三亚相片1"}},
        {"an expression and its groups", finding("^IMG_(\\d+)$", "P$1", true), {row("IMG_0001", "")}, {"P0001"}},
        {"every match, as matched", finding("\\d+", "[$&]", true), {row("a12b3", "")}, {"a[12]b[3]"}},
        {"characters, not bytes, in expressions", finding("^.{2}", "", true), {row("照片abc", "")}, {"abc"}},
        {"an expression that could take ages",
         finding("(a+)+$", "x", true),
         {row(std::string(200, 'a') + "b", "")},
         {std::string(200, 'a') + "b"}},
        {"an unbalanced expression", finding("(IMG", "", true), {row("a", "")}, {"正则表达式有误：括号不配对"}},
        {"lower case", in_case(LetterCase::Lower), {row("DSC 三亚 ABC", "")}, {"dsc 三亚 abc"}},
        {"upper case", in_case(LetterCase::Upper), {row("dsc_a1", "")}, {"DSC_A1"}},
        {"each word capitalized",
         in_case(LetterCase::Capitalized),
         {row("my_PHOTO-final.v2 copy", "")},
         {"My_Photo-Final.V2 Copy"}},
        {"a correction of 60 minutes",
         with_dates("[Y]", DateSource::Capture, "1:60"),
         {row("a", "", kShot)},
         {"时间校正应写作 +1:00、-0:05:30 这样的时间"}},
    };
    for (const Case& c : cases) {
        NameRuleResult result = apply_name_rule(c.fields, c.rows, "三亚", c.outside);
        EXPECT_EQ(result.error.empty() ? names_of(result) : Texts{result.error}, c.expected) << c.what;
    }
}

// 后缀名小写 changes the extension, and a clash is judged by the new one.
TEST(NameRule, ExtensionsLowerCasedClashAsTheyWillBe) {
    NameRuleFields fields = with("A");
    fields.lower_extension = true;
    NameRuleResult result = apply_name_rule(fields, {row("x", ".JPG"), row("y", ".jpg")}, "", {});
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_EQ(result.rows[0].base + result.rows[0].extension, "A.jpg");
    EXPECT_EQ(result.rows[1].base + result.rows[1].extension, "A_2.jpg");
}

TEST(NameRule, NotesSayWhyAndTheFolderIsNamed) {
    NameRuleFields fields = with_dates("[P]_[YMD]", DateSource::CaptureElseModified);
    NameRuleResult result = apply_name_rule(
        fields, {row("a", ".jpg", kShot), row("b", ".jpg", kShot), row("c", ".png"), row("d", ".png", {}, kShot)},
        folder_name("C:\\photos\\三亚\\"), {});
    ASSERT_EQ(result.rows.size(), 4u);
    // d.png's name is free: only a.jpg and b.jpg clash.
    EXPECT_EQ(names_of(result), (Texts{"三亚_20240701", "三亚_20240701_2", "c", "三亚_20240701"}));
    EXPECT_EQ(result.rows[1].note, NameNote::SuffixAdded);
    EXPECT_EQ(result.rows[2].note, NameNote::NoDate);
    EXPECT_EQ(result.rows[3].note, NameNote::ModifiedDate);
    EXPECT_EQ(folder_name("D:\\"), "D");
    EXPECT_EQ(time_of_date_name("20080517 142345")->second, 45);
    EXPECT_FALSE(time_of_date_name("scan"));
}

// Saved rules come back field for field, whatever their texts hold.
TEST(SavedRules, KeepEveryFieldUnderItsName) {
    TempDirectory folder;
    const std::string path = folder.path("命名规则.txt");
    NameRuleFields odd = finding("a=b\\c", "x]\ny", true, true);
    odd.template_text = " [N] 三亚 ";
    odd.date_source = DateSource::CaptureElseModified;
    odd.letter_case = LetterCase::Capitalized;
    odd.lower_extension = true;
    odd.number_clashes = false;
    odd.clock_correction = "-0:05:30";
    NameRuleFields plain = with("[C]");

    SavedRules rules(path);
    ASSERT_TRUE(rules.load());  // no file yet: no rules
    EXPECT_TRUE(rules.names().empty());
    ASSERT_TRUE(rules.save("相机 [A]", odd));
    ASSERT_TRUE(rules.save("second", plain));
    ASSERT_TRUE(rules.save("相机 [A]", plain));  // replaced in its place
    ASSERT_TRUE(rules.save("third", odd));
    ASSERT_TRUE(rules.remove("second"));

    SavedRules again(path);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.names(), (Texts{"相机 [A]", "third"}));
    EXPECT_EQ(again.find("相机 [A]"), plain);
    EXPECT_EQ(again.find("third"), odd);
    EXPECT_FALSE(again.find("second"));
}
