#include "fortune/fortune_control.h"

#include <string>

#include "kit/gdi.h"
#include "shell/globals.h"
#include "shell/help.h"
#include "shell/registration.h"

namespace fortune {

namespace {
const char* const kPokerSetting = "Software\\Tivlo\\PokerSetting";
const char* const kCardBackValue = "Card_Back";
const char* const kLossText = "God's design is unknown !";
const char* const kCaption = "Tivlo 2.3";
}  // namespace

// ---- SheetSurface ----

SheetSurface::SheetSurface(const SheetPixels& pixels) {
    kit::Gdi& g = kit::gdi();
    dc_ = g.createCompatibleDC(0);
    bitmap_ = g.createBitmapFromPixels(pixels.width, pixels.height, SheetBgr(pixels).data());
    old_ = g.selectObject(dc_, bitmap_);
}

SheetSurface::~SheetSurface() {
    kit::Gdi& g = kit::gdi();
    g.selectObject(dc_, old_);
    g.deleteObject(bitmap_);
    g.deleteDC(dc_);
}

// ---- Creation ----

OcxFortune::OcxFortune(kit::Container* parent)
    : kit::UserControl(parent),
      cmdNew(this, "&New Prediction"),
      cmdChange(this, "&Change Back"),
      cmdHelp(this, "&Help"),
      picFortune(this, kTableBoxWidth, kTableBoxHeight),
      lblRemark(&picFortune),
      picCard(this, kCardWidth, kCardHeight),
      picWork(parent->hostForm(), kTableBoxWidth, kTableBoxHeight),
      tmrShowLeftCard(parent->hostForm(), kFinaleTickMs),
      tmrShowPairCard(parent->hostForm(), kFinaleTickMs) {
    setScaleMode(kit::kScalePixels);
    setBackColor(0xC0C0C0);
    setFillsForm(true);

    kit::CommandButton* buttons[] = {&cmdNew, &cmdChange, &cmdHelp};
    for (int i = 0; i < 3; ++i) {
        buttons[i]->movePx(kTableLeft + i * kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight);
        buttons[i]->setFontBold(true);
    }
    cmdNew.Click = [this] { cmdNew_Click(); };
    cmdChange.Click = [this] { cmdChange_Click(); };
    cmdHelp.Click = [this] { cmdHelp_Click(); };

    picFortune.setBorderStyle(1);
    picFortune.setBackColor(0x000000);
    picFortune.movePx(kTableLeft, kTableTop, kTableBoxWidth, kTableBoxHeight);
    picFortune.MouseMove = [this](int b, int s, int x, int y) { picFortune_MouseMove(b, s, x, y); };
    picFortune.MouseUp = [this](int b, int s, int x, int y) { picFortune_MouseUp(b, s, x, y); };
    picFortune.DblClick = [this] { picFortune_DblClick(); };
    // Under Windows the floating card lies under the pointer, so after the mouse is taken
    // away the table may see no move for a long time: recover at once.
    picFortune.CaptureLost = [this] { EndDrag(); };

    lblRemark.movePx(kRemarkLeft, kRemarkTop, 1, 1);
    lblRemark.setAutoSize(true);
    lblRemark.setBackStyle(kit::kBackTransparent);
    lblRemark.setForeColor(kRemarkColor);
    lblRemark.setFontBold(true);
    lblRemark.setVisible(false);

    picCard.setBackColor(0xFFFFFF);
    picCard.movePx(0, 0, kCardWidth, kCardHeight);
    picCard.setVisible(false);

    picWork.setBackColor(0x000000);
    tmrShowLeftCard.OnTimer = [this] { tmrShowLeftCard_Timer(); };
    tmrShowPairCard.OnTimer = [this] { tmrShowPairCard_Timer(); };
}

OcxFortune::~OcxFortune() = default;

void OcxFortune::UserControl_Initialize() {
    picFront = std::make_unique<SheetSurface>(kFaceSheet);
    picBack = std::make_unique<SheetSurface>(kBackSheet);
    gCardBack = CardBackFromText(eRegistration::GetRegistryValue(kPokerSetting, kCardBackValue));
    picCard.ZOrder(0);
    DealCards();
    DrawTable();
}

void OcxFortune::UserControl_Terminate() {
    picFront.reset();
    picBack.reset();
}

// ---- Drawing ----

void OcxFortune::DrawFace(int card, int x, int y) {
    mCards.ShowCard(picFortune.hDC(), kFaceUp, card, x, y, frontDC());
}

void OcxFortune::DrawBack(int x, int y) { mCards.ShowCard(picFortune.hDC(), kFaceDown, 0, x, y, backDC()); }

void OcxFortune::RestoreArea(int x, int y, int w, int h) {
    kit::gdi().bitBlt(picFortune.hDC(), x, y, w + 1, h + 1, picWork.hDC(), x, y, kit::kSrcCopy);
}

void OcxFortune::Fly(int card, int left, int top) {
    mCards.ShowCard(picCard.hDC(), kFaceUp, card, 0, 0, frontDC());
    picCard.Refresh();
    picCard.movePx(left, top, kCardWidth, kCardHeight);
    picCard.setVisible(true);
}

void OcxFortune::Land() { picCard.setVisible(false); }

void OcxFortune::EndDrag() {
    if (!mDragging) return;
    mDragging = false;
    const int col = mSelCol;
    if (col >= 0 && col < kColumns && mColumnTop[col] >= 0) {
        const Point p = ColumnCardAt(col, mColumnTop[col]);
        DrawFace(mTableau[col][mColumnTop[col]], p.x, p.y);
    }
    Land();
    picFortune.Refresh();
}

// ---- Deal ----

void OcxFortune::DealCards() {
    EndDrag();
    Deal(*this, mCards);
    mSelType = kSelNone;
    mSelCol = -1;
    tmrShowLeftCard.setEnabled(false);
    tmrShowPairCard.setEnabled(false);
}

void OcxFortune::DrawTable() {
    picFortune.Cls();
    lblRemark.setCaption("");
    lblRemark.setVisible(false);
    const Point start = PileCardAt(0, mSpacing);
    DrawFace(mPairPile[0], start.x, start.y);
    for (int i = 0; i <= mStockTop; ++i) {
        const Point p = StockCardAt(i);
        DrawBack(p.x, p.y);
    }
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kColumnCards - 1; ++r) {
            const Point p = ColumnCardAt(c, r);
            DrawBack(p.x, p.y);
        }
        const Point top = ColumnCardAt(c, kColumnCards - 1);
        DrawFace(mTableau[c][kColumnCards - 1], top.x, top.y);
    }
    picFortune.Refresh();
}

// ---- The player's moves ----

void OcxFortune::HitTestCard(int X, int Y) {
    const Selection s = SelectAt(*this, X, Y);
    mSelType = s.type;
    mSelCol = s.col;
    if (s.type == kSelColumn) {
        mOffsetX = s.offsetX;
        mOffsetY = s.offsetY;
    }
}

void OcxFortune::picFortune_MouseMove(int button, int shift, int X, int Y) {
    if (button != kit::kLeftButton) {
        // The right button pressed too, or the mouse taken away unnoticed: the drag is over.
        EndDrag();
        HitTestCard(X, Y);
        return;
    }
    if (mSelType != kSelColumn || mSelCol == -1) return;  // the stock's card is never dragged
    const int col = mSelCol, top = mColumnTop[col];
    if (!mDragging) {
        mDragging = true;
        const Point p = ColumnCardAt(col, top);
        RestoreArea(p.x, p.y, kEraseW, kEraseH);
        if (top > 0) {
            const Point below = ColumnCardAt(col, top - 1);
            DrawBack(below.x, below.y);
        }
    }
    mCards.ShowCard(picCard.hDC(), kFaceUp, mTableau[col][top], 0, 0, frontDC());
    picCard.movePx(picFortune.leftPx() + kTableBorder + X + mOffsetX,
                   picFortune.topPx() + kTableBorder + Y + mOffsetY, kCardWidth, kCardHeight);
    picCard.setVisible(true);
    picFortune.Refresh();
}

void OcxFortune::RemoveColumnTop(int col) {
    if (mColumnTop[col] <= 0) {
        mColumnTop[col] = -1;  // the column is empty; its area stays erased
        return;
    }
    --mColumnTop[col];
    const Point p = ColumnCardAt(col, mColumnTop[col]);
    DrawFace(mTableau[col][mColumnTop[col]], p.x, p.y);
}

void OcxFortune::picFortune_MouseUp(int button, int shift, int X, int Y) {
    if (button != kit::kLeftButton || !mDragging) return;
    const int col = mSelCol, top = mColumnTop[col];
    const int card = mTableau[col][top];
    const Point pile = PileCardAt(mPairTop, mSpacing);
    if (DropLands(mOffsetX + X, mOffsetY + Y, pile.x, pile.y) && FitsOnPile(*this, card)) {
        mPairPile[++mPairTop] = card;
        DrawPairPile();
        RemoveColumnTop(col);
    } else {
        const Point p = ColumnCardAt(col, top);
        DrawFace(card, p.x, p.y);
    }
    picFortune.Refresh();
    mDragging = false;
    Land();
    mSelType = kSelNone;
    mSelCol = -1;
    CheckGameEnd();
}

void OcxFortune::picFortune_DblClick() {
    // A right double-click during a drag acts on the dragged card once it is back in place.
    EndDrag();
    bool moved = false;
    if (mSelType == kSelColumn && mSelCol != -1) {
        const int col = mSelCol, top = mColumnTop[col];
        const int card = mTableau[col][top];
        if (FitsOnPile(*this, card)) {
            mPairPile[++mPairTop] = card;
            const Point p = ColumnCardAt(col, top);
            RestoreArea(p.x, p.y, kEraseW, kEraseH);
            DrawPairPile();
            RemoveColumnTop(col);
            moved = true;
        }
    } else if (mSelType == kSelStock && mSelCol != -1) {
        // The stock's top card goes to the pile whatever its point.
        mPairPile[++mPairTop] = mStock[mStockTop];
        const Point p = StockCardAt(mStockTop);
        RestoreArea(p.x, p.y, kEraseW, kEraseH);
        DrawPairPile();
        if (mStockTop <= 0) {
            mStockTop = -1;
        } else {
            --mStockTop;
            const Point next = StockCardAt(mStockTop);
            DrawBack(next.x, next.y);
        }
        moved = true;
    }
    mSelType = kSelNone;
    mSelCol = -1;
    if (!moved) return;
    picFortune.Refresh();
    CheckGameEnd();
}

void OcxFortune::DrawPairPile() {
    if (!PileMustClose(mPairTop, mSpacing)) {
        const Point p = PileCardAt(mPairTop, mSpacing);
        DrawFace(mPairPile[mPairTop], p.x, p.y);
        return;
    }
    --mSpacing;
    RestoreArea(0, kPairRowY, kTableBoxWidth, kEraseH);
    for (int i = 0; i <= mPairTop; ++i) {
        const Point p = PileCardAt(i, mSpacing);
        DrawFace(mPairPile[i], p.x, p.y);
    }
}

// ---- End of the game ----

void OcxFortune::CheckGameEnd() {
    bool won = true;
    for (int c = 0; c < kColumns; ++c) won = won && mColumnTop[c] == -1;
    if (won) {
        cmdNew.setEnabled(false);
        cmdChange.setEnabled(false);
        if (mStockTop == -1) {
            tmrShowPairCard.setEnabled(true);
            return;
        }
        // The leftover stock goes behind the pile's top, for the finale to bring over.
        for (int i = 0; i <= mStockTop; ++i) mPairPile[mPairTop + 1 + i] = mStock[i];
        mSavedStockTop = mStockTop;
        mStockTop = -1;
        tmrShowLeftCard.setEnabled(true);
        return;
    }
    if (mStockTop != -1) return;
    for (int c = 0; c < kColumns; ++c)
        if (mColumnTop[c] != -1 && FitsOnPile(*this, mTableau[c][mColumnTop[c]])) return;
    LoseAndDealAgain();
}

void OcxFortune::LoseAndDealAgain() {
    MsgBox(kLossText, kit::kMbIconExclamation, kCaption);
    kit::gdi().bitBlt(picFortune.hDC(), 0, 0, kTableBoxWidth, kTableBoxHeight, picWork.hDC(), 0, 0,
                      kit::kSrcCopy);
    picFortune.Refresh();
    DealCards();
    DrawTable();
}

// ---- Buttons ----

void OcxFortune::cmdNew_Click() {
    DealCards();
    DrawTable();
}

void OcxFortune::cmdChange_Click() {
    gCardBack = gCardBack < kBackDesigns - 1 ? gCardBack + 1 : 0;
    eRegistration::SetRegistryValue(kPokerSetting, kCardBackValue, std::to_string(gCardBack));
    cmdNew_Click();
}

void OcxFortune::cmdHelp_Click() {
    shell::OpenHelp(0);
}

}  // namespace fortune
