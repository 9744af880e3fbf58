#include "fortune/cardgen/card_art.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace cardart {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSubsamples = 6;  // per axis, for smooth edges at this small size

constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kInk{20, 20, 20};
constexpr Rgb kRed{200, 16, 24}, kGold{236, 186, 40}, kBlue{36, 70, 170};
constexpr Rgb kSkin{250, 214, 172}, kSilver{205, 208, 218}, kBrown{130, 78, 36};

struct Box {
    int x0, y0, x1, y1;  // pixels x0 .. x1 - 1, y0 .. y1 - 1
};

Rgb Mix(Rgb a, Rgb b, double t) {
    auto m = [t](int p, int q) { return std::uint8_t(std::lround(p + (q - p) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Box Clip(const Image& img, Box b) {
    return {std::max(b.x0, 0), std::max(b.y0, 0), std::min(b.x1, img.w), std::min(b.y1, img.h)};
}

// Paints c over the pixels of box, weighted by the share of each pixel that inside() covers.
// inside() takes continuous coordinates; pixel (x, y) spans [x, x + 1) x [y, y + 1).
template <class F>
void Fill(Image& img, Box box, Rgb c, F inside) {
    box = Clip(img, box);
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) {
            int n = 0;
            for (int j = 0; j < kSubsamples; ++j)
                for (int i = 0; i < kSubsamples; ++i)
                    n += inside(x + (i + 0.5) / kSubsamples, y + (j + 0.5) / kSubsamples) ? 1 : 0;
            if (n) img.at(x, y) = Mix(img.at(x, y), c, double(n) / (kSubsamples * kSubsamples));
        }
}

// Sets each pixel of box to the average of shade() over the pixel.
template <class F>
void Shade(Image& img, Box box, F shade) {
    box = Clip(img, box);
    constexpr int n = 4;
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) {
            int r = 0, g = 0, b = 0;
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    Rgb c = shade(x + (i + 0.5) / n, y + (j + 0.5) / n);
                    r += c.r;
                    g += c.g;
                    b += c.b;
                }
            img.at(x, y) = {std::uint8_t((r + n * n / 2) / (n * n)),
                            std::uint8_t((g + n * n / 2) / (n * n)),
                            std::uint8_t((b + n * n / 2) / (n * n))};
        }
}

Box Around(double cx, double cy, double rx, double ry) {
    return {int(std::floor(cx - rx)) - 1, int(std::floor(cy - ry)) - 1, int(std::ceil(cx + rx)) + 1,
            int(std::ceil(cy + ry)) + 1};
}

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry) {
    const double u = (x - cx) / rx, v = (y - cy) / ry;
    return u * u + v * v <= 1;
}

double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

bool InRoundRect(double x, double y, double x0, double y0, double x1, double y1, double r) {
    if (x < x0 || x > x1 || y < y0 || y > y1) return false;
    const double cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return std::hypot(x - cx, y - cy) <= r;
}

void Disc(Image& img, double cx, double cy, double rx, double ry, Rgb c) {
    Fill(img, Around(cx, cy, rx, ry), c, [&](double x, double y) { return InEllipse(x, y, cx, cy, rx, ry); });
}

// An outlined ellipse: ink first, the colour inside it.
void OutlinedDisc(Image& img, double cx, double cy, double rx, double ry, Rgb c, double line = 0.8) {
    Disc(img, cx, cy, rx, ry, kInk);
    Disc(img, cx, cy, rx - line, ry - line, c);
}

void Line(Image& img, double ax, double ay, double bx, double by, double width, Rgb c) {
    const double h = width / 2;
    Box box{int(std::floor(std::min(ax, bx) - h)) - 1, int(std::floor(std::min(ay, by) - h)) - 1,
            int(std::ceil(std::max(ax, bx) + h)) + 1, int(std::ceil(std::max(ay, by) + h)) + 1};
    Fill(img, box, c, [&](double x, double y) { return SegmentDistance(x, y, ax, ay, bx, by) <= h; });
}

struct Pt {
    double x, y;
};

bool InPolygon(double x, double y, const std::vector<Pt>& p) {
    bool in = false;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].y > y) != (p[j].y > y) &&
            x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x)
            in = !in;
    }
    return in;
}

void Polygon(Image& img, const std::vector<Pt>& p, Rgb c) {
    double x0 = p[0].x, y0 = p[0].y, x1 = x0, y1 = y0;
    for (const Pt& q : p) {
        x0 = std::min(x0, q.x), y0 = std::min(y0, q.y);
        x1 = std::max(x1, q.x), y1 = std::max(y1, q.y);
    }
    Box box{int(std::floor(x0)) - 1, int(std::floor(y0)) - 1, int(std::ceil(x1)) + 1, int(std::ceil(y1)) + 1};
    Fill(img, box, c, [&](double x, double y) { return InPolygon(x, y, p); });
}

// ---- Suit signs, in a unit box: u across, v downwards, both about -1 .. 1 ----

bool InHeart(double u, double v) {
    if (InEllipse(u, v, -0.46, -0.40, 0.50, 0.52) || InEllipse(u, v, 0.46, -0.40, 0.50, 0.52)) return true;
    if (v < -0.40 || v > 1.0) return false;
    const double t = (v + 0.40) / 1.40;  // 0 at the lobes' widest, 1 at the point
    return std::fabs(u) <= 0.96 * std::pow(std::cos(t * kPi / 2), 0.85);
}

bool InDiamond(double u, double v) { return std::fabs(u) / 0.80 + std::fabs(v) <= 1.0; }

// A stem that flares towards its foot at v = 1.
bool InStem(double u, double v, double top, double halfFoot) {
    if (v < top || v > 1.0) return false;
    const double t = (v - top) / (1.0 - top);
    return std::fabs(u) <= 0.07 + (halfFoot - 0.07) * t * t;
}

bool InSpade(double u, double v) {
    // An upside-down heart, a little smaller, over the stem.
    if (InHeart(u / 0.94, -(v + 0.06) / 0.80)) return true;
    return InStem(u, v, 0.30, 0.46);
}

bool InClub(double u, double v) {
    if (InEllipse(u, v, 0, -0.50, 0.43, 0.43)) return true;
    if (InEllipse(u, v, -0.50, 0.17, 0.43, 0.43)) return true;
    if (InEllipse(u, v, 0.50, 0.17, 0.43, 0.43)) return true;
    if (InEllipse(u, v, 0, 0.0, 0.26, 0.30)) return true;
    return InStem(u, v, 0.20, 0.46);
}

bool InSuit(int suit, double u, double v) {
    switch (suit) {
    case 0: return InClub(u, v);
    case 1: return InDiamond(u, v);
    case 2: return InHeart(u, v);
    default: return InSpade(u, v);
    }
}

Rgb SuitColour(int suit) { return suit == 1 || suit == 2 ? kRed : kBlack; }

// A suit sign centred on (cx, cy), size s pixels from the centre to the top; turned upside
// down when flipped.
void Pip(Image& img, int ox, int oy, int suit, double cx, double cy, double s, bool flipped) {
    cx += ox;
    cy += oy;
    Fill(img, Around(cx, cy, s, s), SuitColour(suit), [&](double x, double y) {
        double u = (x - cx) / s, v = (y - cy) / s;
        if (flipped) u = -u, v = -v;
        return InSuit(suit, u, v);
    });
}

// ---- Corner indices: our own bold bitmap glyphs, 10 rows high ----

// clang-format off
const char* const kRankGlyphs[kPoints][10] = {
    {"..###..", ".##.##.", "##...##", "##...##", "##...##", "#######", "##...##", "##...##", "##...##", "##...##"},
    {".#####.", "##...##", ".....##", ".....##", "....##.", "...##..", "..##...", ".##....", "##.....", "#######"},
    {".#####.", "##...##", ".....##", ".....##", "..####.", ".....##", ".....##", ".....##", "##...##", ".#####."},
    {"....##.", "...###.", "..####.", ".##.##.", "##..##.", "##..##.", "#######", "....##.", "....##.", "....##."},
    {"#######", "##.....", "##.....", "######.", ".....##", ".....##", ".....##", ".....##", "##...##", ".#####."},
    {"..####.", ".##....", "##.....", "##.....", "######.", "##...##", "##...##", "##...##", "##...##", ".#####."},
    {"#######", ".....##", ".....##", "....##.", "....##.", "...##..", "...##..", "..##...", "..##...", "..##..."},
    {".#####.", "##...##", "##...##", "##...##", ".#####.", "##...##", "##...##", "##...##", "##...##", ".#####."},
    {".#####.", "##...##", "##...##", "##...##", "##...##", ".######", ".....##", ".....##", "....##.", ".####.."},
    {".##..###.", "###.##.##", ".##.##.##", ".##.##.##", ".##.##.##", ".##.##.##", ".##.##.##", ".##.##.##", ".##.##.##", ".##..###."},
    {"...####", ".....##", ".....##", ".....##", ".....##", ".....##", ".....##", "##...##", "##...##", ".#####."},
    {".#####.", "##...##", "##...##", "##...##", "##...##", "##...##", "##.#.##", "##..##.", ".####.#", "......."},
    {"##...##", "##..##.", "##.##..", "####...", "###....", "###....", "####...", "##.##..", "##..##.", "##...##"},
};
// clang-format on

constexpr int kIndexTop = 4;

// The rank in the top-left corner and, turned round, in the bottom-right one.
void Index(Image& img, int ox, int oy, int point, int suit) {
    const Rgb c = SuitColour(suit);
    const int width = int(std::string(kRankGlyphs[point][0]).size());
    const int left = width > 7 ? 2 : 3;
    for (int gy = 0; gy < 10; ++gy)
        for (int gx = 0; gx < width; ++gx) {
            if (kRankGlyphs[point][gy][gx] != '#') continue;
            const int x = left + gx, y = kIndexTop + gy;
            img.at(ox + x, oy + y) = c;
            img.at(ox + kCardW - 1 - x, oy + kCardH - 1 - y) = c;
        }
    const double cx = left + width / 2.0, cy = kIndexTop + 10 + 6.0;
    Pip(img, ox, oy, suit, cx, cy, 4.4, false);
    Pip(img, ox, oy, suit, kCardW - cx, kCardH - cy, 4.4, true);
}

// White card with a thin dark edge and rounded corners on the black table.
void Blank(Image& img, int ox, int oy) {
    for (int y = 0; y < kCardH; ++y)
        for (int x = 0; x < kCardW; ++x) img.at(ox + x, oy + y) = kBlack;
    Fill(img, {ox, oy, ox + kCardW, oy + kCardH}, {64, 64, 64}, [&](double x, double y) {
        return InRoundRect(x - ox, y - oy, 0, 0, kCardW, kCardH, 4.5);
    });
    Fill(img, {ox, oy, ox + kCardW, oy + kCardH}, kWhite, [&](double x, double y) {
        return InRoundRect(x - ox, y - oy, 1, 1, kCardW - 1, kCardH - 1, 3.5);
    });
}

// ---- Number cards ----

constexpr double kLeftCol = 21, kMidCol = 35.5, kRightCol = 50;
constexpr double kTopRow = 18, kBottomRow = 78, kMiddleRow = 48;

void NumberPips(Image& img, int ox, int oy, int point, int suit) {
    std::vector<Pt> at;
    const double quarter = (kBottomRow - kTopRow) / 3;  // four rows for 9 and 10
    auto sides = [&](std::initializer_list<double> rows) {
        for (double r : rows) at.push_back({kLeftCol, r}), at.push_back({kRightCol, r});
    };
    switch (point + 1) {
    case 2: at = {{kMidCol, kTopRow}, {kMidCol, kBottomRow}}; break;
    case 3: at = {{kMidCol, kTopRow}, {kMidCol, kMiddleRow}, {kMidCol, kBottomRow}}; break;
    case 4: sides({kTopRow, kBottomRow}); break;
    case 5: sides({kTopRow, kBottomRow}), at.push_back({kMidCol, kMiddleRow}); break;
    case 6: sides({kTopRow, kMiddleRow, kBottomRow}); break;
    case 7: sides({kTopRow, kMiddleRow, kBottomRow}), at.push_back({kMidCol, 33}); break;
    case 8:
        sides({kTopRow, kMiddleRow, kBottomRow});
        at.push_back({kMidCol, 33}), at.push_back({kMidCol, 63});
        break;
    case 9:
        sides({kTopRow, kTopRow + quarter, kBottomRow - quarter, kBottomRow});
        at.push_back({kMidCol, kMiddleRow});
        break;
    case 10:
        sides({kTopRow, kTopRow + quarter, kBottomRow - quarter, kBottomRow});
        at.push_back({kMidCol, 28}), at.push_back({kMidCol, 68});
        break;
    }
    for (const Pt& p : at) Pip(img, ox, oy, suit, p.x, p.y, 6.6, p.y > kMiddleRow);
}

void Ace(Image& img, int ox, int oy, int suit) {
    if (suit == 3) {
        // The ace of spades gets the big ornate sign.
        Fill(img, Around(ox + 35.5, oy + 48, 21, 21), {60, 60, 60}, [&](double x, double y) {
            const double d = std::hypot(x - ox - 35.5, y - oy - 48);
            return d <= 20.5 && d >= 19.6;
        });
        Pip(img, ox, oy, suit, 35.5, 48, 16, false);
        return;
    }
    Pip(img, ox, oy, suit, 35.5, 48, 12, false);
}

// ---- Court cards: a double-headed portrait of our own in a frame ----

constexpr int kFrameL = 13, kFrameT = 12, kFrameR = 57, kFrameB = 83;  // frame lines

struct Court {
    Rgb robe, trim;
};

void Figure(Image& f, int point, int suit) {
    const bool redSuit = suit == 1 || suit == 2;
    const Court c = redSuit ? Court{{196, 40, 40}, kBlue} : Court{kBlue, {196, 40, 40}};
    const double cx = 35.5;

    // Background of the frame: a pale wash in the suit's colour.
    Shade(f, {kFrameL + 1, kFrameT + 1, kFrameR, 48}, [&](double x, double y) {
        const bool stripe = std::fmod(x + y, 6.0) < 1.0;
        return stripe ? (redSuit ? Rgb{250, 226, 214} : Rgb{222, 230, 248}) : Rgb{255, 252, 240};
    });

    // Hair behind the head.
    const Rgb hair = point == 10 ? Rgb{128, 72, 30} : Rgb{238, 196, 60};
    if (point == 11) {
        Disc(f, cx, 29, 9.8, 12.5, kInk);
        Disc(f, cx, 29, 9.0, 11.7, hair);
    } else {
        OutlinedDisc(f, cx, 24, 7.8, 7.8, hair);
    }

    // Shoulders and robe down to the middle of the card, edged in the trim colour, with a
    // gold band down the front.
    auto torso = [cx](double inset) {
        return std::vector<Pt>{{cx - 7 + inset, 33.5 + inset}, {cx + 7 - inset, 33.5 + inset},
                               {cx + 15 - inset, 36.5 + inset}, {cx + 18.5 - inset, 41.5},
                               {cx + 19.5 - inset, 49},          {cx - 19.5 + inset, 49},
                               {cx - 18.5 + inset, 41.5},        {cx - 15 + inset, 36.5 + inset}};
    };
    Polygon(f, torso(0), kInk);
    Polygon(f, torso(0.8), c.trim);
    Polygon(f, torso(2.6), c.robe);
    Fill(f, {28, 34, 44, 49}, kInk, [&](double x, double y) { return std::fabs(x - cx) <= 4.4 - (y - 36) * 0.06; });
    Fill(f, {28, 34, 44, 49}, kGold, [&](double x, double y) { return std::fabs(x - cx) <= 3.6 - (y - 36) * 0.06; });
    for (double y = 39.5; y < 48; y += 3.2) Disc(f, cx, y, 1.1, 1.1, c.robe);
    // Sleeves: a fold line on each side.
    Line(f, cx - 12, 38, cx - 13.5, 48.5, 0.8, kInk);
    Line(f, cx + 12, 38, cx + 13.5, 48.5, 0.8, kInk);

    // Neck and head.
    Fill(f, {32, 29, 40, 37}, kSkin, [&](double x, double) { return std::fabs(x - cx) <= 2.6; });
    OutlinedDisc(f, cx, 25, 6.0, 7.0, kSkin);
    Disc(f, cx - 2.3, 24.2, 0.7, 0.8, kInk);
    Disc(f, cx + 2.3, 24.2, 0.7, 0.8, kInk);
    Line(f, cx, 25, cx - 0.4, 27.4, 0.6, {190, 130, 90});
    Line(f, cx - 1.4, 29.3, cx + 1.4, 29.3, 0.8, {190, 40, 40});

    // Collar: ermine for the king, pearls for the queen, a plain band for the jack.
    if (point == 12) {
        Fill(f, {24, 32, 48, 41}, kInk, [&](double x, double y) { return InEllipse(x, y, cx, 36.5, 9.3, 3.3); });
        Fill(f, {24, 32, 48, 41}, kWhite, [&](double x, double y) { return InEllipse(x, y, cx, 36.5, 8.6, 2.6); });
        for (double x = cx - 6; x <= cx + 6.1; x += 3) Disc(f, x, 36.6, 0.55, 0.8, kInk);
        // Beard over the collar.
        OutlinedDisc(f, cx, 31.2, 4.6, 4.0, {240, 236, 220});
        Line(f, cx - 1.6, 29.6, cx + 1.6, 29.6, 0.8, {190, 40, 40});
        Line(f, cx - 2.6, 29.0, cx - 0.3, 28.4, 0.7, {200, 196, 180});
        Line(f, cx + 2.6, 29.0, cx + 0.3, 28.4, 0.7, {200, 196, 180});
    } else if (point == 11) {
        for (int i = -3; i <= 3; ++i) {
            const double a = i * 0.33;
            Disc(f, cx + 7.2 * std::sin(a), 34 + 2.6 * std::cos(a), 0.9, 0.9, kWhite);
        }
    } else {
        Line(f, cx - 7, 35.4, cx + 7, 35.4, 2.2, kInk);
        Line(f, cx - 6.6, 35.4, cx + 6.6, 35.4, 1.4, kGold);
    }

    // Headgear.
    if (point == 12) {
        const std::vector<Pt> crown = {{cx - 6.2, 20}, {cx - 6.6, 13}, {cx - 3.4, 16.6}, {cx, 12.2},
                                       {cx + 3.4, 16.6}, {cx + 6.6, 13}, {cx + 6.2, 20}};
        Polygon(f, crown, kInk);
        std::vector<Pt> inner = crown;
        for (Pt& p : inner) p = {cx + (p.x - cx) * 0.86, 20 - (20 - p.y) * 0.86 - 0.3};
        Polygon(f, inner, kGold);
        for (double x : {cx - 5.6, cx, cx + 5.6}) Disc(f, x, x == cx ? 13.4 : 14.2, 0.9, 0.9, {200, 20, 30});
        Line(f, cx - 5.5, 18.4, cx + 5.5, 18.4, 0.7, {200, 20, 30});
    } else if (point == 11) {
        Line(f, cx - 5.8, 18.6, cx + 5.8, 18.6, 2.4, kInk);
        Line(f, cx - 5.4, 18.6, cx + 5.4, 18.6, 1.6, kGold);
        for (double x : {cx - 4, cx, cx + 4}) {
            OutlinedDisc(f, x, 16.2, 1.7, 1.7, kGold, 0.6);
            Disc(f, x, 16.2, 0.7, 0.7, c.trim);
        }
    } else {
        OutlinedDisc(f, cx + 0.5, 18.6, 7.8, 3.4, c.robe);
        Line(f, cx - 6.5, 20.4, cx + 7, 20.4, 1.2, kGold);
        Line(f, cx + 5, 18, cx + 10, 13.5, 1.8, kInk);
        Line(f, cx + 5, 18, cx + 10, 13.5, 1.0, kRed);
    }

    // What each holds: the king a sword, the queen a flower, the jack a halberd.
    if (point == 12) {
        const double sx = 50;
        Line(f, sx, 14, sx, 36, 2.6, kInk);
        Line(f, sx, 14.5, sx, 36, 1.6, kSilver);
        Line(f, sx - 3.2, 36.5, sx + 3.2, 36.5, 2.0, kInk);
        Line(f, sx - 2.8, 36.5, sx + 2.8, 36.5, 1.2, kGold);
        Line(f, sx, 37.5, sx, 43, 1.8, kBrown);
        OutlinedDisc(f, sx, 40.5, 2.3, 2.0, kSkin, 0.6);
    } else if (point == 11) {
        const double fx = 21.5;
        Line(f, fx, 30, fx + 1, 43, 1.1, {40, 130, 50});
        Disc(f, fx + 2.6, 36, 1.8, 0.9, {40, 150, 60});
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * kPi / 5;
            OutlinedDisc(f, fx + 2.1 * std::sin(a), 27.5 - 2.1 * std::cos(a), 1.6, 1.6, {210, 40, 60}, 0.5);
        }
        Disc(f, fx, 27.5, 1.1, 1.1, kGold);
        OutlinedDisc(f, fx + 1, 41, 2.3, 2.0, kSkin, 0.6);
    } else {
        const double hx = 20.5;
        Line(f, hx, 15, hx, 47, 1.8, kInk);
        Line(f, hx, 15, hx, 47, 1.0, kBrown);
        Polygon(f, {{hx, 12.6}, {hx - 1.6, 17}, {hx + 1.6, 17}}, kSilver);
        Polygon(f, {{hx + 0.5, 17.5}, {hx + 5.5, 16}, {hx + 5.5, 23}, {hx + 0.5, 21.5}}, kInk);
        Polygon(f, {{hx + 1, 18.2}, {hx + 4.8, 17}, {hx + 4.8, 22}, {hx + 1, 20.8}}, kSilver);
        OutlinedDisc(f, hx, 40.5, 2.3, 2.0, kSkin, 0.6);
    }
}

void CourtCard(Image& img, int ox, int oy, int point, int suit) {
    Image f(kCardW, kCardH, kWhite);
    Figure(f, point, suit);
    // The suit sign beside the head, away from what the figure holds.
    const double px = point == 12 ? 19.5 : 52;
    Pip(f, 0, 0, suit, px, 18.5, 4.2, false);
    // Upper half as drawn, lower half the same turned round, inside the frame.
    for (int y = kFrameT + 1; y < 48; ++y)
        for (int x = kFrameL + 1; x < kFrameR; ++x) {
            img.at(ox + x, oy + y) = f.at(x, y);
            img.at(ox + kCardW - 1 - x, oy + kCardH - 1 - y) = f.at(x, y);
        }
    const Rgb frame = SuitColour(suit);
    for (int x = kFrameL; x <= kFrameR; ++x) img.at(ox + x, oy + kFrameT) = img.at(ox + x, oy + kFrameB) = frame;
    for (int y = kFrameT; y <= kFrameB; ++y) img.at(ox + kFrameL, oy + y) = img.at(ox + kFrameR, oy + y) = frame;
}

void Face(Image& img, int point, int suit) {
    const int ox = point * kCardW, oy = suit * kCardH;
    Blank(img, ox, oy);
    Index(img, ox, oy, point, suit);
    if (point == 0)
        Ace(img, ox, oy, suit);
    else if (point >= 10)
        CourtCard(img, ox, oy, point, suit);
    else
        NumberPips(img, ox, oy, point, suit);
}

// ---- Backs ----

constexpr int kArtL = 4, kArtT = 4, kArtR = 67, kArtB = 92;  // design area, exclusive right/bottom
constexpr double kMidX = (kArtL + kArtR) / 2.0, kMidY = (kArtT + kArtB) / 2.0;

double Fract(double v) { return v - std::floor(v); }
// Distance from v to the nearest multiple of period.
double ToGrid(double v, double period) {
    const double f = Fract(v / period) * period;
    return std::min(f, period - f);
}

Rgb Lerp(Rgb a, Rgb b, double t) { return Mix(a, b, std::clamp(t, 0.0, 1.0)); }

// A small deterministic generator for star positions.
struct Lcg {
    std::uint32_t s;
    double next() {
        s = s * 1664525u + 1013904223u;
        return (s >> 8) / double(1 << 24);
    }
};

Rgb Lattice(double x, double y) {
    const double a = ToGrid(x + y, 7), b = ToGrid(x - y + 0.5, 7);
    if (a < 0.75 || b < 0.75) return {150, 192, 240};
    const double d = std::hypot(x - kMidX, y - kMidY);
    return Lerp({40, 86, 180}, {20, 46, 120}, d / 50);
}

Rgb Rosettes(double x, double y) {
    const double gx = Fract((x - kArtL) / 10.5) * 10.5 - 5.25, gy = Fract((y - kArtT) / 11) * 11 - 5.5;
    const Rgb base{150, 22, 38};
    for (int k = 0; k < 4; ++k) {
        const double a = k * kPi / 2;
        if (InEllipse(gx, gy, 2.2 * std::cos(a), 2.2 * std::sin(a), 1.7, 1.7))
            return std::hypot(gx, gy) < 1.1 ? Rgb{120, 10, 20} : kGold;
    }
    if (std::hypot(gx, gy) < 1.0) return kGold;
    const double cx = std::fabs(gx) - 5.25, cy = std::fabs(gy) - 5.5;
    if (std::hypot(cx, cy) < 0.9) return {240, 210, 120};
    return base;
}

Rgb Argyle(double x, double y) {
    const double w = 15.75, h = 22;
    const double u = (x - kArtL) / w, v = (y - kArtT) / h;
    // Diamonds centred on the tile centres and on the tile corners, in two greens.
    const double du = Fract(u) - 0.5, dv = Fract(v) - 0.5;
    const bool inner = std::fabs(du) + std::fabs(dv) < 0.5;
    // Thin light lines through the diamonds' sides, broken into stitches.
    const double p = Fract(u + v), q = Fract(u - v);
    const bool stitch = Fract((y - kArtT) / 3.0) < 0.6;
    if (stitch && (std::fabs(p - 0.5) < 0.035 || std::fabs(q - 0.5) < 0.035)) return {235, 245, 225};
    return inner ? Rgb{24, 112, 60} : Rgb{120, 186, 110};
}

bool InFish(double x, double y, double fx, double fy, double size, bool left) {
    double u = (x - fx) / size, v = (y - fy) / size;
    if (left) u = -u;
    if (InEllipse(u, v, 0, 0, 1.0, 0.55)) return true;
    return u < -0.7 && u > -1.5 && std::fabs(v) < (-0.7 - u) * 0.9;
}

Rgb Ocean(double x, double y) {
    const double t = (y - kArtT) / (kArtB - kArtT);
    Rgb c = Lerp({84, 176, 226}, {10, 46, 112}, t);
    for (int k = 0; k < 7; ++k) {
        const double wy = kArtT + 8 + 12.5 * k + 1.8 * std::sin((x - kArtL) / 3.2 + k * 1.7);
        if (std::fabs(y - wy) < 0.55) c = Lerp(c, {200, 232, 250}, 0.75);
    }
    const struct { double x, y, s; bool left; } fish[] = {{24, 30, 7.5, false}, {46, 58, 8.5, true}, {22, 78, 5.5, false}};
    for (const auto& f : fish) {
        if (InFish(x, y, f.x, f.y, f.s, f.left)) {
            const double ex = f.x + (f.left ? -0.55 : 0.55) * f.s, ey = f.y - 0.12 * f.s;
            if (std::hypot(x - ex, y - ey) < 0.14 * f.s) return kInk;
            return std::fabs(x - f.x) < 0.12 * f.s ? Rgb{255, 220, 120} : Rgb{250, 140, 40};
        }
    }
    for (const Pt& b : {Pt{33, 18}, Pt{35, 13}, Pt{57, 40}, Pt{55, 35}, Pt{40, 72}}) {
        const double d = std::hypot(x - b.x, y - b.y);
        if (d > 0.9 && d < 1.5) return {210, 236, 250};
    }
    return c;
}

Rgb Night(double x, double y) {
    Rgb c = Lerp({8, 12, 44}, {34, 44, 110}, (y - kArtT) / (kArtB - kArtT));
    if (std::hypot(x - 44, y - 28) < 11 && std::hypot(x - 49, y - 24) >= 9.5) return {250, 238, 170};
    Lcg rng{7};
    for (int i = 0; i < 34; ++i) {
        const double sx = kArtL + 2 + rng.next() * (kArtR - kArtL - 4);
        const double sy = kArtT + 2 + rng.next() * (kArtB - kArtT - 4);
        const double big = rng.next();
        const double dx = std::fabs(x - sx), dy = std::fabs(y - sy);
        if (big > 0.8) {
            if ((dx < 0.35 && dy < 3.0) || (dy < 0.35 && dx < 3.0) || std::hypot(dx, dy) < 0.9)
                return {255, 255, 220};
        } else if (std::hypot(dx, dy) < 0.35 + 0.5 * big) {
            return {230, 230, 255};
        }
    }
    // A dark hill line at the foot.
    if (y > kArtB - 12 + 4 * std::sin((x - kArtL) / 9.0)) return {4, 6, 20};
    return c;
}

Rgb Sun(double x, double y) {
    const double dx = x - kMidX, dy = y - kMidY, d = std::hypot(dx, dy);
    if (d < 11) return d < 9 ? Lerp({255, 244, 150}, {255, 214, 70}, d / 9) : Rgb{226, 110, 20};
    if (d < 13.5 && d > 12.3) return {226, 110, 20};
    const double a = std::atan2(dy, dx);
    const bool ray = Fract(a / (2 * kPi) * 16 + 0.25 * std::sin(d / 6)) < 0.5;
    const Rgb deep = ray ? Rgb{246, 150, 34} : Rgb{252, 196, 64};
    return Lerp(deep, ray ? Rgb{200, 70, 20} : Rgb{240, 150, 40}, (d - 13) / 45);
}

Rgb Castle(double x, double y) {
    // Sky, a cloud, the hills, then the castle in front.
    Rgb c = Lerp({110, 170, 236}, {206, 232, 252}, (y - kArtT) / 60);
    if (InEllipse(x, y, 20, 18, 7, 2.6) || InEllipse(x, y, 25, 16.5, 5, 3) || InEllipse(x, y, 54, 24, 5, 2))
        c = {250, 250, 252};
    const double hill = 70 + 3.5 * std::sin((x - kArtL) / 8.0);
    if (y > hill) c = Lerp({80, 164, 70}, {40, 110, 40}, (y - hill) / 18);
    if (y > 82 + 2 * std::sin(x / 5.0)) c = {96, 74, 44};

    const Rgb stone{160, 160, 170}, dark{70, 70, 84};
    auto crenel = [](double x, double top) { return Fract(x / 3.0) < 0.5 ? top : top + 2; };
    const bool wall = x >= 23 && x < 48 && y >= crenel(x, 52) && y < 75;
    const bool left = x >= 16 && x < 25 && y >= crenel(x + 0.5, 42) && y < 75;
    const bool right = x >= 46 && x < 55 && y >= crenel(x + 1, 42) && y < 75;
    const bool keep = x >= 30 && x < 41 && y >= 34 && y < 75;
    const bool roof = y < 34 && y >= 22 && std::fabs(x - 35.5) < (y - 22) * 0.5;
    if (roof) return {190, 40, 40};
    // Flags on the towers.
    for (double fx : {20.5, 50.5}) {
        if (std::fabs(x - fx) < 0.4 && y >= 34 && y < 42) return dark;
        if (x > fx && x < fx + 5 && y >= 34 && y < 37.5 - (x - fx) * 0.35) return {210, 30, 30};
    }
    if (wall || left || right || keep) {
        if (InEllipse(x, y, 35.5, 68, 3, 4) || (std::fabs(x - 35.5) < 3 && y > 68)) return {60, 40, 30};
        for (const Pt& w : {Pt{20.5, 50}, Pt{50.5, 50}, Pt{35.5, 42}, Pt{20.5, 60}, Pt{50.5, 60}})
            if (std::fabs(x - w.x) < 0.9 && std::fabs(y - w.y) < 2) return dark;
        const bool joint = Fract(y / 4.0) < 0.12 || Fract((x + (Fract(y / 8.0) < 0.5 ? 0 : 2.5)) / 5.0) < 0.1;
        return joint ? Rgb{136, 136, 148} : stone;
    }
    return c;
}

Rgb Rosette(double x, double y) {
    const double dx = x - kMidX, dy = y - kMidY, d = std::hypot(dx, dy), a = std::atan2(dy, dx);
    const Rgb base{70, 22, 104};
    if (d < 4.5) return kGold;
    if (d < 6.0) return {120, 40, 160};
    const double petal = 22 * (0.52 + 0.48 * std::fabs(std::cos(4 * a)));
    if (d < petal) {
        const double t = d / petal;
        if (t > 0.9) return kGold;
        return Lerp({226, 170, 240}, {146, 70, 190}, t);
    }
    const double petal2 = 27 * (0.75 + 0.25 * std::fabs(std::cos(4 * a + kPi / 4)));
    if (d < petal2) return d > petal2 - 1.0 ? kGold : Rgb{104, 40, 146};
    if (std::fabs(d - 29.5) < 0.6) return kGold;
    // Dots in the background.
    if (ToGrid(x - kArtL, 7.875) < 0.9 && ToGrid(y - kArtT, 8) < 0.9) return {150, 90, 190};
    return base;
}

void Back(Image& img, int design) {
    const int ox = design * kCardW;
    Blank(img, ox, 0);
    using ShadeFn = Rgb (*)(double, double);
    const ShadeFn designs[kBackDesigns] = {Lattice, Rosettes, Argyle, Ocean, Night, Sun, Castle, Rosette};
    Shade(img, {ox + kArtL, kArtT, ox + kArtR, kArtB},
          [&](double x, double y) { return designs[design](x - ox, y); });
    // A thin dark line round the picture.
    const Rgb edge{40, 40, 48};
    for (int x = kArtL; x < kArtR; ++x) img.at(ox + x, kArtT) = img.at(ox + x, kArtB - 1) = edge;
    for (int y = kArtT; y < kArtB; ++y) img.at(ox + kArtL, y) = img.at(ox + kArtR - 1, y) = edge;
}

}  // namespace

Image DrawFaceSheet() {
    Image img(kPoints * kCardW, kSuits * kCardH);
    for (int suit = 0; suit < kSuits; ++suit)
        for (int point = 0; point < kPoints; ++point) Face(img, point, suit);
    return img;
}

Image DrawBackSheet() {
    Image img(kBackDesigns * kCardW, kCardH);
    for (int d = 0; d < kBackDesigns; ++d) Back(img, d);
    return img;
}

}  // namespace cardart
