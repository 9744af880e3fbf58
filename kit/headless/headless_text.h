// Text drawing shared by the headless peers: captions without their "&" marks, split into
// lines, placed by alignment in the raster's one font.
#pragma once
#include <string>
#include <vector>

#include "kit/font.h"
#include "kit/peer.h"

namespace kit::headless {

std::vector<std::string> CaptionLines(const std::string& caption, bool mnemonics);
// Draws the lines top-down from y; alignment 0 left, 1 right, 2 centred in width.
void DrawLines(Handle dc, const std::vector<std::string>& lines, int x, int y, int width,
               int alignment, Color color, bool underline);
void FillBox(Handle dc, int left, int top, int right, int bottom, Color color);

}  // namespace kit::headless
