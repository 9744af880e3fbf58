// Text to value conversions with the toolkit's run-time errors, and rounding.
#pragma once
#include <cstdint>
#include <string>

namespace kit {

// Halves go to the even neighbour.
double RoundHalfEven(double x);

// "True"/"False" in any case, or a number (non-zero is True), blanks around allowed;
// anything else raises kErrTypeMismatch.
bool CBool(const std::string& text);
// A decimal number (sign, digits, optional fraction and exponent; blanks around allowed)
// rounded half to even; kErrTypeMismatch when it does not convert, kErrOverflow outside
// -32768..32767.
int16_t CInt(const std::string& text);
// The same for 32-bit integers (also accepts "&H" hexadecimal, as the toolkit does).
int32_t CLng(const std::string& text);
// Rounds a number to a 16-bit integer; kErrOverflow when out of range.
int16_t CIntOf(double value);
// The leading number of a text: blanks skipped, then an optional sign, digits, fraction and
// exponent; stops at the first character that does not fit; 0 when there is none.
double Val(const std::string& text);
// The whole text (blanks around allowed) is a number CInt, CLng or a double conversion reads:
// decimal with sign, fraction and exponent, or "&H" hexadecimal.
bool IsNumeric(const std::string& text);
// The whole text as a number; kErrTypeMismatch when it is not numeric.
double CDbl(const std::string& text);
// "True" / "False".
std::string BoolText(bool b);

}  // namespace kit
