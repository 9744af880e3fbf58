// How the grab window and the settings editor reach the image viewer. The viewer fills these
// in; until it does, gPreviewOpen stays False and a thumbnail click only picks the picture.
#pragma once

namespace ePreview {

// Shows the picture gCurrentPicture in the open viewer (its LoadImage(0)).
void LoadImage(int index);
// Shows the viewer modeless; it loads gCurrentPicture itself.
void Show();
// Brings the viewer in front of the other windows.
void BringToFront();
// Unloads the viewer.
void Unload();

}  // namespace ePreview
