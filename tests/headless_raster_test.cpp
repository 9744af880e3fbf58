#include <gtest/gtest.h>

#include "kit/headless/raster_gdi.h"

using kit::Handle;
using kit::headless::RasterGdi;

namespace {
constexpr int kBitsPixel = 12;
constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0, kRed = 0x0000FF, kBlue = 0xFF0000;
}  // namespace

TEST(RasterGdi, MonochromeAndColourConversions) {
    RasterGdi g;
    Handle screen = g.getDC(0);
    Handle mem = g.createCompatibleDC(0);
    EXPECT_EQ(g.getDeviceCaps(mem, kBitsPixel), 32);  // the device's, not the stock bitmap's
    EXPECT_EQ(g.getDeviceCaps(screen, kBitsPixel), 32);

    // The tray icon's mask: compatible with a fresh memory DC, hence monochrome.
    Handle mask = g.createCompatibleBitmap(mem, 16, 16);
    EXPECT_TRUE(g.bitmapPixels(mask).mono);
    EXPECT_FALSE(g.bitmapPixels(g.createCompatibleBitmap(screen, 4, 4)).mono);
    EXPECT_FALSE(g.bitmapPixels(g.createCompatibleBitmap(0, 4, 4)).mono);
    EXPECT_TRUE(g.bitmapPixels(g.createBitmap(4, 4, 1, 1)).mono);

    // Colour to mono: the source's background colour turns white, anything else black.
    Handle colour = g.createCompatibleBitmap(screen, 16, 16);
    Handle src = g.createCompatibleDC(0);
    g.selectObject(src, colour);
    Handle red = g.createSolidBrush(kRed), blue = g.createSolidBrush(kBlue);
    g.fillRect(src, 0, 0, 16, 16, red);
    g.fillRect(src, 2, 3, 5, 4, blue);
    g.setBkColor(src, kRed);
    g.selectObject(mem, mask);
    ASSERT_TRUE(g.bitBlt(mem, 0, 0, 16, 16, src, 0, 0, kit::kSrcCopy));
    auto m = g.bitmapPixels(mask);
    EXPECT_EQ(m.at(0, 0), kWhite);
    EXPECT_EQ(m.at(2, 3), kBlack);
    EXPECT_EQ(m.at(4, 3), kBlack);
    EXPECT_EQ(m.at(5, 3), kWhite);

    // Mono to colour: black takes the target's text colour, white its background colour.
    g.setTextColor(src, 0x00FF00);
    g.setBkColor(src, 0x123456);
    ASSERT_TRUE(g.bitBlt(src, 10, 10, 16, 16, mem, 0, 0, kit::kSrcCopy));  // clipped at 16
    auto c = g.bitmapPixels(colour);
    EXPECT_EQ(c.at(10, 10), 0x123456u);
    EXPECT_EQ(c.at(12, 13), 0x00FF00u);
    EXPECT_EQ(c.at(9, 9), kRed);
}

TEST(RasterGdi, TextPixels) {
    RasterGdi g;
    Handle dc = g.createCompatibleDC(0);
    Handle bmp = g.createCompatibleBitmap(0, 24, 16);
    g.selectObject(dc, bmp);
    EXPECT_EQ(g.fontFace(dc), "System");
    Handle font = g.createFont("MS Sans Serif", 8);
    g.selectObject(dc, font);
    EXPECT_EQ(g.fontFace(dc), "MS Sans Serif");

    g.setTextColor(dc, kWhite);
    g.setBkColor(dc, kBlue);
    g.setBkMode(dc, kit::kTransparent);
    ASSERT_TRUE(g.textOut(dc, 0, 0, "1:"));
    auto p = g.bitmapPixels(bmp);
    EXPECT_EQ(p.at(2, 3), kWhite);  // top of the 1
    EXPECT_EQ(p.at(2, 10), kWhite);  // on the baseline row
    EXPECT_EQ(p.at(0, 3), kBlack);
    EXPECT_EQ(p.at(2, 11), kBlack);
    EXPECT_EQ(p.at(7, 5), kWhite);  // the colon after an advance of 6
    EXPECT_EQ(p.at(7, 10), kWhite);
    EXPECT_EQ(p.at(9, 0), kBlack);  // transparent: cell untouched
    EXPECT_EQ(RasterGdi::textWidth("12:34"), 27);

    // Opaque fills the whole cell; negative x is clipped, not refused.
    g.setBkMode(dc, kit::kOpaque);
    ASSERT_TRUE(g.textOut(dc, -3, 2, "00"));
    p = g.bitmapPixels(bmp);
    EXPECT_EQ(p.at(0, 2), kBlue);
    EXPECT_EQ(p.at(8, 14), kBlue);
    EXPECT_EQ(p.at(9, 2), kBlack);
    EXPECT_EQ(p.at(0, 5), kWhite);  // right column of the first 0, row 3 of its cell
    EXPECT_EQ(p.at(4, 5), kWhite);  // left column of the second 0

    // On a monochrome bitmap colours land on the nearer of black and white.
    Handle mdc = g.createCompatibleDC(0);
    Handle mono = g.createCompatibleBitmap(mdc, 8, 16);
    g.selectObject(mdc, mono);
    g.setTextColor(mdc, 0x202020);
    g.setBkColor(mdc, 0xE0E0E0);
    g.textOut(mdc, 0, 0, "8");
    auto mp = g.bitmapPixels(mono);
    EXPECT_EQ(mp.at(1, 3), kBlack);
    EXPECT_EQ(mp.at(0, 3), kWhite);
}

TEST(RasterGdi, ObjectLifetimesAndIcons) {
    RasterGdi g;
    const int objects = g.liveObjectCount(), dcs = g.liveDCCount();
    Handle screen = g.getDC(0);
    Handle dc = g.createCompatibleDC(screen);
    Handle mask = g.createBitmap(2, 2, 1, 1);
    Handle colour = g.createCompatibleBitmap(screen, 2, 2);
    Handle brush = g.createSolidBrush(kRed);
    EXPECT_EQ(g.liveObjectCount(), objects + 3);
    EXPECT_EQ(g.liveDCCount(), dcs + 2);

    Handle stock = g.selectObject(dc, colour);
    EXPECT_NE(stock, 0u);
    EXPECT_EQ(g.selectedBitmap(dc), colour);
    EXPECT_EQ(g.selectObject(g.createCompatibleDC(0), colour), 0u);  // already in dc
    g.fillRect(dc, 0, 0, 1, 1, brush);
    EXPECT_FALSE(g.deleteObject(colour));  // still selected
    EXPECT_FALSE(g.deleteObject(0x7777));
    EXPECT_TRUE(g.deleteObject(stock));  // allowed, and nothing happens
    EXPECT_EQ(g.selectObject(dc, stock), colour);

    // The icon owns copies: later drawing does not reach it.
    Handle icon = g.createIconIndirect(kit::IconInfo{true, 0, 0, mask, colour});
    ASSERT_NE(icon, 0u);
    g.selectObject(dc, colour);
    g.fillRect(dc, 0, 0, 2, 2, brush);
    EXPECT_EQ(g.iconColor(icon).at(1, 1), kBlack);
    EXPECT_EQ(g.iconColor(icon).at(0, 0), kRed);
    EXPECT_TRUE(g.iconMask(icon).mono);

    Handle pic = g.createPictureIndirect(kit::kPictureTypeIcon, icon, true);
    EXPECT_EQ(g.pictureHandle(pic), icon);
    g.releasePicture(pic);
    EXPECT_EQ(g.livePictureCount(), 0);
    EXPECT_EQ(g.liveIconCount(), 0);  // owned: released with the picture

    g.selectObject(dc, stock);
    EXPECT_TRUE(g.deleteObject(colour));
    EXPECT_FALSE(g.deleteObject(colour));
    EXPECT_TRUE(g.deleteObject(mask));
    EXPECT_TRUE(g.deleteObject(brush));
    EXPECT_TRUE(g.deleteDC(dc));
    g.releaseDC(0, screen);
    EXPECT_EQ(g.liveObjectCount(), objects);
    EXPECT_EQ(g.liveDCCount(), dcs + 1);  // the DC that was refused the bitmap
}
