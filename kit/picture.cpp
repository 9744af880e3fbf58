#include "kit/picture.h"

#include "kit/gdi.h"

namespace kit {

PictureObject::~PictureObject() { gdi().releasePicture(object_); }

Handle PictureObject::handle() const { return gdi().pictureHandle(object_); }

Picture CreatePicture(int pictureType, Handle handle, bool owned) {
    return std::make_shared<PictureObject>(gdi().createPictureIndirect(pictureType, handle, owned));
}

}  // namespace kit
