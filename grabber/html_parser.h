// The page parser: judges a page's relevance to the search keyword and hands its picture
// addresses and page links to the queues. Plain position searches over the page's bytes, no
// document tree; time linear in the page's size.
#pragma once
#include <string>
#include <string_view>

namespace grabber {

// Where the parser's findings go: the control's queue adders, or a recorder in tests.
class LinkSink {
public:
    virtual ~LinkSink() = default;
    virtual void AddResourceURL(const std::string& url) = 0;
    virtual void AddPageLink(const std::string& url, const std::string& text) = 0;
};

struct PictureSwitches {
    bool gif = true, jpg = true, jpeg = true, bmp = true, png = true;
};

struct ParseInput {
    std::string_view html;      // one character per byte
    std::string_view linkText;  // the page's own link text
    std::string pageAddress;    // links resolve against it: the final address after redirects
    std::string_view searchWord;  // lower-cased keyword expression; empty: every page relevant
    PictureSwitches switches;
};

// Returns false when the parse ended early (a link with no "</a" after it).
bool ParseHtml(const ParseInput& in, LinkSink& sink);

// Bytes the parser's scans have passed over since the process started: it must grow in
// proportion to the pages parsed, whatever they hold.
std::size_t ParserWork();

// The page's link text and address in a page download name ("HTM$text$address").
std::string NameLinkText(const std::string& name);
std::string NameAddress(const std::string& name);

}  // namespace grabber
