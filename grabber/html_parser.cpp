#include "grabber/html_parser.h"

#include "grabber/check_search.h"
#include "grabber/links.h"
#include "grabber/text.h"

namespace grabber {
namespace {

constexpr auto npos = std::string_view::npos;

std::size_t g_work = 0;

// A search from from, counting the bytes it passes over.
template <class Needle>
std::size_t Find(std::string_view hay, Needle needle, std::size_t from) {
    if (from >= hay.size()) return npos;
    const std::size_t at = hay.find(needle, from);
    g_work += (at == npos ? hay.size() : at) - from;
    return at;
}

// Finds a needle from positions that never go back, so that repeated searches for a far
// (or missing) closing tag cost one scan of the page in all.
class Finder {
public:
    Finder(std::string_view hay, std::string_view needle) : hay_(hay), needle_(needle) {}
    std::size_t from(std::size_t start) {
        if (start >= searchedFrom_ && (found_ == npos || found_ >= start)) {
            if (searched_) return found_;
        }
        searched_ = true;
        searchedFrom_ = start;
        found_ = Find(hay_, needle_, start);
        return found_;
    }

private:
    std::string_view hay_, needle_;
    bool searched_ = false;
    std::size_t searchedFrom_ = 0;
    std::size_t found_ = npos;
};

// The first blank-separated word of a tag's text after "&nbsp;" became a blank, lower-cased.
std::string TagWord(std::string_view lowerTag) {
    std::string_view t = TrimBlanks(lowerTag);
    g_work += lowerTag.size();
    std::size_t end = t.find(' ');
    const std::size_t nbsp = t.find("&nbsp;");
    if (nbsp < end) end = nbsp;
    return std::string(t.substr(0, end == npos ? t.size() : end));
}

struct PictureTable {
    const PictureSwitches& s;
    // Last four characters of an address: in the table, and then whether its switch is on.
    bool lastFour(std::string_view address, bool* on) const {
        const std::string four = Lower(Right(address, 4));
        const bool table[] = {four == ".gif", four == ".jpg", four == "jpeg", four == ".bmp",
                              four == ".png"};
        const bool sw[] = {s.gif, s.jpg, s.jpeg, s.bmp, s.png};
        for (int i = 0; i < 5; ++i)
            if (table[i]) {
                *on = sw[i];
                return true;
            }
        return false;
    }
    // A link's extension (its last "." to the end).
    bool linkExtension(const std::string& ext, bool* on) const {
        const char* names[] = {".gif", ".jpg", ".jpeg", ".bmp", ".png"};
        const bool sw[] = {s.gif, s.jpg, s.jpeg, s.bmp, s.png};
        for (int i = 0; i < 5; ++i)
            if (ext == names[i]) {
                *on = sw[i];
                return true;
            }
        return false;
    }
};

bool SkippedLink(const std::string& ext) {
    static const char* const kSkipped[] = {".pcx", ".tif", ".tiff", ".wmf", ".exe", ".zip",
                                           ".pdf", ".doc", ".avi",  ".mpg", ".mpeg", ".wmv",
                                           ".rm",  ".rmvb", ".mp3", ".wav"};
    for (const char* s : kSkipped)
        if (ext == s) return true;
    return false;
}

bool SkippedInnerPicture(std::string_view address) {
    const std::string four = Lower(Right(address, 4));
    return four == ".pcx" || four == ".tif" || four == "tiff" || four == ".wmf";
}

// Text with every "&nbsp;" and carriage return taken out.
std::string StripNbspAndCr(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    g_work += s.size();
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') continue;
        if (s[i] == '&' && s.compare(i, 6, "&nbsp;") == 0) {
            i += 5;
            continue;
        }
        out += s[i];
    }
    return out;
}

class Parser {
public:
    Parser(const ParseInput& in, LinkSink& sink)
        : in_(in), sink_(sink), html_(in.html), lowerStore_(Lower(in.html)), lower_(lowerStore_) {}

    bool run() {
        if (!in_.searchWord.empty()) {
            if (!relevancePass()) return true;  // no tag at all
        } else {
            relevant_ = true;
        }
        return linkPass();
    }

private:
    // The first tag from the first "<" after q (or from the start), as [open, close).
    bool nextTag(std::size_t from, std::size_t& open, std::size_t& close) {
        open = Find(html_, '<', from);
        if (open == npos) return false;
        close = Find(html_, '>', open + 1);
        return close != npos;
    }

    std::string_view tagText(std::size_t open, std::size_t close) const {
        return html_.substr(open + 1, close - open - 1);
    }
    std::string_view lowerTagText(std::size_t open, std::size_t close) const {
        return lower_.substr(open + 1, close - open - 1);
    }

    bool relevancePass() {
        std::size_t open, close;
        if (!nextTag(0, open, close)) return false;
        Finder endStyle(lower_, "</style>"), endScript(lower_, "</script>"), endLink(lower_, "</a");
        std::string pageText;
        for (;;) {
            std::size_t q = close;
            const std::string word = TagWord(lowerTagText(open, close));
            bool ended = false;
            if (word == "style" || word == "script") {
                const std::size_t end =
                    word == "style" ? endStyle.from(q + 1) : endScript.from(q + 1);
                if (end == npos) ended = true;  // the rest of the page is the element's
                else q = end + (word == "style" ? 7 : 8);
            } else if (word == "a") {
                const std::size_t end = endLink.from(q + 1);
                const std::size_t gt = end == npos ? npos : Find(html_, '>', end + 3);
                if (gt == npos) ended = true;  // a link's content is not page text
                else q = gt;
            }
            if (ended || !nextTag(q + 1, open, close)) break;
            const std::string piece = StripNbspAndCr(html_.substr(q + 1, open - q - 1));
            pageText += piece;
        }
        for (char& c : pageText) c = LowerChar(c);
        g_work += pageText.size();
        relevant_ = CheckSearch(in_.searchWord, in_.linkText) || CheckSearch(in_.searchWord, pageText);
        return true;
    }

    bool linkPass() {
        std::size_t open, close;
        if (!nextTag(0, open, close)) return true;
        Finder endStyle(lower_, "</style"), endScript(lower_, "</script"), endLink(lower_, "</a"),
            nextLink(lower_, "<a");
        for (;;) {
            std::size_t q = close;
            const std::string_view tag = TrimBlanks(tagText(open, close));
            const std::size_t trimmedAt = tag.data() - html_.data();
            const std::string_view lowerTag = lower_.substr(trimmedAt, tag.size());
            const std::string word = TagWord(lowerTag);
            bool last = false;
            if (word == "script" || word == "style") {
                const std::size_t end = word == "script" ? endScript.from(q + 1) : endStyle.from(q + 1);
                if (end == npos) break;  // the rest of the page is the element's
                q = end + (word == "script" ? 8 : 7);
            } else if (word == "img") {
                picture(tag, lowerTag);
            } else if (word == "a") {
                const std::string written = eResource::GetTagAttribute(tag, lowerTag, "href=");
                const std::string href = eResource::ResolveLink(in_.pageAddress, written);
                const std::size_t end = endLink.from(q + 1);
                if (end == npos) return false;  // no "</a" after the link: the parse ends
                const std::size_t next = nextLink.from(q + 1);
                std::string_view content;
                if (next != npos && next < end) {
                    content = html_.substr(q + 1, next - q - 1);
                    q = (next + 2 < html_.size() && html_[next + 2] == '>') ? next + 2 : next - 1;
                } else {
                    content = html_.substr(q + 1, end - q - 1);
                    const std::size_t gt = Find(html_, '>', end + 3);
                    if (gt == npos) last = true;
                    else q = gt;
                }
                link(href, eResource::NamesItsOwnPage(written), content);
            }
            if (last || !nextTag(q + 1, open, close)) break;
        }
        return true;
    }

    void picture(std::string_view tag, std::string_view lowerTag) {
        const std::string written = eResource::GetTagAttribute(tag, lowerTag, "src=");
        if (eResource::NamesItsOwnPage(written)) return;
        const std::string src = eResource::ResolveLink(in_.pageAddress, written);
        bool on = false;
        if (relevant_ && !src.empty() && PictureTable{in_.switches}.lastFour(src, &on) && on)
            sink_.AddResourceURL(src);
    }

    // ownPage: href names the page it is on; only a picture inside it may be queued.
    void link(const std::string& href, bool ownPage, std::string_view rawContent) {
        const std::string content = StripNbspAndCr(rawContent);
        // Tags are cut out of the content; the last picture among them is the inner picture.
        std::string text, inner;
        std::size_t i = 0;
        for (;;) {
            const std::size_t lt = Find(content, '<', i);
            const std::size_t gt = lt == std::string::npos ? lt : Find(content, '>', lt + 1);
            if (gt == std::string::npos) {
                text.append(content, i, std::string::npos);
                break;
            }
            text.append(content, i, lt - i);
            const std::string_view innerTag = std::string_view(content).substr(lt + 1, gt - lt - 1);
            if (innerTag.size() >= 3 && Lower(innerTag.substr(0, 3)) == "img") {
                const std::string written = eResource::GetTagAttribute(innerTag, "src=");
                inner = eResource::NamesItsOwnPage(written) ? std::string()
                                                            : eResource::ResolveLink(in_.pageAddress, written);
            }
            i = gt + 1;
        }
        const PictureTable table{in_.switches};
        const std::size_t dot = href.rfind('.');
        if (dot != std::string::npos && !ownPage) {
            const std::string ext = Lower(std::string_view(href).substr(dot));
            bool on = false;
            if (table.linkExtension(ext, &on)) {
                if (on && relevant_) sink_.AddResourceURL(href);
                return;
            }
            if (SkippedLink(ext)) return;
        }
        const bool hasInner = !inner.empty() && relevant_;
        bool on = false;
        const bool inTable = hasInner && table.lastFour(inner, &on);
        if (!href.empty()) {
            if (hasInner) {
                if ((inTable && on) || (!inTable && !SkippedInnerPicture(inner))) {
                    sink_.AddResourceURL(inner);
                    if (!ownPage) sink_.AddPageLink(href, text);
                }
                return;
            }
            if (!ownPage) sink_.AddPageLink(href, text);
        } else if (hasInner && inTable && on) {
            sink_.AddResourceURL(inner);
        }
    }

    const ParseInput& in_;
    LinkSink& sink_;
    std::string_view html_;
    std::string lowerStore_;
    std::string_view lower_;
    bool relevant_ = false;
};

}  // namespace

bool ParseHtml(const ParseInput& in, LinkSink& sink) { return Parser(in, sink).run(); }

std::size_t ParserWork() { return g_work; }

std::string NameAddress(const std::string& name) {
    const std::size_t last = name.rfind('$');
    return last == std::string::npos ? name : name.substr(last + 1);
}

std::string NameLinkText(const std::string& name) {
    const std::size_t last = name.rfind('$');
    if (last == std::string::npos || last <= 4) return {};
    return name.substr(4, last - 4);
}

}  // namespace grabber
