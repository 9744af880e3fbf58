#include "platform/headless/fake_gdiplus.h"

#include "kit/headless/picture_decoders.h"

namespace platform {

namespace {
// Windows-1252 at 0x80..0x9F; the five unassigned bytes map to the same code point, as
// MultiByteToWideChar does.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
}  // namespace

std::u16string AnsiToWide(const std::string& ansi) {
    std::u16string wide;
    wide.reserve(ansi.size());
    for (unsigned char c : ansi) wide += (c >= 0x80 && c < 0xA0) ? kHigh[c - 0x80] : char16_t(c);
    return wide;
}

namespace headless {

std::string WideToAnsi(const std::u16string& wide) {
    std::string ansi;
    ansi.reserve(wide.size());
    for (char16_t w : wide) {
        char c = '?';
        if (w < 0x80 || (w >= 0xA0 && w < 0x100)) {
            c = static_cast<char>(w);
        } else {
            for (int i = 0; i < 32; ++i)
                if (kHigh[i] == w) c = static_cast<char>(0x80 + i);
        }
        ansi += c;
    }
    return ansi;
}

int FakeGdiPlus::scripted(Call c) {
    auto it = failures_.find(c);
    if (it == failures_.end() || it->second.empty()) return kGpOk;
    const int status = it->second.front();
    it->second.erase(it->second.begin());
    return status;
}

int FakeGdiPlus::record(Call c, int status, std::string path) {
    calls_.push_back(Record{c, status, std::move(path)});
    return status;
}

int FakeGdiPlus::count(Call c) const {
    int n = 0;
    for (const Record& r : calls_) n += r.call == c;
    return n;
}

int FakeGdiPlus::startup(std::uintptr_t& token, const GdiplusStartupInput& input) {
    token = 0;
    if (const int s = scripted(Call::Startup)) return record(Call::Startup, s);
    if (input.GdiplusVersion != 1) return record(Call::Startup, kGpInvalidParameter);
    token = next_++;
    tokens_[token] = true;
    return record(Call::Startup, kGpOk);
}

void FakeGdiPlus::shutdown(std::uintptr_t token) {
    record(Call::Shutdown, tokens_.erase(token) ? kGpOk : kGpInvalidParameter);
}

int FakeGdiPlus::loadImageFromFile(const std::u16string& path, GpImage& image) {
    image = 0;
    std::string ansi = WideToAnsi(path);
    if (const int s = scripted(Call::Load)) return record(Call::Load, s, ansi);
    if (tokens_.empty()) return record(Call::Load, kGpNotInitialized, ansi);
    std::optional<std::vector<std::uint8_t>> bytes;
    if (raster_.fileReader()) bytes = raster_.fileReader()(ansi);
    if (!bytes) return record(Call::Load, kGpFileNotFound, ansi);
    // GDI+ reads a file's header when it loads it and its pixels when it draws it: a picture
    // over the pixel cap loads with its size and fails when drawn.
    std::optional<kit::Pixmap> pm;
    const auto header = kit::ReadPictureHeader(bytes->data(), bytes->size());
    if (header && !kit::WithinPixelCap(header->width, header->height))
        pm = kit::Pixmap{header->width, header->height, {}};
    else
        pm = kit::headless::DecodePicture(bytes->data(), bytes->size(), true);
    if (!pm) return record(Call::Load, kGpUnknownImageFormat, ansi);
    image = next_++;
    images_[image] = std::move(*pm);
    return record(Call::Load, kGpOk, ansi);
}

int FakeGdiPlus::getImageWidth(GpImage image, std::uint32_t& width) {
    if (const int s = scripted(Call::Width)) return record(Call::Width, s);
    auto it = images_.find(image);
    if (it == images_.end()) return record(Call::Width, kGpInvalidParameter);
    width = static_cast<std::uint32_t>(it->second.width);
    return record(Call::Width, kGpOk);
}

int FakeGdiPlus::getImageHeight(GpImage image, std::uint32_t& height) {
    if (const int s = scripted(Call::Height)) return record(Call::Height, s);
    auto it = images_.find(image);
    if (it == images_.end()) return record(Call::Height, kGpInvalidParameter);
    height = static_cast<std::uint32_t>(it->second.height);
    return record(Call::Height, kGpOk);
}

int FakeGdiPlus::createFromHDC(kit::Handle dc, GpGraphics& graphics) {
    graphics = 0;
    if (const int s = scripted(Call::CreateFromHDC)) return record(Call::CreateFromHDC, s);
    if (!dc || tokens_.empty()) return record(Call::CreateFromHDC, kGpInvalidParameter);
    graphics = next_++;
    graphics_[graphics] = dc;
    return record(Call::CreateFromHDC, kGpOk);
}

int FakeGdiPlus::setInterpolationMode(GpGraphics graphics, int mode) {
    if (const int s = scripted(Call::SetInterpolation)) return record(Call::SetInterpolation, s);
    if (!graphics_.count(graphics) || mode < 0 || mode > 7)
        return record(Call::SetInterpolation, kGpInvalidParameter);
    return record(Call::SetInterpolation, kGpOk);
}

int FakeGdiPlus::drawImageRectI(GpGraphics graphics, GpImage image, int x, int y, int width,
                                int height) {
    if (const int s = scripted(Call::Draw)) return record(Call::Draw, s);
    auto g = graphics_.find(graphics);
    auto i = images_.find(image);
    if (g == graphics_.end() || i == images_.end()) return record(Call::Draw, kGpInvalidParameter);
    if (i->second.px.empty()) return record(Call::Draw, kGpOutOfMemory);
    if (!raster_.drawPixmap(g->second, x, y, width, height, i->second))
        return record(Call::Draw, kGpGenericError);
    return record(Call::Draw, kGpOk);
}

int FakeGdiPlus::deleteGraphics(GpGraphics graphics) {
    if (const int s = scripted(Call::DeleteGraphics)) return record(Call::DeleteGraphics, s);
    return record(Call::DeleteGraphics, graphics_.erase(graphics) ? kGpOk : kGpInvalidParameter);
}

int FakeGdiPlus::disposeImage(GpImage image) {
    if (const int s = scripted(Call::Dispose)) return record(Call::Dispose, s);
    return record(Call::Dispose, images_.erase(image) ? kGpOk : kGpInvalidParameter);
}

void FakeGdiPlus::reset() {
    images_.clear();
    graphics_.clear();
    tokens_.clear();
    failures_.clear();
    calls_.clear();
}

}  // namespace headless
}  // namespace platform
