#include "grabber/check_search.h"

#include <string>
#include <vector>

#include "grabber/text.h"

namespace grabber {
namespace {

std::vector<std::string> Words(std::string_view expression) {
    std::vector<std::string> words;
    std::string cur;
    for (char c : expression) {
        if (c == '+' || c == '/' || c == '-' || c == ' ') {
            if (!cur.empty()) words.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) words.push_back(cur);
    return words;
}

// The part through the character after the last op becomes one letter.
void Fold(std::string& copy, char op, char wins, char otherwise) {
    const std::size_t last = copy.rfind(op);
    if (last == std::string::npos) return;
    const std::size_t end = std::min(last + 2, copy.size());
    const bool has = copy.find(wins, 0) < end;
    copy.replace(0, end, 1, has ? wins : otherwise);
}

}  // namespace

bool CheckSearch(std::string_view expression, std::string_view text) {
    if (expression.empty()) return true;
    const std::string lowerText = Lower(text);
    std::string copy(expression);
    for (const std::string& word : Words(expression)) {
        const bool found = lowerText.find(Lower(word)) != std::string::npos;
        copy = ReplaceAll(copy, word, found ? "T" : "F");
    }
    Fold(copy, '+', 'F', 'T');
    Fold(copy, '/', 'T', 'F');
    if (StartsWith(copy, "-")) copy.insert(copy.begin(), 'T');
    copy = ReplaceAll(copy, "-T", "+F");
    copy = ReplaceAll(copy, "-F", "+T");
    const std::size_t last = copy.rfind('+');
    if (last != std::string::npos) {
        const std::size_t end = std::min(last + 2, copy.size());
        return copy.find('F') >= end;
    }
    return copy == "T";
}

}  // namespace grabber
