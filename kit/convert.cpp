#include "kit/convert.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

#include "kit/runtime.h"

namespace kit {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Length of the decimal number at the start of s (sign, digits, fraction, exponent),
// 0 when there is no digit.
size_t ScanNumber(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    // The exponent only counts when digits follow it.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) ++j;
            i = j;
        }
    }
    return i;
}

double ToDouble(std::string_view s) {
    std::string buf(s);  // short numbers stay in the small-string buffer
    return std::strtod(buf.c_str(), nullptr);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "&H..." as the toolkit reads it: up to 4 digits is a 16-bit value, up to 8 a 32-bit one
// (so "&HFFFF" is -1). Returns false when it is not a hex text; throws on more than 8 digits.
bool ParseHex(std::string_view s, double& out) {
    if (s.size() < 3 || s[0] != '&' || (s[1] != 'H' && s[1] != 'h')) return false;
    uint32_t v = 0;
    size_t significant = 0;
    for (size_t i = 2; i < s.size(); ++i) {
        int d = HexDigit(s[i]);
        if (d < 0) return false;
        if (significant == 0 && d == 0) continue;
        if (++significant > 8) throw RuntimeError(kErrOverflow);
        v = (v << 4) | static_cast<uint32_t>(d);
    }
    if (v <= 0xFFFF)
        out = static_cast<int16_t>(static_cast<uint16_t>(v));
    else
        out = static_cast<int32_t>(v);
    return true;
}

// The whole text as a number, or kErrTypeMismatch.
double ParseWhole(const std::string& text) {
    std::string_view s = Trim(text);
    double v = 0;
    if (ParseHex(s, v)) return v;
    size_t n = ScanNumber(s);
    if (n == 0 || n != s.size()) throw RuntimeError(kErrTypeMismatch);
    return ToDouble(s);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

double RoundHalfEven(double x) {
    if (!std::isfinite(x)) return x;
    double f = std::floor(x);
    double diff = x - f;
    if (diff < 0.5) return f;
    if (diff > 0.5) return f + 1;
    return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

bool IsNumeric(const std::string& text) {
    try {
        ParseWhole(text);
        return true;
    } catch (const RuntimeError&) {
        return false;  // not a number, or a hex text too long for 32 bits
    }
}

double CDbl(const std::string& text) { return ParseWhole(text); }

bool CBool(const std::string& text) {
    std::string_view s = Trim(text);
    if (EqualsNoCase(s, "true")) return true;
    if (EqualsNoCase(s, "false")) return false;
    return ParseWhole(text) != 0;
}

int16_t CIntOf(double value) {
    double r = RoundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0)) throw RuntimeError(kErrOverflow);
    return static_cast<int16_t>(r);
}

int16_t CInt(const std::string& text) { return CIntOf(ParseWhole(text)); }

int32_t CLng(const std::string& text) {
    double r = RoundHalfEven(ParseWhole(text));
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw RuntimeError(kErrOverflow);
    return static_cast<int32_t>(r);
}

double Val(const std::string& text) {
    std::string_view s = text;
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    size_t n = ScanNumber(s);
    return n == 0 ? 0.0 : ToDouble(s.substr(0, n));
}

std::string BoolText(bool b) { return b ? "True" : "False"; }

}  // namespace kit
