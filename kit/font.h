// A control's font and the colour values controls take, system colours included.
#pragma once
#include <cstdint>
#include <string>

namespace kit {

using Color = std::uint32_t;  // 0x00BBGGRR, or a system colour (kSysColor | index)

// System colours resolve through the backend when drawn, so they follow the desktop's scheme.
constexpr Color kSysColor = 0x80000000u;
constexpr Color kSysWindow = kSysColor | 5;
constexpr Color kSysWindowText = kSysColor | 8;
constexpr Color kSysButtonFace = kSysColor | 15;
constexpr Color kSysGrayText = kSysColor | 17;
constexpr Color kSysButtonText = kSysColor | 18;
constexpr Color kSys3DShadow = kSysColor | 16;
constexpr Color kSys3DHighlight = kSysColor | 20;
constexpr Color kSys3DDkShadow = kSysColor | 21;
constexpr Color kSys3DLight = kSysColor | 22;

// The real colour of a value: system colours looked up, others as they are.
Color ResolveColor(Color c);

struct Font {
    std::string name = "MS Sans Serif";
    double size = 8.25;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const Font&) const = default;
};

}  // namespace kit
