// A software raster with GDI's object and colour rules, so tests can look at drawn pixels.
// Text uses one built-in bitmap font close to MS Sans Serif 8 pt at 96 dpi whatever the face
// or size: cell 13 px high, capitals and digits 8 px high on rows 3..10 of the cell,
// descenders on rows 11..12; digits 5 px wide with an advance of 6, ':' advance 3 (dot in the
// middle column), space 3, most letters 5..7, i and l 2.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "kit/gdi.h"
#include "kit/pixmap.h"

namespace kit::headless {

class RasterGdi : public Gdi {
public:
    struct Pixels {
        int width = 0, height = 0;
        bool mono = false;
        std::vector<std::uint32_t> px;  // 0x00BBGGRR; mono pixels are 0x000000 or 0xFFFFFF
        std::uint32_t at(int x, int y) const { return px.at(static_cast<std::size_t>(y) * width + x); }
    };

    static constexpr int kScreenWidth = 1024, kScreenHeight = 768;

    RasterGdi();

    // Gdi.
    Handle getDC(Handle window) override;
    void releaseDC(Handle window, Handle dc) override;
    Handle createCompatibleDC(Handle dc) override;
    bool deleteDC(Handle dc) override;
    Handle createCompatibleBitmap(Handle dc, int width, int height) override;
    Handle createBitmap(int width, int height, int planes, int bitsPerPixel) override;
    Handle createBitmapFromPixels(int width, int height, const unsigned char* bgr) override;
    Handle createSolidBrush(Color color) override;
    Handle createFont(const std::string& face, double points) override;
    Handle createFontIndirect(const kit::Font& f) override;
    bool fontInstalled(const std::string&) override { return true; }
    Handle selectObject(Handle dc, Handle object) override;
    bool deleteObject(Handle object) override;
    Color setTextColor(Handle dc, Color color) override;
    Color setBkColor(Handle dc, Color color) override;
    int setBkMode(Handle dc, int mode) override;
    bool textOut(Handle dc, int x, int y, const std::string& ansiText) override;
    bool getTextExtent(Handle dc, const std::string& ansiText, int& width, int& height) override;
    Handle createPen(Color color, int width) override;
    bool moveTo(Handle dc, int x, int y) override;
    bool lineTo(Handle dc, int x, int y) override;
    bool fillRect(Handle dc, int left, int top, int right, int bottom, Handle brush) override;
    bool bitBlt(Handle dst, int x, int y, int width, int height, Handle src, int srcX, int srcY,
                std::uint32_t rop) override;
    bool stretchBlt(Handle dst, int x, int y, int width, int height, Handle src, int srcX,
                    int srcY, int srcWidth, int srcHeight, std::uint32_t rop) override;
    int setStretchBltMode(Handle dc, int mode) override;
    bool plgBlt(Handle dst, const GdiPoint points[3], Handle src, int srcX, int srcY, int width,
                int height) override;
    int getDeviceCaps(Handle dc, int index) override;
    Handle createIconIndirect(const IconInfo& info) override;
    bool destroyIcon(Handle icon) override;
    Handle createPictureIndirect(int pictureType, Handle handle, bool owned) override;
    Handle pictureHandle(Handle picture) override;
    void releasePicture(Handle picture) override;
    bool patBlt(Handle dc, int x, int y, int width, int height, std::uint32_t rop) override;
    bool setRect(Rect& rc, int left, int top, int right, int bottom) override;
    bool drawEdge(Handle dc, const Rect& rc, unsigned edge, unsigned sides) override;
    // Decodes BMP, JPEG and GIF; transparent GIF pixels come out white.
    Handle loadPicture(const std::string& path, int& error) override;
    std::optional<std::vector<std::uint8_t>> readPictureFile(const std::string& path,
                                                             int& error) override;
    bool pictureSize(Handle picture, int& width, int& height) override;
    bool renderPicture(Handle dc, Handle picture, int x, int y, int width, int height) override;

    // Where picture files are read from (the in-memory file system of the tests).
    using FileReader = std::function<std::optional<std::vector<std::uint8_t>>(const std::string&)>;
    void setFileReader(FileReader reader) { readFile_ = std::move(reader); }
    const FileReader& fileReader() const { return readFile_; }
    // Draws straight-alpha pixels over the rectangle of the DC's surface, scaled to it.
    bool drawPixmap(Handle dc, int x, int y, int width, int height, const Pixmap& src);

    // Test API. Unknown handles throw std::invalid_argument.
    // The blocks copied onto a window's DC (the frames it was shown), the last kKeptFrames of
    // them, oldest first; and how many there were in all.
    static constexpr std::size_t kKeptFrames = 64;
    const std::deque<Pixels>& windowFrames(Handle window) const;
    long windowFrameCount(Handle window) const;
    int liveObjectCount() const;  // bitmaps, brushes, fonts and pens, stock objects not counted
    int bitmapsOverCap() const { return overCap_; }  // bitmaps asked for past the pixel cap
    int liveDCCount() const;
    int liveIconCount() const;
    int livePictureCount() const;
    // Pixels of the last big bitmap deleted, kept for the next JPEG of exactly that size: a
    // viewer stepping through a camera's photos decodes into memory already touched, instead
    // of paying the first touch of tens of megabytes for each.
    static constexpr std::size_t kSparePixels = 1u << 20;
    std::size_t sparePixels() const { return spare_.size(); }
    Pixels bitmapPixels(Handle bitmap) const;
    Pixels iconMask(Handle icon) const;
    Pixels iconColor(Handle icon) const;  // empty (0 x 0) for a monochrome icon
    Handle selectedBitmap(Handle dc) const;
    std::string fontFace(Handle dc) const;
    // The font selected in a DC as it was asked for.
    kit::Font fontOf(Handle dc) const;
    Color textColor(Handle dc) const;
    Color bkColor(Handle dc) const;
    // Width in pixels that textOut advances for the text.
    static int textWidth(const std::string& ansiText);
    static constexpr int kCellHeight = 13;

private:

    enum class Kind { DC, Bitmap, Brush, Font, Icon, Picture, Pen };
    struct Bitmap {
        Pixels pix;
        Handle selectedIn = 0;
    };
    struct DC {
        bool screen = false;
        Handle window = 0;  // the window a screen DC draws on (0: the whole screen)
        Handle bitmap = 0, font = 0, brush = 0, pen = 0;
        int penX = 0, penY = 0;
        Color text = 0x000000, bk = 0xFFFFFF;
        int bkMode = kOpaque;
        int stretchMode = 1;  // BLACKONWHITE
    };
    struct Font {
        std::string face;
        double points = 8;
        bool bold = false, italic = false, underline = false;
    };
    struct Pen {
        Color color = 0;
        int width = 1;
    };
    struct Icon {
        Pixels mask, color;
    };
    struct Picture {
        int type = 0;
        Handle handle = 0;
        bool owned = false;
    };
    struct Object {
        explicit Object(Kind k) : kind(k) {}
        Kind kind;
        bool stock = false;
        Bitmap bitmap;
        DC dc;
        Color brush = 0;
        Font font;
        Pen pen;
        Icon icon;
        Picture picture;
    };

    Handle add(Object o);
    Object* find(Handle h, Kind kind);
    const Object* find(Handle h, Kind kind) const;
    const Object& need(Handle h, Kind kind) const;
    Pixels* surface(Handle dc);
    int count(Kind kind, bool includeStock) const;

    struct Frames {
        std::deque<Pixels> kept;
        long count = 0;
    };
    void keepFrame(Handle window, const Pixels& screen, int x, int y, int width, int height);

    std::map<Handle, Object> objects_;
    std::map<Handle, Frames> frames_;
    Handle next_ = 0x2000;
    int overCap_ = 0;
    Handle stockBitmap_ = 0, stockFont_ = 0, stockBrush_ = 0, stockPen_ = 0, screenBitmap_ = 0;
    FileReader readFile_;
    std::vector<std::uint32_t> spare_;
};

}  // namespace kit::headless
