#include <gtest/gtest.h>

#include "kit/url.h"

namespace {

std::string Req(const std::string& a) {
    auto r = kit::PrepareRequest(a);
    return r ? r->url : "refused";
}

TEST(PrepareRequest, TheFormAddressesAreSentIn) {
    EXPECT_EQ(Req("http://Host.Example"), "http://host.example/");
    EXPECT_EQ(Req("HTTPS://h:443/a"), "https://h/a");
    EXPECT_EQ(Req("http://h:8080/a#frag#more"), "http://h:8080/a");
    EXPECT_EQ(Req("http://h/a/./b/../c/./"), "http://h/a/c/");
    EXPECT_EQ(Req("http://h/../../x"), "http://h/x");
    EXPECT_EQ(Req("http://h/#top/#top"), "http://h/");
    EXPECT_EQ(Req("http://h/a b\"<>\\^`{|}"), "http://h/a%20b%22%3C%3E%5C%5E%60%7B%7C%7D");
    EXPECT_EQ(Req("http://h/\xe4\xff?q=\xfc"), "http://h/%E4%FF?q=%FC");
    EXPECT_EQ(Req("http://h/100%25/50%"), "http://h/100%25/50%25");
    EXPECT_EQ(Req("http://h/a?x=../y"), "http://h/a?x=../y");
    EXPECT_EQ(Req("http://[::1]:81/"), "http://[::1]:81/");
    auto r = kit::PrepareRequest("http://h:81/p?q");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->host, "h");
    EXPECT_EQ(r->port, 81);
    EXPECT_EQ(r->target, "/p?q");
}

TEST(PrepareRequest, RefusedAddresses) {
    for (const char* a : {"ftp://h/x", "file:///etc/passwd", "file:C:\\boot.ini", "mailto:x@y", "h/x", "",
                          "http://", "http://user:pw@h/", "http://h:0/", "http://h:65536/", "http://h:12a/",
                          "http://h\"x/", "http://[zz]/", "http://h/a\tb", "http://h/\r\nX: y", "http://h/\x7f"})
        EXPECT_EQ(Req(a), "refused") << a;
}

TEST(IsRequestForm, OnlyAddressesSentAsTheyAre) {
    // Taken as they are: what PrepareRequest gives back unchanged.
    for (const char* a : {"http://h/", "https://h.example/a/b.html?q=1&r=../x", "http://h:8080/a.jpg",
                          "http://h/100%25/a", "http://h/a.b/.c/..d/x.", "http://h/~u/(a)/*;=@:$,+!'"}) {
        EXPECT_TRUE(kit::IsRequestForm(a)) << a;
        EXPECT_EQ(Req(a), a);
    }
    // Everything PrepareRequest would change or refuse.
    for (const char* a : {"http://h", "HTTP://h/", "http://H/", "http://h:80/", "https://h:443/", "http://h:/",
                          "http://h:080/", "http://h:65536/", "http://h:123456/", "http://h/a#b", "http://h/./a",
                          "http://h/a/..", "http://h/a/.?q", "http://h/a/../b", "http://h/a b", "http://h/50%",
                          "http://h/%4g", "http://h\\a", "http://h/\xe4", "http://u@h/", "ftp://h/",
                          "http://h/a\tb", "http://h/\"", "http:///a"}) {
        EXPECT_FALSE(kit::IsRequestForm(a)) << a;
        EXPECT_NE(Req(a), a) << a;
    }
}

TEST(ResolveReference, RedirectTargets) {
    EXPECT_EQ(kit::ResolveReference("http://h/a/b", "c"), "http://h/a/c");
    EXPECT_EQ(kit::ResolveReference("http://h/a/b", "/c/../d"), "http://h/d");
    EXPECT_EQ(kit::ResolveReference("http://h/a/b", "//o/x"), "http://o/x");
    EXPECT_EQ(kit::ResolveReference("http://h/a/b?q", "?r"), "http://h/a/b?r");
    EXPECT_EQ(kit::ResolveReference("http://h/a", "https://o/"), "https://o/");
    EXPECT_EQ(kit::ResolveReference("http://h/a", "ftp://o/"), "ftp://o/");
    EXPECT_EQ(kit::ResolveReference("http://h", "x"), "http://h/x");
}

}  // namespace
