#include "grabber/links.h"

#include "grabber/text.h"

using grabber::Lower;
using grabber::StartsWith;

namespace eResource {

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
    if (!StartsWith(Lower(std::string_view(address).substr(0, 7)), "http://"))
        address.insert(0, "http://");
    const std::string_view rest = std::string_view(address).substr(7);
    if (rest.empty()) return address;
    return "http://" + std::string(rest.substr(0, rest.find('/')));
}

std::string GetParentPath(const std::string& address) {
    const std::size_t slash = address.rfind('/');
    return slash == std::string::npos ? std::string() : address.substr(0, slash + 1);
}

std::string GetPagePath(const std::string& address) { return address + "/"; }

std::string ResolveLink(std::string page, std::string link) {
    int parentSteps = 0;
    while (StartsWith(link, "../")) {
        link.erase(0, 3);
        ++parentSteps;
    }
    if (StartsWith(link, "/")) return GetSiteRoot(page) + link;
    const std::string lower = Lower(std::string_view(link).substr(0, 11));
    if (StartsWith(lower, "javascript:")) return {};
    if (StartsWith(link, "#")) return GetPagePath(page) + link;
    if (StartsWith(lower, "mailto:")) return {};
    if (StartsWith(lower, "http://")) {
        std::string rest = link.substr(7);
        if (rest.find('/') == std::string::npos) rest += '/';
        return "http://" + rest;
    }
    if (link.empty()) return {};
    if (parentSteps > 0) return GetSiteRoot(page) + "/" + link;
    const std::string root = GetSiteRoot(page);  // may put "http://" before page
    if (page == root) return page + "/" + link;
    const std::size_t hosted = Lower(page).find("/hosted/");
    if (hosted != std::string::npos) return page.substr(0, hosted + 8) + link;
    return GetParentPath(page) + link;
}

}  // namespace eResource
