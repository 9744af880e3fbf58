#include "viewer/thumb_view.h"

#include "grabber/resource_state.h"
#include "viewer/sized_preview.h"

namespace eThumbView {

kit::LongPtr PreviewWindowProc(kit::Handle hwnd, std::uint32_t msg, std::uintptr_t wParam,
                               kit::LongPtr lParam) {
    // Read before the command runs: a command that closes the viewer puts the old
    // one back.
    const kit::LongPtr next = gPreviewOldWndProc;
    if (msg == kit::kWmMouseWheel && gThumbFileCount != 0 && frmSizedPreview.Loaded()) {
        // Forward (away from the user) is a positive delta in the high word.
        if (static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam)) > 0)
            frmSizedPreview().mnuPrevious_Click();
        else
            frmSizedPreview().mnuNext_Click();
    }
    return kit::CallWndProc(next, hwnd, msg, wParam, lParam);
}

}  // namespace eThumbView
