// The drawing calls that picture surfaces and the program use, in the shape of GDI.
// Win32 passes them to GDI; the headless backend draws into a software raster.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kit/backend.h"
#include "kit/font.h"

namespace kit {

constexpr std::uint32_t kSrcCopy = 0x00CC0020;
constexpr std::uint32_t kPatCopy = 0x00F00021;
constexpr int kTransparent = 1;
constexpr int kOpaque = 2;
constexpr int kPictureTypeBitmap = 1;
constexpr int kPictureTypeIcon = 3;
// GetDeviceCaps indices.
constexpr int kBitsPixel = 12, kPlanes = 14;
// Stretch modes.
constexpr int kColorOnColor = 3, kHalftone = 4;

struct GdiPoint {
    std::int32_t x = 0, y = 0;
};

// DrawEdge: the edge's two borders, and the sides drawn.
constexpr unsigned kBdrRaisedOuter = 0x1, kBdrSunkenOuter = 0x2, kBdrRaisedInner = 0x4,
                   kBdrSunkenInner = 0x8;
constexpr unsigned kBfLeft = 0x1, kBfTop = 0x2, kBfRight = 0x4, kBfBottom = 0x8, kBfRect = 0xF;

// A rectangle in pixels, right and bottom outside it (RECT).
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Rect&) const = default;
};

struct IconInfo {
    bool fIcon = true;
    std::uint32_t xHotspot = 0, yHotspot = 0;
    Handle hbmMask = 0;
    Handle hbmColor = 0;
};

class Gdi {
public:
    virtual ~Gdi() = default;

    // GetDC / ReleaseDC; window 0 is the screen.
    virtual Handle getDC(Handle window) = 0;
    virtual void releaseDC(Handle window, Handle dc) = 0;

    virtual Handle createCompatibleDC(Handle dc) = 0;  // dc 0: the screen
    virtual bool deleteDC(Handle dc) = 0;
    // A fresh memory DC holds a 1 x 1 monochrome bitmap, so a bitmap compatible with it is
    // monochrome; one compatible with a screen or a DC holding a colour bitmap is colour.
    virtual Handle createCompatibleBitmap(Handle dc, int width, int height) = 0;
    virtual Handle createBitmap(int width, int height, int planes, int bitsPerPixel) = 0;
    // A 24-bit bitmap holding the given pixels: top row first, rows packed, three bytes a pixel
    // in blue, green, red order (CreateDIBSection with the bits copied in).
    virtual Handle createBitmapFromPixels(int width, int height, const unsigned char* bgr) = 0;
    virtual Handle createSolidBrush(Color color) = 0;
    // A font of the given face and size in points (height -size*96/72 pixels, regular weight).
    virtual Handle createFont(const std::string& face, double points) = 0;
    // A font with the face, size, weight and style of f.
    virtual Handle createFontIndirect(const Font& f) = 0;
    // A font family of that name is installed (otherwise createFont substitutes another).
    virtual bool fontInstalled(const std::string& face) = 0;
    virtual Handle selectObject(Handle dc, Handle object) = 0;
    virtual bool deleteObject(Handle object) = 0;

    virtual Color setTextColor(Handle dc, Color color) = 0;
    virtual Color setBkColor(Handle dc, Color color) = 0;
    virtual int setBkMode(Handle dc, int mode) = 0;
    virtual bool textOut(Handle dc, int x, int y, const std::string& ansiText) = 0;
    // The size in pixels that the text takes in the DC's font (one line).
    virtual bool getTextExtent(Handle dc, const std::string& ansiText, int& width,
                               int& height) = 0;
    // A solid pen; lines leave out their last point, as GDI draws them.
    virtual Handle createPen(Color color, int width) = 0;
    virtual bool moveTo(Handle dc, int x, int y) = 0;
    virtual bool lineTo(Handle dc, int x, int y) = 0;
    virtual bool fillRect(Handle dc, int left, int top, int right, int bottom, Handle brush) = 0;
    // Block copy. Colour to monochrome: pixels of the source's background colour become
    // white, all others black. Monochrome to colour: black takes the target's text colour,
    // white its background colour.
    virtual bool bitBlt(Handle dst, int x, int y, int width, int height, Handle src, int srcX,
                        int srcY, std::uint32_t rop) = 0;
    // Block copy scaled from the source rectangle onto the target rectangle, in the target's
    // stretch mode.
    virtual bool stretchBlt(Handle dst, int x, int y, int width, int height, Handle src,
                            int srcX, int srcY, int srcWidth, int srcHeight,
                            std::uint32_t rop) = 0;
    // Returns the previous mode.
    virtual int setStretchBltMode(Handle dc, int mode) = 0;
    // Copies the source rectangle onto the parallelogram whose upper-left, upper-right and
    // lower-left corners are points[0..2] (no mask). Mirrors and quarter turns are exact:
    // with W x H the rectangle, a horizontal flip puts source pixel (x, y) on (W-1-x, y), a
    // left turn on (y, W-1-x). Source and target may be the same surface.
    virtual bool plgBlt(Handle dst, const GdiPoint points[3], Handle src, int srcX, int srcY,
                        int width, int height) = 0;
    virtual int getDeviceCaps(Handle dc, int index) = 0;
    // Fills the rectangle with the selected brush (PATCOPY).
    virtual bool patBlt(Handle dc, int x, int y, int width, int height, std::uint32_t rop) = 0;
    // SetRect.
    virtual bool setRect(Rect& rc, int left, int top, int right, int bottom) = 0;
    // Draws the 3-D borders of the edge type (kBdr flags; 0 draws nothing) on the chosen sides
    // just inside the rectangle, in the system's 3-D colours.
    virtual bool drawEdge(Handle dc, const Rect& rc, unsigned edge, unsigned sides) = 0;

    virtual Handle createIconIndirect(const IconInfo& info) = 0;
    virtual bool destroyIcon(Handle icon) = 0;

    // A picture object around a bitmap or icon handle (OleCreatePictureIndirect); when owned,
    // releasing the picture frees the handle.
    virtual Handle createPictureIndirect(int pictureType, Handle handle, bool owned) = 0;
    virtual Handle pictureHandle(Handle picture) = 0;
    virtual void releasePicture(Handle picture) = 0;

    // Reads a picture file into an owned picture object at its natural size, the format taken
    // from the file's content. Returns 0 with kErrFileNotFound or kErrInvalidPicture in error.
    virtual Handle loadPicture(const std::string& path, int& error) = 0;
    // The bytes of a picture file, read as loadPicture reads them (the same size limit).
    // Nothing, with kErrFileNotFound or kErrInvalidPicture in error, for a file it cannot read.
    virtual std::optional<std::vector<std::uint8_t>> readPictureFile(const std::string& path,
                                                                     int& error) = 0;
    // A picture's natural size in pixels.
    virtual bool pictureSize(Handle picture, int& width, int& height) = 0;
    // Draws the picture stretched over the rectangle; its transparent parts leave the pixels
    // that are there.
    virtual bool renderPicture(Handle dc, Handle picture, int x, int y, int width,
                               int height) = 0;
};

Gdi& gdi();
void setGdi(Gdi* g);

}  // namespace kit
