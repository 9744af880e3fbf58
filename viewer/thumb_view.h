// eThumbView: the viewer's replacement window procedure, which turns wheel
// messages into Next and Previous before the window's own procedure sees them.
#pragma once
#include <cstdint>

#include "kit/window_proc.h"

// The procedure the hook replaced.
inline kit::LongPtr gPreviewOldWndProc = 0;

namespace eThumbView {

kit::LongPtr PreviewWindowProc(kit::Handle hwnd, std::uint32_t msg, std::uintptr_t wParam,
                               kit::LongPtr lParam);

}  // namespace eThumbView
