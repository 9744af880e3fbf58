#include "fortune/card_deck.h"

#include <cmath>

#include "kit/convert.h"
#include "kit/gdi.h"
#include "kit/random.h"
#include "shell/globals.h"

namespace fortune {

std::int32_t Nearest(double v) { return static_cast<std::int32_t>(kit::RoundHalfEven(v)); }

bool SheetCorner(std::int16_t face, float card, double cardBack, int& x, int& y) {
    if (face == kFaceUp) {
        const std::int32_t n = Nearest(card);
        x = (n / 4) * kCardWidth;
        y = (n % 4) * kCardHeight;
        return true;
    }
    if (face == kFaceDown) {
        x = Nearest(cardBack * kCardWidth);
        y = 0;
        return true;
    }
    return false;
}

clsCard::clsCard() { kit::Randomize(); }

void clsCard::CutCard(Deck& cards) {
    for (int i = kDeckSize - 1; i >= 1; --i) {
        const double r = kit::Rnd();
        // The product in double, so r just below 1 still gives i - 1 and never i.
        const int j = static_cast<int>(std::floor(r * i));
        std::swap(cards[i], cards[j]);
    }
}

void clsCard::ShowCard(kit::Handle dest, std::int16_t face, float card, float x, float y,
                       kit::Handle src) {
    int sx = 0, sy = 0;
    if (!SheetCorner(face, card, gCardBack, sx, sy)) return;
    kit::gdi().bitBlt(dest, Nearest(x), Nearest(y), kCardWidth, kCardHeight, src, sx, sy,
                      kit::kSrcCopy);
}

std::int32_t clsCard::GetCardPoint(float card) { return Nearest(card) / 4; }

// C++'s remainder takes the dividend's sign, as the toolkit's Mod does.
std::int32_t clsCard::GetCardSuit(float card) { return Nearest(card) % 4; }

}  // namespace fortune
