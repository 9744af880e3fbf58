#include "kit/picture_loader.h"

#include "kit/runtime.h"

namespace kit {

Picture LoadPicture(const std::string& path) {
    int error = 0;
    const Handle object = gdi().loadPicture(path, error);
    if (!object) throw RuntimeError(error ? error : kErrInvalidPicture, "Invalid picture");
    return std::make_shared<PictureObject>(object);
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
