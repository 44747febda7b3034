#include "text/wildcard.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* pattern;
    const char* name;
    bool matches;
};

void expect_cases(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(text::WildcardPattern(c.pattern).matches(c.name), c.matches)
            << "pattern " << c.pattern << " name " << c.name;
    }
}

}  // namespace

TEST(Wildcard, ExtensionTypesWantThatLastExtensionInAnyCase) {
    expect_cases({
        {"*.jpg", "a.jpg", true},
        {"*.jpg", "IMG_0001.JPG", true},
        {"*.JPG", "photo.Jpg", true},
        {"*.jpg", "a.b.jpg", true},
        {"*.jpg", ".jpg", true},
        {"*.jpg", "照片.jpg", true},
        {"*.jpg", "a.jpeg", false},
        {"*.jpg", "a.jpgx", false},  // a Windows search may take it by its 8.3 name
        {"*.jpg", "a.jpg.txt", false},
        {"*.jpg", "jpg", false},
        {"*.jpg", "ajpg", false},
    });
}

TEST(Wildcard, DotStarAlsoMatchesNamesWithoutADot) {
    expect_cases({
        {"*.*", "README", true},
        {"*.*", "a.b.c", true},
        {"*.*", ".profile", true},
        {"*", "README", true},
        {"*.", "README", true},
        {"*.", "a.txt", false},
        {"a.*", "a", true},
        {"a.*", "a.txt", true},
        {"a.*", "ab", false},
        {"*.j*", "x.jpg", true},
        {"*.j*", "x.jpeg", true},
        {"*.j*", "x.png", false},
        {"*.j*", "x", false},
    });
}

TEST(Wildcard, QuestionMarkTakesOneCharacterOrNoneBeforeADot) {
    expect_cases({
        {"IMG_????.jpg", "IMG_0001.jpg", true},
        {"IMG_????.jpg", "img_12.JPG", true},
        {"IMG_????.jpg", "IMG_12345.jpg", false},
        {"a?c", "abc", true},
        {"a?c", "a.c", false},
        {"a?c", "ac", false},
        {"?", "a", true},
        {"?", "ab", false},
        {"*.jp?", "x.jp", true},
        {"*.jp?", "x.jpg", true},
        {"*.jp?", "x.jpeg", false},
        {"?.jpg", "照.jpg", true},  // one character, however many bytes
        {"??.jpg", "照.jpg", true},
    });
}

TEST(Wildcard, PlainTextAndEmptyTypes) {
    expect_cases({
        {"photo.jpg", "PHOTO.JPG", true},
        {"photo.jpg", "photo.jpgx", false},
        {"photo.jpg", "my photo.jpg", false},
        {"", "a", false},
        {"", "", true},
        {"*IMG*2*", "my_img_02.png", true},
        {"*IMG*2*", "my_img_03.png", false},
        {"**.jpg", "a.jpg", true},
    });
}

TEST(Wildcard, CaseIsIgnoredBeyondAscii) {
    expect_cases({
        {"*.ÄBC", "x.äbc", true},
        {"ЖУРНАЛ*", "журнал 1.txt", true},
        {"ΦΩΤΟ*", "φωτο.jpg", true},
        {"*.ＪＰＧ", "照片.ｊｐｇ", true},
        {"照片*", "照片1.jpg", true},
        {"照片*", "相片1.jpg", false},
    });
}

TEST(Wildcard, BrokenUtf8NamesAreMatchedByteForByte) {
    const std::string broken("a\xff\xfe.jpg");
    EXPECT_TRUE(text::WildcardPattern("*.jpg").matches(broken));
    EXPECT_TRUE(text::WildcardPattern("a??.jpg").matches(broken));
    EXPECT_FALSE(text::WildcardPattern("a?.jpg").matches(broken));
}
