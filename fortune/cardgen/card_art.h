// Draws the game's two card sheets from shapes of its own: the faces (13 points by 4 suits)
// and the eight back designs. Deterministic: same bytes on every run and every host.
#pragma once
#include <cstdint>
#include <vector>

namespace cardart {

constexpr int kCardW = 71, kCardH = 96;
constexpr int kPoints = 13, kSuits = 4, kBackDesigns = 8;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

// 24-bit picture, top row first.
struct Image {
    int w = 0, h = 0;
    std::vector<Rgb> px;
    Image(int width, int height, Rgb fill = {}) : w(width), h(height), px(std::size_t(width) * height, fill) {}
    Rgb& at(int x, int y) { return px[std::size_t(y) * w + x]; }
    const Rgb& at(int x, int y) const { return px[std::size_t(y) * w + x]; }
};

// 923 x 384: column k is point k (Ace .. King), row s is suit s (clubs, diamonds, hearts,
// spades).
Image DrawFaceSheet();
// 568 x 96: design k at (71 k, 0).
Image DrawBackSheet();

}  // namespace cardart
