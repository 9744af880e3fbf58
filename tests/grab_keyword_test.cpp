#include <gtest/gtest.h>

#include "grabber/grab_state.h"
#include "grabber/keyword.h"

namespace {

class KeywordTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGrabState();
        gSearchEngineHost = "search.test";
        gSearchEngineButton = "Go";
    }
    void TearDown() override {
        gSearchEngineHost = saveHost_;
        gSearchEngineButton = saveButton_;
    }
    std::string Message(const std::string& k) { return eResource::CheckSearchKeyword(k).Message; }
    bool Valid(const std::string& k) { return eResource::CheckSearchKeyword(k).Valid; }

private:
    std::string saveHost_ = gSearchEngineHost, saveButton_ = gSearchEngineButton;
};

TEST_F(KeywordTest, ForbiddenCharactersAndTheirMessages) {
    EXPECT_EQ(Message("cat dog#"), "Blank space is forbidden here !");
    EXPECT_EQ(Message("a\"b"), "Double quotation marks is forbidden here !");
    EXPECT_EQ(Message("it's"), "Single quotation marks is forbidden here !");
    EXPECT_EQ(Message("c#"), "\"#\" is forbidden here !");
    EXPECT_EQ(Message("a_b"), "\"_\" is forbidden here !");
    EXPECT_EQ(Message("a*b c"), "\"*\" is forbidden here !");  // the first forbidden one counts
    // Digits, ".", and bytes with negative codes (double-byte characters) are allowed.
    EXPECT_TRUE(Valid("v1.5"));
    EXPECT_TRUE(Valid("\xb9\xfa\xbb\xad+cat"));
}

TEST_F(KeywordTest, OperatorPairsInTheirOrder) {
    const char* pairs[] = {"++", "+/", "+-", "/+", "//", "/-", "-+", "-/", "--"};
    for (const char* p : pairs) EXPECT_EQ(Message(std::string("a") + p + "b"), std::string("Cannot enter like this, ") + p);
    EXPECT_EQ(Message("a/-b++c"), "Cannot enter like this, ++");  // searched in the table's order
    EXPECT_EQ(Message("+cat"), "Wrong enter !");
    EXPECT_EQ(Message("/cat"), "Wrong enter !");
    EXPECT_TRUE(Valid("-cat"));
}

TEST_F(KeywordTest, SkeletonsAllowedAndRefused) {
    for (const char* k : {"cat", "cat+dog", "cat/dog", "cat-dog", "cat+dog/fox", "cat+dog-fox", "cat/dog-fox",
                          "cat+bird/dog-fish", "a+b+c/d/e-f-g", "cat+", "cat/", "cat-"})
        EXPECT_TRUE(Valid(k)) << k;
    for (const char* k : {"cat/dog+bird", "cat-dog+bird", "cat-dog/bird", "a+b/c+d", "a/b-c/d"})
        EXPECT_EQ(Message(k), "Wrong search syntax !") << k;
    // A word inside a later word leaves letters behind.
    EXPECT_EQ(Message("cat+cats"), "Wrong search syntax !");
    EXPECT_TRUE(Valid("cats+cat"));
}

TEST_F(KeywordTest, SearchAddressAndWhenItIsKept) {
    EXPECT_TRUE(Valid("Red/blue-green"));
    EXPECT_EQ(gSearchURL, "http://search.test/search?&q=picture+Red+or+blue+-green&btnG=Go");
    EXPECT_TRUE(Valid("red+blue"));
    EXPECT_EQ(gSearchURL, "http://search.test/search?&q=picture+red+blue&btnG=Go");
    EXPECT_TRUE(Valid("-cat"));
    EXPECT_EQ(gSearchURL, "http://search.test/search?&q=picture++-cat&btnG=Go");
    EXPECT_FALSE(Valid("cat dog"));
    EXPECT_FALSE(Valid("cat/dog+x"));
    EXPECT_EQ(gSearchURL, "http://search.test/search?&q=picture++-cat&btnG=Go");
    EXPECT_TRUE(Valid(""));
    EXPECT_EQ(gSearchURL, "");
}

}  // namespace
