#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "grabber/check_search.h"
#include "grabber/html_parser.h"
#include "grabber/links.h"

namespace {

using grabber::ParseInput;

struct Recorder : grabber::LinkSink {
    std::vector<std::string> calls;
    void AddResourceURL(const std::string& url) override { calls.push_back("R " + url); }
    void AddPageLink(const std::string& url, const std::string& text) override {
        calls.push_back("P " + url + " | " + text);
    }
};

const char* const kPage = "http://site/dir/page.html";

std::vector<std::string> Parse(const std::string& html, const std::string& keyword = "",
                               const std::string& linkText = "", grabber::PictureSwitches sw = {},
                               bool* complete = nullptr) {
    Recorder r;
    ParseInput in;
    in.html = html;
    in.linkText = linkText;
    in.pageAddress = kPage;
    in.searchWord = keyword;
    in.switches = sw;
    const bool done = grabber::ParseHtml(in, r);
    if (complete) *complete = done;
    return r.calls;
}

using Calls = std::vector<std::string>;

TEST(ParseHtml, SmallPagesMakeExactlyTheirAdderCalls) {
    grabber::PictureSwitches noJpg;
    noJpg.jpg = false;
    struct Case {
        const char* html;
        Calls calls;
        grabber::PictureSwitches sw = {};
    } cases[] = {
        {"<img src=\"a.gif\">", {"R http://site/dir/a.gif"}},
        {"<IMG SRC='b.PNG'>", {"R http://site/dir/b.PNG"}},
        {"<img src=\"c.jpeg\"><img src=\"d.txt\">", {"R http://site/dir/c.jpeg"}},
        // Blanks around "=" hide the attribute; a quoted value is cut at its blank.
        {"<img src = \"a.gif\">", {}},
        {"<img src=\"my pic.gif\">", {}},
        {"<img src=\"my pic.gif x\">", {}},
        {"<img src=\"x.gif?a=1&amp;b=2.gif\">", {"R http://site/dir/x.gif?a=1&b=2.gif"}},
        {"<a href=\"next.html\">Next page</a>", {"P http://site/dir/next.html | Next page"}},
        {"<A HREF='/top.html'>T&nbsp;o\rp</A>", {"P http://site/top.html | Top"}},
        {"<a href=\"big.jpg\">big</a>", {"R http://site/dir/big.jpg"}},
        {"<a href=\"big.jpg\">big</a>", {}, noJpg},  // picture link with its switch off: nothing
        {"<a href=\"file.zip\">zip</a><a href=\"m.MP3\">s</a>", {}},
        // A fragment names the page it is on: never queued, though a picture inside it is.
        {"<a href=\"#top\">up</a><img src=\"#x.gif\">", {}},
        {"<a href=\"#p.png\"><img src=\"show?id=7\"></a>", {"R http://site/dir/show?id=7"}},
        // Other schemes are passed over; https is absolute.
        {"<a href=\"tel:+1-555\">call</a><img src=\"data:image/gif;x.gif\"><a href=\"FTP://h/a.gif\">f</a>", {}},
        {"<a href=\"https://o/a.html\">o</a>", {"P https://o/a.html | o"}},
        {"<a href=\"javascript:go()\">x</a><a href=\"mailto:a@b\">m</a>", {}},
        // Inner pictures, in each outcome of the table.
        {"<a href=\"p.html\"><img src=\"t.gif\">Pic</a>", {"R http://site/dir/t.gif", "P http://site/dir/p.html | Pic"}},
        {"<a href=\"p.html\"><img src=\"show?id=7\"></a>", {"R http://site/dir/show?id=7", "P http://site/dir/p.html | "}},
        {"<a href=\"p.html\"><img src=\"t.tiff\"></a>", {}},
        {"<a href=\"p.html\"><img src=\"t.jpg\"></a>", {}, noJpg},
        {"<a href=\"p.html\"><img src=\"a.gif\"><img src=\"b.png\"></a>", {"R http://site/dir/b.png", "P http://site/dir/p.html | "}},
        // A link without href around a picture queues the picture only when it is in the table.
        {"<a name=\"x\"><img src=\"in.bmp\"></a>", {"R http://site/dir/in.bmp"}},
        {"<a name=\"x\"><img src=\"show?id=1\"></a>", {}},
        // An img without src inside a link is no inner picture.
        {"<a href=\"p.html\"><img alt=\"x\">Text</a>", {"P http://site/dir/p.html | Text"}},
        {"<a><img></a>", {}},
        // A link that runs into the next link ends there; "<a>" alone is passed over.
        {"<a href=\"one.html\">One<a href=\"two.html\">Two</a>",
         {"P http://site/dir/one.html | One", "P http://site/dir/two.html | Two"}},
        // Script and style contents are not scanned.
        {"<script>var s='<img src=\"x.gif\">';</script><img src=\"y.gif\">", {"R http://site/dir/y.gif"}},
        {"<STYLE>a{}</style><img src=\"y.gif\">", {"R http://site/dir/y.gif"}},
        // A tag word is separated by blanks only.
        {"<img\nsrc=\"a.gif\">", {}},
        {"<a\thref=\"x.html\">x</a>", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Parse(c.html, "", "", c.sw), c.calls) << c.html;
}

TEST(ParseHtml, UnclosedElementsEndTheParse) {
    bool done = true;
    EXPECT_EQ(Parse("<img src=a.gif><script><img src=b.gif>", "", "", {}, &done), Calls{"R http://site/dir/a.gif"});
    EXPECT_TRUE(done);
    EXPECT_EQ(Parse("<style><img src=b.gif>"), Calls{});
    // A link with no "</a" after it ends the parse before it is queued.
    EXPECT_EQ(Parse("<img src=a.gif><a href=x.html>x<img src=b.gif>", "", "", {}, &done),
              Calls{"R http://site/dir/a.gif"});
    EXPECT_FALSE(done);
    // With a keyword the relevance pass meets them first; it ends as well.
    EXPECT_EQ(Parse("cat<script>", "cat"), Calls{});
    EXPECT_EQ(Parse("<b>cat</b><a href=x.html>x", "cat"), Calls{});
}

TEST(ParseHtml, RelevanceGatesPicturesButNeverLinks) {
    const std::string page =
        "<html><b>A dog&nbsp;here</b><a href=\"p.html\">cat link</a><img src=\"i.gif\"></html>";
    // The text outside tags and links holds "dog"; the link's text is not page text.
    EXPECT_EQ(Parse(page, "dog"), (Calls{"P http://site/dir/p.html | cat link", "R http://site/dir/i.gif"}));
    EXPECT_EQ(Parse(page, "cat"), (Calls{"P http://site/dir/p.html | cat link"}));
    // The page's own link text makes it relevant.
    EXPECT_EQ(Parse(page, "cat", "Cat pictures"), (Calls{"P http://site/dir/p.html | cat link", "R http://site/dir/i.gif"}));
    // An irrelevant page's picture links are neither pictures nor pages.
    EXPECT_EQ(Parse("<p>x</p><a href=\"a.jpg\">a</a><a href=\"n.html\"><img src=\"t.gif\">n</a>", "zebra"),
              (Calls{"P http://site/dir/n.html | n"}));
    // Text inside script and style is no page text; case does not matter.
    EXPECT_EQ(Parse("<p></p><script>zebra</script><style>zebra</style><img src=i.gif>", "zebra"), Calls{});
    EXPECT_EQ(Parse("<p>ZEBRA</p><img src=i.gif>", "zebra"), Calls{"R http://site/dir/i.gif"});
    // A page with no tag at all gives nothing.
    EXPECT_EQ(Parse("zebra only", "zebra"), Calls{});
}

TEST(ParseHtml, BadPagesNeitherCrashNorQueueEmptyAddresses) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
    for (const std::string& page : {binary, std::string("<img src=\"a\0b.gif\">\0<a href=x>\0</a>", 34),
                                    std::string("\xff\xfe<a href=\"\xe4\xf6.html\">\xfc</a>"),
                                    std::string("<!-- <img src=a.gif> never closed"), std::string("no tags"),
                                    std::string("<img src=\"a.gif>"), std::string("<img src='a.gif>"),
                                    std::string("<<<<>>>>"), std::string(">>><<<"), std::string("<a href=")}) {
        for (const char* keyword : {"", "a"}) {
            for (const std::string& call : Parse(page, keyword)) {
                EXPECT_NE(call, "R ");
                EXPECT_NE(call.substr(0, 4), "P  |");
            }
        }
    }
    // A value with one quote keeps it; the read encodes it.
    EXPECT_EQ(Parse("<img src=\"a.gif>"), Calls{"R http://site/dir/\"a.gif"});
    EXPECT_EQ(Parse("<img src=a.gif alt=x>"), Calls{"R http://site/dir/a.gif"});  // unquoted
    const std::string longName(3000, 'n');
    EXPECT_EQ(Parse("<a href=\"" + longName + ".html\">L</a>"),
              Calls{"P http://site/dir/" + longName + ".html | L"});
}

TEST(ParseHtml, WorkGrowsInProportionToThePageWhateverItHolds) {
    // Hostile pages at two sizes: when a page doubles, the parser's scans pass over about twice
    // as many bytes, never four times as many.
    auto fill = [](const std::string& head, const std::string& piece, const std::string& tail, std::size_t size) {
        std::string s = head;
        while (s.size() + piece.size() <= size) s += piece;
        return s + tail;
    };
    auto texts = [](std::size_t size) {
        std::string s;
        for (int i = 0; s.size() < size; ++i) s += "<a href=same.html>t" + std::to_string(i) + "</a>";
        return s;
    };
    const std::function<std::string(std::size_t)> kinds[] = {
        [&](std::size_t n) { return fill("", "<a href=x.html>", "</a>", n); },  // one "</a" at the end
        [&](std::size_t n) { return fill("<a href=x.html>", "<b>", "</a>", n); },  // a link of many tags
        [&](std::size_t n) { return fill("<p>", "<a href=x.html>t<img src=i.gif>", "</a>", n); },
        texts,                                                                 // one address, new texts
        [&](std::size_t n) { return fill("", "<<a href=x <img src=y.gif ", "", n); },  // no ">" at all
        [&](std::size_t n) { return fill("<script>", "<img src=a.gif><a href=b.html>b</a>", "", n); },
        [&](std::size_t n) { return fill("<p>x</p><style>", "</scrip", "", n); },
        [&](std::size_t n) { return fill("<", "&nbsp;x ", ">", n); },          // one huge tag
        [&](std::size_t n) { return fill("", "cat&nbsp;<b>\r\n", "", n); },   // text between tags
    };
    constexpr std::size_t kSize = 128 * 1024;
    int kind = 0;
    for (const auto& make : kinds) {
        for (const char* keyword : {"", "cat+dog/fish-bird"}) {
            std::size_t work[2];
            for (int twice = 0; twice < 2; ++twice) {
                const std::size_t before = grabber::ParserWork();
                Parse(make(kSize << twice), keyword);
                work[twice] = grabber::ParserWork() - before;
            }
            EXPECT_LE(work[0], 12 * kSize) << kind << " " << keyword;
            EXPECT_LE(work[1], work[0] * 9 / 4 + 64) << kind << " " << keyword;
        }
        ++kind;
    }
}

TEST(ResolveLink, ElevenCasesInTheirOrder) {
    using eResource::ResolveLink;
    struct Case {
        const char* page;
        const char* link;
        const char* expected;
    } cases[] = {
        {"http://h/a/b/p.html", "../../x.gif", "http://h/x.gif"},  // parent steps: site root
        {"http://h/a/b/p.html", "../x.gif", "http://h/x.gif"},
        {"http://h/a/p.html", "/x/y.gif", "http://h/x/y.gif"},
        {"h/a/p.html", "/y.gif", "http://h/y.gif"},
        {"http://h/a/p.html", "JavaScript:void(0)", ""},
        {"http://h/a/p.html", "#top", "http://h/a/p.html#top"},  // the page it is on
        {"http://h", "#top", "http://h#top"},
        {"http://h/a/p.html#x", "#top", "http://h/a/p.html#top"},
        {"http://h/a/b/p.html", "../#top", "http://h/#top"},
        {"http://h/a/p.html", "MAILTO:x@y", ""},
        {"http://h/a/p.html", "HTTP://other", "http://other/"},
        {"http://h/a/p.html", "http://other/q?x", "http://other/q?x"},
        {"http://h/a/p.html", "", ""},
        {"http://h/a/p.html", "../", ""},
        {"http://h", "x.gif", "http://h/x.gif"},
        {"http://h/users/HOSTED/me/a/p.html", "x.gif", "http://h/users/HOSTED/x.gif"},
        {"http://h/a/p.html", "x.gif", "http://h/a/x.gif"},
        {"http://h/a/", "./x.gif", "http://h/a/./x.gif"},
        // https as http: absolute, and a base that keeps its scheme.
        {"http://h/a/p.html", "https://cdn/x.gif", "https://cdn/x.gif"},
        {"http://h/a/p.html", "HTTPS://cdn", "https://cdn/"},
        {"https://h/a/p.html", "x.gif", "https://h/a/x.gif"},
        {"HTTPS://h/a/p.html", "/b.gif", "https://h/b.gif"},
        {"https://h/a/b/p.html", "../x.gif", "https://h/x.gif"},
        {"https://h", "x.gif", "https://h/x.gif"},
        // Other schemes are not followed; a ":" after "/", "?" or "#", or a first character
        // that is no letter, makes no scheme.
        {"http://h/a/p.html", "tel:+1-555", ""},
        {"http://h/a/p.html", "ftp://h/x.gif", ""},
        {"http://h/a/p.html", "Data:image/png;base64,iVBO", ""},
        {"http://h/a/p.html", "../skype+x.y-1:call", ""},
        {"http://h/a/p.html", "b/c:d.gif", "http://h/a/b/c:d.gif"},
        {"http://h/a/p.html", "?q=a:b", "http://h/a/?q=a:b"},
        {"http://h/a/p.html", "1x:y.gif", "http://h/a/1x:y.gif"},
        {"http://h/a/p.html", "http:x.gif", "http://h/a/http:x.gif"},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveLink(c.page, c.link), c.expected) << c.page << " + " << c.link;

    std::string bare = "host/x";
    EXPECT_EQ(eResource::GetSiteRoot(bare), "http://host");
    EXPECT_EQ(bare, "http://host/x");
    std::string secure = "https://host/x";
    EXPECT_EQ(eResource::GetSiteRoot(secure), "https://host");
    EXPECT_EQ(secure, "https://host/x");
    EXPECT_EQ(eResource::GetParentPath("http://h/a/b"), "http://h/a/");
    EXPECT_EQ(eResource::GetPagePath("http://h/a"), "http://h/a/");
}

TEST(GetTagAttribute, QuotesBlanksAndEscapes) {
    using eResource::GetTagAttribute;
    EXPECT_EQ(GetTagAttribute("img SRC=\"A.gif\"", "src="), "A.gif");
    EXPECT_EQ(GetTagAttribute("img src='b.gif' x", "src="), "b.gif");
    EXPECT_EQ(GetTagAttribute("img src=\"'c.gif'\"", "src="), "c.gif");
    EXPECT_EQ(GetTagAttribute("img src=d.gif\r\nalt", "src="), "d.gif");
    EXPECT_EQ(GetTagAttribute("a href=\"?a=1&amp;b=2\"", "href="), "?a=1&b=2");
    EXPECT_EQ(GetTagAttribute("img alt=x", "src="), "");
    EXPECT_EQ(GetTagAttribute("img src=", "src="), "");
}

TEST(CheckSearch, AndOrNotTruthTable) {
    using grabber::CheckSearch;
    // Each allowed skeleton over the presence of its words.
    struct Case {
        const char* expr;
        const char* text;
        bool result;
    } cases[] = {
        {"", "anything", true},
        {"cat", "a CAT here", true},         {"cat", "dog", false},
        {"cat+dog", "cat dog", true},        {"cat+dog", "cat", false},
        {"cat/dog", "dog", true},            {"cat/dog", "bird", false},
        {"-cat", "dog", true},               {"-cat", "cat", false},
        {"cat-dog", "cat", true},            {"cat-dog", "cat dog", false},
        {"cat+dog/fox", "fox", true},        {"cat+dog/fox", "cat dog", true},   {"cat+dog/fox", "cat", false},
        {"cat+dog-fox", "cat dog", true},    {"cat+dog-fox", "cat dog fox", false},
        {"cat/dog-fox", "dog", true},        {"cat/dog-fox", "dog fox", false},
        {"a+b/c-d", "a d", false},           {"a+b/c-d", "c", true},             {"a+b/c-d", "a b d", false},
        {"a+b/c-d", "a b", true},            {"a+b/c-d", "c d", false},
        {"cat-dog-fox", "cat", true},        {"cat-dog-fox", "cat fox", false},
        {"cat+", "cat", true},               {"cat+", "dog", false},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckSearch(c.expr, c.text), c.result) << c.expr << " / " << c.text;
}

}  // namespace
