// The card game played through its window: the deal on the table, hover, drag and drop,
// double-clicks, the pile, the end of a game, the window, the buttons and the back setting.
#include "fortune_fixture.h"

class FortuneGame : public FortuneTest {
protected:
    // A position for the rules: the pile's top is the Ace of clubs; column 0 holds a Nine
    // under the two of hearts, which fits; column 1 holds the Queen of spades alone, which
    // does not; the stock holds a six and a seven.
    void SetPosition(OcxFortune& g) {
        SetPile(g, {C(0, 0)});
        g.mSpacing = 10;
        SetColumn(g, 0, {C(8, 1), C(1, 2)});
        SetColumn(g, 1, {C(11, 3)});
        for (int c = 2; c < 5; ++c) SetColumn(g, c, {});
        SetStock(g, {C(5, 0), C(6, 1)});
        Paint(g);
    }
    // Grips the two of hearts at (30, 50), offsets (-30, -45), and drags it to (150, 200).
    void StartDrag(OcxFortune& g) {
        ui.mouseMove(table(g), 30, 50);
        ui.mouseDown(table(g), 30, 50);
        ui.mouseMove(table(g), 150, 200, kit::kLeftButton);
        ASSERT_TRUE(g.picCard.Visible());
    }
};

TEST_F(FortuneGame, AFreshDealShowsFiveColumnsTheStockAndTheStartCard) {
    OcxFortune& g = Open();
    const Pixels t = Drawn(g);
    for (int c = 0; c < 5; ++c) {
        for (int r = 0; r < 4; ++r) EXPECT_TRUE(BackAt(t, g, 0, 71 * c, 5 * r, 71, 5));
        EXPECT_TRUE(FaceAt(t, g, g.mTableau[c][4], 71 * c, 20));
        EXPECT_EQ(g.mColumnTop[c], 4);
    }
    EXPECT_EQ(g.mStockTop, 25);
    for (int i = 0; i < 25; ++i) EXPECT_TRUE(BackAt(t, g, 0, 10 * i, 150, 10, 96));
    EXPECT_TRUE(BackAt(t, g, 0, 250, 150));
    EXPECT_TRUE(FaceAt(t, g, g.mPairPile[0], 0, 280));
    EXPECT_TRUE(Black(t, 0, 116, 355, 34));
    EXPECT_TRUE(Black(t, 321, 150, 34, 96));
    EXPECT_TRUE(Black(t, 71, 246, 284, 130));
    // The deal was refreshed onto the screen; the fortunes are hidden.
    EXPECT_TRUE(Same(Shown(g), 0, 0, t, 0, 0, 355, 376));
    EXPECT_FALSE(g.lblRemark.Visible());
    EXPECT_EQ(g.lblRemark.Caption(), "");

    // Every card of the deck is dealt once.
    std::vector<int> seen(52, 0);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 5; ++r) ++seen.at(g.mTableau[c][r]);
    for (int i = 0; i < 26; ++i) ++seen.at(g.mStock[i]);
    ++seen.at(g.mPairPile[0]);
    EXPECT_EQ(seen, std::vector<int>(52, 1));
}

TEST_F(FortuneGame, TheWindowAndItsControlsStandWhereTheyShould) {
    OcxFortune& g = Open();
    FrmFortune& f = frmFortune();
    EXPECT_EQ(f.Caption(), "Fortune-telling");
    EXPECT_EQ(f.BorderStyle(), kit::kBorderFixedDialog);
    EXPECT_EQ(f.BackColor(), 0xC0C0C0u);
    EXPECT_EQ(f.Width(), 5700);
    EXPECT_EQ(f.Height(), 6900);
    EXPECT_TRUE(f.Visible());
    const struct {
        kit::Control& c;
        int x, y, w, h;
    } rows[] = {{g.cmdNew, 8, 8, 100, 22},       {g.cmdChange, 108, 8, 100, 22},
                {g.cmdHelp, 208, 8, 100, 22},    {g.picFortune, 8, 40, 359, 380},
                {g.lblRemark, 8, 136, -1, -1},   {g.picCard, -1, -1, 71, 96}};
    for (const auto& r : rows) {
        if (r.x >= 0) { EXPECT_EQ(r.c.leftPx(), r.x); }
        if (r.y >= 0) { EXPECT_EQ(r.c.topPx(), r.y); }
        if (r.w >= 0) { EXPECT_EQ(r.c.widthPx(), r.w); }
        if (r.h >= 0) { EXPECT_EQ(r.c.heightPx(), r.h); }
    }
    EXPECT_EQ(g.cmdNew.Caption(), "&New Prediction");
    EXPECT_EQ(g.cmdChange.Caption(), "&Change Back");
    EXPECT_EQ(g.cmdHelp.Caption(), "&Help");
    for (kit::Control* b : {static_cast<kit::Control*>(&g.cmdNew), static_cast<kit::Control*>(&g.cmdHelp),
                            static_cast<kit::Control*>(&g.lblRemark)}) {
        EXPECT_TRUE(b->FontBold());
        EXPECT_EQ(b->FontName(), "MS Sans Serif");
        EXPECT_EQ(b->FontSize(), 8.25);
    }
    EXPECT_EQ(g.lblRemark.ForeColor(), 0x0000C0u);
    EXPECT_EQ(g.picFortune.ScaleWidth(), 355);
    EXPECT_EQ(g.picFortune.ScaleHeight(), 376);
    // The floating card lies in front of the table.
    EXPECT_EQ(ui.childrenOf(g.hWnd()).back(), g.picCard.hWnd());
    EXPECT_FALSE(g.picCard.Visible());
    EXPECT_FALSE(g.tmrShowLeftCard.Enabled());
    EXPECT_EQ(g.tmrShowLeftCard.Interval(), 300u);
    EXPECT_EQ(g.tmrShowPairCard.Interval(), 300u);

    ui.click(g.cmdHelp.hWnd());
    ASSERT_EQ(world.shell.calls().size(), 1u);
    EXPECT_EQ(world.shell.calls()[0].verb, "open");
    EXPECT_EQ(world.shell.calls()[0].file, ui.appPath() + "\\Tivlo 2.3 Full Version Help.chm");
}

TEST_F(FortuneGame, OnlyWhollyVisibleTopCardsSelectAndCapturedMovesFarOutSelectNothing) {
    OcxFortune& g = Open();
    const kit::Handle t = table(g);
    ui.mouseMove(t, 10, 20);
    EXPECT_EQ(g.mSelType, fortune::kSelNone);
    ui.mouseMove(t, 10, 21);
    EXPECT_EQ(g.mSelType, fortune::kSelColumn);
    EXPECT_EQ(g.mSelCol, 0);
    EXPECT_EQ(g.mOffsetX, -10);
    EXPECT_EQ(g.mOffsetY, -1);
    ui.mouseMove(t, 300, 12);  // a strip of column 4
    EXPECT_EQ(g.mSelType, fortune::kSelNone);
    ui.mouseMove(t, 100, 200);  // a covered stock card
    EXPECT_EQ(g.mSelType, fortune::kSelNone);
    ui.mouseMove(t, 300, 200);
    EXPECT_EQ(g.mSelType, fortune::kSelStock);

    // The right button held on the table keeps the mouse; moves far beyond it select nothing.
    ui.mouseDown(t, 100, 50, kit::kRightButton);
    for (int x : {400, 355, -71, -5000, 70000}) {
        ui.mouseMove(t, x, 50, kit::kRightButton);
        EXPECT_EQ(g.mSelType, fortune::kSelNone) << x;
        EXPECT_EQ(g.mSelCol, -1) << x;
    }
    ui.mouseMove(t, -70, 50, kit::kRightButton);
    EXPECT_EQ(g.mSelCol, 0);
    ui.mouseUp(t, -70, 50, kit::kRightButton);
}

TEST_F(FortuneGame, ADraggedCardFloatsAboveTheTableAndLandsOnAnyOverlap) {
    OcxFortune& g = Open();
    // Grip at (30, 50) on the two at (0, 5): offsets (-30, -45). The pile's top card lies at
    // (0, 280).
    auto drop = [&](int dX, int dY) {
        SetPosition(g);
        Drag(g, 30, 50, dX + 30, dY + 45);
        return g.mPairTop == 1;
    };
    EXPECT_FALSE(drop(-71, 280));  // right edge on the pile card's left edge
    EXPECT_TRUE(drop(-70, 280));
    EXPECT_TRUE(drop(0, 280));  // squarely on it
    EXPECT_TRUE(drop(70, 376 - 96));
    EXPECT_FALSE(drop(0, 280 - 96));
    EXPECT_TRUE(drop(0, 280 - 95));

    // Landed: the two is the pile's top at (10, 280), the Nine comes up in its column.
    Pixels t = Drawn(g);
    EXPECT_EQ(g.mPairPile[1], C(1, 2));
    EXPECT_TRUE(FaceAt(t, g, C(1, 2), 10, 280));
    EXPECT_TRUE(FaceAt(t, g, C(8, 1), 0, 0));
    EXPECT_TRUE(Black(t, 0, 96, 71, 20));
    EXPECT_EQ(g.mColumnTop[0], 0);
    EXPECT_FALSE(g.picCard.Visible());
    EXPECT_EQ(g.mSelType, fortune::kSelNone);
    EXPECT_TRUE(Same(Shown(g), 0, 0, t, 0, 0, 355, 376));

    // Mid-drag: the card below shows as a back, the dragged one floats at the pointer.
    SetPosition(g);
    ui.mouseMove(table(g), 30, 50);
    ui.mouseDown(table(g), 30, 50);
    ui.mouseMove(table(g), 200, 100, kit::kLeftButton);
    t = Drawn(g);
    EXPECT_TRUE(BackAt(t, g, 0, 0, 0));
    EXPECT_TRUE(Black(t, 0, 96, 71, 5));  // the whole card was erased, its last row too
    EXPECT_TRUE(Black(t, 70, 0 + 96, 1, 20));
    ASSERT_TRUE(g.picCard.Visible());
    EXPECT_EQ(g.picCard.leftPx(), 8 + 2 + 200 - 30);
    EXPECT_EQ(g.picCard.topPx(), 40 + 2 + 100 - 45);
    EXPECT_TRUE(FaceAt(Image(g.picCard.hDC()), g, C(1, 2), 0, 0));
    EXPECT_EQ(ui.childrenOf(g.hWnd()).back(), g.picCard.hWnd());
    // Released away from the pile: back in its column, face up.
    ui.mouseUp(table(g), 200, 100);
    t = Drawn(g);
    EXPECT_TRUE(FaceAt(t, g, C(1, 2), 0, 5));
    EXPECT_TRUE(BackAt(t, g, 0, 0, 0, 71, 5));
    EXPECT_EQ(g.mPairTop, 0);
    EXPECT_FALSE(g.picCard.Visible());

    // A card that does not fit goes back even when dropped squarely on the pile.
    SetPosition(g);
    Drag(g, 100, 50, 0 + 29, 280 + 50);  // offsets (-29, -50)
    EXPECT_EQ(g.mPairTop, 0);
    EXPECT_TRUE(FaceAt(Drawn(g), g, C(11, 3), 71, 0));
    EXPECT_TRUE(ui.msgBoxCalls().empty());
}

TEST_F(FortuneGame, TheLastCardOfAColumnLeavesItEmptyForGood) {
    OcxFortune& g = Open();
    SetPosition(g);
    SetColumn(g, 1, {C(12, 0)});  // a King fits on the Ace
    Paint(g);
    Drag(g, 100, 50, 71 + 10, 280 + 10);
    EXPECT_EQ(g.mColumnTop[1], -1);
    EXPECT_EQ(g.mPairPile[1], C(12, 0));
    const Pixels t = Drawn(g);
    EXPECT_TRUE(Black(t, 71, 0, 71, 96));
    for (int y : {1, 20, 50, 95, 120}) {
        ui.mouseMove(table(g), 100, y);
        EXPECT_EQ(g.mSelType, fortune::kSelNone) << y;
    }
    // A drag from the empty column does nothing at all.
    Drag(g, 100, 50, 10, 290);
    EXPECT_EQ(g.mPairTop, 1);
    EXPECT_FALSE(g.picCard.Visible());
}

TEST_F(FortuneGame, AnAbandonedDragPutsTheCardBackFaceUp) {
    OcxFortune& g = Open();
    for (int how = 0; how < 3; ++how) {
        SetPosition(g);
        StartDrag(g);
        if (how == 0) {
            // The right button pressed as well.
            ui.mouseMove(table(g), 150, 201, kit::kLeftButton | kit::kRightButton);
        } else if (how == 2) {
            // Another window took the mouse; the moves that follow go to the floating card's
            // window under the pointer, none to the table.
            ui.loseCapture();
            ui.mouseMove(g.picCard.hWnd(), 5, 5);
        } else {
            // Another window took the mouse; the pointer comes back with no button down.
            ui.loseCapture();
            ui.mouseMove(table(g), 150, 201);
        }
        const Pixels t = Drawn(g);
        EXPECT_TRUE(FaceAt(t, g, C(1, 2), 0, 5)) << how;
        EXPECT_TRUE(BackAt(t, g, 0, 0, 0, 71, 5)) << how;
        EXPECT_FALSE(g.picCard.Visible()) << how;
        EXPECT_FALSE(g.mDragging);
        EXPECT_TRUE(Same(Shown(g), 0, 0, t, 0, 0, 355, 376)) << how;
        EXPECT_EQ(g.mColumnTop[0], 1);
        EXPECT_EQ(g.mPairTop, 0);
        ui.mouseUp(table(g), 150, 201);
        EXPECT_EQ(g.mPairTop, 0);
    }
    EXPECT_TRUE(ui.msgBoxCalls().empty());
}

TEST_F(FortuneGame, ANewDealOrADoubleClickDuringADragEndsTheDragFirst) {
    OcxFortune& g = Open();
    // The deal buttons keep the focus while the table is played: Alt+N, Alt+C and Space on the
    // focused button deal anew under the drag. The release, where a drop would land on the
    // pile, then leaves the new deal as it was dealt.
    for (int how = 0; how < 3; ++how) {
        SetPosition(g);
        StartDrag(g);
        if (how == 0) ui.pressKey('N', kit::kAltMask);
        if (how == 1) ui.pressKey('C', kit::kAltMask);
        if (how == 2) ui.pressKey(kit::kKeySpace);
        EXPECT_FALSE(g.picCard.Visible()) << how;
        ui.mouseMove(table(g), 40, 300, kit::kLeftButton);
        ui.mouseUp(table(g), 30, 325);
        EXPECT_FALSE(g.picCard.Visible()) << how;
        std::vector<int> seen(52, 0);
        for (int c = 0; c < 5; ++c) {
            ASSERT_EQ(g.mColumnTop[c], 4) << how;
            for (int r = 0; r < 5; ++r) ++seen.at(g.mTableau[c][r]);
        }
        ASSERT_EQ(g.mStockTop, 25) << how;
        for (int i = 0; i < 26; ++i) ++seen.at(g.mStock[i]);
        ASSERT_EQ(g.mPairTop, 0) << how;
        ++seen.at(g.mPairPile[0]);
        EXPECT_EQ(seen, std::vector<int>(52, 1)) << how;
        const Pixels t = Shown(g);
        for (int c = 0; c < 5; ++c) {
            for (int r = 0; r < 4; ++r) EXPECT_TRUE(BackAt(t, g, gCardBack, 71 * c, 5 * r, 71, 5)) << how;
            EXPECT_TRUE(FaceAt(t, g, g.mTableau[c][4], 71 * c, 20)) << how;
        }
        EXPECT_TRUE(FaceAt(t, g, g.mPairPile[0], 0, 280)) << how;
        EXPECT_TRUE(Black(t, 71, 280, 284, 96)) << how;
        EXPECT_TRUE(Same(t, 0, 0, Drawn(g), 0, 0, 355, 376)) << how;
    }

    // A right double-click during the drag acts on the dragged card back in its place: a card
    // that does not fit stays there, one that fits goes to the pile; the floating card is
    // hidden either way and the release that follows does nothing.
    for (bool fits : {false, true}) {
        SetPosition(g);
        if (!fits) SetColumn(g, 0, {C(8, 1), C(11, 2)});  // a Queen on the Ace
        Paint(g);
        StartDrag(g);
        ui.dblClick(table(g), 150, 200, kit::kRightButton);
        EXPECT_FALSE(g.picCard.Visible()) << fits;
        ui.mouseUp(table(g), 30, 325);
        EXPECT_FALSE(g.picCard.Visible()) << fits;
        const Pixels t = Shown(g);
        if (fits) {
            EXPECT_EQ(g.mPairTop, 1);
            EXPECT_EQ(g.mColumnTop[0], 0);
            EXPECT_TRUE(FaceAt(t, g, C(1, 2), 10, 280));
            EXPECT_TRUE(FaceAt(t, g, C(8, 1), 0, 0));
        } else {
            EXPECT_EQ(g.mPairTop, 0);
            EXPECT_EQ(g.mColumnTop[0], 1);
            EXPECT_TRUE(FaceAt(t, g, C(11, 2), 0, 5));
            EXPECT_TRUE(Black(t, 71, 280, 71, 96));
        }
        EXPECT_TRUE(Same(t, 0, 0, Drawn(g), 0, 0, 355, 376)) << fits;
    }
    EXPECT_TRUE(ui.msgBoxCalls().empty());
}

TEST_F(FortuneGame, DoubleClicksMoveTheStockCardAlwaysAndColumnCardsThatFit) {
    OcxFortune& g = Open();
    SetPosition(g);
    // The stock's top card, a seven, goes to the pile whatever its point.
    DoubleClick(g, 15, 200);
    EXPECT_EQ(g.mPairTop, 1);
    EXPECT_EQ(g.mPairPile[1], C(6, 1));
    EXPECT_EQ(g.mStockTop, 0);
    Pixels t = Drawn(g);
    EXPECT_TRUE(FaceAt(t, g, C(6, 1), 10, 280));
    EXPECT_TRUE(BackAt(t, g, 0, 0, 150));
    EXPECT_TRUE(Black(t, 71, 150, 20, 96));  // the old top card at x 10 is gone
    EXPECT_EQ(g.mSelType, fortune::kSelNone);

    // The Queen does not fit the seven: nothing changes and the game is not checked, although
    // it would be lost without the stock.
    SetStock(g, {});
    Paint(g);
    const Pixels before = Drawn(g);
    const int repaints = ui.repaintCount(table(g));
    DoubleClick(g, 100, 50);
    EXPECT_TRUE(Same(Drawn(g), 0, 0, before, 0, 0, 355, 376));
    EXPECT_EQ(ui.repaintCount(table(g)), repaints);
    EXPECT_TRUE(ui.msgBoxCalls().empty());
    EXPECT_EQ(g.mSelType, fortune::kSelNone);

    // A fitting column card moves.
    SetPosition(g);
    DoubleClick(g, 30, 50);
    EXPECT_EQ(g.mPairPile[1], C(1, 2));
    EXPECT_EQ(g.mColumnTop[0], 0);
    t = Drawn(g);
    EXPECT_TRUE(FaceAt(t, g, C(8, 1), 0, 0));
    EXPECT_TRUE(Black(t, 0, 96, 71, 20));

    // The last stock card leaves the stock row black.
    SetPosition(g);
    SetStock(g, {C(0, 1)});
    Paint(g);
    DoubleClick(g, 15, 200);
    EXPECT_EQ(g.mStockTop, -1);
    t = Shown(g);
    EXPECT_TRUE(FaceAt(t, g, C(0, 1), 10, 280));
    EXPECT_TRUE(Black(t, 0, 150, 355, 96));
    ui.mouseMove(table(g), 15, 200);
    EXPECT_EQ(g.mSelType, fortune::kSelNone);
}

TEST_F(FortuneGame, ThePileClosesUpAStepAtTheThirtiethCard) {
    OcxFortune& g = Open();
    SetPosition(g);
    std::vector<int> pile;
    for (int i = 0; i < 29; ++i) pile.push_back(C(i % 2 ? 9 : 10, i % 4));  // ends on a Jack
    SetPile(g, pile);
    SetColumn(g, 0, {C(11, 1)});  // a Queen fits
    Paint(g);
    DoubleClick(g, 30, 50);
    ASSERT_EQ(g.mPairTop, 29);
    EXPECT_EQ(g.mSpacing, 9);
    const Pixels t = Drawn(g);
    for (int i = 0; i < 29; ++i) EXPECT_TRUE(FaceAt(t, g, pile[i], 9 * i, 280, 9, 96)) << i;
    EXPECT_TRUE(FaceAt(t, g, C(11, 1), 261, 280));
    EXPECT_TRUE(Black(t, 332, 280, 23, 96));  // where the 29th card lay at x 280
}

TEST_F(FortuneGame, ALostGameShowsTheMessageOverTheFinalPositionThenDealsAgain) {
    OcxFortune& g = Open();
    SetPosition(g);
    SetStock(g, {});
    Paint(g);
    Pixels atMessage;
    ui.setMsgBoxHandler([&](const kit::headless::HeadlessBackend::MsgBoxCall&) {
        atMessage = Shown(g);
        return kit::kIdOk;
    });
    DoubleClick(g, 30, 50);  // the two goes on; the Nine and the Queen fit nothing
    ASSERT_EQ(ui.msgBoxCalls().size(), 1u);
    const auto& box = ui.msgBoxCalls()[0];
    EXPECT_EQ(box.text, "God's design is unknown !");
    EXPECT_EQ(box.caption, "Tivlo 2.3");
    EXPECT_EQ(box.flags, 48);
    EXPECT_EQ(box.owner, g.hWnd());
    ASSERT_EQ(atMessage.width, 355);
    EXPECT_TRUE(FaceAt(atMessage, g, C(1, 2), 10, 280));
    EXPECT_TRUE(FaceAt(atMessage, g, C(8, 1), 0, 0));
    // A new game.
    EXPECT_EQ(g.mStockTop, 25);
    EXPECT_EQ(g.mPairTop, 0);
    for (int c = 0; c < 5; ++c) EXPECT_EQ(g.mColumnTop[c], 4);
    EXPECT_TRUE(FaceAt(Shown(g), g, g.mPairPile[0], 0, 280));
    EXPECT_TRUE(g.cmdNew.Enabled());
}

TEST_F(FortuneGame, AWonGameHandsOverToTheFinaleWithTheDealButtonsDisabled) {
    OcxFortune& g = Open();
    SetPosition(g);
    SetColumn(g, 0, {C(1, 2)});
    SetColumn(g, 1, {});
    Paint(g);
    DoubleClick(g, 30, 30);
    EXPECT_FALSE(g.cmdNew.Enabled());
    EXPECT_FALSE(g.cmdChange.Enabled());
    EXPECT_TRUE(g.cmdHelp.Enabled());
    EXPECT_TRUE(g.tmrShowLeftCard.Enabled());
    EXPECT_FALSE(g.tmrShowPairCard.Enabled());
    EXPECT_EQ(g.mSavedStockTop, 1);
    EXPECT_EQ(g.mStockTop, -1);
    EXPECT_EQ(g.mPairTop, 1);
    EXPECT_EQ(g.mPairPile[2], C(5, 0));
    EXPECT_EQ(g.mPairPile[3], C(6, 1));
    // Nothing on the table selects during the finale.
    ui.mouseMove(table(g), 15, 200);
    EXPECT_EQ(g.mSelType, fortune::kSelNone);

    // With an empty stock the reading starts at once.
    frmFortune.Unload();
    OcxFortune& h = Open();
    SetPosition(h);
    SetColumn(h, 0, {C(1, 2)});
    SetColumn(h, 1, {});
    SetStock(h, {});
    Paint(h);
    DoubleClick(h, 30, 30);
    EXPECT_FALSE(h.tmrShowLeftCard.Enabled());
    EXPECT_TRUE(h.tmrShowPairCard.Enabled());
    EXPECT_FALSE(h.cmdNew.Enabled());
}

TEST_F(FortuneGame, ChangeBackStepsThroughTheEightDesignsAndDeals) {
    ASSERT_FALSE(Start());
    eRegistration::SetRegistryValue("Software\\Tivlo\\PokerSetting", "Card_Back", "7");
    OcxFortune& g = Open();
    EXPECT_EQ(gCardBack, 7);
    EXPECT_TRUE(BackAt(Drawn(g), g, 7, 250, 150));
    SetPosition(g);
    ui.click(g.cmdChange.hWnd());
    EXPECT_EQ(gCardBack, 0);
    EXPECT_EQ(eRegistration::GetRegistryValue("Software\\Tivlo\\PokerSetting", "Card_Back"), "0");
    EXPECT_EQ(g.mStockTop, 25);  // dealt anew
    EXPECT_TRUE(BackAt(Shown(g), g, 0, 250, 150));
    ui.click(g.cmdChange.hWnd());
    EXPECT_EQ(eRegistration::GetRegistryValue("Software\\Tivlo\\PokerSetting", "Card_Back"), "1");
    EXPECT_TRUE(BackAt(Shown(g), g, 1, 250, 150));

    // New Prediction deals without asking.
    const fortune::Deck before = g.mDeck;
    ui.click(g.cmdNew.hWnd());
    EXPECT_NE(g.mDeck, before);
    EXPECT_TRUE(ui.msgBoxCalls().empty());
}

TEST_F(FortuneGame, OnlyWholeNumbersFromZeroToSevenChooseABack) {
    const struct {
        const char* text;
        int design;
    } rows[] = {{"  3", 3}, {"abc", 0}, {"2.5", 0}, {"7.9", 0}, {"-1", 0}, {"1e9", 0}, {"6", 6}};
    ASSERT_FALSE(Start());
    for (const auto& r : rows) {
        eRegistration::SetRegistryValue("Software\\Tivlo\\PokerSetting", "Card_Back", r.text);
        OcxFortune& g = Open();
        EXPECT_EQ(gCardBack, r.design) << r.text;
        EXPECT_TRUE(BackAt(Drawn(g), g, r.design, 250, 150)) << r.text;
        frmFortune.Unload();
    }
    // The key without the value reads as 254 blanks: design 0.
    eRegistration::DeleteRegistryKey("Software\\Tivlo\\PokerSetting");
    eRegistration::SetRegistryValue("Software\\Tivlo\\PokerSetting", "Other", "5");
    ASSERT_EQ(eRegistration::GetRegistryValue("Software\\Tivlo\\PokerSetting", "Card_Back"), std::string(254, ' '));
    OcxFortune& g = Open();
    EXPECT_EQ(gCardBack, 0);
    EXPECT_TRUE(BackAt(Drawn(g), g, 0, 250, 150));
}

TEST_F(FortuneGame, TheTrayItemIsDisabledWhileTheWindowIsOpenAndEachOpeningDealsAnew) {
    OcxFortune& g = Open();
    EXPECT_FALSE(frmTivlo().mnuFortune.Enabled);
    const fortune::Deck first = g.mDeck;
    ui.pressCloseBox(frmFortune().hWnd());
    EXPECT_FALSE(frmFortune.Loaded());
    EXPECT_TRUE(frmTivlo().mnuFortune.Enabled);
    OcxFortune& again = Open();
    EXPECT_FALSE(frmTivlo().mnuFortune.Enabled);
    EXPECT_NE(again.mDeck, first);
    EXPECT_TRUE(FaceAt(Shown(again), again, again.mPairPile[0], 0, 280));
}

TEST_F(FortuneGame, OpeningAndClosingLeavesNoDrawingObjectsBehind) {
    Open();
    frmFortune.Unload();
    const int objects = world.gdi.liveObjectCount(), dcs = world.gdi.liveDCCount();
    for (int i = 0; i < 3; ++i) {
        OcxFortune& g = Open();
        ui.click(g.cmdNew.hWnd());
        Drag(g, 30, 50, 200, 200);
        frmFortune.Unload();
    }
    EXPECT_EQ(world.gdi.liveObjectCount(), objects);
    EXPECT_EQ(world.gdi.liveDCCount(), dcs);
}
