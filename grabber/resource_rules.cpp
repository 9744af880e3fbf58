#include "grabber/resource_rules.h"

#include <cmath>

#include "kit/convert.h"

namespace eResourceRules {

bool NumberAccepted(const std::string& text) {
    if (text.find('&') != std::string::npos || !kit::IsNumeric(text)) return false;
    const double v = kit::CDbl(text);
    return !std::isnan(v) && v >= 1;
}

std::int16_t NumberBoxValue(const std::string& text, int max) {
    const double v = kit::RoundHalfEven(kit::Val(text));
    if (!(v <= max)) return static_cast<std::int16_t>(max);  // also an overflowing 1e999
    if (v < -32768) return -32768;
    return kit::CIntOf(v);
}

std::size_t FirstBadFileNameChar(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!ok) return i;
    }
    return std::string::npos;
}

std::string LowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string WebsiteWithScheme(const std::string& text) {
    const std::string lower = LowerCase(text);
    if (text.empty() || lower.find("http://") != std::string::npos || lower.rfind("https://", 0) == 0) return text;
    return "http://" + text;
}

std::string DropTrailingOperator(const std::string& text) {
    if (!text.empty() && (text.back() == '+' || text.back() == '/' || text.back() == '-'))
        return text.substr(0, text.size() - 1);
    return text;
}

}  // namespace eResourceRules
