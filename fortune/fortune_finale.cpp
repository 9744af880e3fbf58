// The finale of a won game: the leftover stock flies over the top row onto the pile, then the
// pile is read as 26 pairs, the matched ones giving the fortunes.
#include <string>

#include "fortune/fortune_control.h"

namespace fortune {

namespace {
// Tops of the floating card in control pixels: half way between the rows, and a little lower.
constexpr int kLeftLiftTop = kStockRowY / 2 + 12;               // 87
constexpr int kLeftToPileTop = kPairRowY / 2 + 12;              // 152
constexpr int kUnmatchedTop = (kStockRowY + kPairRowY) / 2 + 12;  // 227
constexpr int kMatchedTop = kPairRowY / 2 + 12;                 // 152
constexpr int kFlyOffset = 12;
constexpr int kMatchStep = 20, kMatchGap = 10;  // matched pairs in the top row
constexpr int kLastPair = kDeckSize / 2 - 1;     // 25
}  // namespace

// Each tick first stops its timer and, when work is left, starts it again after its refresh:
// ticks never overlap and the interval runs from the end of the previous tick.
void OcxFortune::tmrShowLeftCard_Timer() {
    tmrShowLeftCard.setEnabled(false);
    const int n = mSavedStockTop, A = mLeftToTopIndex, B = mLeftToPileIndex;
    if (A <= n) {
        // The stock moves to the top row, its top card first, each card revealed face up.
        if (mLeftCardHalf == 0) {
            RestoreArea(kStockStep * (n - A), kStockRowY, kEraseW, kEraseH);
            if (A < n) DrawFace(mStock[n - A - 1], kStockStep * (n - A - 1), kStockRowY);
            Fly(mStock[n - A], (kStockStep * n) / 2 + kFlyOffset, kLeftLiftTop);
            mLeftCardHalf = 1;
        } else {
            Land();
            DrawFace(mStock[n - A], kStockStep * A, kTopRowY);
            mLeftCardHalf = 0;
            ++mLeftToTopIndex;
        }
    } else if (B <= n) {
        // The top row moves onto the pile, its rightmost card first.
        const int index = mPairTop + 1 + B;
        if (mLeftCardHalf == 0) {
            RestoreArea(kStockStep * (n - B), kTopRowY, kEraseW, kEraseH);
            if (B < n) DrawFace(mStock[B + 1], kStockStep * (n - B - 1), kTopRowY);
            Fly(mStock[B], (index * mSpacing + kStockStep * (n - B)) / 2 + kFlyOffset, kLeftToPileTop);
            mLeftCardHalf = 1;
        } else {
            Land();
            if (!PileMustClose(index, mSpacing)) {
                DrawFace(mPairPile[index], index * mSpacing, kPairRowY);
            } else {
                --mSpacing;
                RestoreArea(0, kPairRowY, kTableBoxWidth, kEraseH);
                for (int i = 0; i <= index; ++i) DrawFace(mPairPile[i], i * mSpacing, kPairRowY);
            }
            mLeftCardHalf = 0;
            ++mLeftToPileIndex;
        }
    } else {
        // Hand-over to the reading.
        mLeftToTopIndex = 0;
        mLeftToPileIndex = 0;
        tmrShowPairCard.setEnabled(true);
        return;
    }
    picFortune.Refresh();
    tmrShowLeftCard.setEnabled(true);
}

void OcxFortune::tmrShowPairCard_Timer() {
    tmrShowPairCard.setEnabled(false);
    const int i = mPairIndex, U = mMatchCount, s = mSpacing;
    if (i > kLastPair) {
        if (mAnyMatch) {
            RestoreArea(0, kStockRowY, kTableBoxWidth, kEraseH);
            lblRemark.setVisible(true);
            picFortune.Refresh();
        } else {
            LoseAndDealAgain();
        }
        mPairIndex = 0;
        mMatchCount = 0;
        mAnyMatch = false;
        cmdNew.setEnabled(true);
        cmdChange.setEnabled(true);
        return;
    }

    const int first = mPairPile[i], second = mPairPile[kDeckSize - 1 - i];
    const bool matched = mCards.GetCardPoint(first) == mCards.GetCardPoint(second);
    // What is left of the pile, redrawn from x = 0 up to card `last`.
    auto drawRest = [&](int last) {
        RestoreArea(0, kPairRowY, kTableBoxWidth, kEraseH);
        for (int j = i + 1; j <= last; ++j) DrawFace(mPairPile[j], (j - i - 1) * s, kPairRowY);
    };
    if (matched) mAnyMatch = true;
    switch (mPairStep) {
    case 0:
        drawRest(kDeckSize - 1 - i);
        if (matched)
            Fly(first, U * s + kFlyOffset, kMatchedTop);
        else
            Fly(first, (i - U) * s + kFlyOffset, kUnmatchedTop);
        mPairStep = 1;
        break;
    case 1:
        Land();
        if (matched)
            DrawFace(first, kMatchStep * U, kTopRowY);
        else
            DrawFace(first, 2 * (i - U) * s, kStockRowY);
        mPairStep = 2;
        break;
    case 2:
        drawRest(kDeckSize - 2 - i);
        if (matched)
            Fly(second, ((kDeckSize - 2 - 2 * i) * s + (2 * U + 1) * s) / 2 + kFlyOffset, kMatchedTop);
        else
            Fly(second, ((2 * (i - U) + 1) * s + (kDeckSize - 2 - 2 * i) * s) / 2 + kFlyOffset,
                kUnmatchedTop);
        mPairStep = 3;
        break;
    default:
        Land();
        if (matched) {
            DrawFace(second, kMatchStep * U + kMatchGap, kTopRowY);
            lblRemark.setCaption(lblRemark.Caption() + FortuneText(mCards.GetCardPoint(first)) + "\r\n");
            ++mMatchCount;
        } else {
            DrawFace(second, (2 * (i - U) + 1) * s, kStockRowY);
        }
        mPairStep = 0;
        ++mPairIndex;
        break;
    }
    picFortune.Refresh();
    tmrShowPairCard.setEnabled(true);
}

}  // namespace fortune
