#include "fortune/fortune_rules.h"

#include <cmath>
#include <cstdlib>

#include "kit/convert.h"

namespace fortune {

void Deal(Table& t, clsCard& cards) {
    for (int i = 0; i < kDeckSize; ++i) t.mDeck[i] = i;
    for (int pass = 0; pass < 3; ++pass) cards.CutCard(t.mDeck);
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kColumnCards; ++r) t.mTableau[c][r] = t.mDeck[kColumnCards * c + r];
        t.mColumnTop[c] = kColumnCards - 1;
    }
    for (int i = 0; i < kStockCards; ++i) t.mStock[i] = t.mDeck[kColumns * kColumnCards + i];
    t.mStockTop = kStockCards - 1;
    t.mPairPile[0] = t.mDeck[kDeckSize - 1];
    t.mPairTop = 0;
    t.mSpacing = kStartSpacing;
}

Selection SelectAt(const Table& t, int X, int Y) {
    Selection s;
    // Pointer positions beyond the five columns (possible while the mouse is captured) have no
    // column to look at.
    const int col = X / kCardWidth;
    if (X > -kCardWidth && X < kTableWidth && t.mColumnTop[col] != -1) {
        const Point top = ColumnCardAt(col, t.mColumnTop[col]);
        if (top.y < Y && Y < top.y + kCardHeight) {
            s.type = kSelColumn;
            s.col = static_cast<std::int16_t>(col);
            s.offsetX = top.x - X;
            s.offsetY = top.y - Y;
            return s;
        }
    }
    if (t.mStockTop != -1) {
        const Point top = StockCardAt(t.mStockTop);
        if (top.y < Y && Y < top.y + kCardHeight && top.x < X && X < top.x + kCardWidth) {
            s.type = kSelStock;
            s.col = 0;
        }
    }
    return s;
}

bool PointsFit(int a, int b) {
    const int d = std::abs(a - b);
    return d == 1 || d == 12;
}

bool FitsOnPile(const Table& t, int card) { return PointsFit(card / 4, t.mPairPile[t.mPairTop] / 4); }

bool DropLands(int dX, int dY, int px, int py) {
    return px - kCardWidth < dX && dX < px + kCardWidth && py - kCardHeight < dY &&
           dY < py + kCardHeight;
}

bool PileMustClose(int top, int spacing) { return top * spacing > kPileLastX; }

const char* FortuneText(int point) {
    static const char* const kTexts[13] = {
        "Everything goes my way",
        "It's no good doing everything",
        "Difficult",
        "All roads lead to Rome",
        "Avoid falling a prey to a plot",
        "Grant whatever is requested",
        "Undependable",
        "Enjoy success",
        "A loss may turn out to be a gain and vice versa",
        "It's perfect in every way and leaves nothing to be desired",
        "Bicker endlessly between female members of a family",
        "Woman outside is water",
        "As you sow, so will you reap",
    };
    return point >= 0 && point < 13 ? kTexts[point] : "";
}

std::int16_t CardBackFromText(const std::string& text) {
    const double v = kit::Val(text);
    // Fractions and anything outside the eight designs would paint from outside the sheet.
    if (v >= 0 && v < kBackDesigns && v == std::floor(v)) return static_cast<std::int16_t>(v);
    return 0;
}

}  // namespace fortune
