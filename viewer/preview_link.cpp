// The viewer as the grab window and the settings editor reach it.
#include "grabber/preview_link.h"

#include "viewer/sized_preview.h"

namespace ePreview {

void LoadImage(int index) { frmSizedPreview().LoadImage(static_cast<std::int16_t>(index)); }

void Show() { frmSizedPreview().Show(); }

void BringToFront() {
    if (frmSizedPreview.Loaded() && frmSizedPreview().loaded()) frmSizedPreview().Show();
}

void Unload() { frmSizedPreview.Unload(); }

}  // namespace ePreview
