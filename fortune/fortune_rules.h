// The card table's geometry and the game's rules as pure functions: where every card lies (one
// layout that drawing and hit-testing share), the deal, what the pointer selects, when a drop
// lands, which moves fit, how the pile's spacing shrinks, the fortunes and the back setting.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "fortune/card_deck.h"

namespace fortune {

constexpr int kColumns = 5, kColumnCards = 5, kStockCards = 26;
constexpr int kStripHeight = 5;  // the visible strip of a covered column card
constexpr int kStockStep = 10;   // x step of the stock row
constexpr int kStockRowY = 150, kPairRowY = 280, kTopRowY = 0;
constexpr int kStartSpacing = 10;
// The pile's top card must start at or left of this x, or the pile closes up.
constexpr int kPileLastX = 280;
// The table: its client area, and the box with its 2-pixel border.
constexpr int kTableWidth = 355, kTableHeight = 376;
constexpr int kTableBoxWidth = 359, kTableBoxHeight = 380, kTableBorder = 2;
// Erasing a card copies (w + 1) x (h + 1) pixels.
constexpr int kEraseW = kCardWidth - 1, kEraseH = kCardHeight - 1;

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

// Where card `row` of column `col` lies, and stock card i, and pile card i.
constexpr Point ColumnCardAt(int col, int row) { return {kCardWidth * col, kStripHeight * row}; }
constexpr Point StockCardAt(int i) { return {kStockStep * i, kStockRowY}; }
constexpr Point PileCardAt(int i, int spacing) { return {i * spacing, kPairRowY}; }

// The cards on the table; indices of -1 mean empty.
struct Table {
    Deck mDeck{};
    // [column][row], row 0 at the bottom.
    std::array<std::array<int, kColumnCards>, kColumns> mTableau{};
    std::array<int, kColumns> mColumnTop{};
    std::array<int, kStockCards> mStock{};  // index 0 at the bottom
    int mStockTop = -1;
    Deck mPairPile{};  // index 0 the start card
    int mPairTop = 0;
    int mSpacing = kStartSpacing;  // x step of the pile
};

// Three shuffle passes, then five columns of five, the stock, and the pile's start card.
void Deal(Table& t, clsCard& cards);

// What the pointer selects: only wholly visible top cards, with strict bounds.
enum SelType : std::int16_t { kSelNone = -1, kSelColumn = 0, kSelStock = 1 };
struct Selection {
    std::int16_t type = kSelNone;
    std::int16_t col = -1;  // the column; 0 for the stock card
    int offsetX = 0, offsetY = 0;  // a column card's corner minus the pointer
};
Selection SelectAt(const Table& t, int X, int Y);

// The move rule: the points are neighbours, King and Ace counting as neighbours.
bool PointsFit(int a, int b);
bool FitsOnPile(const Table& t, int card);

// A card dropped with its corner at (dX, dY) lands on the pile's top card at (px, py) when the
// two overlap by at least one pixel each way.
bool DropLands(int dX, int dY, int px, int py);

// After a card was added at index top: true when it would start past kPileLastX at the
// current spacing, so the spacing shrinks by one and the row is drawn again.
bool PileMustClose(int top, int spacing);

// The fortune of a matched pair, by its point.
const char* FortuneText(int point);

// The back design stored as "Card_Back": its leading number when that is a whole number from
// 0 to 7, otherwise 0.
std::int16_t CardBackFromText(const std::string& text);

}  // namespace fortune
