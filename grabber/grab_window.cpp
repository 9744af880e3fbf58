#include "grabber/grab_window.h"

#include "shell/globals.h"

namespace grabber {

namespace {
GrabWindow* g_window = nullptr;
}

void SetGrabWindow(GrabWindow* window) { g_window = window; }
GrabWindow* RegisteredGrabWindow() { return g_window; }

void ShowGrabStatus(const std::string& text) {
    if (gResourceFormOpen && g_window) g_window->setStatusText(text);
}

}  // namespace grabber
