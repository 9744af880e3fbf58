#include "kit/headless/raster_gdi.h"

#include "kit/headless/picture_decoders.h"
#include "kit/runtime.h"

#include <algorithm>
#include <cstdlib>
#include <array>
#include <cassert>
#include <sstream>
#include <stdexcept>

namespace kit::headless {

namespace {

constexpr int kLogPixelsY = 90;
constexpr int kGlyphTop = 3;  // first row of a capital in the 13-row cell

// Rows from the cap line down (rows 3.. of the cell); rows 11 and 12 are descenders.
struct GlyphArt {
    char ch;
    int advance;
    const char* rows;
};

// clang-format off
const GlyphArt kArt[] = {
    {' ', 3, "."},
    {'!', 2, "# # # # # # . #"},
    {'"', 4, "#.# #.# #.#"},
    {'#', 6, "..... .#.#. .#.#. ##### .#.#. ##### .#.#. .#.#."},
    {'$', 6, "..#.. .###. #.#.# #.#.. .###. ..#.# #.#.# .###. ..#.."},
    {'%', 6, "##..# ##.#. ...#. ..#.. ..#.. .#... .#.## #..##"},
    {'&', 6, ".##.. #..#. #..#. .##.. #.#.# #..#. #..#. .##.#"},
    {'\'', 2, "# # #"},
    {'(', 3, ".# #. #. #. #. #. #. #. #. .#"},
    {')', 3, "#. .# .# .# .# .# .# .# .# #."},
    {'*', 6, "..#.. #.#.# .###. #.#.# ..#.."},
    {'+', 6, "..... ..... ..#.. ..#.. ##### ..#.. ..#.. ....."},
    {',', 3, ".. .. .. .. .. .. .. .# #."},
    {'-', 4, "... ... ... ... ### ... ... ..."},
    {'.', 2, ". . . . . . . #"},
    {'/', 4, "..# ..# .#. .#. .#. .#. #.. #.."},
    {'0', 6, ".###. #...# #...# #...# #...# #...# #...# .###."},
    {'1', 6, "..#.. .##.. #.#.. ..#.. ..#.. ..#.. ..#.. ..#.."},
    {'2', 6, ".###. #...# ....# ...#. ..#.. .#... #.... #####"},
    {'3', 6, ".###. #...# ....# ..##. ....# ....# #...# .###."},
    {'4', 6, "...#. ..##. .#.#. #..#. ##### ...#. ...#. ...#."},
    {'5', 6, "##### #.... #.... ####. ....# ....# #...# .###."},
    {'6', 6, ".###. #...# #.... ####. #...# #...# #...# .###."},
    {'7', 6, "##### ....# ...#. ...#. ..#.. ..#.. .#... .#..."},
    {'8', 6, ".###. #...# #...# .###. #...# #...# #...# .###."},
    {'9', 6, ".###. #...# #...# #...# .#### ....# #...# .###."},
    {':', 3, ".. .. .# .. .. .. .. .#"},
    {';', 3, ".. .. .# .. .. .. .. .# #."},
    {'<', 5, ".... ...# ..#. .#.. #... .#.. ..#. ...#"},
    {'=', 5, ".... .... .... #### .... #### .... ...."},
    {'>', 5, ".... #... .#.. ..#. ...# ..#. .#.. #..."},
    {'?', 6, ".###. #...# ....# ...#. ..#.. ..#.. ..... ..#.."},
    {'@', 6, ".###. #...# #.### #.#.# #.#.# #.##. #.... .###."},
    {'A', 6, "..#.. .#.#. .#.#. #...# #...# ##### #...# #...#"},
    {'B', 6, "####. #...# #...# ####. #...# #...# #...# ####."},
    {'C', 6, ".###. #...# #.... #.... #.... #.... #...# .###."},
    {'D', 6, "####. #...# #...# #...# #...# #...# #...# ####."},
    {'E', 6, "##### #.... #.... ####. #.... #.... #.... #####"},
    {'F', 6, "##### #.... #.... ####. #.... #.... #.... #...."},
    {'G', 6, ".###. #...# #.... #.... #.### #...# #...# .###."},
    {'H', 6, "#...# #...# #...# ##### #...# #...# #...# #...#"},
    {'I', 4, "### .#. .#. .#. .#. .#. .#. ###"},
    {'J', 5, "...# ...# ...# ...# ...# #..# #..# .##."},
    {'K', 6, "#...# #..#. #.#.. ##... ##... #.#.. #..#. #...#"},
    {'L', 5, "#... #... #... #... #... #... #... ####"},
    {'M', 7, "#...# ##.## #.#.# #.#.# #...# #...# #...# #...#"},
    {'N', 6, "#...# ##..# ##..# #.#.# #.#.# #..## #..## #...#"},
    {'O', 6, ".###. #...# #...# #...# #...# #...# #...# .###."},
    {'P', 6, "####. #...# #...# ####. #.... #.... #.... #...."},
    {'Q', 6, ".###. #...# #...# #...# #...# #.#.# #..#. .##.#"},
    {'R', 6, "####. #...# #...# ####. #.#.. #..#. #...# #...#"},
    {'S', 6, ".###. #...# #.... .###. ....# ....# #...# .###."},
    {'T', 6, "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#.. ..#.."},
    {'U', 6, "#...# #...# #...# #...# #...# #...# #...# .###."},
    {'V', 6, "#...# #...# #...# #...# .#.#. .#.#. ..#.. ..#.."},
    {'W', 7, "#...# #...# #...# #.#.# #.#.# #.#.# .#.#. .#.#."},
    {'X', 6, "#...# #...# .#.#. ..#.. ..#.. .#.#. #...# #...#"},
    {'Y', 6, "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#.. ..#.."},
    {'Z', 6, "##### ....# ...#. ..#.. ..#.. .#... #.... #####"},
    {'[', 3, "## #. #. #. #. #. #. #. #. ##"},
    {'\\', 4, "#.. #.. .#. .#. .#. .#. ..# ..#"},
    {']', 3, "## .# .# .# .# .# .# .# .# ##"},
    {'^', 6, "..#.. .#.#. #...#"},
    {'_', 6, "..... ..... ..... ..... ..... ..... ..... ..... ..... #####"},
    {'`', 3, "#. .#"},
    {'a', 5, ".... .... .##. ...# .### #..# #..# .###"},
    {'b', 5, "#... #... ###. #..# #..# #..# #..# ###."},
    {'c', 5, ".... .... .##. #..# #... #... #..# .##."},
    {'d', 5, "...# ...# .### #..# #..# #..# #..# .###"},
    {'e', 5, ".... .... .##. #..# #### #... #..# .##."},
    {'f', 4, ".## #.. ### #.. #.. #.. #.. #.."},
    {'g', 5, ".... .... .### #..# #..# #..# #..# .### ...# ###."},
    {'h', 5, "#... #... ###. #..# #..# #..# #..# #..#"},
    {'i', 2, "# . # # # # # #"},
    {'j', 3, ".# .. .# .# .# .# .# .# .# #."},
    {'k', 5, "#... #... #..# #.#. ##.. ##.. #.#. #..#"},
    {'l', 2, "# # # # # # # #"},
    {'m', 6, "..... ..... ####. #.#.# #.#.# #.#.# #.#.# #.#.#"},
    {'n', 5, ".... .... ###. #..# #..# #..# #..# #..#"},
    {'o', 5, ".... .... .##. #..# #..# #..# #..# .##."},
    {'p', 5, ".... .... ###. #..# #..# #..# #..# ###. #... #..."},
    {'q', 5, ".... .... .### #..# #..# #..# #..# .### ...# ...#"},
    {'r', 4, "... ... #.# ##. #.. #.. #.. #.."},
    {'s', 5, ".... .... .### #... .##. ...# ...# ###."},
    {'t', 4, ".#. .#. ### .#. .#. .#. .#. ..#"},
    {'u', 5, ".... .... #..# #..# #..# #..# #..# .###"},
    {'v', 6, "..... ..... #...# #...# .#.#. .#.#. ..#.. ..#.."},
    {'w', 6, "..... ..... #...# #...# #.#.# #.#.# .#.#. .#.#."},
    {'x', 5, ".... .... #..# #..# .##. .##. #..# #..#"},
    {'y', 5, ".... .... #..# #..# #..# #..# #..# .### ...# ###."},
    {'z', 5, ".... .... #### ...# ..#. .#.. #... ####"},
    {'{', 4, "..# .#. .#. .#. #.. .#. .#. .#. .#. ..#"},
    {'|', 2, "# # # # # # # # # #"},
    {'}', 4, "#.. .#. .#. .#. ..# .#. .#. .#. .#. #.."},
    {'~', 6, "..... ..... ..... .#... #.#.# ...#."},
};
// Characters outside 32..126 draw as a box.
const GlyphArt kMissing = {'?', 5, "#### #..# #..# #..# #..# #..# #..# ####"};
// clang-format on

struct Glyph {
    int advance = 0;
    std::vector<std::string> rows;
};

Glyph parse(const GlyphArt& a) {
    Glyph g;
    g.advance = a.advance;
    std::istringstream in(a.rows);
    for (std::string row; in >> row;) g.rows.push_back(row);
    return g;
}

const Glyph& glyphFor(unsigned char c) {
    static const auto table = [] {
        std::array<Glyph, 128> t{};
        for (const auto& a : kArt) t[static_cast<unsigned char>(a.ch)] = parse(a);
        return t;
    }();
    static const Glyph missing = parse(kMissing);
    if (c < 32 || c > 126) return missing;
    return table[c];
}

// How a solid colour lands on a monochrome surface: the nearer of black and white.
std::uint32_t toMono(Color c) {
    int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    return (r * 30 + g * 59 + b * 11) >= 12750 ? 0xFFFFFF : 0x000000;
}

void put(RasterGdi::Pixels& p, int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
    p.px[static_cast<std::size_t>(y) * p.width + x] = p.mono ? toMono(c) : (c & 0xFFFFFF);
}

RasterGdi::Pixels blank(int w, int h, bool mono) {
    RasterGdi::Pixels p;
    p.width = w;
    p.height = h;
    p.mono = mono;
    p.px.assign(static_cast<std::size_t>(w) * h, 0);
    return p;
}

}  // namespace

RasterGdi::RasterGdi() {
    Object bmp{Kind::Bitmap};
    bmp.stock = true;
    bmp.bitmap.pix = blank(1, 1, true);
    stockBitmap_ = add(bmp);

    Object screen{Kind::Bitmap};
    screen.stock = true;
    screen.bitmap.pix = blank(kScreenWidth, kScreenHeight, false);
    screenBitmap_ = add(screen);

    Object font{Kind::Font};
    font.stock = true;
    font.font = Font{"System", 10};
    stockFont_ = add(font);

    Object brush{Kind::Brush};
    brush.stock = true;
    brush.brush = 0xFFFFFF;  // WHITE_BRUSH, a DC's default
    stockBrush_ = add(brush);

    Object pen{Kind::Pen};
    pen.stock = true;
    pen.pen = Pen{0x000000, 1};  // BLACK_PEN, a DC's default
    stockPen_ = add(pen);
}

Handle RasterGdi::add(Object o) {
    Handle h = next_++;
    objects_.emplace(h, std::move(o));
    return h;
}

RasterGdi::Object* RasterGdi::find(Handle h, Kind kind) {
    auto it = objects_.find(h);
    return it != objects_.end() && it->second.kind == kind ? &it->second : nullptr;
}

const RasterGdi::Object* RasterGdi::find(Handle h, Kind kind) const {
    auto it = objects_.find(h);
    return it != objects_.end() && it->second.kind == kind ? &it->second : nullptr;
}

const RasterGdi::Object& RasterGdi::need(Handle h, Kind kind) const {
    const Object* o = find(h, kind);
    if (!o) throw std::invalid_argument("unknown GDI handle");
    return *o;
}

RasterGdi::Pixels* RasterGdi::surface(Handle dc) {
    Object* d = find(dc, Kind::DC);
    if (!d) return nullptr;
    Object* b = find(d->dc.bitmap, Kind::Bitmap);
    return b ? &b->bitmap.pix : nullptr;
}

Handle RasterGdi::getDC(Handle window) {
    Object o{Kind::DC};
    o.dc.screen = true;
    o.dc.window = window;
    o.dc.bitmap = screenBitmap_;
    o.dc.font = stockFont_;
    o.dc.brush = stockBrush_;
    o.dc.pen = stockPen_;
    return add(o);
}

void RasterGdi::releaseDC(Handle window, Handle dc) {
    if (Object* d = find(dc, Kind::DC); d && d->dc.screen) objects_.erase(dc);
}

Handle RasterGdi::createCompatibleDC(Handle dc) {
    if (dc != 0 && !find(dc, Kind::DC)) return 0;
    Object o{Kind::DC};
    o.dc.bitmap = stockBitmap_;
    o.dc.font = stockFont_;
    o.dc.brush = stockBrush_;
    o.dc.pen = stockPen_;
    return add(o);
}

bool RasterGdi::deleteDC(Handle dc) {
    Object* d = find(dc, Kind::DC);
    if (!d) return false;
    // The selected bitmap is free again; it still belongs to its creator.
    if (Object* b = find(d->dc.bitmap, Kind::Bitmap)) b->bitmap.selectedIn = 0;
    objects_.erase(dc);
    return true;
}

Handle RasterGdi::createCompatibleBitmap(Handle dc, int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    if (!WithinPixelCap(width, height)) return ++overCap_, 0;
    bool mono = false;
    if (dc != 0) {
        Pixels* s = surface(dc);
        if (!s) return 0;
        mono = s->mono;
    }
    Object o{Kind::Bitmap};
    o.bitmap.pix = blank(width, height, mono);
    return add(o);
}

Handle RasterGdi::createBitmap(int width, int height, int planes, int bitsPerPixel) {
    // As GDI: an empty bitmap is the stock 1 x 1 monochrome one.
    if (width == 0 || height == 0) return stockBitmap_;
    if (width < 0 || height < 0 || planes <= 0 || bitsPerPixel <= 0) return 0;
    if (!WithinPixelCap(width, height)) return ++overCap_, 0;
    Object o{Kind::Bitmap};
    o.bitmap.pix = blank(width, height, planes * bitsPerPixel == 1);
    return add(o);
}

Handle RasterGdi::createBitmapFromPixels(int width, int height, const unsigned char* bgr) {
    if (width <= 0 || height <= 0 || !bgr) return 0;
    Object o{Kind::Bitmap};
    o.bitmap.pix = blank(width, height, false);
    for (std::uint32_t& p : o.bitmap.pix.px) {
        p = std::uint32_t(bgr[2]) | std::uint32_t(bgr[1]) << 8 | std::uint32_t(bgr[0]) << 16;
        bgr += 3;
    }
    return add(o);
}

Handle RasterGdi::createSolidBrush(Color color) {
    Object o{Kind::Brush};
    o.brush = color & 0xFFFFFF;
    return add(o);
}

Handle RasterGdi::createFont(const std::string& face, double points) {
    Object o{Kind::Font};
    o.font = Font{face, points};
    return add(o);
}

Handle RasterGdi::createFontIndirect(const kit::Font& f) {
    Object o{Kind::Font};
    o.font = Font{f.name, f.size, f.bold, f.italic, f.underline};
    return add(o);
}

Handle RasterGdi::createPen(Color color, int width) {
    Object o{Kind::Pen};
    o.pen = Pen{color & 0xFFFFFF, width < 1 ? 1 : width};
    return add(o);
}

Handle RasterGdi::selectObject(Handle dc, Handle object) {
    Object* d = find(dc, Kind::DC);
    auto it = objects_.find(object);
    if (!d || it == objects_.end()) return 0;
    Object& o = it->second;
    Handle old = 0;
    switch (o.kind) {
    case Kind::Bitmap:
        // A bitmap lives in one memory DC at a time; screen DCs take none.
        if (d->dc.screen || object == screenBitmap_) return 0;
        if (!o.stock && o.bitmap.selectedIn != 0 && o.bitmap.selectedIn != dc) return 0;
        old = d->dc.bitmap;
        if (Object* prev = find(old, Kind::Bitmap)) prev->bitmap.selectedIn = 0;
        if (!o.stock) o.bitmap.selectedIn = dc;
        d->dc.bitmap = object;
        return old;
    case Kind::Font:
        old = d->dc.font;
        d->dc.font = object;
        return old;
    case Kind::Brush:
        old = d->dc.brush;
        d->dc.brush = object;
        return old;
    case Kind::Pen:
        old = d->dc.pen;
        d->dc.pen = object;
        return old;
    default:
        return 0;
    }
}

bool RasterGdi::deleteObject(Handle object) {
    auto it = objects_.find(object);
    if (it == objects_.end()) return false;
    Object& o = it->second;
    if (o.kind != Kind::Bitmap && o.kind != Kind::Brush && o.kind != Kind::Font &&
        o.kind != Kind::Pen)
        return false;
    if (o.stock) return true;  // as GDI: allowed, and nothing happens
    if (o.kind == Kind::Bitmap && o.bitmap.selectedIn != 0) return false;
    // Stricter than GDI for fonts and brushes, which it would leave half-deleted.
    for (const auto& [h, other] : objects_)
        if (other.kind == Kind::DC &&
            (other.dc.font == object || other.dc.brush == object || other.dc.pen == object))
            return false;
    if (o.kind == Kind::Bitmap && o.bitmap.pix.px.size() >= kSparePixels)
        spare_ = std::move(o.bitmap.pix.px);
    objects_.erase(it);
    return true;
}

Color RasterGdi::setTextColor(Handle dc, Color color) {
    Object* d = find(dc, Kind::DC);
    if (!d) return 0xFFFFFFFF;  // CLR_INVALID
    Color old = d->dc.text;
    d->dc.text = color & 0xFFFFFF;
    return old;
}

Color RasterGdi::setBkColor(Handle dc, Color color) {
    Object* d = find(dc, Kind::DC);
    if (!d) return 0xFFFFFFFF;
    Color old = d->dc.bk;
    d->dc.bk = color & 0xFFFFFF;
    return old;
}

int RasterGdi::setBkMode(Handle dc, int mode) {
    Object* d = find(dc, Kind::DC);
    if (!d || (mode != kOpaque && mode != kTransparent)) return 0;
    int old = d->dc.bkMode;
    d->dc.bkMode = mode;
    return old;
}

int RasterGdi::textWidth(const std::string& ansiText) {
    int w = 0;
    for (unsigned char c : ansiText) w += glyphFor(c).advance;
    return w;
}

bool RasterGdi::textOut(Handle dc, int x, int y, const std::string& ansiText) {
    Object* d = find(dc, Kind::DC);
    Pixels* s = surface(dc);
    if (!d || !s) return false;
    if (d->dc.bkMode == kOpaque) {
        int right = x + textWidth(ansiText);
        for (int yy = y; yy < y + kCellHeight; ++yy)
            for (int xx = x; xx < right; ++xx) put(*s, xx, yy, d->dc.bk);
    }
    int pen = x;
    for (unsigned char c : ansiText) {
        const Glyph& g = glyphFor(c);
        for (std::size_t r = 0; r < g.rows.size(); ++r)
            for (std::size_t col = 0; col < g.rows[r].size(); ++col)
                if (g.rows[r][col] == '#')
                    put(*s, pen + static_cast<int>(col), y + kGlyphTop + static_cast<int>(r),
                        d->dc.text);
        pen += g.advance;
    }
    return true;
}

bool RasterGdi::getTextExtent(Handle dc, const std::string& ansiText, int& width, int& height) {
    const Object* d = find(dc, Kind::DC);
    if (!d) return false;
    width = textWidth(ansiText);
    height = kCellHeight;
    return true;
}

bool RasterGdi::moveTo(Handle dc, int x, int y) {
    Object* d = find(dc, Kind::DC);
    if (!d) return false;
    d->dc.penX = x;
    d->dc.penY = y;
    return true;
}

bool RasterGdi::lineTo(Handle dc, int x, int y) {
    Object* d = find(dc, Kind::DC);
    Pixels* s = surface(dc);
    const Object* p = d ? find(d->dc.pen, Kind::Pen) : nullptr;
    if (!d || !s || !p) return false;
    // Bresenham from the current position, leaving out the end point as GDI does.
    int x0 = d->dc.penX, y0 = d->dc.penY;
    const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
    int err = dx + dy;
    const int half = (p->pen.width - 1) / 2;
    while (x0 != x || y0 != y) {
        for (int oy = -half; oy < p->pen.width - half; ++oy)
            for (int ox = -half; ox < p->pen.width - half; ++ox) put(*s, x0 + ox, y0 + oy, p->pen.color);
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
    d->dc.penX = x;
    d->dc.penY = y;
    return true;
}

bool RasterGdi::fillRect(Handle dc, int left, int top, int right, int bottom, Handle brush) {
    Pixels* s = surface(dc);
    const Object* b = find(brush, Kind::Brush);
    if (!s || !b) return false;
    const std::uint32_t c = s->mono ? toMono(b->brush) : (b->brush & 0xFFFFFF);
    const int x0 = std::max(left, 0), x1 = std::min(right, s->width);
    if (x0 >= x1) return true;
    for (int y = std::max(top, 0); y < std::min(bottom, s->height); ++y) {
        auto row = s->px.begin() + static_cast<std::ptrdiff_t>(y) * s->width;
        std::fill(row + x0, row + x1, c);
    }
    return true;
}

bool RasterGdi::bitBlt(Handle dst, int x, int y, int width, int height, Handle src, int srcX,
                       int srcY, std::uint32_t rop) {
    Object* dd = find(dst, Kind::DC);
    Pixels* ds = surface(dst);
    if (!dd || !ds) return false;
    if (rop == kPatCopy) {
        const Object* b = find(dd->dc.brush, Kind::Brush);
        if (!b) return false;
        for (int yy = 0; yy < height; ++yy)
            for (int xx = 0; xx < width; ++xx) put(*ds, x + xx, y + yy, b->brush);
        return true;
    }
    if (rop != kSrcCopy) return false;
    Object* sd = find(src, Kind::DC);
    Pixels* ss = surface(src);
    if (!sd || !ss) return false;
    // Copy a source that is also the target first, so overlapping copies work.
    Pixels copy;
    if (ss == ds) copy = *ss;
    const Pixels& from = ss == ds ? copy : *ss;
    // Only the part that lies inside both the source and the target is copied.
    const int dx0 = std::max({x, 0, x - srcX}), dy0 = std::max({y, 0, y - srcY});
    const int dx1 = std::min({x + width, ds->width, x - srcX + from.width});
    const int dy1 = std::min({y + height, ds->height, y - srcY + from.height});
    if (dx0 >= dx1 || dy0 >= dy1) return true;
    for (int ty = dy0; ty < dy1; ++ty) {
        const std::uint32_t* in = &from.px[static_cast<std::size_t>(ty - y + srcY) * from.width + (dx0 - x + srcX)];
        std::uint32_t* out = &ds->px[static_cast<std::size_t>(ty) * ds->width + dx0];
        const int n = dx1 - dx0;
        if (from.mono == ds->mono) {
            std::copy(in, in + n, out);
        } else if (ds->mono) {
            for (int i = 0; i < n; ++i) out[i] = in[i] == sd->dc.bk ? 0xFFFFFF : 0x000000;
        } else {
            for (int i = 0; i < n; ++i) out[i] = in[i] == 0 ? dd->dc.text : dd->dc.bk;
        }
    }
    if (dd->dc.window) keepFrame(dd->dc.window, *ds, x, y, width, height);
    return true;
}

int RasterGdi::setStretchBltMode(Handle dc, int mode) {
    Object* d = find(dc, Kind::DC);
    if (!d) return 0;
    const int old = d->dc.stretchMode;
    d->dc.stretchMode = mode;
    return old;
}

bool RasterGdi::stretchBlt(Handle dst, int x, int y, int width, int height, Handle src,
                           int srcX, int srcY, int srcWidth, int srcHeight, std::uint32_t rop) {
    if (rop != kSrcCopy) return false;
    Object* dd = find(dst, Kind::DC);
    Pixels* ds = surface(dst);
    const Pixels* ss = surface(src);
    if (!dd || !ds || !ss || srcWidth <= 0 || srcHeight <= 0) return false;
    if (width <= 0 || height <= 0) return true;
    if (!WithinPixelCap(width, height)) return false;
    // The source rectangle, clipped to its surface (what lies outside reads as nothing).
    Pixmap from;
    from.width = srcWidth;
    from.height = srcHeight;
    from.px.assign(static_cast<std::size_t>(srcWidth) * srcHeight, 0);
    for (int yy = 0; yy < srcHeight; ++yy)
        for (int xx = 0; xx < srcWidth; ++xx) {
            const int sx = srcX + xx, sy = srcY + yy;
            if (sx >= 0 && sy >= 0 && sx < ss->width && sy < ss->height)
                from.px[static_cast<std::size_t>(yy) * srcWidth + xx] =
                    kAlphaOpaque | ss->at(sx, sy);
        }
    Pixmap scaled;
    if (dd->dc.stretchMode == kHalftone) {
        scaled = ScalePixmap(from, width, height);
    } else {
        // The other modes keep one source pixel for each target pixel.
        scaled.width = width;
        scaled.height = height;
        scaled.px.resize(static_cast<std::size_t>(width) * height);
        for (int yy = 0; yy < height; ++yy) {
            const int sy = static_cast<int>(static_cast<long long>(yy) * srcHeight / height);
            for (int xx = 0; xx < width; ++xx) {
                const int sx = static_cast<int>(static_cast<long long>(xx) * srcWidth / width);
                scaled.px[static_cast<std::size_t>(yy) * width + xx] = from.at(sx, sy);
            }
        }
    }
    for (int yy = std::max(0, -y); yy < height && y + yy < ds->height; ++yy)
        for (int xx = std::max(0, -x); xx < width && x + xx < ds->width; ++xx) {
            const Rgba p = scaled.at(xx, yy);
            if ((p >> 24) == 0) continue;
            put(*ds, x + xx, y + yy, p & 0xFFFFFF);
        }
    if (dd->dc.window) keepFrame(dd->dc.window, *ds, x, y, width, height);
    return true;
}

bool RasterGdi::plgBlt(Handle dst, const GdiPoint points[3], Handle src, int srcX, int srcY,
                       int width, int height) {
    Object* dd = find(dst, Kind::DC);
    Pixels* ds = surface(dst);
    const Pixels* ss = surface(src);
    if (!dd || !ds || !ss || width <= 0 || height <= 0) return false;
    // The source rectangle clipped to its surface, copied first: the target may be the source.
    const int l = std::max(0, srcX), t = std::max(0, srcY);
    const int r = std::min(ss->width, srcX + width), b = std::min(ss->height, srcY + height);
    if (l >= r || t >= b) return true;
    const Pixels from = *ss;
    // Each target pixel whose centre lies inside the parallelogram takes the source pixel that
    // maps onto it: c - p0 = u * (p1 - p0) + v * (p2 - p0), with u and v in [0, 1).
    const double ax = points[1].x - points[0].x, ay = points[1].y - points[0].y;
    const double bx = points[2].x - points[0].x, by = points[2].y - points[0].y;
    const double det = ax * by - ay * bx;
    if (det == 0) return false;
    const int minX = std::max(0, std::min({points[0].x, points[1].x, points[2].x,
                                           points[1].x + points[2].x - points[0].x}));
    const int maxX = std::min(ds->width, std::max({points[0].x, points[1].x, points[2].x,
                                                   points[1].x + points[2].x - points[0].x}));
    const int minY = std::max(0, std::min({points[0].y, points[1].y, points[2].y,
                                           points[1].y + points[2].y - points[0].y}));
    const int maxY = std::min(ds->height, std::max({points[0].y, points[1].y, points[2].y,
                                                    points[1].y + points[2].y - points[0].y}));
    for (int y = minY; y < maxY; ++y)
        for (int x = minX; x < maxX; ++x) {
            const double cx = x + 0.5 - points[0].x, cy = y + 0.5 - points[0].y;
            const double u = (cx * by - cy * bx) / det, v = (ax * cy - ay * cx) / det;
            if (u < 0 || u >= 1 || v < 0 || v >= 1) continue;
            const int sx = srcX + static_cast<int>(u * width);
            const int sy = srcY + static_cast<int>(v * height);
            if (sx < l || sy < t || sx >= r || sy >= b) continue;
            put(*ds, x, y, from.at(sx, sy));
        }
    if (dd->dc.window) keepFrame(dd->dc.window, *ds, minX, minY, maxX - minX, maxY - minY);
    return true;
}

void RasterGdi::keepFrame(Handle window, const Pixels& screen, int x, int y, int width, int height) {
    Frames& f = frames_[window];
    ++f.count;
    Pixels frame;
    frame.width = std::max(0, width);
    frame.height = std::max(0, height);
    frame.px.assign(static_cast<std::size_t>(frame.width) * frame.height, 0);
    for (int yy = 0; yy < frame.height; ++yy)
        for (int xx = 0; xx < frame.width; ++xx) {
            const int sx = x + xx, sy = y + yy;
            if (sx >= 0 && sy >= 0 && sx < screen.width && sy < screen.height)
                frame.px[static_cast<std::size_t>(yy) * frame.width + xx] = screen.at(sx, sy);
        }
    f.kept.push_back(std::move(frame));
    if (f.kept.size() > kKeptFrames) f.kept.pop_front();
}

const std::deque<RasterGdi::Pixels>& RasterGdi::windowFrames(Handle window) const {
    static const std::deque<Pixels> none;
    auto it = frames_.find(window);
    return it == frames_.end() ? none : it->second.kept;
}

long RasterGdi::windowFrameCount(Handle window) const {
    auto it = frames_.find(window);
    return it == frames_.end() ? 0 : it->second.count;
}

int RasterGdi::getDeviceCaps(Handle dc, int index) {
    // Every DC here belongs to the screen device, memory DCs too, whatever bitmap they hold.
    if (!find(dc, Kind::DC)) return 0;
    switch (index) {
    case kBitsPixel: return 32;
    case kPlanes: return 1;
    case kLogPixelsY: return 96;
    default: return 0;
    }
}

Handle RasterGdi::createIconIndirect(const IconInfo& info) {
    const Object* mask = find(info.hbmMask, Kind::Bitmap);
    if (!mask) return 0;
    Object o{Kind::Icon};
    o.icon.mask = mask->bitmap.pix;
    if (info.hbmColor != 0) {
        const Object* color = find(info.hbmColor, Kind::Bitmap);
        if (!color) return 0;
        o.icon.color = color->bitmap.pix;
    }
    return add(o);
}

bool RasterGdi::destroyIcon(Handle icon) {
    if (!find(icon, Kind::Icon)) return false;
    objects_.erase(icon);
    return true;
}

Handle RasterGdi::createPictureIndirect(int pictureType, Handle handle, bool owned) {
    Kind want;
    if (pictureType == kPictureTypeBitmap)
        want = Kind::Bitmap;
    else if (pictureType == kPictureTypeIcon)
        want = Kind::Icon;
    else
        return 0;
    if (!find(handle, want)) return 0;
    Object o{Kind::Picture};
    o.picture = Picture{pictureType, handle, owned};
    return add(o);
}

Handle RasterGdi::pictureHandle(Handle picture) {
    const Object* p = find(picture, Kind::Picture);
    return p ? p->picture.handle : 0;
}

void RasterGdi::releasePicture(Handle picture) {
    const Object* p = find(picture, Kind::Picture);
    if (!p) return;
    Picture pic = p->picture;
    objects_.erase(picture);
    if (!pic.owned) return;
    if (pic.type == kPictureTypeIcon)
        destroyIcon(pic.handle);
    else
        deleteObject(pic.handle);
}

int RasterGdi::count(Kind kind, bool includeStock) const {
    int n = 0;
    for (const auto& [h, o] : objects_)
        if (o.kind == kind && (includeStock || !o.stock)) ++n;
    return n;
}

int RasterGdi::liveObjectCount() const {
    return count(Kind::Bitmap, false) + count(Kind::Brush, false) + count(Kind::Font, false) +
           count(Kind::Pen, false);
}
int RasterGdi::liveDCCount() const { return count(Kind::DC, true); }
int RasterGdi::liveIconCount() const { return count(Kind::Icon, true); }
int RasterGdi::livePictureCount() const { return count(Kind::Picture, true); }

RasterGdi::Pixels RasterGdi::bitmapPixels(Handle bitmap) const {
    return need(bitmap, Kind::Bitmap).bitmap.pix;
}
kit::Font RasterGdi::fontOf(Handle dc) const {
    const Font& f = need(need(dc, Kind::DC).dc.font, Kind::Font).font;
    kit::Font out;
    out.name = f.face;
    out.size = f.points;
    out.bold = f.bold;
    out.italic = f.italic;
    out.underline = f.underline;
    return out;
}

RasterGdi::Pixels RasterGdi::iconMask(Handle icon) const { return need(icon, Kind::Icon).icon.mask; }
RasterGdi::Pixels RasterGdi::iconColor(Handle icon) const {
    return need(icon, Kind::Icon).icon.color;
}
Handle RasterGdi::selectedBitmap(Handle dc) const { return need(dc, Kind::DC).dc.bitmap; }
std::string RasterGdi::fontFace(Handle dc) const {
    return need(need(dc, Kind::DC).dc.font, Kind::Font).font.face;
}
Color RasterGdi::textColor(Handle dc) const { return need(dc, Kind::DC).dc.text; }
Color RasterGdi::bkColor(Handle dc) const { return need(dc, Kind::DC).dc.bk; }

bool RasterGdi::patBlt(Handle dc, int x, int y, int width, int height, std::uint32_t rop) {
    if (rop != kPatCopy) return false;
    return bitBlt(dc, x, y, width, height, 0, 0, 0, kPatCopy);
}

bool RasterGdi::setRect(Rect& rc, int left, int top, int right, int bottom) {
    rc = Rect{left, top, right, bottom};
    return true;
}

bool RasterGdi::drawEdge(Handle dc, const Rect& rc, unsigned edge, unsigned sides) {
    Pixels* s = surface(dc);
    if (!s) return false;
    // Each border is one pixel: the outer on the rectangle's rim, the inner just inside it.
    // The top-left colour is drawn first, so the two far corners take the bottom-right one.
    auto border = [&](const Rect& r, Color topLeft, Color bottomRight) {
        const Color tl = ResolveColor(topLeft), br = ResolveColor(bottomRight);
        if (sides & kBfLeft)
            for (int y = r.top; y < r.bottom; ++y) put(*s, r.left, y, tl);
        if (sides & kBfTop)
            for (int x = r.left; x < r.right; ++x) put(*s, x, r.top, tl);
        if (sides & kBfRight)
            for (int y = r.top; y < r.bottom; ++y) put(*s, r.right - 1, y, br);
        if (sides & kBfBottom)
            for (int x = r.left; x < r.right; ++x) put(*s, x, r.bottom - 1, br);
    };
    if (edge & kBdrRaisedOuter) border(rc, kSys3DLight, kSys3DDkShadow);
    else if (edge & kBdrSunkenOuter) border(rc, kSys3DShadow, kSys3DHighlight);
    const Rect inner{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
    if (edge & kBdrRaisedInner) border(inner, kSys3DHighlight, kSys3DShadow);
    else if (edge & kBdrSunkenInner) border(inner, kSys3DDkShadow, kSys3DLight);
    return true;
}

Handle RasterGdi::loadPicture(const std::string& path, int& error) {
    error = kErrFileNotFound;
    std::optional<std::vector<std::uint8_t>> bytes;
    if (readFile_) bytes = readFile_(path);
    if (!bytes) return 0;
    error = kErrInvalidPicture;
    // The decoder's buffer becomes the bitmap's. A JPEG comes as colours already, into the
    // spare buffer when that fits; other formats are laid over white in place.
    const bool jpeg = SniffPictureFormat(bytes->data(), bytes->size()) == PictureFormat::Jpeg;
    auto pm = jpeg ? DecodeJpeg(bytes->data(), bytes->size(), &spare_, true)
                   : DecodePicture(bytes->data(), bytes->size(), false);
    if (!pm) return 0;
    Object o{Kind::Bitmap};
    o.bitmap.pix.width = pm->width;
    o.bitmap.pix.height = pm->height;
    o.bitmap.pix.px = std::move(pm->px);
    if (!jpeg)
        for (std::uint32_t& p : o.bitmap.pix.px) p = CompositeOver(p, 0xFFFFFF);
    const Handle bitmap = add(std::move(o));
    error = 0;
    return createPictureIndirect(kPictureTypeBitmap, bitmap, true);
}

std::optional<std::vector<std::uint8_t>> RasterGdi::readPictureFile(const std::string& path,
                                                                    int& error) {
    error = kErrFileNotFound;
    std::optional<std::vector<std::uint8_t>> bytes;
    if (readFile_) bytes = readFile_(path);
    if (bytes) error = 0;
    return bytes;
}

bool RasterGdi::pictureSize(Handle picture, int& width, int& height) {
    const Object* p = find(picture, Kind::Picture);
    if (!p) return false;
    if (const Object* b = find(p->picture.handle, Kind::Bitmap)) {
        width = b->bitmap.pix.width;
        height = b->bitmap.pix.height;
        return true;
    }
    if (const Object* i = find(p->picture.handle, Kind::Icon)) {
        width = i->icon.mask.width;
        height = i->icon.mask.height;
        return true;
    }
    return false;
}

bool RasterGdi::renderPicture(Handle dc, Handle picture, int x, int y, int width, int height) {
    const Object* p = find(picture, Kind::Picture);
    if (!p || !surface(dc)) return false;
    Pixmap src;
    if (const Object* b = find(p->picture.handle, Kind::Bitmap)) {
        // Scaled straight from the bitmap: a natural-size copy would cost more than the scaling.
        if (width <= 0 || height <= 0) return true;
        if (!WithinPixelCap(width, height)) return false;
        const Pixels& pix = b->bitmap.pix;
        return drawPixmap(dc, x, y, width, height,
                          ScaleOpaque(pix.px.data(), pix.width, pix.height, width, height));
    } else if (const Object* ic = find(p->picture.handle, Kind::Icon)) {
        // Where the mask is white the icon is transparent.
        const Pixels& mask = ic->icon.mask;
        const Pixels& colour = ic->icon.color;
        src.width = mask.width;
        src.height = mask.height;
        src.px.resize(mask.px.size());
        for (std::size_t i = 0; i < mask.px.size(); ++i) {
            const bool opaque = mask.px[i] == 0;
            const std::uint32_t c = colour.px.size() == mask.px.size() ? colour.px[i] : 0;
            src.px[i] = opaque ? (kAlphaOpaque | c) : 0;
        }
    } else {
        return false;
    }
    return drawPixmap(dc, x, y, width, height, src);
}

bool RasterGdi::drawPixmap(Handle dc, int x, int y, int width, int height, const Pixmap& src) {
    Pixels* s = surface(dc);
    if (!s) return false;
    if (width <= 0 || height <= 0) return true;
    // Only the part that lands on the surface is worth scaling.
    if (!WithinPixelCap(width, height)) return false;
    const bool natural = width == src.width && height == src.height;
    const Pixmap resampled = natural ? Pixmap{} : ScalePixmap(src, width, height);
    const Pixmap& scaled = natural ? src : resampled;
    if (scaled.px.empty()) return true;
    for (int yy = std::max(0, -y); yy < height && y + yy < s->height; ++yy)
        for (int xx = std::max(0, -x); xx < width && x + xx < s->width; ++xx) {
            const Rgba p = scaled.at(xx, yy);
            if ((p >> 24) == 0) continue;
            std::uint32_t& target = s->px[static_cast<std::size_t>(y + yy) * s->width + x + xx];
            target = (p >> 24) == 0xFF ? p & 0xFFFFFF : CompositeOver(p, target);
            if (s->mono) target = toMono(target);
        }
    return true;
}

}  // namespace kit::headless
