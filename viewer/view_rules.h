// The viewer's arithmetic as pure functions: the fit, the zoom in whole percent
// and its ladder, the zoom text, the key table, the pan clamps, the wrapping of
// the picture index, the corner points of the flips and turns, and the picture's path.
#pragma once
#include <array>
#include <string>

#include "kit/gdi.h"

namespace eViewRules {

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

// The display size of a width x height picture in a room of roomWidth x
// roomHeight: the picture made just small enough to fit, keeping its ratio
// (rounded, halves to even); never enlarged. A room below 1 pixel counts as 1,
// and the result is at least 1 x 1.
Size Fit(int width, int height, int roomWidth, int roomHeight);
// The zoom of a fit, in whole percent rounded down from the widths alone, at least 1 %.
double ZoomOfFit(int displayWidth, int imageWidth);
// width x zoom rounded (halves to even), at least 1.
int Scaled(int size, double zoom);

// One step up or down the ladder 0.1, 0.15, 0.2, 0.3, 0.5, 0.7, 1.0: up never
// gives 0.1, down stops at 0.1.
double ZoomIn(double zoom);
double ZoomOut(double zoom);
// 100 x zoom with at most 15 significant digits, no trailing zeros, and "%": 0.57 -> "57%".
std::string PercentText(double zoom);

enum class Command {
    None,
    ZoomIn,
    ZoomOut,
    FullSize,
    Reload,
    SlideShow,
    Exit,
    FlipHorizontal,
    FlipVertical,
    RotateLeft,
    RotateRight,
    Next,
    Previous,
    First,
    Last,
    Delete
};
// The command of a released key with its shift mask (the menu state is the caller's check).
Command KeyCommand(int keyCode, int shift);

// A pan step clamped so the picture's edge stops on the room's edge: left (or
// top) edge at edge, displayed size size, room room.
int ClampPan(int edge, int size, int room, int step);

// The picture after or before index in a list of count (count > 0): wrapping at
// the ends, and from an index outside the list to the first (next) or the last (previous).
int NextIndex(int index, int count);
int PreviousIndex(int index, int count);

// The destinations of the upper-left, upper-right and lower-left corners of a
// width x height picture for a transform mode: 2 flip horizontally, 3
// vertically, 4 turn left, 5 right.
std::array<kit::GdiPoint, 3> TransformPoints(int mode, int width, int height);

// folder and name joined by exactly one backslash.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace eViewRules
