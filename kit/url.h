// Addresses as the asynchronous read sends them: the checks, the request form, and the
// resolution of a redirect's Location against the address it came from.
#pragma once
#include <optional>
#include <string>

namespace kit {

struct RequestUrl {
    std::string scheme;  // "http" or "https"
    std::string host;    // lower case; an IPv6 literal keeps its brackets
    int port = 0;        // the scheme's default when none was given
    std::string target;  // path and query as sent: dot segments removed, percent-encoded
    std::string url;     // scheme://host[:port]target, the address the read is made for
};

// The request form of an address, or nothing for one the read refuses: another scheme than
// http or https, control characters, user info, a bad host or a port out of range. The
// fragment is dropped, dot segments are removed, an empty path becomes "/", and bytes from
// 0x80 up and characters not allowed in a request target are percent-encoded.
std::optional<RequestUrl> PrepareRequest(const std::string& address);

// True when the address is already its own request form (PrepareRequest would give it back
// unchanged): a quick test that answers false for some addresses in that form.
bool IsRequestForm(const std::string& address);

// The address a redirect leads to: reference resolved against base (both absolute or
// relative references, as browsers read a Location header).
std::string ResolveReference(const std::string& base, const std::string& reference);

}  // namespace kit
