// The finale of a won game on the virtual clock: the leftover stock flying over the top row onto
// the pile, the reading of the 26 pairs, the fortunes, and the end with or without a match.
#include <numeric>

#include "fortune_fixture.h"

class FortuneFinale : public FortuneTest {
protected:
    // A won game: every column empty and the stock handed to the finale. With an empty stock
    // the pile must hold all 52 cards.
    void Win(OcxFortune& g, const std::vector<int>& pile, const std::vector<int>& stock, int spacing) {
        SetPile(g, pile);
        g.mSpacing = spacing;
        for (int c = 0; c < 5; ++c) SetColumn(g, c, {});
        SetStock(g, stock);
        Paint(g);
        g.CheckGameEnd();
    }
    void Tick(int n = 1) { ui.advance(300ull * n); }
    bool FlyingAt(OcxFortune& g, int left, int top) {
        return g.picCard.Visible() && g.picCard.leftPx() == left && g.picCard.topPx() == top;
    }
    // The pile 0, 1, ..., 51.
    static std::vector<int> Ordered() {
        std::vector<int> p(52);
        std::iota(p.begin(), p.end(), 0);
        return p;
    }
    // Pairs (i, 51 - i) of the ordered pile match only for i = 24 and 25; changed so that just
    // i = 24 (the sevens 24 and 27) matches.
    static std::vector<int> OneMatch() {
        auto p = Ordered();
        std::swap(p[25], p[0]);
        return p;
    }
};

TEST_F(FortuneFinale, OneLeftoverCardTakesFiveTicksThroughTheTopRowOntoThePile) {
    OcxFortune& g = Open();
    SetPile(g, {C(0, 0)});
    SetColumn(g, 0, {C(1, 2)});
    for (int c = 1; c < 5; ++c) SetColumn(g, c, {});
    SetStock(g, {C(7, 3)});
    Paint(g);
    DoubleClick(g, 30, 30);  // the two goes on and wins
    ASSERT_TRUE(g.tmrShowLeftCard.Enabled());
    ASSERT_EQ(g.mPairPile[2], C(7, 3));

    Tick(1);  // lifted from the stock, face up
    EXPECT_TRUE(Black(Shown(g), 0, 150, 71, 96));
    EXPECT_TRUE(FlyingAt(g, 12, 87));
    EXPECT_TRUE(FaceAt(Image(g.picCard.hDC()), g, C(7, 3), 0, 0));
    EXPECT_TRUE(g.tmrShowLeftCard.Enabled());
    Tick(1);  // onto the top row
    EXPECT_FALSE(g.picCard.Visible());
    EXPECT_TRUE(FaceAt(Shown(g), g, C(7, 3), 0, 0));
    Tick(1);  // lifted from the top row
    EXPECT_TRUE(Black(Shown(g), 0, 0, 71, 96));
    EXPECT_TRUE(FlyingAt(g, (2 * 10 + 0) / 2 + 12, 152));
    Tick(1);  // onto the pile at index 2
    EXPECT_FALSE(g.picCard.Visible());
    EXPECT_TRUE(FaceAt(Shown(g), g, C(7, 3), 20, 280));
    EXPECT_TRUE(g.tmrShowLeftCard.Enabled());
    EXPECT_FALSE(g.tmrShowPairCard.Enabled());
    Tick(1);  // the hand-over
    EXPECT_FALSE(g.tmrShowLeftCard.Enabled());
    EXPECT_TRUE(g.tmrShowPairCard.Enabled());
    EXPECT_EQ(g.mLeftToTopIndex, 0);
    EXPECT_EQ(g.mLeftToPileIndex, 0);
    EXPECT_EQ(g.mLeftCardHalf, 0);
}

TEST_F(FortuneFinale, FiveLeftoverCardsFlyFromTheStocksMiddle) {
    OcxFortune& g = Open();
    Win(g, {C(0, 0), C(1, 0)}, {C(2, 0), C(3, 0), C(4, 0), C(5, 0), C(6, 0)}, 10);
    ui.advance(299);
    EXPECT_FALSE(g.picCard.Visible());
    ui.advance(1);
    EXPECT_TRUE(FlyingAt(g, 32, 87));
    EXPECT_TRUE(FaceAt(Shown(g), g, C(5, 0), 30, 150));  // the next stock card, now face up
    Tick(9);
    // The top row's rightmost card, the stock's bottom one, lifts first and uncovers the card
    // it lay on; it flies half way to pile index 2 and lands there.
    EXPECT_TRUE(FaceAt(Shown(g), g, C(2, 0), 40, 0));
    Tick(1);
    Pixels t = Shown(g);
    EXPECT_TRUE(FaceAt(t, g, C(3, 0), 30, 0));
    EXPECT_TRUE(Black(t, 101, 0, 10, 96));
    EXPECT_TRUE(FlyingAt(g, (20 + 40) / 2 + 12, 152));
    EXPECT_TRUE(FaceAt(Image(g.picCard.hDC()), g, C(2, 0), 0, 0));
    Tick(1);
    EXPECT_FALSE(g.picCard.Visible());
    EXPECT_TRUE(FaceAt(Shown(g), g, C(2, 0), 20, 280));
    Tick(1);
    t = Shown(g);
    EXPECT_TRUE(FaceAt(t, g, C(4, 0), 20, 0));
    EXPECT_TRUE(Black(t, 91, 0, 10, 96));
    EXPECT_TRUE(FlyingAt(g, (30 + 30) / 2 + 12, 152));
}

TEST_F(FortuneFinale, TwentySixLeftoversFanOutOnTheTopRowAndCloseThePileUpToStepsOfFive) {
    OcxFortune& g = Open();
    auto deck = Ordered();
    const std::vector<int> pile(deck.begin(), deck.begin() + 26), stock(deck.begin() + 26, deck.end());
    Win(g, pile, stock, 10);
    ASSERT_TRUE(g.tmrShowLeftCard.Enabled());
    Tick(52);
    Pixels t = Shown(g);
    for (int a = 0; a < 25; ++a) EXPECT_TRUE(FaceAt(t, g, stock[25 - a], 10 * a, 0, 10, 96)) << a;
    EXPECT_TRUE(FaceAt(t, g, stock[0], 250, 0));
    EXPECT_TRUE(Black(t, 0, 150, 355, 96));
    Tick(52);
    t = Shown(g);
    EXPECT_EQ(g.mSpacing, 5);
    for (int i = 0; i < 51; ++i) EXPECT_TRUE(FaceAt(t, g, deck[i], 5 * i, 280, 5, 96)) << i;
    EXPECT_TRUE(FaceAt(t, g, deck[51], 255, 280));
    EXPECT_TRUE(Black(t, 0, 0, 355, 96));
    EXPECT_TRUE(g.tmrShowLeftCard.Enabled());
    Tick(1);
    EXPECT_TRUE(g.tmrShowPairCard.Enabled());
    // The reading lifts card 0 and redraws the rest from x 0 at steps of 5.
    Tick(1);
    t = Shown(g);
    EXPECT_TRUE(FaceAt(t, g, deck[1], 0, 280, 5, 96));
    EXPECT_TRUE(FaceAt(t, g, deck[51], 250, 280));
    EXPECT_TRUE(FlyingAt(g, 12, 227));
}

TEST_F(FortuneFinale, OneMatchedPairGivesOneFortuneAndTheReadingTakes105Ticks) {
    OcxFortune& g = Open();
    const auto pile = OneMatch();
    Win(g, pile, {}, 5);
    EXPECT_FALSE(g.cmdNew.Enabled());
    Tick(1);
    EXPECT_TRUE(FlyingAt(g, 12, 227));  // an unmatched first pair
    EXPECT_TRUE(FaceAt(Shown(g), g, pile[1], 0, 280, 5, 96));
    Tick(1);
    EXPECT_TRUE(FaceAt(Shown(g), g, pile[0], 0, 150));
    Tick(1);  // the far end's card lifts half way from the pile's end to its place
    EXPECT_TRUE(FlyingAt(g, (5 + 50 * 5) / 2 + 12, 227));
    EXPECT_TRUE(FaceAt(Image(g.picCard.hDC()), g, pile[51], 0, 0));
    EXPECT_TRUE(FaceAt(Shown(g), g, pile[50], 245, 280));
    EXPECT_TRUE(Black(Shown(g), 316, 280, 39, 96));
    Tick(1);  // pair 0 lies in the stock row
    EXPECT_TRUE(FaceAt(Shown(g), g, pile[0], 0, 150, 5, 96));
    EXPECT_TRUE(FaceAt(Shown(g), g, pile[51], 5, 150));
    for (int tick = 5; tick <= 104; ++tick) {
        Tick(1);
        ASSERT_FALSE(g.cmdNew.Enabled()) << tick;
        ASSERT_TRUE(g.tmrShowPairCard.Enabled()) << tick;
    }
    // The matched pair at i = 24 lies in the top row; unmatched pairs fill the stock row.
    Pixels t = Shown(g);
    EXPECT_TRUE(FaceAt(t, g, 24, 0, 0, 10, 96));
    EXPECT_TRUE(FaceAt(t, g, 27, 10, 0));
    EXPECT_EQ(g.lblRemark.Caption(), "Undependable\r\n");
    EXPECT_FALSE(g.lblRemark.Visible());
    EXPECT_FALSE(Black(t, 0, 150, 355, 96));
    ui.advance(299);
    EXPECT_FALSE(g.cmdNew.Enabled());
    ui.advance(1);  // the closing tick
    t = Shown(g);
    EXPECT_TRUE(Black(t, 0, 150, 355, 96));
    EXPECT_TRUE(g.lblRemark.Visible());
    EXPECT_EQ(g.lblRemark.leftPx(), 8);
    EXPECT_EQ(g.lblRemark.topPx(), 136);
    EXPECT_TRUE(g.cmdNew.Enabled());
    EXPECT_TRUE(g.cmdChange.Enabled());
    EXPECT_FALSE(g.tmrShowPairCard.Enabled());
    EXPECT_EQ(g.mPairIndex, 0);
    EXPECT_EQ(g.mMatchCount, 0);
    EXPECT_FALSE(g.mAnyMatch);
    EXPECT_TRUE(ui.msgBoxCalls().empty());
    // The reading stays until a new deal, which hides it.
    Tick(10);
    EXPECT_TRUE(g.lblRemark.Visible());
    ui.click(g.cmdNew.hWnd());
    EXPECT_FALSE(g.lblRemark.Visible());
    EXPECT_EQ(g.lblRemark.Caption(), "");
}

TEST_F(FortuneFinale, TwoKingsAtTheEndsReadFirst) {
    OcxFortune& g = Open();
    auto pile = Ordered();
    std::swap(pile[0], pile[48]);  // Kings 48 and 51 pair up first
    Win(g, pile, {}, 5);
    Tick(1);
    EXPECT_TRUE(FlyingAt(g, 12, 152));
    EXPECT_TRUE(FaceAt(Image(g.picCard.hDC()), g, 48, 0, 0));
    Tick(1);
    EXPECT_TRUE(FaceAt(Shown(g), g, 48, 0, 0));
    Tick(1);
    EXPECT_TRUE(FlyingAt(g, (50 * 5 + 5) / 2 + 12, 152));
    EXPECT_TRUE(FaceAt(Image(g.picCard.hDC()), g, 51, 0, 0));
    EXPECT_TRUE(FaceAt(Shown(g), g, pile[50], 245, 280));
    EXPECT_EQ(g.lblRemark.Caption(), "");
    Tick(1);
    EXPECT_FALSE(g.picCard.Visible());
    EXPECT_EQ(g.lblRemark.Caption(), "As you sow, so will you reap\r\n");
    EXPECT_TRUE(FaceAt(Shown(g), g, 48, 0, 0, 10, 96));
    EXPECT_TRUE(FaceAt(Shown(g), g, 51, 10, 0));
}

TEST_F(FortuneFinale, NoMatchedPairEndsWithTheMessageAndANewDeal) {
    OcxFortune& g = Open();
    auto pile = OneMatch();
    std::swap(pile[24], pile[1]);  // no pair matches now
    Win(g, pile, {}, 5);
    Tick(104);
    EXPECT_TRUE(ui.msgBoxCalls().empty());
    Tick(1);
    ASSERT_EQ(ui.msgBoxCalls().size(), 1u);
    EXPECT_EQ(ui.msgBoxCalls()[0].text, "God's design is unknown !");
    EXPECT_EQ(ui.msgBoxCalls()[0].caption, "Tivlo 2.3");
    EXPECT_EQ(ui.msgBoxCalls()[0].flags, 48);
    EXPECT_EQ(ui.msgBoxCalls()[0].owner, g.hWnd());
    EXPECT_EQ(g.mStockTop, 25);
    EXPECT_EQ(g.mPairTop, 0);
    EXPECT_TRUE(FaceAt(Shown(g), g, g.mPairPile[0], 0, 280));
    EXPECT_TRUE(g.cmdNew.Enabled());
    EXPECT_TRUE(g.cmdChange.Enabled());
    EXPECT_FALSE(g.tmrShowPairCard.Enabled());
    EXPECT_FALSE(g.lblRemark.Visible());
}

TEST_F(FortuneFinale, MatchedPairsPastTheTablesEdgeAreClipped) {
    OcxFortune& g = Open();
    std::vector<int> pile(52);
    for (int i = 0; i < 26; ++i) {
        pile[i] = 2 * i;
        pile[51 - i] = 2 * i + 1;  // the same point: every pair matches
    }
    Win(g, pile, {}, 5);
    Tick(105);
    EXPECT_TRUE(g.cmdNew.Enabled());
    EXPECT_TRUE(FaceAt(Shown(g), g, pile[13], 260, 0, 10, 96));
    EXPECT_TRUE(FaceAt(Shown(g), g, pile[51 - 14], 290, 0, 10, 96));  // the 15th pair
    // Pairs i and 51 - i have point i / 2: every fortune twice, Ace to King.
    const char* const texts[13] = {
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
    std::string expected;
    for (int i = 0; i < 26; ++i) expected += std::string(texts[i / 2]) + "\r\n";
    EXPECT_EQ(g.lblRemark.Caption(), expected);
}

TEST_F(FortuneFinale, ClosingTheWindowStopsTheFinaleAndTheNextOpeningDeals) {
    ASSERT_FALSE(Start());
    const std::size_t timersBefore = ui.timerCount();
    OcxFortune& g = Open();
    Win(g, {C(0, 0), C(1, 0)}, {C(2, 0), C(3, 0)}, 10);
    Tick(1);
    ASSERT_EQ(g.mLeftCardHalf, 1);
    ui.pressCloseBox(frmFortune().hWnd());
    EXPECT_EQ(ui.timerCount(), timersBefore);
    Tick(20);  // the closed control is gone: a tick reaching it would run on freed memory
    OcxFortune& again = Open();
    EXPECT_EQ(again.mStockTop, 25);
    EXPECT_TRUE(again.cmdNew.Enabled());
    EXPECT_FALSE(again.tmrShowLeftCard.Enabled());
    EXPECT_EQ(again.mLeftCardHalf, 0);
}
