// The check of a typed search keyword and the search address built from it.
#pragma once
#include <string>

struct SearchKeywordCheck {
    bool Valid = false;
    std::string Message;
};

// The web search engine that a keyword is sent to: its host and the value of its button
// parameter. Kept here only; tests point the host at a loopback server.
inline std::string gSearchEngineHost = "www.google.com";
inline std::string gSearchEngineButton = "Google+Search";

namespace eResource {

// Checks keyword as typed; when it is acceptable, sets gSearchURL (empty for an empty keyword).
SearchKeywordCheck CheckSearchKeyword(const std::string& keyword);

}  // namespace eResource
