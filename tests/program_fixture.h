// A fresh headless process for each test: world bound, globals and forms reset.
#pragma once
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "kit/runtime.h"
#include "platform/headless/bind.h"
#include "shell/globals.h"
#include "shell/start.h"
#include "shell/tivlo_form.h"

class ProgramTest : public ::testing::Test {
protected:
    platform::headless::HeadlessWorld world;

    void SetUp() override {
        world.bind();
        world.reset();
        ResetGlobals();
        // Every Windows has this key.
        platform::HKey key = 0;
        std::uint32_t disposition = 0;
        world.registry.createKeyEx(platform::kHKeyLocalMachine, "Software", 0, platform::kKeyAllAccess, key,
                                   disposition);
        world.registry.closeKey(key);
        world.backend.setNow({2026, 12, 7, 9, 41, 30});  // a Monday
    }

    void TearDown() override { ResetGlobals(); }

    // Runs the start-up; true when it ended the process.
    bool Start() {
        try {
            shell::StartTivlo();
        } catch (const kit::ProcessEnded&) {
            return true;
        }
        return false;
    }

    // The user right-clicks a tray icon and chooses the menu item with this caption.
    void ChooseFromTray(const std::string& caption) {
        world.backend.setMenuChooser([caption](const std::vector<kit::MenuEntry>& entries) {
            for (std::size_t i = 0; i < entries.size(); ++i)
                if (entries[i].caption == caption) return static_cast<int>(i);
            return -1;
        });
        world.backend.mouseMove(frmTivlo().tmpIcon(0).hWnd(), 516);
    }

    // Runs f and reports whether it ended the process.
    template <class F>
    bool Ends(F f) {
        try {
            f();
        } catch (const kit::ProcessEnded&) {
            return true;
        }
        return false;
    }

    // The pixels at which text drawn at (x, y) shows in a 16 x 16 surface, as "x,y" strings.
    std::set<std::pair<int, int>> TextPixels(const std::string& text, int x, int y,
                                             const std::string& text2 = {}, int x2 = 0) {
        kit::Gdi& g = world.gdi;
        kit::Handle screen = g.getDC(0);
        kit::Handle dc = g.createCompatibleDC(screen);
        kit::Handle bmp = g.createCompatibleBitmap(screen, 16, 16);
        g.releaseDC(0, screen);
        kit::Handle old = g.selectObject(dc, bmp);
        kit::Handle brush = g.createSolidBrush(0);
        g.fillRect(dc, 0, 0, 16, 16, brush);
        g.deleteObject(brush);
        g.setBkMode(dc, kit::kTransparent);
        g.setTextColor(dc, 0x0000FF);
        g.textOut(dc, x, y, text);
        if (!text2.empty()) g.textOut(dc, x2, y, text2);
        auto px = world.gdi.bitmapPixels(bmp);
        g.selectObject(dc, old);
        g.deleteObject(bmp);
        g.deleteDC(dc);
        std::set<std::pair<int, int>> on;
        for (int py = 0; py < 16; ++py)
            for (int pxx = 0; pxx < 16; ++pxx)
                if (px.at(pxx, py) != 0) on.insert({pxx, py});
        return on;
    }

    // The opaque pixels of an icon's mask.
    std::set<std::pair<int, int>> OpaquePixels(kit::Handle icon) {
        auto mask = world.gdi.iconMask(icon);
        std::set<std::pair<int, int>> on;
        for (int y = 0; y < mask.height; ++y)
            for (int x = 0; x < mask.width; ++x)
                if (mask.at(x, y) == 0) on.insert({x, y});
        return on;
    }
};
