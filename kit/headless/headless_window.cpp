#include "kit/headless/headless_window.h"

#include "kit/headless/headless_backend.h"

namespace kit::headless {

HeadlessWindow::HeadlessWindow(Handle parent, WindowSink* sink, std::string kind)
    : backend_(&Bound()), parent_(parent), sink_(sink), kind_(std::move(kind)) {
    handle_ = backend_->addWindow(this, parent);
}

HeadlessWindow::~HeadlessWindow() { backend_->removeWindow(handle_); }

void HeadlessWindow::setBoundsAndNotify(int nx, int ny, int w, int h) {
    x = nx;
    y = ny;
    width = w;
    height = h;
}

void RestackWindow(HeadlessWindow& w, bool top) { Bound().restack(w.handle(), top); }

void FocusWindow(HeadlessWindow& w) { Bound().setFocus(w.handle()); }

void RepaintWindow(HeadlessWindow& w) { Bound().noteRepaint(w.handle()); }

}  // namespace kit::headless
