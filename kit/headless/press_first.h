// A sink that sees a window's mouse press before the control does, so a headless peer can do
// what the native control does with the press (select a row, choose a tab) first, as it does
// on Win32. Everything else passes straight on.
#pragma once
#include <functional>

#include "kit/peer.h"

namespace kit::headless {

class PressFirst : public WindowSink {
public:
    WindowSink* next = nullptr;
    std::function<void(int button, int x, int y)> press;

    void onMouseMove(int b, int s, int x, int y) override { next->onMouseMove(b, s, x, y); }
    void onMouseDown(int b, int s, int x, int y) override {
        if (press) press(b, x, y);
        next->onMouseDown(b, s, x, y);
    }
    void onMouseUp(int b, int s, int x, int y) override { next->onMouseUp(b, s, x, y); }
    void onMouseEnter() override { next->onMouseEnter(); }
    void onMouseLeave() override { next->onMouseLeave(); }
    void onCaptureLost() override { next->onCaptureLost(); }
    void onClick() override { next->onClick(); }
    void onDblClick() override { next->onDblClick(); }
    void onGotFocus() override { next->onGotFocus(); }
    void onLostFocus() override { next->onLostFocus(); }
    void onKeyDown(int& k, int s) override { next->onKeyDown(k, s); }
    void onKeyUp(int& k, int s) override { next->onKeyUp(k, s); }
    void onKeyPress(int& a) override { next->onKeyPress(a); }
    bool onNavigationKey(int k, int s) override { return next->onNavigationKey(k, s); }
    void onPaint(Handle dc) override { next->onPaint(dc); }
    void onResized() override { next->onResized(); }
};

// Made before the peer's window registers its sink (a base listed first).
struct PressFirstHolder {
    PressFirst pressFirst;
};

}  // namespace kit::headless
