#include "kit/headless/headless_text.h"

#include "kit/gdi.h"
#include "kit/headless/raster_gdi.h"

namespace kit::headless {

std::vector<std::string> CaptionLines(const std::string& caption, bool mnemonics) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c == '\r' && i + 1 < caption.size() && caption[i + 1] == '\n') continue;
        if (c == '\n' || c == '\r') {
            lines.emplace_back();
            continue;
        }
        if (mnemonics && c == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') lines.back() += '&', ++i;
            continue;
        }
        lines.back() += c;
    }
    return lines;
}

void FillBox(Handle dc, int left, int top, int right, int bottom, Color color) {
    Gdi& g = gdi();
    Handle brush = g.createSolidBrush(color);
    g.fillRect(dc, left, top, right, bottom, brush);
    g.deleteObject(brush);
}

void DrawLines(Handle dc, const std::vector<std::string>& lines, int x, int y, int width,
               int alignment, Color color, bool underline) {
    Gdi& g = gdi();
    g.setTextColor(dc, color);
    g.setBkMode(dc, kTransparent);
    for (const std::string& line : lines) {
        const int w = RasterGdi::textWidth(line);
        int lx = x;
        if (alignment == 1) lx = x + width - w;
        if (alignment == 2) lx = x + (width - w) / 2;
        g.textOut(dc, lx, y, line);
        if (underline) FillBox(dc, lx, y + 11, lx + w, y + 12, color);
        y += RasterGdi::kCellHeight;
    }
}

}  // namespace kit::headless
