// Attribute values of a tag and the resolution of a page's links into absolute addresses.
#pragma once
#include <string>
#include <string_view>

namespace eResource {

// The value of attribute ("href=" or "src=") in a tag's text, "" when it is missing.
// lowerTagText is the same text ASCII-lower-cased.
std::string GetTagAttribute(std::string_view tagText, std::string_view lowerTagText,
                            std::string_view attribute);
std::string GetTagAttribute(std::string_view tagText, std::string_view attribute);

// The absolute address of link found on page, or "" for a link not to be followed. Links
// with another scheme than http and https are not followed.
std::string ResolveLink(std::string page, std::string link);
// True for a link that is only a fragment: it names the page it is on (its address with the
// fragment) and is never queued.
bool NamesItsOwnPage(std::string_view link);

// The scheme ("http://" or "https://") and the host. Puts "http://" before address when it
// has neither.
std::string GetSiteRoot(std::string& address);
// The address up to and including its last "/".
std::string GetParentPath(const std::string& address);
// The address followed by "/".
std::string GetPagePath(const std::string& address);

}  // namespace eResource
