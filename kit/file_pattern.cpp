#include "kit/file_pattern.h"

namespace kit {

namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Iterative wildcard match with one back-track point: linear in practice, never exponential.
bool Match(const std::string& name, const std::string& pattern, std::size_t pb, std::size_t pe) {
    std::size_t n = 0, p = pb, starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pe && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++n, ++p;
        } else if (p < pe && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pe && pattern[p] == '*') ++p;
    return p == pe;
}

}  // namespace

bool MatchesPattern(const std::string& name, const std::string& patterns) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = patterns.find(';', start);
        const std::size_t stop = end == std::string::npos ? patterns.size() : end;
        if (stop > start && Match(name, patterns, start, stop)) return true;
        if (end == std::string::npos) return false;
        start = end + 1;
    }
}

bool NameLessNoCase(const std::string& a, const std::string& b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(Fold(a[i]));
        const unsigned char y = static_cast<unsigned char>(Fold(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

}  // namespace kit
