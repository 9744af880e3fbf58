#include "grabber/keyword.h"

#include <array>
#include <vector>

#include "grabber/grab_state.h"
#include "grabber/text.h"

namespace eResource {
namespace {

bool Allowed(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    // Bytes from 0x80 up have negative codes: the double-byte characters of East Asian
    // code pages.
    return c == '+' || (u >= 45 && u <= 57) || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') ||
           u >= 0x80;
}

std::string ForbiddenMessage(char c) {
    if (c == ' ') return "Blank space is forbidden here !";
    if (c == '"') return "Double quotation marks is forbidden here !";
    if (c == '\'') return "Single quotation marks is forbidden here !";
    return std::string("\"") + c + "\" is forbidden here !";
}

std::string Collapse(std::string s, const char* doubled, const char* single) {
    while (s.find(doubled) != std::string::npos) s = grabber::ReplaceAll(s, doubled, single);
    return s;
}

}  // namespace

SearchKeywordCheck CheckSearchKeyword(const std::string& keyword) {
    if (keyword.empty()) {
        gSearchURL.clear();
        return {true, ""};
    }
    for (char c : keyword)
        if (!Allowed(c)) return {false, ForbiddenMessage(c)};

    static const std::array<const char*, 9> kPairs = {"++", "+/", "+-", "/+", "//",
                                                     "/-", "-+", "-/", "--"};
    for (const char* pair : kPairs)
        if (keyword.find(pair) != std::string::npos)
            return {false, std::string("Cannot enter like this, ") + pair};

    if (keyword[0] == '+' || keyword[0] == '/') return {false, "Wrong enter !"};

    std::vector<std::string> words;
    std::string cur;
    for (char c : keyword) {
        if (c == '+' || c == '/' || c == '-') {
            if (!cur.empty()) words.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) words.push_back(cur);
    std::string skeleton = keyword;
    for (const std::string& w : words) skeleton = grabber::ReplaceAll(skeleton, w, "");
    skeleton = Collapse(skeleton, "++", "+");
    skeleton = Collapse(skeleton, "//", "/");
    skeleton = Collapse(skeleton, "--", "-");
    static const std::array<const char*, 8> kSkeletons = {"", "+", "/", "-", "+/", "+-", "/-", "+/-"};
    bool allowed = false;
    for (const char* s : kSkeletons) allowed = allowed || skeleton == s;
    if (!allowed) return {false, "Wrong search syntax !"};

    std::string query = grabber::ReplaceAll(keyword, "/", "+or+");
    query = grabber::ReplaceAll(query, "-", "+-");
    gSearchURL = "http://" + gSearchEngineHost + "/search?&q=picture+" + query + "&btnG=" +
                 gSearchEngineButton;
    return {true, ""};
}

}  // namespace eResource
