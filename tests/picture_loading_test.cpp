// The picture loader and the GDI+ path against the pictures of tests/pictures.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <fstream>
#include <iterator>

#include "kit/picture_loader.h"
#include "kit/runtime.h"
#include "picture_expectations.h"
#include "platform/headless/bind.h"
#include "viewer/gdiplus_resize.h"

namespace {

using platform::headless::FakeGdiPlus;

constexpr const char* kFolder = "C:\\Pictures\\";

std::string ReadTestPicture(const std::string& name) {
    std::ifstream in(std::string(TIVLO_TEST_PICTURES) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class PictureLoadingTest : public ::testing::Test {
protected:
    platform::headless::HeadlessWorld world;
    void SetUp() override {
        world.bind();
        world.reset();
        for (const auto& e : picture_tests::ReadExpectations(TIVLO_TEST_PICTURES "/expected.txt"))
            if (e.file.rfind("missing", 0) != 0)
                world.files.addFile(kFolder + e.file, ReadTestPicture(e.file));
    }

    // The pixels of a picture drawn at its natural size over white.
    kit::headless::RasterGdi::Pixels Pixels(const kit::Picture& picture) {
        const kit::PictureSize size = kit::SizeOf(picture);
        const kit::Picture copy = kit::StretchedCopy(picture, size.width, size.height);
        return world.gdi.bitmapPixels(copy->handle());
    }

    // Start, query, create on white, stop: what the thumbnails and the viewer do for a PNG.
    kit::Picture ThroughGdiPlus(const std::string& path, ImageSize& size) {
        const std::uintptr_t token = eGDIPlusResize::StartGdiPlus();
        std::int32_t w = -1, h = -1;
        size = eGDIPlusResize::LoadImageSize(path, w, h);
        kit::Picture p =
            eGDIPlusResize::CreateResizedPicture(size.Width, size.Height, 0xFFFFFF, false);
        eGDIPlusResize::StopGdiPlus(token);
        return p;
    }
};

void ExpectPixels(const picture_tests::Expectation& e,
                  const kit::headless::RasterGdi::Pixels& px) {
    ASSERT_EQ(px.width, e.width) << e.file;
    ASSERT_EQ(px.height, e.height) << e.file;
    for (const auto& p : e.pixels) {
        const std::string diff = picture_tests::Compare(p, px.at(p.x, p.y));
        EXPECT_TRUE(diff.empty()) << e.loader << " " << e.file << ": " << diff;
    }
}

TEST_F(PictureLoadingTest, EachFormatShowsItsNaturalSizeAndPixelsAsOnThePlatform) {
    const auto all = picture_tests::ReadExpectations(TIVLO_TEST_PICTURES "/expected.txt");
    ASSERT_GT(all.size(), 30u);
    for (const auto& e : all) {
        const std::string path = kFolder + e.file;
        if (e.loader == "loader" || e.loader == "eighth") {
            kit::Picture picture;
            try {
                kit::PictureSize natural;
                picture = e.loader == "loader" ? kit::LoadPicture(path)
                                               : kit::LoadPictureToDraw(
                                                     path,
                                                     [](kit::PictureSize) {
                                                         return kit::PictureSize{1, 1};
                                                     },
                                                     natural);
            } catch (const kit::RuntimeError& error) {
                EXPECT_FALSE(e.readable) << e.file << " raised " << error.code();
                EXPECT_EQ(error.code(), e.file == "missing.jpg" ? kit::kErrFileNotFound
                                                                : kit::kErrInvalidPicture);
                continue;
            }
            ASSERT_TRUE(e.readable) << e.file << " should not load";
            EXPECT_EQ(kit::SizeOf(picture), (kit::PictureSize{e.width, e.height})) << e.file;
            ExpectPixels(e, Pixels(picture));
        } else {
            ImageSize size;
            const kit::Picture picture = ThroughGdiPlus(path, size);
            ASSERT_TRUE(picture) << e.file;
            if (!e.readable) {
                EXPECT_EQ(size.Width, 0) << e.file;
                EXPECT_EQ(size.Height, 0) << e.file;
                continue;
            }
            EXPECT_EQ(size.Width, e.width) << e.file;
            EXPECT_EQ(size.Height, e.height) << e.file;
            ExpectPixels(e, world.gdi.bitmapPixels(picture->handle()));
        }
    }
    EXPECT_EQ(world.gdiplus.liveImages(), 0);
    EXPECT_EQ(world.gdiplus.liveStarts(), 0);
}

TEST_F(PictureLoadingTest, TheGdiPlusSequenceLeavesOnlyThePictureBehind) {
    const int objects = world.gdi.liveObjectCount(), dcs = world.gdi.liveDCCount();
    ImageSize size;
    kit::Picture picture = ThroughGdiPlus(std::string(kFolder) + "png-rgba.png", size);
    EXPECT_EQ(world.gdiplus.liveImages(), 0);
    EXPECT_EQ(world.gdiplus.liveGraphics(), 0);
    EXPECT_EQ(world.gdiplus.liveStarts(), 0);
    EXPECT_EQ(world.gdi.liveDCCount(), dcs);
    EXPECT_EQ(world.gdi.liveObjectCount(), objects + 1);  // the picture's bitmap
    EXPECT_EQ(eGDIPlusResize::gGdipImage, 0u);
    picture.reset();
    EXPECT_EQ(world.gdi.liveObjectCount(), objects);
    EXPECT_EQ(world.gdi.livePictureCount(), 0);

    // A failed query: the start still has its stop; nothing drawn, nothing disposed, and the
    // empty size gives the stock 1 x 1 bitmap, which releasing frees nothing of.
    world.gdiplus.reset();
    picture = ThroughGdiPlus(std::string(kFolder) + "text-named.jpg", size);
    EXPECT_EQ(world.gdiplus.count(FakeGdiPlus::Call::Startup), 1);
    EXPECT_EQ(world.gdiplus.count(FakeGdiPlus::Call::Shutdown), 1);
    EXPECT_EQ(world.gdiplus.liveStarts(), 0);
    EXPECT_EQ(world.gdiplus.count(FakeGdiPlus::Call::Dispose), 0);
    for (const auto& call : world.gdiplus.calls())
        if (call.call == FakeGdiPlus::Call::Draw) {
            EXPECT_NE(call.status, platform::kGpOk);
        }
    ASSERT_TRUE(picture);
    auto px = world.gdi.bitmapPixels(picture->handle());
    EXPECT_EQ(px.width, 1);
    EXPECT_TRUE(px.mono);
    picture.reset();
    EXPECT_EQ(world.gdi.liveObjectCount(), objects);
    EXPECT_EQ(world.gdi.liveDCCount(), dcs);

    // A failed start shows up as a failed load.
    world.gdiplus.reset();
    world.gdiplus.failNext(FakeGdiPlus::Call::Startup, platform::kGpGenericError);
    picture = ThroughGdiPlus(std::string(kFolder) + "png-rgba.png", size);
    EXPECT_EQ(size.Width, 0);
    EXPECT_EQ(world.gdiplus.liveImages(), 0);

    // The image goes even when no canvas can be made for it: GDI+ holds its file open.
    world.gdiplus.reset();
    const std::uintptr_t token = eGDIPlusResize::StartGdiPlus();
    std::int32_t w = -1, h = -1;
    eGDIPlusResize::LoadImageSize(std::string(kFolder) + "png-rgba.png", w, h);
    EXPECT_EQ(world.gdiplus.liveImages(), 1);
    EXPECT_FALSE(eGDIPlusResize::CreateResizedPicture(100000, 100000, 0xFFFFFF, false));
    EXPECT_EQ(world.gdiplus.liveImages(), 0);
    EXPECT_EQ(eGDIPlusResize::gGdipImage, 0u);
    eGDIPlusResize::StopGdiPlus(token);
    EXPECT_EQ(world.gdi.liveDCCount(), dcs);
    EXPECT_EQ(world.gdi.liveObjectCount(), objects);
}

TEST_F(PictureLoadingTest, PathsReachGdiPlusInUtf16AndBack) {
    const std::string name = std::string(kFolder) + "caf\xE9 \x80.png";
    EXPECT_EQ(platform::AnsiToWide(name).back(), u'g');
    EXPECT_EQ(platform::AnsiToWide("\xE9\x80"), std::u16string(u"\u00E9\u20AC"));
    std::int32_t w = -1, h = -1;
    const std::uintptr_t token = eGDIPlusResize::StartGdiPlus();
    eGDIPlusResize::LoadImageSize(name, w, h);
    ASSERT_EQ(world.gdiplus.count(FakeGdiPlus::Call::Load), 1);
    EXPECT_EQ(world.gdiplus.calls()[1].path, name);
    EXPECT_EQ(w, -1);  // not found: left as it came

    world.files.addFile(name, ReadTestPicture("png-rgba.png"));
    EXPECT_EQ(eGDIPlusResize::LoadImageSize(name, w, h).Width, 4);
    EXPECT_EQ(h, 2);
    eGDIPlusResize::CreateResizedPicture(w, h, 0xFFFFFF, false);
    eGDIPlusResize::StopGdiPlus(token);
}

// A photo-like JPEG of w x h (noise over a gradient, so a stale pixel would differ), and its
// pixels as libjpeg-turbo decodes it into a fresh buffer.
std::string NoisyJpeg(int w, int h, std::uint32_t seed) {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(w) * h * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        rgb[i] = static_cast<unsigned char>((i / 3 % w) * 255 / w / 2 + (seed >> 25));
    }
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, rgb.data(), w, 0, h, TJPF_RGB, &out, &size, TJSAMP_420, 90, 0);
    std::string jpeg(reinterpret_cast<const char*>(out), size);
    tjFree(out);
    tjDestroy(tj);
    return jpeg;
}

std::vector<std::uint32_t> ReferencePixels(const std::string& jpeg, int w, int h) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
    tjhandle tj = tjInitDecompress();
    tjDecompress2(tj, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(),
                  reinterpret_cast<unsigned char*>(px.data()), w, w * 4, h, TJPF_RGBA, 0);
    tjDestroy(tj);
    for (std::uint32_t& p : px) p &= 0xFFFFFF;
    return px;
}

// A big picture's memory goes to the next JPEG of exactly its size, which must overwrite all
// of it; other sizes, small bitmaps and damaged files leave it alone.
TEST_F(PictureLoadingTest, SameSizePhotosReuseTheLastOnesMemory) {
    constexpr int kW = 1024, kH = 1024;
    const std::string a = NoisyJpeg(kW, kH, 1), b = NoisyJpeg(kW, kH, 2),
                      taller = NoisyJpeg(kW, kH + 1, 3);
    world.files.addFile("C:\\a.jpg", a);
    world.files.addFile("C:\\b.jpg", b);
    world.files.addFile("C:\\taller.jpg", taller);
    world.files.addFile("C:\\cut.jpg", b.substr(0, b.size() / 2));
    const auto pixels = [&](const kit::Picture& p) { return world.gdi.bitmapPixels(p->handle()).px; };

    kit::Picture picture = kit::LoadPicture("C:\\a.jpg");
    EXPECT_EQ(pixels(picture), ReferencePixels(a, kW, kH));
    picture.reset();
    EXPECT_EQ(world.gdi.sparePixels(), static_cast<std::size_t>(kW) * kH);

    picture = kit::LoadPicture("C:\\taller.jpg");
    EXPECT_EQ(world.gdi.sparePixels(), static_cast<std::size_t>(kW) * kH);
    EXPECT_EQ(pixels(picture), ReferencePixels(taller, kW, kH + 1));
    EXPECT_THROW(kit::LoadPicture("C:\\cut.jpg"), kit::RuntimeError);
    EXPECT_EQ(world.gdi.sparePixels(), static_cast<std::size_t>(kW) * kH);

    const kit::Picture second = kit::LoadPicture("C:\\b.jpg");
    EXPECT_EQ(world.gdi.sparePixels(), 0u);
    EXPECT_EQ(pixels(second), ReferencePixels(b, kW, kH));

    picture.reset();  // the taller one becomes the spare
    EXPECT_EQ(world.gdi.sparePixels(), static_cast<std::size_t>(kW) * (kH + 1));
    kit::Gdi& g = kit::gdi();
    const kit::Handle screen = g.getDC(0);
    const kit::Handle small = g.createCompatibleBitmap(screen, 64, 64);
    g.releaseDC(0, screen);
    g.deleteObject(small);
    EXPECT_EQ(world.gdi.sparePixels(), static_cast<std::size_t>(kW) * (kH + 1));
}

TEST(PixelBuffers, CompositingOverWhiteAndAreaScaling) {
    EXPECT_EQ(kit::CompositeOver(0x00123456, 0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(kit::CompositeOver(0xFF123456, 0xFFFFFF), 0x123456u);
    EXPECT_EQ(kit::CompositeOver(0x80FF0000, 0xFFFFFF), 0xFF7F7Fu);

    kit::Pixmap src;
    src.width = 4;
    src.height = 2;
    src.px = {0xFF0000FF, 0xFF0000FF, 0xFFFF0000, 0xFFFF0000,
              0xFF0000FF, 0xFF0000FF, 0x00FFFFFF, 0xFFFF0000};
    const kit::Pixmap half = kit::ScalePixmap(src, 2, 1);
    ASSERT_EQ(half.px.size(), 2u);
    EXPECT_EQ(half.at(0, 0), 0xFF0000FFu);
    // Three blue pixels and a transparent one: blue at three quarters opacity.
    EXPECT_EQ(half.at(1, 0), 0xBFFF0000u);
    const kit::Pixmap big = kit::ScalePixmap(src, 8, 4);
    EXPECT_EQ(big.at(7, 3), 0xFFFF0000u);
    EXPECT_EQ(big.at(5, 2), 0x00FFFFFFu);
    EXPECT_TRUE(kit::ScalePixmap(src, 0, 3).px.empty());
}

// The bitmap scaler must give ScalePixmap's pixels exactly, rounding halves included, for
// shrinking and enlarging on either axis.
TEST(PixelBuffers, OpaqueScalingMatchesAreaScaling) {
    std::uint32_t seed = 7;
    for (const auto& [sw, sh] : {std::pair{37, 23}, {8, 8}, {1, 5}, {300, 7}, {3, 700}}) {
        kit::Pixmap src;
        src.width = sw;
        src.height = sh;
        std::vector<std::uint32_t> bare;
        for (int i = 0; i < sw * sh; ++i) {
            seed = seed * 1664525u + 1013904223u;
            // Few levels, so that many averages fall on a half.
            const std::uint32_t c = ((seed >> 8) & 0x030303) * 0x55;
            bare.push_back((seed & 0xFF000000u) | c);  // the top byte must not matter
            src.px.push_back(kit::kAlphaOpaque | c);
        }
        for (const auto& [w, h] : {std::pair{1, 1}, {sw, sh}, {sw / 2 + 1, sh}, {sw * 2, sh / 3 + 1},
                                   {5, sh * 3}, {sw + 1, sh + 2}, {7, 3}}) {
            const kit::Pixmap want = kit::ScalePixmap(src, w, h);
            const kit::Pixmap got = kit::ScaleOpaque(bare.data(), sw, sh, w, h);
            ASSERT_EQ(got.width, w);
            ASSERT_EQ(got.height, h);
            EXPECT_EQ(got.px, want.px) << sw << "x" << sh << " to " << w << "x" << h;
        }
    }
    // Hundreds of white rows in one cell: the sums must not overflow into the next channel.
    const std::vector<std::uint32_t> white(2 * 1000, 0xFFFFFF);
    EXPECT_EQ(kit::ScaleOpaque(white.data(), 2, 1000, 1, 1).px,
              std::vector<std::uint32_t>{0xFFFFFFFFu});
    EXPECT_TRUE(kit::ScaleOpaque(nullptr, 0, 0, 3, 3).px.empty());
}

}  // namespace
