// The relevance test: a keyword expression (and-words "+", or-words "/", not-words "-")
// evaluated against a text.
#pragma once
#include <string_view>

namespace grabber {

// True when text (compared ignoring case) satisfies expression; an empty expression gives True.
bool CheckSearch(std::string_view expression, std::string_view text);

}  // namespace grabber
