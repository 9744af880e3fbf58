// The grab settings editor's rules for what is typed, as pure functions over texts.
#pragma once
#include <cstdint>
#include <string>

namespace eResourceRules {

// A number box takes a decimal number (blanks around, fraction and exponent allowed) of at
// least 1. Letters other than an exponent, "&H" forms included, are refused.
bool NumberAccepted(const std::string& text);
// The number a box's text stands for: its leading number rounded half to even, 0 without one.
// A leading number above max reads as max, so that no text overflows 16 bits.
std::int16_t NumberBoxValue(const std::string& text, int max);
// The position of the first character of a file name prefix other than A-Z, a-z, 0-9, or
// npos when there is none.
std::size_t FirstBadFileNameChar(const std::string& text);
// "http://" put in front of a non-empty address that holds it nowhere and does not begin
// with "https://", in any case.
std::string WebsiteWithScheme(const std::string& text);
// The keyword box at focus loss: one trailing "+", "/" or "-" dropped.
std::string DropTrailingOperator(const std::string& text);
// ASCII lower case, other bytes as they are.
std::string LowerCase(std::string text);

}  // namespace eResourceRules
