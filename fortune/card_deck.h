// clsCard: how a card is numbered, the shuffle, painting a card's face or back from the sheets,
// and a card's point and suit.
#pragma once
#include <array>
#include <cstdint>

#include "kit/backend.h"

namespace fortune {

constexpr int kDeckSize = 52;
constexpr int kCardWidth = 71, kCardHeight = 96;
constexpr int kBackDesigns = 8;

// What ShowCard paints.
enum CardFace : std::int16_t { kFaceUp = 0, kFaceDown = 1 };

using Deck = std::array<int, kDeckSize>;

// The nearest whole number, halves to even: how card numbers and positions, which arrive as
// single-precision values, become pixels and indices.
std::int32_t Nearest(double v);

// Top-left corner in the sheet of what a face value paints: the card's cell in the face sheet
// for face 0, design cardBack's cell in the back sheet for face 1. False for any other face.
bool SheetCorner(std::int16_t face, float card, double cardBack, int& x, int& y);

class clsCard {
public:
    // Seeds the process-wide random numbers.
    clsCard();

    // One shuffle pass (Sattolo): every card leaves its place, the pass is one cycle.
    void CutCard(Deck& cards);
    // Copies one 71 x 96 card picture from the sheet's DC src to dest with its top-left corner
    // at (x, y): face 0 the card's face, face 1 the back design gCardBack; other faces draw
    // nothing. The copy is clipped to both surfaces.
    void ShowCard(kit::Handle dest, std::int16_t face, float card, float x, float y, kit::Handle src);
    std::int32_t GetCardPoint(float card);
    std::int32_t GetCardSuit(float card);
};

}  // namespace fortune
