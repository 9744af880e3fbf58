#include "grabber/text.h"

namespace grabber {

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    for (;;) {
        const std::size_t hit = s.find(from, i);
        if (hit == std::string_view::npos) break;
        out.append(s, i, hit - i);
        out.append(to);
        i = hit + from.size();
    }
    out.append(s, i, std::string_view::npos);
    return out;
}

std::string_view TrimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

}  // namespace grabber
