// What the crawl writes into the grab window: the first status panel and the grab button.
// The grab window registers itself here; the crawl writes only while gResourceFormOpen is True.
#pragma once
#include <string>

namespace grabber {

class GrabWindow {
public:
    virtual ~GrabWindow() = default;
    virtual void setStatusText(const std::string& text) = 0;  // status panel 1
    virtual void setGrabButton(const std::string& caption, bool enabled) = 0;
};

void SetGrabWindow(GrabWindow* window);
GrabWindow* RegisteredGrabWindow();

// Writes the status panel while the grab window is loaded.
void ShowGrabStatus(const std::string& text);

}  // namespace grabber
