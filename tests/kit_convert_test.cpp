#include "kit/convert.h"

#include <gtest/gtest.h>

#include "kit/runtime.h"

namespace {

template <typename F>
int ErrorOf(F f) {
    try {
        f();
    } catch (const kit::RuntimeError& e) {
        return e.code();
    }
    return 0;
}

TEST(KitConvert, RoundHalfEven) {
    EXPECT_EQ(kit::RoundHalfEven(2.5), 2);
    EXPECT_EQ(kit::RoundHalfEven(3.5), 4);
    EXPECT_EQ(kit::RoundHalfEven(-2.5), -2);
    EXPECT_EQ(kit::RoundHalfEven(-3.5), -4);
    EXPECT_EQ(kit::RoundHalfEven(0.5), 0);
    EXPECT_EQ(kit::RoundHalfEven(2.4999), 2);
    EXPECT_EQ(kit::RoundHalfEven(2.5001), 3);
    EXPECT_EQ(kit::RoundHalfEven(-0.6), -1);
    EXPECT_EQ(kit::CIntOf(32767.4), 32767);
    EXPECT_EQ(kit::CIntOf(-32768.5), -32768);
    EXPECT_EQ(ErrorOf([] { kit::CIntOf(32767.5); }), kit::kErrOverflow);
    EXPECT_EQ(ErrorOf([] { kit::CIntOf(-32769); }), kit::kErrOverflow);
}

TEST(KitConvert, CIntAndCLng) {
    EXPECT_EQ(kit::CInt("2.5"), 2);
    EXPECT_EQ(kit::CInt("3.5"), 4);
    EXPECT_EQ(kit::CInt("  -12  "), -12);
    EXPECT_EQ(kit::CInt("+7"), 7);
    EXPECT_EQ(kit::CInt("1.5e2"), 150);
    EXPECT_EQ(kit::CInt(".5"), 0);
    EXPECT_EQ(kit::CInt("32767"), 32767);
    EXPECT_EQ(kit::CInt("-32768"), -32768);
    EXPECT_EQ(kit::CInt("&HFFFF"), -1);
    EXPECT_EQ(kit::CInt("&h10"), 16);
    EXPECT_EQ(ErrorOf([] { kit::CInt("40000"); }), kit::kErrOverflow);
    EXPECT_EQ(ErrorOf([] { kit::CInt("32767.5"); }), kit::kErrOverflow);
    EXPECT_EQ(ErrorOf([] { kit::CInt("1e10"); }), kit::kErrOverflow);
    EXPECT_EQ(ErrorOf([] { kit::CInt("&H10000"); }), kit::kErrOverflow);
    for (const char* bad : {"", "   ", "abc", "12abc", "1 2", "-", ".", "1e", "e5", "&H", "&HG"})
        EXPECT_EQ(ErrorOf([bad] { kit::CInt(bad); }), kit::kErrTypeMismatch) << bad;

    EXPECT_EQ(kit::CLng("40000"), 40000);
    EXPECT_EQ(kit::CLng(" -2147483648 "), INT32_MIN);
    EXPECT_EQ(kit::CLng("2147483646.5"), 2147483646);
    EXPECT_EQ(kit::CLng("&HFFFFFFFF"), -1);
    EXPECT_EQ(kit::CLng("&H10000"), 65536);
    EXPECT_EQ(ErrorOf([] { kit::CLng("2147483648"); }), kit::kErrOverflow);
    EXPECT_EQ(ErrorOf([] { kit::CLng("&H100000000"); }), kit::kErrOverflow);
    EXPECT_EQ(ErrorOf([] { kit::CLng("x"); }), kit::kErrTypeMismatch);
}

TEST(KitConvert, CBoolAndBoolText) {
    EXPECT_TRUE(kit::CBool("True"));
    EXPECT_TRUE(kit::CBool("  tRUE "));
    EXPECT_FALSE(kit::CBool("FALSE"));
    EXPECT_FALSE(kit::CBool("0"));
    EXPECT_FALSE(kit::CBool(" 0.0 "));
    EXPECT_TRUE(kit::CBool("-1"));
    EXPECT_TRUE(kit::CBool("0.1"));
    for (const std::string& bad : {std::string(), std::string("  "), std::string(254, ' '),
                                  std::string("yes"), std::string("Truex")})
        EXPECT_EQ(ErrorOf([bad] { kit::CBool(bad); }), kit::kErrTypeMismatch) << '"' << bad << '"';
    EXPECT_EQ(kit::BoolText(true), "True");
    EXPECT_EQ(kit::BoolText(false), "False");
}

TEST(KitConvert, Val) {
    EXPECT_EQ(kit::Val(""), 0);
    EXPECT_EQ(kit::Val("abc"), 0);
    EXPECT_EQ(kit::Val("65abc"), 65);
    EXPECT_EQ(kit::Val("  \t-3.25xyz"), -3.25);
    EXPECT_EQ(kit::Val("1e3"), 1000);
    EXPECT_EQ(kit::Val("2E-1z"), 0.2);
    EXPECT_EQ(kit::Val("7e"), 7);
    EXPECT_EQ(kit::Val("7e+"), 7);
    EXPECT_EQ(kit::Val("+.5"), 0.5);
    EXPECT_EQ(kit::Val("1.2.3"), 1.2);
    EXPECT_EQ(kit::Val("-"), 0);
}

}  // namespace

namespace {
TEST(KitConvert, IsNumericAcceptsWhatTheConversionsRead) {
    for (const char* yes : {"1", " 12 ", "-0", "1e3", "2.5", ".5", "&H1F", "+7"}) {
        EXPECT_TRUE(kit::IsNumeric(yes)) << yes;
        EXPECT_NO_THROW(kit::CDbl(yes)) << yes;
    }
    for (const char* no : {"", " ", "7a", "1e", "1.2.3", "-", "&H", "&H123456789", "abc"})
        EXPECT_FALSE(kit::IsNumeric(no)) << no;
    EXPECT_EQ(kit::CDbl(" 1e3"), 1000);
    EXPECT_EQ(kit::CDbl("&H10"), 16);
    EXPECT_EQ(ErrorOf([] { kit::CDbl("7a"); }), kit::kErrTypeMismatch);
}
}  // namespace
