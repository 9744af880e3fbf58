// The slider's arithmetic in twips: where the thumb stands for a value, and where a press or a
// drag puts the thumb and what value that gives.
#pragma once
#include <cstdint>
#include <optional>

namespace slider {

// The thumb moves in whole pixels of 15 twips.
constexpr int kTwipsPerStep = 15;

struct Range {
    std::int32_t min = 0, max = 100;
};

// The thumb's left edge for the value on a track of controlWidth - sliderWidth; nothing when
// the range is a single value (the thumb then stays where it is).
std::optional<double> ThumbLeft(int controlWidth, int sliderWidth, Range r, std::int32_t value);

struct Placed {
    int left = 0;
    std::int32_t value = 0;
};

// The pointer at pointerX (twips from the control's left) taken as the thumb's centre: the
// thumb's left edge in whole steps, kept on the track, and the value it stands for. sliderWidth
// centres the thumb and bounds the track; thumbWidth sizes the track for the value. A range of
// one value gives that value.
Placed PlaceAt(double pointerX, int controlWidth, int sliderWidth, int thumbWidth, Range r);

}  // namespace slider
