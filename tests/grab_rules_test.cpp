// The grab window's page arithmetic and thumbnail fit, and the settings editor's text rules.
#include <gtest/gtest.h>

#include "grabber/resource_rules.h"
#include "grabber/thumb_layout.h"
#include "kit/file_pattern.h"

#include <algorithm>

namespace {

using namespace eThumbLayout;

TEST(ThumbLayout, PagesOfFiveAndTheButtonsThatLeadOffThem) {
    struct Row {
        int files, page;
        int pages, first, count;
        Buttons buttons;
    };
    const Row rows[] = {
        {0, 0, 0, 0, 0, {}},
        {5, 1, 1, 0, 5, {}},
        {6, 1, 2, 0, 5, {false, false, true, true}},
        {6, 2, 2, 5, 1, {true, true, false, false}},
        {11, 2, 3, 5, 5, {true, true, true, true}},
        {11, 3, 3, 10, 1, {true, true, false, false}},
        {32767, 6554, 6554, 32765, 2, {true, true, false, false}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(PageCount(r.files), r.pages) << r.files;
        EXPECT_EQ(PageOf(r.page, r.files).first, r.first) << r.files;
        EXPECT_EQ(PageOf(r.page, r.files).count, r.count) << r.files;
        EXPECT_EQ(PageButtons(r.page, r.files), r.buttons) << r.files << "/" << r.page;
    }
}

TEST(ThumbLayout, ARefreshKeepsTheLastPageThatStillExists) {
    EXPECT_EQ(ClampPage(3, 11), 3);
    EXPECT_EQ(ClampPage(3, 7), 2);
    EXPECT_EQ(ClampPage(3, 0), 0);
    EXPECT_EQ(ClampPage(0, 4), 1);  // files again after an empty folder
}

TEST(ThumbLayout, PicturesFitIntoEightyByEightyAndAreNeverEnlarged) {
    const struct {
        int w, h;
        Size fit;
    } rows[] = {
        {80, 80, {80, 80}},   {20, 60, {20, 60}},   {160, 100, {80, 50}}, {100, 160, {50, 80}},
        {81, 81, {80, 80}},   {81, 20, {80, 20}},   {162, 1, {80, 0}},    {200, 3, {80, 1}},
        {90, 81, {80, 72}},   {4000, 3000, {80, 60}}, {6, 1000, {0, 80}}, {0, 0, {0, 0}},
        {161, 81, {80, 40}},  // 40.248... rounds down
        {160, 81, {80, 40}},  // 40.5 goes to the even 40
        {160, 83, {80, 42}},  // 41.5 goes to the even 42
    };
    for (const auto& r : rows) EXPECT_EQ(FitThumb(r.w, r.h), r.fit) << r.w << "x" << r.h;
}

TEST(ThumbLayout, SlotsAreCentredOnTheirColumnsWithHalvesToEven) {
    EXPECT_EQ(PictureLeft(0, 80), 25);
    EXPECT_EQ(PictureLeft(4, 80), 529);
    EXPECT_EQ(PictureLeft(0, 51), 40);   // 39.5
    EXPECT_EQ(PictureLeft(1, 51), 166);  // 165.5
    EXPECT_EQ(PictureTop(80), 328);
    EXPECT_EQ(PictureTop(51), 342);  // 342.5
    EXPECT_EQ(PictureTop(49), 344);  // 343.5
    EXPECT_EQ(LabelLeft(2, 60), 287);
    EXPECT_EQ(CentredLeft(632, 25), 304);  // 303.5
}

TEST(ResourceRules, NumberBoxesTakeDecimalNumbersOfAtLeastOne) {
    for (const char* ok : {"1", "12", "12.5", "1e3", " 7 ", "2048", "99999", "+3"})
        EXPECT_TRUE(eResourceRules::NumberAccepted(ok)) << ok;
    for (const char* bad : {"", "0", "-5", "0.4", "abc", "12a", "&H10", "1e", ".", " "})
        EXPECT_FALSE(eResourceRules::NumberAccepted(bad)) << bad;
}

TEST(ResourceRules, ABoxReadsAsItsLeadingNumberWithinItsUpDown) {
    EXPECT_EQ(eResourceRules::NumberBoxValue("12", 2048), 12);
    EXPECT_EQ(eResourceRules::NumberBoxValue("12.5", 2048), 12);
    EXPECT_EQ(eResourceRules::NumberBoxValue("13.5", 2048), 14);
    EXPECT_EQ(eResourceRules::NumberBoxValue("", 2048), 0);
    EXPECT_EQ(eResourceRules::NumberBoxValue("Catch", 2048), 0);
    // A remembered file name such as this one, reverted into a number box, would overflow.
    EXPECT_EQ(eResourceRules::NumberBoxValue("99999x", 2048), 2048);
    EXPECT_EQ(eResourceRules::NumberBoxValue("1e999", 10240), 10240);
}

TEST(ResourceRules, FileNamesWebsitesAndKeywords) {
    EXPECT_EQ(eResourceRules::FirstBadFileNameChar("Catch2"), std::string::npos);
    EXPECT_EQ(eResourceRules::FirstBadFileNameChar("my_pic"), 2u);
    EXPECT_EQ(eResourceRules::FirstBadFileNameChar("a b"), 1u);
    EXPECT_EQ(eResourceRules::FirstBadFileNameChar("x.y"), 1u);
    EXPECT_EQ(eResourceRules::FirstBadFileNameChar("\xE9t\xE9"), 0u);

    EXPECT_EQ(eResourceRules::WebsiteWithScheme("example.com"), "http://example.com");
    EXPECT_EQ(eResourceRules::WebsiteWithScheme("HTTP://Example.com"), "HTTP://Example.com");
    EXPECT_EQ(eResourceRules::WebsiteWithScheme("go?u=http://x"), "go?u=http://x");
    EXPECT_EQ(eResourceRules::WebsiteWithScheme("ftp://x"), "http://ftp://x");
    EXPECT_EQ(eResourceRules::WebsiteWithScheme("HTTPS://x"), "HTTPS://x");
    EXPECT_EQ(eResourceRules::WebsiteWithScheme("go?u=https://x"), "http://go?u=https://x");
    EXPECT_EQ(eResourceRules::WebsiteWithScheme(""), "");

    EXPECT_EQ(eResourceRules::DropTrailingOperator("cat-"), "cat");
    EXPECT_EQ(eResourceRules::DropTrailingOperator("cat/+"), "cat/");
    EXPECT_EQ(eResourceRules::DropTrailingOperator("cat"), "cat");
    EXPECT_EQ(eResourceRules::DropTrailingOperator(""), "");
}

}  // namespace

namespace {

TEST(FileListPattern, ThePicturePatternAndTheOrderIgnoreCase) {
    const std::string pattern = "*.jpeg;*.jpg;*.bmp;*.gif;*.png";
    for (const char* yes : {"a.jpg", "B.JPG", "x.y.Png", ".gif", "Catch00001.jpeg", "\xE9.bmp"})
        EXPECT_TRUE(kit::MatchesPattern(yes, pattern)) << yes;
    for (const char* no : {"a.jpg.bak", "a.jpe", "jpg", "a.ico", "a.tiff", "a.jpgx", ""})
        EXPECT_FALSE(kit::MatchesPattern(no, pattern)) << no;
    EXPECT_TRUE(kit::MatchesPattern("ab", "a?;x"));
    EXPECT_FALSE(kit::MatchesPattern("abc", "a?"));
    EXPECT_TRUE(kit::MatchesPattern(std::string(5000, 'a') + ".png", "*a*a*a*.png"));

    std::vector<std::string> names = {"b.png", "A.jpg", "a0.gif", "_x.bmp", "\xC9.jpg", "Z.gif"};
    std::sort(names.begin(), names.end(), kit::NameLessNoCase);
    EXPECT_EQ(names, (std::vector<std::string>{"_x.bmp", "A.jpg", "a0.gif", "b.png", "Z.gif",
                                               "\xC9.jpg"}));
}

}  // namespace
