#include "kit/url.h"

#include <cctype>
#include <vector>

namespace kit {
namespace {

constexpr int kHttpPort = 80;
constexpr int kHttpsPort = 443;
constexpr long kMaxPort = 65535;

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Characters a request target may carry as they are (RFC 3986 pchar, "/" and "?").
bool TargetChar(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    switch (c) {
        case '-': case '.': case '_': case '~':                       // unreserved
        case '!': case '$': case '&': case '\'': case '(': case ')':  // sub-delims
        case '*': case '+': case ',': case ';': case '=':
        case ':': case '@': case '/': case '?':
            return true;
        default:
            return false;
    }
}

std::string Encode(const std::string& s) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        // An escape already made stays; a lone "%" is encoded itself.
        if (c == '%' && i + 2 < s.size() && IsHex(s[i + 1]) && IsHex(s[i + 2])) {
            out += '%';
        } else if (TargetChar(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

// RFC 3986, 5.2.4.
std::string RemoveDotSegments(const std::string& path) {
    std::vector<std::string> out;
    std::size_t i = 0;
    const bool absolute = !path.empty() && path[0] == '/';
    if (absolute) i = 1;
    bool trailing = false;
    while (i <= path.size()) {
        std::size_t slash = path.find('/', i);
        if (slash == std::string::npos) slash = path.size();
        const std::string seg = path.substr(i, slash - i);
        const bool last = slash == path.size();
        if (seg == ".") {
            trailing = last;
        } else if (seg == "..") {
            if (!out.empty()) out.pop_back();
            trailing = last;
        } else {
            out.push_back(seg);
            trailing = false;
        }
        i = slash + 1;
    }
    std::string result = absolute ? "/" : "";
    for (std::size_t k = 0; k < out.size(); ++k) {
        if (k) result += '/';
        result += out[k];
    }
    if (trailing && !out.empty() && !out.back().empty()) result += '/';
    return result;
}

bool ValidHost(const std::string& host) {
    if (host.empty()) return false;
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']') return false;
        for (std::size_t i = 1; i + 1 < host.size(); ++i) {
            const char c = host[i];
            if (!IsHex(c) && c != ':' && c != '.') return false;
        }
        return true;
    }
    for (char c : host) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (!std::isalnum(u) && c != '-' && c != '.' && c != '_') return false;
    }
    return true;
}

}  // namespace

std::optional<RequestUrl> PrepareRequest(const std::string& address) {
    for (char c : address)
        if (IsControl(static_cast<unsigned char>(c))) return std::nullopt;
    std::string s = address.substr(0, address.find('#'));

    RequestUrl r;
    const std::string lower = Lower(s.substr(0, 8));
    std::size_t pos;
    if (lower.rfind("http://", 0) == 0) {
        r.scheme = "http";
        pos = 7;
        r.port = kHttpPort;
    } else if (lower.rfind("https://", 0) == 0) {
        r.scheme = "https";
        pos = 8;
        r.port = kHttpsPort;
    } else {
        return std::nullopt;
    }

    std::size_t end = s.find_first_of("/?\\", pos);
    if (end == std::string::npos) end = s.size();
    std::string authority = s.substr(pos, end - pos);
    if (authority.find('@') != std::string::npos) return std::nullopt;
    std::string host = authority;
    std::size_t colon = authority.rfind(':');
    const std::size_t bracket = authority.rfind(']');
    if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket)) {
        host = authority.substr(0, colon);
        const std::string port = authority.substr(colon + 1);
        if (!port.empty()) {
            if (port.size() > 5) return std::nullopt;
            long value = 0;
            for (char c : port) {
                if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
                value = value * 10 + (c - '0');
            }
            if (value < 1 || value > kMaxPort) return std::nullopt;
            r.port = static_cast<int>(value);
        }
    }
    host = Lower(host);
    if (!ValidHost(host)) return std::nullopt;
    r.host = host;

    std::string rest = s.substr(end);
    std::size_t q = rest.find('?');
    std::string path = rest.substr(0, q);
    std::string query = q == std::string::npos ? std::string() : rest.substr(q);
    if (path.empty()) path = "/";
    r.target = Encode(RemoveDotSegments(path)) + Encode(query);
    if (r.target.empty() || r.target[0] != '/') r.target = "/" + r.target;

    const int defaultPort = r.scheme == "http" ? kHttpPort : kHttpsPort;
    r.url = r.scheme + "://" + r.host;
    if (r.port != defaultPort) r.url += ":" + std::to_string(r.port);
    r.url += r.target;
    return r;
}

bool IsRequestForm(const std::string& address) {
    std::size_t i;
    int defaultPort;
    if (address.compare(0, 7, "http://") == 0) {
        i = 7;
        defaultPort = kHttpPort;
    } else if (address.compare(0, 8, "https://") == 0) {
        i = 8;
        defaultPort = kHttpsPort;
    } else {
        return false;
    }
    const std::size_t hostStart = i;
    for (; i < address.size(); ++i) {
        const char c = address[i];
        if (!(c >= 'a' && c <= 'z') && !(c >= '0' && c <= '9') && c != '-' && c != '.' && c != '_') break;
    }
    if (i == hostStart) return false;
    if (i < address.size() && address[i] == ':') {
        const std::size_t digits = ++i;
        long port = 0;
        for (; i < address.size() && i - digits < 6 && address[i] >= '0' && address[i] <= '9'; ++i)
            port = port * 10 + (address[i] - '0');
        if (i == digits || address[digits] == '0' || port > kMaxPort || port == defaultPort) return false;
    }
    if (i >= address.size() || address[i] != '/') return false;
    bool inPath = true;
    for (; i < address.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(address[i]);
        if (c == '%') {
            if (i + 2 >= address.size() || !IsHex(address[i + 1]) || !IsHex(address[i + 2])) return false;
        } else if (!TargetChar(c)) {
            return false;
        } else if (c == '?') {
            inPath = false;
        } else if (c == '/' && inPath && i + 1 < address.size() && address[i + 1] == '.') {
            // A "." or ".." segment would be removed.
            std::size_t end = i + 2;
            if (end < address.size() && address[end] == '.') ++end;
            if (end == address.size() || address[end] == '/' || address[end] == '?') return false;
        }
    }
    return true;
}

std::string ResolveReference(const std::string& base, const std::string& reference) {
    std::string ref = reference;
    // A scheme of its own: absolute.
    std::size_t colon = ref.find(':');
    if (colon != std::string::npos && colon > 0) {
        bool scheme = std::isalpha(static_cast<unsigned char>(ref[0])) != 0;
        for (std::size_t i = 1; i < colon && scheme; ++i) {
            const unsigned char c = static_cast<unsigned char>(ref[i]);
            scheme = std::isalnum(c) || c == '+' || c == '-' || c == '.';
        }
        if (scheme) return ref;
    }
    std::size_t schemeEnd = base.find("://");
    if (schemeEnd == std::string::npos) return ref;
    const std::string scheme = base.substr(0, schemeEnd + 1);
    if (ref.rfind("//", 0) == 0) return scheme + ref;
    std::size_t pathStart = base.find('/', schemeEnd + 3);
    const std::string origin = base.substr(0, pathStart);
    std::string basePath = pathStart == std::string::npos ? "/" : base.substr(pathStart);
    basePath = basePath.substr(0, basePath.find_first_of("?#"));
    if (ref.empty()) return base.substr(0, base.find('#'));
    if (ref[0] == '/') return origin + RemoveDotSegments(ref.substr(0, ref.find_first_of("?#"))) +
                              ref.substr(std::min(ref.find_first_of("?#"), ref.size()));
    if (ref[0] == '?') return origin + basePath + ref;
    if (ref[0] == '#') return base.substr(0, base.find('#')) + ref;
    const std::string dir = basePath.substr(0, basePath.rfind('/') + 1);
    const std::size_t tail = std::min(ref.find_first_of("?#"), ref.size());
    return origin + RemoveDotSegments(dir + ref.substr(0, tail)) + ref.substr(tail);
}

}  // namespace kit
