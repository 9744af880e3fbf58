#include "shell/about_form.h"

#include <cmath>
#include <string>

#include "kit/gdi.h"
#include "platform/services.h"
#include "shell/product.h"

namespace {

// Colours (0x00BBGGRR).
constexpr kit::Color kBack = 0x000000;
constexpr kit::Color kText = 0xFFFFFF;
constexpr kit::Color kRule = 0x808080;
constexpr kit::Color kLinkHover = 0xFF0000;  // blue
constexpr kit::Color kLinkIdle = 0xFFFF00;   // cyan

// The designed layout in twips of the client area. Auto-sized labels take their width from
// their text, and the load handler centres everything across the window.
struct Place {
    int left, top, width, height;
};
constexpr int kClientWidth = 5400, kClientHeight = 3240;
constexpr int kMarkPx = 48;
constexpr Place kMark{2340, 240, 720, 720};
constexpr Place kOK{2092, 2595, 1215, 375};
constexpr int kVersionTop = 1080, kMakerTop = 1380, kLinkTop = 1980;
constexpr int kRuleX1 = 360, kRule1Y = 1800, kRule2Y = 2400;
constexpr int kLinkGap = 240;  // between the note and the address

constexpr double kLabelPoints = 9.75;
constexpr double kButtonPoints = 8.25;

kit::Font LabelFont(bool bold) {
    kit::Font f;
    f.name = "MS Sans Serif";
    f.size = kLabelPoints;
    f.bold = bold;
    return f;
}

}  // namespace

FrmAbout::FrmAbout()
    : picMark(this, kMarkPx, kMarkPx),
      lblSoftwareVersion(this),
      lblSoftwareAuther(this),
      Line1(this),
      Line2(this),
      lblNote(this, "You can visit web page : "),
      lblWebPage(this),
      cmdOK(this, "&OK") {
    setBorderStyle(kit::kBorderFixedDialog);
    setBackColor(kBack);
    setClientSize(kClientWidth, kClientHeight);
    // In the middle of the screen.
    kit::Backend& screen = kit::backend();
    Move((screen.screenWidthTwips() - Width()) / 2.0, (screen.screenHeightTwips() - Height()) / 2.0);

    picMark.setBackColor(kBack);
    picMark.Move(kMark.left, kMark.top, kMark.width, kMark.height);
    for (kit::Label* l : {&lblSoftwareVersion, &lblSoftwareAuther, &lblNote, &lblWebPage}) {
        l->setFont(LabelFont(l == &lblSoftwareVersion));
        l->setBackStyle(kit::kBackTransparent);
        l->setForeColor(kText);
        l->setAutoSize(true);
    }
    lblWebPage.setForeColor(kLinkIdle);
    lblWebPage.setMousePointer(kit::kPointerHand);
    lblSoftwareVersion.setTop(kVersionTop);
    lblSoftwareAuther.setTop(kMakerTop);
    lblNote.setTop(kLinkTop);
    lblWebPage.setTop(kLinkTop);
    for (auto [line, y] : {std::pair{&Line1, kRule1Y}, std::pair{&Line2, kRule2Y}}) {
        line->setBorderColor(kRule);
        line->setX1(kRuleX1);
        line->setY1(y);
        line->setX2(kClientWidth - kRuleX1);
        line->setY2(y);
    }
    kit::Font buttonFont;
    buttonFont.size = kButtonPoints;
    buttonFont.bold = true;
    cmdOK.setFont(buttonFont);
    cmdOK.Move(kOK.left, kOK.top, kOK.width, kOK.height);

    cmdOK.Click = [this] { cmdOK_Click(); };
    lblWebPage.MouseMove = [this](int b, int s, int x, int y) { lblWebPage_MouseMove(b, s, x, y); };
    // The pointer leaving the label and a click on it stand for the drag mode's "leave" and
    // its drop on the label itself.
    lblWebPage.MouseLeave = [this] { lblWebPage_DragOver(); };
    lblWebPage.Click = [this] { lblWebPage_DragDrop(); };
}

void FrmAbout::Form_Load() {
    setCaption(std::string("About ") + product::kName);
    lblSoftwareVersion.setCaption(product::kName);
    lblSoftwareAuther.setCaption(product::kMakerLine);
    lblWebPage.setCaption(product::kHomePage);

    const double w = Width();  // outer width, borders included
    lblSoftwareVersion.setLeft((w - lblSoftwareVersion.Width()) / 2);
    lblSoftwareAuther.setLeft((w - lblSoftwareAuther.Width()) / 2);
    lblNote.setLeft((w - lblNote.Width() - lblWebPage.Width() - kLinkGap) / 2);
    lblWebPage.setLeft(lblNote.Left() + lblNote.Width() + kLinkGap);
    cmdOK.setLeft((w - cmdOK.Width()) / 2);
    picMark.setLeft((w - picMark.Width()) / 2);
    Line1.setX2(w - Line1.X1());
    Line2.setX2(w - Line2.X1());

    // The product picture, drawn into the box and kept as its picture.
    kit::Gdi& g = kit::gdi();
    const auto pixels = ProductMarkPixels(kMarkPx);
    const kit::Handle bitmap = g.createBitmapFromPixels(kMarkPx, kMarkPx, pixels.data());
    const kit::Handle dc = g.createCompatibleDC(0);
    const kit::Handle old = g.selectObject(dc, bitmap);
    g.bitBlt(picMark.hDC(), 0, 0, kMarkPx, kMarkPx, dc, 0, 0, kit::kSrcCopy);
    g.selectObject(dc, old);
    g.deleteDC(dc);
    picMark.setPicture(kit::CreatePicture(kit::kPictureTypeBitmap, bitmap, true));
    picMark.Refresh();
}

void FrmAbout::cmdOK_Click() { frmAbout.Unload(); }

void FrmAbout::lblWebPage_MouseMove(int, int, int, int) {
    lblWebPage.setFontUnderline(true);
    lblWebPage.setForeColor(kLinkHover);
}

void FrmAbout::lblWebPage_DragOver() {
    lblWebPage.setFontUnderline(false);
    lblWebPage.setForeColor(kLinkIdle);
    lblWebPage.setMousePointer(kit::kPointerHand);
}

void FrmAbout::lblWebPage_DragDrop() {
    lblWebPage.setFontUnderline(false);
    platform::shell().execute(0, "", lblWebPage.Caption(), "", "", 1);
}

std::vector<std::uint8_t> ProductMarkPixels(int size) {
    // A clock face at ten past ten: a cyan rim, a white dial with twelve marks, dark hands
    // and a red centre; smoothed by sampling each pixel four by four.
    struct Rgb {
        double r, g, b;
    };
    const Rgb back{0, 0, 0}, rim{0, 200, 230}, dial{250, 250, 250}, mark{90, 90, 90},
        hand{30, 30, 40}, centre{220, 30, 30};
    const double c = size / 2.0, outer = size / 2.0 - 1, inner = outer - size / 12.0;
    const double pi = std::acos(-1.0);
    auto nearSegment = [](double px, double py, double ax, double ay, double bx, double by,
                          double halfWidth) {
        const double dx = bx - ax, dy = by - ay;
        double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
        t = t < 0 ? 0 : (t > 1 ? 1 : t);
        const double ex = ax + t * dx - px, ey = ay + t * dy - py;
        return ex * ex + ey * ey <= halfWidth * halfWidth;
    };
    // Hands: the hour hand towards 10 o'clock, the minute hand towards 2.
    auto tip = [&](double clockHours, double length, double& x, double& y) {
        const double a = clockHours / 12.0 * 2 * pi;
        x = c + std::sin(a) * length;
        y = c - std::cos(a) * length;
    };
    double hx, hy, mx, my;
    tip(10 + 10 / 60.0, inner * 0.55, hx, hy);
    tip(2, inner * 0.85, mx, my);
    auto colourAt = [&](double x, double y) -> Rgb {
        const double r = std::hypot(x - c, y - c);
        if (r > outer) return back;
        if (r > inner) return rim;
        if (r < size / 20.0) return centre;
        if (nearSegment(x, y, c, c, hx, hy, size / 28.0) || nearSegment(x, y, c, c, mx, my, size / 40.0))
            return hand;
        for (int h = 0; h < 12; ++h) {
            double ax, ay, bx, by;
            tip(h, inner * 0.78, ax, ay);
            tip(h, inner * 0.95, bx, by);
            if (nearSegment(x, y, ax, ay, bx, by, size / 64.0)) return mark;
        }
        return dial;
    };
    std::vector<std::uint8_t> out(static_cast<std::size_t>(size) * size * 3);
    constexpr int kSub = 4;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < kSub; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    const Rgb p = colourAt(x + (sx + 0.5) / kSub, y + (sy + 0.5) / kSub);
                    sum.r += p.r;
                    sum.g += p.g;
                    sum.b += p.b;
                }
            }
            const std::size_t i = (static_cast<std::size_t>(y) * size + x) * 3;
            out[i] = static_cast<std::uint8_t>(std::lround(sum.b / (kSub * kSub)));
            out[i + 1] = static_cast<std::uint8_t>(std::lround(sum.g / (kSub * kSub)));
            out[i + 2] = static_cast<std::uint8_t>(std::lround(sum.r / (kSub * kSub)));
        }
    }
    return out;
}
