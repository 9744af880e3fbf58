// Damaged pictures through the headless decoders (run under AddressSanitizer and UBSan by the
// test script): none may crash, read or write out of bounds, or allocate beyond the pixel cap.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "kit/headless/picture_decoders.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Decoder = std::optional<kit::Pixmap> (*)(const std::uint8_t*, std::size_t);

Bytes ReadFixture(const std::string& name) {
    std::ifstream in(std::string(TIVLO_TEST_PICTURES) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::vector<Bytes> Fixtures(const std::string& extension) {
    std::vector<Bytes> out;
    for (const auto& entry : std::filesystem::directory_iterator(TIVLO_TEST_PICTURES))
        if (entry.path().extension() == extension)
            out.push_back(ReadFixture(entry.path().filename().string()));
    return out;
}

void ExpectSane(const std::optional<kit::Pixmap>& pm) {
    if (!pm) return;
    EXPECT_GT(pm->width, 0);
    EXPECT_GT(pm->height, 0);
    EXPECT_TRUE(kit::WithinPixelCap(pm->width, pm->height));
    EXPECT_EQ(pm->px.size(), static_cast<std::size_t>(pm->width) * pm->height);
}

// Seeded, bounded mutations: bit flips, extreme bytes (most often in the header), cuts,
// repeated stretches.
Bytes Mutate(const Bytes& original, std::mt19937& rng) {
    Bytes b = original;
    if (b.empty()) return b;
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    const int edits = 1 + static_cast<int>(pick(4));
    for (int e = 0; e < edits && !b.empty(); ++e) {
        switch (pick(5)) {
        case 0: b[pick(b.size())] ^= static_cast<std::uint8_t>(1u << pick(8)); break;
        case 1: {
            static constexpr std::uint8_t kExtreme[] = {0x00, 0xFF, 0x7F, 0x80, 0x01, 0xFE};
            b[pick(std::min<std::size_t>(b.size(), 64))] = kExtreme[pick(6)];
            break;
        }
        case 2: b.resize(pick(b.size())); break;
        case 3: {
            const std::size_t at = pick(b.size()), len = 1 + pick(std::min<std::size_t>(b.size() - at, 32));
            Bytes copy(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + len));
            b.insert(b.begin() + static_cast<long>(pick(b.size())), copy.begin(), copy.end());
            break;
        }
        default: b[pick(b.size())] = static_cast<std::uint8_t>(pick(256)); break;
        }
    }
    return b;
}

void Fuzz(const std::string& extension, Decoder decode, unsigned seed, int cases) {
    const auto fixtures = Fixtures(extension);
    ASSERT_FALSE(fixtures.empty());
    std::mt19937 rng(seed);
    for (int i = 0; i < cases; ++i) {
        const Bytes& base = fixtures[static_cast<std::size_t>(i) % fixtures.size()];
        const Bytes b = Mutate(base, rng);
        // Large declared sizes only cost time filling memory: the pixel cap and the reads are
        // tested with their own cases.
        const auto header = kit::ReadPictureHeader(b.data(), b.size());
        if (header && static_cast<long long>(header->width) * header->height > (1 << 20)) continue;
        ExpectSane(decode(b.data(), b.size()));
        ExpectSane(kit::headless::DecodePicture(b.data(), b.size(), true));
    }
}

TEST(PictureBadInput, MutatedBitmaps) { Fuzz(".bmp", kit::headless::DecodeBmp, 1, 4000); }
TEST(PictureBadInput, MutatedJpegs) {
    Fuzz(".jpg", [](const std::uint8_t* d, std::size_t n) { return kit::headless::DecodeJpeg(d, n); },
         2, 3000);
}
TEST(PictureBadInput, MutatedGifs) { Fuzz(".gif", kit::headless::DecodeGif, 3, 3000); }
TEST(PictureBadInput, MutatedPngs) { Fuzz(".png", kit::headless::DecodePng, 4, 3000); }

void PutLe32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void PutBe32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}
void PutLe16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// The first image descriptor of a GIF whose colour table is followed by one control block.
std::size_t FirstImage(const Bytes& gif) {
    return 13 + 3 * (std::size_t{2} << (gif[10] & 7)) + 8;
}

std::size_t FindSof(const Bytes& b) {
    for (std::size_t i = 2; i + 1 < b.size(); ++i)
        if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC2)) return i;
    return 0;
}

TEST(PictureBadInput, HeadersOverThePixelCapAreUnreadableBeforeDecoding) {
    // 9000 x 9000 is 81 megapixels: a decompression bomb however small the file.
    Bytes bmp = ReadFixture("bmp24.bmp");
    PutLe32(bmp, 18, 9000);
    PutLe32(bmp, 22, 9000);
    EXPECT_FALSE(kit::headless::DecodeBmp(bmp.data(), bmp.size()));
    PutLe32(bmp, 22, static_cast<std::uint32_t>(-9000));  // top-down
    EXPECT_FALSE(kit::headless::DecodeBmp(bmp.data(), bmp.size()));

    Bytes png = ReadFixture("png-rgba.png");
    PutBe32(png, 16, 9000);
    PutBe32(png, 20, 9000);
    EXPECT_FALSE(kit::headless::DecodePng(png.data(), png.size()));

    Bytes gif = ReadFixture("gif-transparent.gif");
    const std::size_t desc = FirstImage(gif);
    ASSERT_EQ(gif[desc], 0x2C);
    PutLe16(gif, desc + 5, 9000);
    PutLe16(gif, desc + 7, 9000);
    EXPECT_FALSE(kit::headless::DecodeGif(gif.data(), gif.size()));

    Bytes jpeg = ReadFixture("jpeg-baseline.jpg");
    const std::size_t sof = FindSof(jpeg);
    ASSERT_NE(sof, 0u);
    jpeg[sof + 5] = 0x23, jpeg[sof + 6] = 0x28;  // height 9000
    jpeg[sof + 7] = 0x23, jpeg[sof + 8] = 0x28;  // width 9000
    EXPECT_FALSE(kit::headless::DecodeJpeg(jpeg.data(), jpeg.size()));

    // Just inside the cap the header alone decides nothing: the short data then fails.
    EXPECT_TRUE(kit::WithinPixelCap(8192, 8192));
    EXPECT_FALSE(kit::WithinPixelCap(8192, 8193));
}

TEST(PictureBadInput, APngShorterThanItsRowsIsRefusedBeforeDecoding) {
    // 58 bytes claiming 8192 x 8192 RGBA: inside the cap, but no deflate packs that tight.
    Bytes bomb = ReadFixture("png-rgba.png");
    PutBe32(bomb, 16, 8192);
    PutBe32(bomb, 20, 8192);
    bomb.resize(58);
    EXPECT_FALSE(kit::headless::PngCanHoldItsPixels(bomb.data(), bomb.size()));
    EXPECT_FALSE(kit::headless::DecodePng(bomb.data(), bomb.size()));

    // The tightest a real encoder gets, black rows at the highest level, is still read.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = image.height = 4096;
    image.format = PNG_FORMAT_GRAY;
    const std::vector<std::uint8_t> black(std::size_t{4096} * 4096, 0);
    png_alloc_size_t bytes = 0;
    ASSERT_TRUE(png_image_write_to_memory(&image, nullptr, &bytes, 0, black.data(), 0, nullptr));
    Bytes tight(bytes);
    ASSERT_TRUE(png_image_write_to_memory(&image, tight.data(), &bytes, 0, black.data(), 0, nullptr));
    tight.resize(bytes);
    EXPECT_TRUE(kit::headless::PngCanHoldItsPixels(tight.data(), tight.size()));
    const auto pm = kit::headless::DecodePng(tight.data(), tight.size());
    ASSERT_TRUE(pm);
    EXPECT_EQ(pm->width, 4096);
}

TEST(PictureBadInput, DamagedBitmapHeadersAndRuns) {
    const Bytes good = ReadFixture("bmp24.bmp");
    auto with = [&](std::size_t at, std::uint32_t v) {
        Bytes b = good;
        PutLe32(b, at, v);
        return kit::headless::DecodeBmp(b.data(), b.size());
    };
    EXPECT_FALSE(with(18, static_cast<std::uint32_t>(-4)));          // negative width
    EXPECT_FALSE(with(18, 0x7FFFFFFF));                              // huge width
    EXPECT_FALSE(with(22, 0x80000000));                              // the most negative height
    EXPECT_FALSE(with(22, 0));                                       // no rows
    EXPECT_FALSE(with(14, 64));                                      // unknown header size
    EXPECT_FALSE(with(10, 0xFFFFFFF0));                              // pixels beyond the file
    ExpectSane(with(46, 0xFFFFFFFF));                                // colours used, huge
    EXPECT_FALSE(with(30, 1));                                       // RLE8 on 24 bits

    // Indices beyond the palette show black; runs past the row or the file stop harmlessly.
    Bytes rle = ReadFixture("bmp-rle8.bmp");
    const std::size_t bits = rle[10];
    for (std::size_t i = bits; i + 1 < rle.size(); i += 2) rle[i] = 0xFF, rle[i + 1] = 0xEE;
    auto pm = kit::headless::DecodeBmp(rle.data(), rle.size());
    ASSERT_TRUE(pm);
    EXPECT_EQ(pm->at(0, 3), 0xFF000000u);  // index 0xEE: black
    for (std::size_t cut = bits; cut < rle.size(); ++cut)
        ExpectSane(kit::headless::DecodeBmp(rle.data(), cut));

    // A delta far beyond the picture and an absolute run longer than the file.
    Bytes far = ReadFixture("bmp-rle8.bmp");
    far.resize(far[10]);
    for (std::uint8_t v : {0, 2, 255, 255, 0, 200, 1, 2}) far.push_back(v);
    ExpectSane(kit::headless::DecodeBmp(far.data(), far.size()));

    // More rightward deltas than an int can add up, then a run: nothing lands in the picture.
    far.resize(far[10]);
    for (int i = 0; i < (1 << 23) + 1000; ++i) far.insert(far.end(), {0, 2, 255, 0});
    far.insert(far.end(), {4, 1, 0, 1});
    pm = kit::headless::DecodeBmp(far.data(), far.size());
    ASSERT_TRUE(pm);
    EXPECT_EQ(pm->at(0, pm->height - 1), 0xFF000000u);
}

TEST(PictureBadInput, GifFramesAnywhereOnTheScreenAreReadAtTheirOwnSize) {
    Bytes gif = ReadFixture("gif-offset-frame.gif");
    const std::size_t desc = FirstImage(gif);
    ASSERT_EQ(gif[desc], 0x2C);
    PutLe16(gif, desc + 1, 65000);  // far outside the 20 x 10 logical screen
    PutLe16(gif, desc + 3, 65000);
    auto pm = kit::headless::DecodeGif(gif.data(), gif.size());
    ASSERT_TRUE(pm);
    EXPECT_EQ(pm->width, 8);
    EXPECT_EQ(pm->height, 4);
    EXPECT_EQ(pm->at(1, 0), 0xFF0000FFu);
}

// Only an end marker after the first scan makes a JPEG whole: a thumbnail's marker inside an
// earlier segment does not, and bytes after the end do not matter.
TEST(PictureBadInput, AJpegIsWholeOnlyWithItsOwnEndMarker) {
    const Bytes jpeg = ReadFixture("jpeg-baseline.jpg");
    const auto whole = [](const Bytes& b) { return kit::JpegIsWhole(b.data(), b.size()); };
    ASSERT_TRUE(whole(jpeg));
    Bytes trailing = jpeg;
    trailing.insert(trailing.end(), 300, 0x00);
    EXPECT_TRUE(whole(trailing));
    const Bytes cut(jpeg.begin(), jpeg.end() - 2);
    EXPECT_FALSE(whole(cut));
    Bytes thumbnail = cut;  // an APP1 segment holding FF D9, as embedded thumbnails do
    const Bytes app1 = {0xFF, 0xE1, 0x00, 0x06, 0xFF, 0xD9, 0xFF, 0xD9};
    thumbnail.insert(thumbnail.begin() + 2, app1.begin(), app1.end());
    EXPECT_FALSE(whole(thumbnail));
    thumbnail.insert(thumbnail.end(), {0xFF, 0xD9});
    EXPECT_TRUE(whole(thumbnail));
    for (const Bytes& b : {Bytes{}, Bytes{0xFF}, Bytes{0xFF, 0xD8}, Bytes{0xFF, 0xD8, 0xFF}})
        EXPECT_FALSE(whole(b)) << b.size();
}

TEST(PictureBadInput, NotPicturesAtAll) {
    for (const Bytes& b : {Bytes{}, Bytes{'B'}, Bytes{'B', 'M'}, Bytes{0xFF, 0xD8, 0xFF},
                           Bytes{'G', 'I', 'F', '8', '9', 'a'}, Bytes(100, 0xFF),
                           Bytes{0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0}})
        EXPECT_FALSE(kit::headless::DecodePicture(b.data(), b.size(), true));
    // A PNG is read only where PNG is asked for.
    const Bytes png = ReadFixture("png-rgba.png");
    EXPECT_FALSE(kit::headless::DecodePicture(png.data(), png.size(), false));
    EXPECT_TRUE(kit::headless::DecodePicture(png.data(), png.size(), true));
}

}  // namespace
