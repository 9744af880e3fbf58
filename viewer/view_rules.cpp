#include "viewer/view_rules.h"

#include <algorithm>
#include <cstdio>

#include "kit/convert.h"

namespace eViewRules {

namespace {

int RoundedAtLeastOne(double v) { return std::max(1, static_cast<int>(kit::RoundHalfEven(v))); }

constexpr double kLadder[] = {0.1, 0.15, 0.2, 0.3, 0.5, 0.7, 1.0};

}  // namespace

Size Fit(int width, int height, int roomWidth, int roomHeight) {
    const long long sw = std::max(roomWidth, 1), a = std::max(roomHeight, 1);
    if (width < 1 || height < 1) return {std::max(width, 1), std::max(height, 1)};
    if (sw >= width && a >= height) return {width, height};
    if (a * width - sw * height > 0)
        return {static_cast<int>(sw), RoundedAtLeastOne(double(sw) * height / width)};
    return {RoundedAtLeastOne(double(a) * width / height), static_cast<int>(a)};
}

double ZoomOfFit(int displayWidth, int imageWidth) {
    if (imageWidth < 1) return 1.0;
    const long long percent = 100LL * displayWidth / imageWidth;
    return static_cast<double>(std::max(percent, 1LL)) / 100;
}

int Scaled(int size, double zoom) { return RoundedAtLeastOne(size * zoom); }

double ZoomIn(double zoom) {
    for (double step : kLadder)
        if (step > zoom && step > 0.1) return step;
    return 1.0;
}

double ZoomOut(double zoom) {
    double below = 0.1;
    for (double step : kLadder)
        if (step < zoom) below = step;
    return zoom <= 0.1 ? zoom : below;
}

std::string PercentText(double zoom) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", 100 * zoom);
    return std::string(buf) + "%";
}

Command KeyCommand(int keyCode, int shift) {
    const bool ctrl = (shift & 2) != 0;
    switch (keyCode) {
        case 187: return Command::ZoomIn;
        case 189: return Command::ZoomOut;
        case 48: return Command::FullSize;
        case 56: return Command::Reload;
        case 83: return ctrl ? Command::SlideShow : Command::None;
        case 88: return ctrl ? Command::Exit : Command::None;
        case 72: return ctrl ? Command::FlipHorizontal : Command::None;
        case 86: return ctrl ? Command::FlipVertical : Command::None;
        case 76: return ctrl ? Command::RotateLeft : Command::None;
        case 82: return ctrl ? Command::RotateRight : Command::None;
        case 27: return Command::Exit;
        case 113: return Command::Reload;
        case 34: return Command::Next;
        case 33: return Command::Previous;
        case 36: return Command::First;
        case 35: return Command::Last;
        case 46: return Command::Delete;
        default: return Command::None;
    }
}

int ClampPan(int edge, int size, int room, int step) {
    if (edge + size + step < room) return room - edge - size;
    if (edge + step > 0) return -edge;
    return step;
}

int NextIndex(int index, int count) {
    if (index < 0 || index >= count - 1) return 0;
    return index + 1;
}

int PreviousIndex(int index, int count) {
    if (index <= 0 || index > count - 1) return count - 1;
    return index - 1;
}

std::array<kit::GdiPoint, 3> TransformPoints(int mode, int w, int h) {
    switch (mode) {
        case 2: return {{{w, 0}, {0, 0}, {w, h}}};
        case 3: return {{{0, h}, {w, h}, {0, 0}}};
        case 4: return {{{0, w}, {0, 0}, {h, w}}};   // (x, y) -> (y, w - 1 - x)
        default: return {{{h, 0}, {h, w}, {0, 0}}};  // (x, y) -> (h - 1 - y, x)
    }
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

}  // namespace eViewRules
