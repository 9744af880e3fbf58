// The toolkit's drawing calls passed straight to GDI.
#pragma once
#include "kit/gdi.h"

namespace kit::win32 {

class Win32Gdi : public Gdi {
public:
    Handle getDC(Handle window) override;
    void releaseDC(Handle window, Handle dc) override;
    Handle createCompatibleDC(Handle dc) override;
    bool deleteDC(Handle dc) override;
    Handle createCompatibleBitmap(Handle dc, int width, int height) override;
    Handle createBitmap(int width, int height, int planes, int bitsPerPixel) override;
    Handle createBitmapFromPixels(int width, int height, const unsigned char* bgr) override;
    Handle createSolidBrush(Color color) override;
    Handle createFont(const std::string& face, double points) override;
    Handle createFontIndirect(const Font& f) override;
    bool fontInstalled(const std::string& face) override;
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
    // Mirrors and quarter turns as a pixel copy through DIB sections (Wine's PlgBlt builds on
    // a world transform that does not turn pixels exactly); other shapes go to PlgBlt.
    bool plgBlt(Handle dst, const GdiPoint points[3], Handle src, int srcX, int srcY, int width,
                int height) override;
    int getDeviceCaps(Handle dc, int index) override;
    Handle createIconIndirect(const IconInfo& info) override;
    bool destroyIcon(Handle icon) override;
    // The handle is the picture's IPicture interface pointer.
    Handle createPictureIndirect(int pictureType, Handle handle, bool owned) override;
    Handle pictureHandle(Handle picture) override;
    void releasePicture(Handle picture) override;
    bool patBlt(Handle dc, int x, int y, int width, int height, std::uint32_t rop) override;
    bool setRect(Rect& rc, int left, int top, int right, int bottom) override;
    bool drawEdge(Handle dc, const Rect& rc, unsigned edge, unsigned sides) override;
    // OleLoadPicture on the file's bytes: BMP, JPEG, GIF and ICO, as Windows reads them. Other
    // formats are declined before it sees them (Wine's would also read PNG), and so are
    // headers over the pixel cap. A whole colour JPEG goes from the imaging component's
    // decoder straight into a 32-bit bitmap instead (kit/win32/wic_jpeg.h).
    Handle loadPicture(const std::string& path, int& error) override;
    std::optional<std::vector<std::uint8_t>> readPictureFile(const std::string& path,
                                                             int& error) override;
    bool pictureSize(Handle picture, int& width, int& height) override;
    // The picture's own rendering, in HALFTONE stretch mode.
    bool renderPicture(Handle dc, Handle picture, int x, int y, int width, int height) override;
};

}  // namespace kit::win32
