// The two tray icons and the 16 x 16 canvas their masks are drawn on.
#pragma once
#include "kit/controls.h"
#include "platform/tray.h"

namespace eTray {
inline platform::NotifyIconData gTrayIcons[2];
inline kit::Handle gIconDC = 0;
inline kit::Handle gIconBitmap = 0;
inline kit::Handle gIconOldBitmap = 0;

void CreateIconCanvas(kit::Handle formDC);
void AddTrayIcons();
// Builds an icon from the main form's picMask and picImage and makes it target's picture.
void MakeTrayIcon(kit::PictureBox& target);
void ReleaseIconCanvas();
void RemoveTrayIcons();
}  // namespace eTray
