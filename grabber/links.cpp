#include "grabber/links.h"

#include "grabber/text.h"

using grabber::Lower;
using grabber::StartsWith;

namespace eResource {
namespace {

// The length of "http://" or "https://" (any case) at the start of address, or 0.
std::size_t WebSchemeLength(std::string_view address) {
    const std::string lower = Lower(address.substr(0, 8));
    if (StartsWith(lower, "http://")) return 7;
    if (StartsWith(lower, "https://")) return 8;
    return 0;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The scheme a link begins with, lower-cased: a letter, then letters, digits, "+", "-" or
// ".", up to a ":" (which therefore comes before any "/", "?" or "#"); "" when there is none.
std::string LinkScheme(std::string_view link) {
    if (link.empty() || !IsLetter(link[0])) return {};
    for (std::size_t i = 1; i < link.size(); ++i) {
        const char c = link[i];
        if (c == ':') return Lower(link.substr(0, i));
        if (!IsLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return {};
    }
    return {};
}

}  // namespace

std::string GetTagAttribute(std::string_view tagText, std::string_view lowerTagText,
                            std::string_view attribute) {
    const std::size_t pos = lowerTagText.find(attribute);
    if (pos == std::string_view::npos) return {};
    std::string_view value = tagText.substr(pos + attribute.size());
    // A value with one quote only keeps it.
    if (!value.empty() && value[0] == '"') {
        const std::size_t second = value.find('"', 1);
        if (second != std::string_view::npos) value = value.substr(1, second - 1);
    }
    if (!value.empty() && value[0] == '\'') {
        const std::size_t second = value.find('\'', 1);
        if (second != std::string_view::npos) value = value.substr(1, second - 1);
    }
    value = value.substr(0, value.find(' '));
    value = value.substr(0, value.find("\r\n"));
    const std::string plain = grabber::ReplaceAll(value, "amp;", "");
    return std::string(grabber::TrimBlanks(plain));
}

std::string GetTagAttribute(std::string_view tagText, std::string_view attribute) {
    return GetTagAttribute(tagText, Lower(tagText), attribute);
}

std::string GetSiteRoot(std::string& address) {
    std::size_t scheme = WebSchemeLength(address);
    if (scheme == 0) {
        address.insert(0, "http://");
        scheme = 7;
    }
    const std::string_view rest = std::string_view(address).substr(scheme);
    if (rest.empty()) return address;
    return (scheme == 8 ? "https://" : "http://") + std::string(rest.substr(0, rest.find('/')));
}

std::string GetParentPath(const std::string& address) {
    const std::size_t slash = address.rfind('/');
    return slash == std::string::npos ? std::string() : address.substr(0, slash + 1);
}

std::string GetPagePath(const std::string& address) { return address + "/"; }

bool NamesItsOwnPage(std::string_view link) { return StartsWith(link, "#"); }

std::string ResolveLink(std::string page, std::string link) {
    const bool ownPage = NamesItsOwnPage(link);
    int parentSteps = 0;
    while (StartsWith(link, "../")) {
        link.erase(0, 3);
        ++parentSteps;
    }
    if (StartsWith(link, "/")) return GetSiteRoot(page) + link;
    if (ownPage) return page.substr(0, page.find('#')) + link;
    if (const std::size_t n = WebSchemeLength(link)) {
        std::string rest = link.substr(n);
        if (rest.find('/') == std::string::npos) rest += '/';
        return (n == 8 ? "https://" : "http://") + rest;
    }
    // javascript:, mailto:, data:, tel:, ftp: and the like are not followed; "http:x" without
    // its slashes stays a relative link.
    const std::string scheme = LinkScheme(link);
    if (!scheme.empty() && scheme != "http" && scheme != "https") return {};
    if (link.empty()) return {};
    if (parentSteps > 0) return GetSiteRoot(page) + "/" + link;
    const std::string root = GetSiteRoot(page);  // may put "http://" before page
    if (page == root) return page + "/" + link;
    const std::size_t hosted = Lower(page).find("/hosted/");
    if (hosted != std::string::npos) return page.substr(0, hosted + 8) + link;
    return GetParentPath(page) + link;
}

}  // namespace eResource
