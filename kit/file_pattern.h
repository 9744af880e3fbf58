// File list patterns ("*.jpeg;*.jpg;...") and the order of a file list, the same on every
// backend: names matched and sorted by us, not by the platform's directory calls.
#pragma once
#include <string>
#include <vector>

namespace kit {

// One of the ';'-separated patterns matches the whole name: '*' any run of characters, '?'
// one character, letters A-Z in either case.
bool MatchesPattern(const std::string& name, const std::string& patterns);

// Less-than on names, ignoring the case of A-Z (a folder holds no two names that differ only
// in case).
bool NameLessNoCase(const std::string& a, const std::string& b);

}  // namespace kit
