#include "kit/picture_loader.h"

#include "kit/jpeg_eighth.h"
#include "kit/picture_header.h"
#include "kit/runtime.h"

namespace kit {

Picture LoadPicture(const std::string& path) {
    int error = 0;
    const Handle object = gdi().loadPicture(path, error);
    if (!object) throw RuntimeError(error ? error : kErrInvalidPicture, "Invalid picture");
    return std::make_shared<PictureObject>(object);
}

Picture LoadPictureToDraw(const std::string& path,
                          const std::function<PictureSize(PictureSize natural)>& drawn,
                          PictureSize& natural) {
    natural = {};
    int error = 0;
    const auto bytes = gdi().readPictureFile(path, error);
    if (!bytes) throw RuntimeError(error ? error : kErrInvalidPicture, "Invalid picture");
    const auto header = ReadPictureHeader(bytes->data(), bytes->size());
    if (header && header->format == PictureFormat::Jpeg &&
        WithinPixelCap(header->width, header->height)) {
        const PictureSize want = drawn(PictureSize{header->width, header->height});
        if (EighthSuffices(header->width, header->height, want.width, want.height)) {
            if (const auto eighth = DecodeJpegEighth(bytes->data(), bytes->size())) {
                if (const Handle bitmap = gdi().createBitmapFromPixels(
                        eighth->width, eighth->height, eighth->bgr.data())) {
                    natural = {eighth->naturalWidth, eighth->naturalHeight};
                    return CreatePicture(kPictureTypeBitmap, bitmap, true);
                }
            }
        }
    }
    // Read again by the platform's loader: other formats are small or rare here.
    Picture picture = LoadPicture(path);
    natural = SizeOf(picture);
    return picture;
}

PictureSize SizeOf(const Picture& picture) {
    PictureSize s;
    if (picture && !gdi().pictureSize(picture->object(), s.width, s.height)) s = {};
    return s;
}

Picture StretchedCopy(const Picture& picture, int width, int height) {
    if (!picture || width < 1 || height < 1) return nullptr;
    Gdi& g = gdi();
    const Handle screen = g.getDC(0);
    const Handle dc = g.createCompatibleDC(screen);
    const Handle bitmap = g.createCompatibleBitmap(screen, width, height);
    g.releaseDC(0, screen);
    if (!dc || !bitmap) {
        if (bitmap) g.deleteObject(bitmap);
        if (dc) g.deleteDC(dc);
        return nullptr;
    }
    const Handle old = g.selectObject(dc, bitmap);
    const Handle white = g.createSolidBrush(0xFFFFFF);
    g.fillRect(dc, 0, 0, width, height, white);
    g.deleteObject(white);
    g.renderPicture(dc, picture->object(), 0, 0, width, height);
    g.selectObject(dc, old);
    g.deleteDC(dc);
    return CreatePicture(kPictureTypeBitmap, bitmap, true);
}

}  // namespace kit
