// ocxFortune: the card game's control. The table with the deal, the player's moves by mouse,
// the pile, the end check, the three buttons and the card-back choice; the finale after a win
// is in fortune_finale.cpp.
#pragma once
#include <cstdint>
#include <memory>

#include "fortune/card_deck.h"
#include "fortune/card_sheets.h"
#include "fortune/fortune_rules.h"
#include "kit/controls.h"

namespace fortune {

// Control pixels of the controls the game places.
constexpr int kTableLeft = 8, kTableTop = 40;
constexpr int kButtonTop = 8, kButtonWidth = 100, kButtonHeight = 22;
constexpr int kRemarkLeft = 8, kRemarkTop = 136;  // table pixels
constexpr unsigned kFinaleTickMs = 300;
constexpr kit::Color kRemarkColor = 0x0000C0;  // RGB 192, 0, 0

// A sheet of card pictures made from the bytes compiled into the program: a memory DC
// holding a 24-bit bitmap, released with the object.
class SheetSurface {
public:
    explicit SheetSurface(const SheetPixels& pixels);
    ~SheetSurface();
    SheetSurface(const SheetSurface&) = delete;
    SheetSurface& operator=(const SheetSurface&) = delete;
    kit::Handle hDC() const { return dc_; }

private:
    kit::Handle dc_ = 0, bitmap_ = 0, old_ = 0;
};

// The game's state (the cards in Table, the selection, the drag and the finale's counters)
// is public so tests can set up a position.
class OcxFortune : public kit::UserControl, public Table {
public:
    explicit OcxFortune(kit::Container* parent);
    ~OcxFortune() override;

    void DealCards();
    void DrawTable();
    void HitTestCard(int X, int Y);
    // Copies (w + 1) x (h + 1) pixels of the clean table onto the table; no refresh.
    void RestoreArea(int x, int y, int w, int h);
    void DrawPairPile();
    void CheckGameEnd();

    void picFortune_MouseMove(int button, int shift, int X, int Y);
    void picFortune_MouseUp(int button, int shift, int X, int Y);
    void picFortune_DblClick();
    void cmdNew_Click();
    void cmdChange_Click();
    void cmdHelp_Click();
    void tmrShowLeftCard_Timer();
    void tmrShowPairCard_Timer();

    // Paints a card face up or a back on the table's image.
    void DrawFace(int card, int x, int y);
    void DrawBack(int x, int y);
    // The sheets, made when the control is created.
    kit::Handle frontDC() const { return picFront ? picFront->hDC() : 0; }
    kit::Handle backDC() const { return picBack ? picBack->hDC() : 0; }

    clsCard mCards;
    kit::CommandButton cmdNew;
    kit::CommandButton cmdChange;
    kit::CommandButton cmdHelp;
    kit::PictureBox picFortune;
    kit::Label lblRemark;
    kit::PictureBox picCard;
    kit::Surface picWork;
    std::unique_ptr<SheetSurface> picFront, picBack;
    kit::Timer tmrShowLeftCard;
    kit::Timer tmrShowPairCard;

    std::int16_t mSelType = kSelNone;
    std::int16_t mSelCol = -1;
    bool mDragging = false;
    int mOffsetX = 0, mOffsetY = 0;
    int mSavedStockTop = -1;
    // The finale's counters, all 0 between animations.
    std::int16_t mLeftToTopIndex = 0, mLeftToPileIndex = 0, mLeftCardHalf = 0;
    std::int16_t mPairIndex = 0, mPairStep = 0, mMatchCount = 0;
    bool mAnyMatch = false;

protected:
    void UserControl_Initialize() override;
    void UserControl_Terminate() override;

private:
    // The floating card: painted with the card's face and shown at (left, top) in control
    // pixels; hidden again when the card lands.
    void Fly(int card, int left, int top);
    void Land();
    // A drag that ends other than by its drop (another button, the mouse taken away, a
    // double-click, a new deal) puts the card back face up in its column, as a missed drop.
    void EndDrag();
    // Takes the selected column's top card off the column after it went to the pile.
    void RemoveColumnTop(int col);
    // The table overwritten from the clean table and shown, then a new game.
    void LoseAndDealAgain();
};

}  // namespace fortune
