// The card deck: numbering, shuffle, painting from the sheets; the random numbers behind it;
// and the game's pure rules.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <set>
#include <vector>

#include "fortune/card_deck.h"
#include "fortune/card_sheets.h"
#include "fortune/fortune_rules.h"
#include "kit/headless/raster_gdi.h"
#include "kit/random.h"
#include "shell/globals.h"

using namespace fortune;
using kit::Handle;
using kit::headless::RasterGdi;

namespace {

// Feeds Rnd() from a list while alive; the list's end gives 0.
class FedRandom {
public:
    explicit FedRandom(std::deque<float> values = {}) : values_(std::move(values)) {
        kit::SetRndSource([this] {
            ++calls;
            if (values_.empty()) return 0.0f;
            float v = values_.front();
            values_.pop_front();
            return v;
        });
    }
    ~FedRandom() { kit::SetRndSource(nullptr); }
    int calls = 0;

private:
    std::deque<float> values_;
};

// A memory DC with a bitmap, on the software raster.
struct Surface {
    RasterGdi& g;
    Handle dc, bmp, old;
    Surface(RasterGdi& gdi, Handle bitmap) : g(gdi), dc(gdi.createCompatibleDC(0)), bmp(bitmap) {
        old = g.selectObject(dc, bmp);
    }
    Surface(RasterGdi& gdi, int w, int h, kit::Color fill) : Surface(gdi, gdi.createCompatibleBitmap(0, w, h)) {
        Handle brush = g.createSolidBrush(fill);
        g.fillRect(dc, 0, 0, w, h, brush);
        g.deleteObject(brush);
    }
    Surface(RasterGdi& gdi, const SheetPixels& sheet)
        : Surface(gdi, gdi.createBitmapFromPixels(sheet.width, sheet.height, SheetBgr(sheet).data())) {}
    ~Surface() {
        g.selectObject(dc, old);
        g.deleteObject(bmp);
        g.deleteDC(dc);
    }
    RasterGdi::Pixels pixels() const { return g.bitmapPixels(bmp); }
};

// The number of pixels of the w x h block at (x, y) of a that differ from the block at
// (sx, sy) of b; pixels of a's block outside a are skipped.
int Differing(const RasterGdi::Pixels& a, int x, int y, const RasterGdi::Pixels& b, int sx, int sy, int w, int h) {
    int diff = 0;
    for (int dy = 0; dy < h; ++dy)
        for (int dx = 0; dx < w; ++dx) {
            if (x + dx >= a.width || y + dy >= a.height) continue;
            if (a.at(x + dx, y + dy) != b.at(sx + dx, sy + dy)) ++diff;
        }
    return diff;
}
int BlockDiff(const RasterGdi::Pixels& a, int x, int y, const RasterGdi::Pixels& b, int sx, int sy) {
    return Differing(a, x, y, b, sx, sy, kCardWidth, kCardHeight);
}

class CardDeck : public ::testing::Test {
protected:
    RasterGdi gdi;
    void SetUp() override {
        kit::setGdi(&gdi);
        gCardBack = 0;
    }
    void TearDown() override {
        kit::setGdi(nullptr);
        gCardBack = 0;
    }
};

}  // namespace

TEST_F(CardDeck, SheetsHaveTheGridsSizes) {
    EXPECT_EQ(kFaceSheet.width, 13 * 71);
    EXPECT_EQ(kFaceSheet.height, 4 * 96);
    EXPECT_EQ(kBackSheet.width, 8 * 71);
    EXPECT_EQ(kBackSheet.height, 96);
    // Every cell holds its own picture: no two faces and no two backs are the same.
    Surface face(gdi, kFaceSheet), back(gdi, kBackSheet);
    auto fp = face.pixels(), bp = back.pixels();
    for (int a = 0; a < kDeckSize; ++a)
        for (int b = a + 1; b < kDeckSize; ++b)
            ASSERT_GT(BlockDiff(fp, a / 4 * 71, a % 4 * 96, fp, b / 4 * 71, b % 4 * 96), 0) << a << " " << b;
    for (int a = 0; a < kBackDesigns; ++a)
        for (int b = a + 1; b < kBackDesigns; ++b) ASSERT_GT(BlockDiff(bp, a * 71, 0, bp, b * 71, 0), 500);
}

TEST(CardSheets, RunsExpandAcrossRowsAndNeverPastTheSheet) {
    // 3 x 2: a run of four crosses into the second row; the last run is longer than what is left.
    const unsigned char runs[] = {4, 1, 2, 3, 200, 9, 8, 7};
    const std::vector<unsigned char> want = {1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 9, 8, 7, 9, 8, 7};
    EXPECT_EQ(SheetBgr({3, 2, runs, sizeof runs}), want);
    // Runs that stop short leave black; a torn last run is ignored.
    EXPECT_EQ(SheetBgr({2, 1, runs, 3}), std::vector<unsigned char>(6, 0));
    std::vector<unsigned char> first(want.begin(), want.begin() + 12);
    first.resize(18, 0);
    EXPECT_EQ(SheetBgr({3, 2, runs, 4}), first);
}

TEST_F(CardDeck, ShowCardCopiesTheCardsCellOrTheChosenBack) {
    clsCard cards;
    Surface face(gdi, kFaceSheet), back(gdi, kBackSheet);
    Surface table(gdi, 355, 376, 0);
    const auto fp = face.pixels(), bp = back.pixels();

    const struct {
        float card;
        int sx, sy;
    } faces[] = {{0, 0, 0}, {51, 852, 288}, {6, 71, 192}, {2.5f, 0, 192}, {3.5f, 71, 0}};
    for (const auto& f : faces) {
        cards.ShowCard(table.dc, kFaceUp, f.card, 100, 150, face.dc);
        EXPECT_EQ(BlockDiff(table.pixels(), 100, 150, fp, f.sx, f.sy), 0) << "card " << f.card;
    }

    gCardBack = 7;
    cards.ShowCard(table.dc, kFaceDown, 12, 10.5f, 20, back.dc);  // x rounds to 10
    EXPECT_EQ(BlockDiff(table.pixels(), 10, 20, bp, 497, 0), 0);
    gCardBack = 0;
    cards.ShowCard(table.dc, kFaceDown, 12, 11.5f, 20, back.dc);  // x rounds to 12
    EXPECT_EQ(BlockDiff(table.pixels(), 12, 20, bp, 0, 0), 0);

    // Any other face draws nothing.
    Surface blank(gdi, 355, 376, 0x123456);
    cards.ShowCard(blank.dc, 2, 0, 0, 0, face.dc);
    cards.ShowCard(blank.dc, -1, 0, 0, 0, face.dc);
    for (std::uint32_t p : blank.pixels().px) ASSERT_EQ(p, 0x123456u);

    // At the table's right edge the card is cut off; the rest of the table is untouched.
    Surface edge(gdi, 355, 376, 0x123456);
    cards.ShowCard(edge.dc, kFaceUp, 51, 355, 0, face.dc);
    cards.ShowCard(edge.dc, kFaceUp, 51, 300, 330, face.dc);
    auto ep = edge.pixels();
    EXPECT_EQ(ep.at(354, 0), 0x123456u);
    EXPECT_EQ(BlockDiff(ep, 300, 330, fp, 852, 288), 0);
}

TEST_F(CardDeck, PaintingNeverReadsOutsideTheSheets) {
    clsCard cards;
    Surface face(gdi, kFaceSheet), back(gdi, kBackSheet);
    Surface table(gdi, 355, 376, 0x123456);
    // Numbers past the deck address cells beyond the sheet's edges: nothing is copied.
    for (float card : {52.0f, 60.0f, -1.0f, -4.0f, 1000.0f}) cards.ShowCard(table.dc, kFaceUp, card, 10, 10, face.dc);
    for (std::uint32_t p : table.pixels().px) ASSERT_EQ(p, 0x123456u);
    // A block that starts 7 pixels before the back sheet's end copies just those 7 columns.
    gdi.bitBlt(table.dc, 100, 100, 71, 96, back.dc, 561, 0, kit::kSrcCopy);
    const auto tp = table.pixels(), bp = back.pixels();
    EXPECT_EQ(Differing(tp, 100, 100, bp, 561, 0, 7, 96), 0);  // the sheet's last 7 columns
    EXPECT_EQ(tp.at(107, 100), 0x123456u);
    EXPECT_EQ(tp.at(170, 195), 0x123456u);
}

TEST_F(CardDeck, PointAndSuit) {
    clsCard cards;
    const struct {
        float card;
        int point, suit;
    } rows[] = {{0, 0, 0}, {3, 0, 3}, {4, 1, 0}, {51, 12, 3}, {49, 12, 1}, {2.5f, 0, 2}, {3.5f, 1, 0}, {-5, -1, -1}};
    for (const auto& r : rows) {
        EXPECT_EQ(cards.GetCardPoint(r.card), r.point) << r.card;
        EXPECT_EQ(cards.GetCardSuit(r.card), r.suit) << r.card;
    }
}

TEST_F(CardDeck, OneShufflePassIsOneCycleThroughAllCards) {
    for (std::uint64_t seed : {1ull, 2ull, 99ull, 123456789ull}) {
        kit::Randomize(seed);
        clsCard cards;  // seeds from the clock: only the shape of the result matters here
        Deck d;
        for (int i = 0; i < kDeckSize; ++i) d[i] = i;
        cards.CutCard(d);
        int at = 0, steps = 0;
        do {
            ASSERT_NE(d[at], at) << "card " << at << " kept its place";
            at = d[at];
            ++steps;
        } while (at != 0 && steps <= kDeckSize);
        EXPECT_EQ(steps, kDeckSize);
    }
}

TEST_F(CardDeck, ShuffleTakesTheFloorOfTheProductInDouble) {
    // r just below 1 at i = 51 picks 50, never 51; r = 0 picks 0.
    FedRandom fed({std::nextafter(1.0f, 0.0f), 0.0f});
    clsCard cards;
    Deck d;
    for (int i = 0; i < kDeckSize; ++i) d[i] = i;
    cards.CutCard(d);
    EXPECT_EQ(fed.calls, 51);
    // i = 51 swapped with 50, then i = 50 with 0, then every later i with 0.
    EXPECT_EQ(d[51], 50);
    Deck want;
    for (int i = 0; i < kDeckSize; ++i) want[i] = i;
    std::swap(want[51], want[50]);
    for (int i = 50; i >= 1; --i) std::swap(want[i], want[0]);
    EXPECT_EQ(d, want);
}

TEST_F(CardDeck, DealRunsThreePassesAndLaysTheCardsOut) {
    FedRandom fed;  // all zeros: every pass rotates the deck by one
    clsCard cards;
    Table t;
    t.mSpacing = 7;
    t.mPairTop = 12;
    Deal(t, cards);
    EXPECT_EQ(fed.calls, 3 * 51);
    // Each all-zero pass moves card k to index k - 1 (card 0 to 51); three passes shift by 3.
    for (int i = 0; i < kDeckSize; ++i) ASSERT_EQ(t.mDeck[i], (i + 3) % kDeckSize);
    for (int c = 0; c < kColumns; ++c) {
        EXPECT_EQ(t.mColumnTop[c], 4);
        for (int r = 0; r < kColumnCards; ++r) EXPECT_EQ(t.mTableau[c][r], t.mDeck[5 * c + r]);
    }
    for (int i = 0; i < kStockCards; ++i) EXPECT_EQ(t.mStock[i], t.mDeck[25 + i]);
    EXPECT_EQ(t.mStockTop, 25);
    EXPECT_EQ(t.mPairPile[0], t.mDeck[51]);
    EXPECT_EQ(t.mPairTop, 0);
    EXPECT_EQ(t.mSpacing, 10);
}

TEST(KitRandom, UniformBelowOneAndSeedable) {
    kit::Randomize(42);
    std::vector<float> a;
    double sum = 0;
    for (int i = 0; i < 20000; ++i) {
        float r = kit::Rnd();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        a.push_back(r);
        sum += r;
    }
    EXPECT_NEAR(sum / a.size(), 0.5, 0.01);
    kit::Randomize(42);
    for (float r : a) ASSERT_EQ(kit::Rnd(), r);

    // Two clock seedings in a row start different sequences.
    kit::Randomize();
    std::vector<float> first{kit::Rnd(), kit::Rnd(), kit::Rnd()};
    kit::Randomize();
    std::vector<float> second{kit::Rnd(), kit::Rnd(), kit::Rnd()};
    EXPECT_NE(first, second);
}

TEST(FortuneRules, MoveRule) {
    const struct {
        int a, b;
        bool fits;
    } rows[] = {{12, 0, true}, {0, 12, true}, {11, 12, true}, {1, 0, true}, {5, 6, true},
                {3, 3, false}, {8, 10, false}, {0, 11, false}, {12, 1, false}};
    for (const auto& r : rows) EXPECT_EQ(PointsFit(r.a, r.b), r.fits) << r.a << " on " << r.b;
    Table t;
    t.mPairPile[0] = 4 * 12 + 1;  // King of diamonds
    EXPECT_TRUE(FitsOnPile(t, 3));    // Ace of spades
    EXPECT_TRUE(FitsOnPile(t, 44));   // Queen of clubs
    EXPECT_FALSE(FitsOnPile(t, 50));  // King of hearts
}

TEST(FortuneRules, DropLandsOnAnyOverlapOfOnePixel) {
    const int px = 30, py = 280;
    const struct {
        int dX, dY;
        bool lands;
    } rows[] = {
        {px - 71, py, false},     {px - 70, py + 10, true}, {px + 70, py + 10, true},
        {px + 71, py + 10, false}, {px, py, true},           {px, py - 95, true},
        {px, py - 96, false},     {px, py + 95, true},      {px, py + 96, false},
        {200, 150, false},
    };
    for (const auto& r : rows) EXPECT_EQ(DropLands(r.dX, r.dY, px, py), r.lands) << r.dX << "," << r.dY;
}

TEST(FortuneRules, HitTestSelectsOnlyWhollyVisibleTopCards) {
    Table t;
    t.mColumnTop = {4, 4, 0, -1, 4};
    t.mStockTop = 25;
    const struct {
        int X, Y;
        std::int16_t type, col;
    } rows[] = {
        {10, 20, kSelNone, -1},    {10, 21, kSelColumn, 0},    {10, 115, kSelColumn, 0},
        {10, 116, kSelNone, -1},   {10, 5, kSelNone, -1},      {142, 1, kSelColumn, 2},
        {142, 0, kSelNone, -1},    {213, 50, kSelNone, -1},    {354, 50, kSelColumn, 4},
        {-70, 50, kSelColumn, 0},  {-71, 50, kSelNone, -1},    {355, 50, kSelNone, -1},
        {400, 50, kSelNone, -1},   {-500, 60, kSelNone, -1},   {100000, 30, kSelNone, -1},
        {251, 151, kSelStock, 0},  {250, 151, kSelNone, -1},   {320, 245, kSelStock, 0},
        {321, 200, kSelNone, -1},  {251, 150, kSelNone, -1},   {251, 246, kSelNone, -1},
        {100, 200, kSelNone, -1},  {400, 200, kSelNone, -1},
    };
    for (const auto& r : rows) {
        Selection s = SelectAt(t, r.X, r.Y);
        EXPECT_EQ(s.type, r.type) << r.X << "," << r.Y;
        EXPECT_EQ(s.col, r.col) << r.X << "," << r.Y;
    }
    Selection s = SelectAt(t, 150, 30);
    EXPECT_EQ(s.offsetX, 142 - 150);
    EXPECT_EQ(s.offsetY, 0 - 30);
    t.mStockTop = 0;
    EXPECT_EQ(SelectAt(t, 1, 200).type, kSelStock);
    t.mStockTop = -1;
    EXPECT_EQ(SelectAt(t, 1, 200).type, kSelNone);
}

TEST(FortuneRules, PileSpacingShrinksOneStepAtATime) {
    int spacing = kStartSpacing;
    std::vector<std::pair<int, int>> changes;  // (index, new spacing)
    for (int top = 1; top < kDeckSize; ++top) {
        if (PileMustClose(top, spacing)) {
            --spacing;
            changes.push_back({top, spacing});
        }
    }
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{29, 9}, {32, 8}, {36, 7}, {41, 6}, {47, 5}}));
    EXPECT_EQ(PileCardAt(51, spacing), (Point{255, 280}));
}

TEST(FortuneRules, CardBackSettingReadsOnlyTheEightDesigns) {
    const struct {
        const char* text;
        int design;
    } rows[] = {{"0", 0}, {"7", 7}, {"  3", 3}, {"5 ", 5}, {"3.0", 3}, {"4abc", 4}, {"", 0},
                {"abc", 0}, {"2.5", 0}, {"7.9", 0}, {"-1", 0}, {"8", 0}, {"1e9", 0}, {"-0", 0}};
    for (const auto& r : rows) EXPECT_EQ(CardBackFromText(r.text), r.design) << '"' << r.text << '"';
    EXPECT_EQ(CardBackFromText(std::string(254, ' ')), 0);
}

TEST(FortuneRules, FortuneTexts) {
    EXPECT_STREQ(FortuneText(0), "Everything goes my way");
    EXPECT_STREQ(FortuneText(9), "It's perfect in every way and leaves nothing to be desired");
    EXPECT_STREQ(FortuneText(12), "As you sow, so will you reap");
}
