// Picture objects: a bitmap or icon handle wrapped the way pictures are passed around.
#pragma once
#include <memory>

#include "kit/peer.h"

namespace kit {

// Owns its icon or bitmap when made with owned = true.
class PictureObject {
public:
    explicit PictureObject(Handle object) : object_(object) {}
    ~PictureObject();
    PictureObject(const PictureObject&) = delete;
    PictureObject& operator=(const PictureObject&) = delete;
    Handle handle() const;  // the icon or bitmap
    Handle object() const { return object_; }

private:
    Handle object_;
};
using Picture = std::shared_ptr<PictureObject>;

// Wraps a bitmap or icon handle as a picture object.
Picture CreatePicture(int pictureType, Handle handle, bool owned);

}  // namespace kit
