// Byte-text helpers of the grabber: ASCII case folding, replacing, the blank-only trim.
#pragma once
#include <string>
#include <string_view>

namespace grabber {

inline char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

inline std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = LowerChar(c);
    return out;
}

inline bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

inline bool EndsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Every occurrence of from (not empty) becomes to, scanning left to right.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// Blanks (only the blank character) cut from both ends.
std::string_view TrimBlanks(std::string_view s);

// The last n characters, or the whole text when shorter.
inline std::string_view Right(std::string_view s, std::size_t n) {
    return s.size() <= n ? s : s.substr(s.size() - n);
}

}  // namespace grabber
