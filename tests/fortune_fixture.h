// The card game opened from the tray in a headless process, with a fixed random sequence,
// and checks that compare the table's pixels with the sheets' cells.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fortune/fortune_form.h"
#include "kit/random.h"
#include "program_fixture.h"
#include "shell/registration.h"
#include "shell/tivlo_form.h"

using fortune::OcxFortune;
using Pixels = kit::headless::RasterGdi::Pixels;

// Card number of a point (0 Ace .. 12 King) and a suit (0 clubs .. 3 spades).
constexpr int C(int point, int suit) { return 4 * point + suit; }

class FortuneTest : public ProgramTest {
protected:
    kit::headless::HeadlessBackend& ui = world.backend;

    void SetUp() override {
        ProgramTest::SetUp();
        UseSeed(1);
        ui.keepShownImages(true);
    }
    void TearDown() override {
        kit::ResetAllForms();
        kit::SetRndSource(nullptr);
        ProgramTest::TearDown();
    }

    // A fixed random sequence in place of the clock-seeded one, so deals repeat.
    void UseSeed(std::uint64_t seed) {
        state_ = seed;
        kit::SetRndSource([this] {
            state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
            return static_cast<float>(state_ >> 40) / 16777216.0f;
        });
    }

    // Starts the program and opens the game from its tray item.
    OcxFortune& Open() {
        if (!frmTivlo.Loaded()) {
            EXPECT_FALSE(Start());
        }
        frmTivlo().mnuFortune.Click();
        return frmFortune().ocxFortune;
    }
    kit::Handle table(OcxFortune& g) { return g.picFortune.hWnd(); }

    Pixels Image(kit::Handle dc) { return world.gdi.bitmapPixels(world.gdi.selectedBitmap(dc)); }
    // The table's persistent image, and what its last refresh showed.
    Pixels Drawn(OcxFortune& g) { return Image(g.picFortune.hDC()); }
    Pixels Shown(OcxFortune& g) { return ui.shownImage(table(g)); }

    // The w x h block at (x, y) of img equals the block at (sx, sy) of the sheet, for the
    // pixels that lie inside img.
    ::testing::AssertionResult Same(const Pixels& img, int x, int y, const Pixels& sheet, int sx, int sy,
                                    int w = 71, int h = 96) {
        int diff = 0;
        for (int dy = 0; dy < h; ++dy)
            for (int dx = 0; dx < w; ++dx) {
                if (x + dx < 0 || y + dy < 0 || x + dx >= img.width || y + dy >= img.height) continue;
                if (img.at(x + dx, y + dy) != sheet.at(sx + dx, sy + dy)) ++diff;
            }
        if (diff == 0) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << diff << " pixels differ at (" << x << ", " << y << ")";
    }
    // The card's face, or a part of it w wide and h high, is at (x, y).
    ::testing::AssertionResult FaceAt(const Pixels& img, OcxFortune& g, int card, int x, int y, int w = 71,
                                      int h = 96) {
        return Same(img, x, y, Image(g.frontDC()), card / 4 * 71, card % 4 * 96, w, h) << " (card " << card << ")";
    }
    ::testing::AssertionResult BackAt(const Pixels& img, OcxFortune& g, int design, int x, int y, int w = 71,
                                      int h = 96) {
        return Same(img, x, y, Image(g.backDC()), design * 71, 0, w, h) << " (back " << design << ")";
    }
    ::testing::AssertionResult Black(const Pixels& img, int x, int y, int w, int h) {
        for (int yy = y; yy < y + h; ++yy)
            for (int xx = x; xx < x + w; ++xx)
                if (img.at(xx, yy) != 0)
                    return ::testing::AssertionFailure() << "pixel (" << xx << ", " << yy << ") is not black";
        return ::testing::AssertionSuccess();
    }

    // Draws the whole position that the state describes, as play would have left it.
    void Paint(OcxFortune& g) {
        g.picFortune.Cls();
        for (int i = 0; i <= g.mPairTop; ++i) g.DrawFace(g.mPairPile[i], i * g.mSpacing, 280);
        for (int i = 0; i <= g.mStockTop; ++i) g.DrawBack(10 * i, 150);
        for (int c = 0; c < 5; ++c) {
            for (int r = 0; r < g.mColumnTop[c]; ++r) g.DrawBack(71 * c, 5 * r);
            if (g.mColumnTop[c] >= 0) g.DrawFace(g.mTableau[c][g.mColumnTop[c]], 71 * c, 5 * g.mColumnTop[c]);
        }
        g.picFortune.Refresh();
    }
    // Sets a column's cards, bottom first; an empty list empties it.
    void SetColumn(OcxFortune& g, int col, const std::vector<int>& cards) {
        for (std::size_t r = 0; r < cards.size(); ++r) g.mTableau[col][r] = cards[r];
        g.mColumnTop[col] = static_cast<int>(cards.size()) - 1;
    }
    void SetStock(OcxFortune& g, const std::vector<int>& cards) {
        for (std::size_t i = 0; i < cards.size(); ++i) g.mStock[i] = cards[i];
        g.mStockTop = static_cast<int>(cards.size()) - 1;
    }
    void SetPile(OcxFortune& g, const std::vector<int>& cards) {
        for (std::size_t i = 0; i < cards.size(); ++i) g.mPairPile[i] = cards[i];
        g.mPairTop = static_cast<int>(cards.size()) - 1;
    }

    // Hovers at (x0, y0), presses the left button, drags through a point to (x1, y1) and
    // releases there.
    void Drag(OcxFortune& g, int x0, int y0, int x1, int y1) {
        ui.mouseMove(table(g), x0, y0);
        ui.mouseDown(table(g), x0, y0);
        ui.mouseMove(table(g), (x0 + x1) / 2, (y0 + y1) / 2, kit::kLeftButton);
        ui.mouseMove(table(g), x1, y1, kit::kLeftButton);
        ui.mouseUp(table(g), x1, y1);
    }
    void DoubleClick(OcxFortune& g, int x, int y) {
        ui.mouseMove(table(g), x, y);
        ui.dblClick(table(g), x, y);
    }

private:
    std::uint64_t state_ = 1;
};
