#include "kit/headless/picture_decoders.h"

namespace kit::headless {

std::optional<Pixmap> DecodePicture(const std::uint8_t* data, std::size_t size, bool readPng) {
    switch (SniffPictureFormat(data, size)) {
    case PictureFormat::Bmp: return DecodeBmp(data, size);
    case PictureFormat::Jpeg: return DecodeJpeg(data, size);
    case PictureFormat::Gif: return DecodeGif(data, size);
    case PictureFormat::Png: return readPng ? DecodePng(data, size) : std::nullopt;
    default: return std::nullopt;
    }
}

}  // namespace kit::headless
