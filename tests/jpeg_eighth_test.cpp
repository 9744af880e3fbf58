// The eighth-size JPEG decode against libjpeg's own decode at 1/8 scale, over
// the ways files are written (grey, sampling factors, progressive, restart
// markers, odd sizes), and what it must decline: damage, other colour models
// and frame types.
#include <gtest/gtest.h>

#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kit/jpeg_eighth.h"
#include "kit/picture_header.h"
#include "kit/picture_loader.h"
#include "kit/runtime.h"
#include "platform/headless/bind.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Options {
    int components = 3;  // 1: grey
    int h = 1, v = 1;    // the luma's sampling factors; chroma 1 x 1
    bool progressive = false;
    int restartBlocks = 0;
    J_COLOR_SPACE stored = JCS_YCbCr;
    int quality = 85;
};

// Busy pixels, so that every block has detail to skip: noise and edges in the
// brightness over smooth colour gradients (so that libjpeg's scaled chroma
// stays close to the blocks' means).
std::vector<std::uint8_t> Pattern(int w, int h, int components) {
    std::vector<std::uint8_t> px(static_cast<std::size_t>(w) * h * components);
    unsigned seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int detail = (((x / 13 + y / 7) & 1) ? 60 : 0) + static_cast<int>(seed >> 27);
            for (int c = 0; c < components; ++c) {
                const int v = std::min(255, (x * (c + 1) + y * (3 - c)) / 3 + detail);
                px[(static_cast<std::size_t>(y) * w + x) * components + c] =
                    static_cast<std::uint8_t>(v);
            }
        }
    return px;
}

Bytes Encode(int w, int h, const Options &o) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = w;
    c.image_height = h;
    c.input_components = o.components;
    c.in_color_space = o.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, o.quality, TRUE);
    if (o.components == 3) {
        jpeg_set_colorspace(&c, o.stored);
        c.comp_info[0].h_samp_factor = o.h;
        c.comp_info[0].v_samp_factor = o.v;
        for (int i = 1; i < 3; ++i) c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    }
    if (o.progressive) jpeg_simple_progression(&c);
    c.restart_interval = o.restartBlocks;
    jpeg_start_compress(&c, TRUE);
    const auto px = Pattern(w, h, o.components);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(px.data() + c.next_scanline * w * o.components);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

// libjpeg's decode at 1/8, chroma replicated: blue-green-red rows like the
// eighth's.
Bytes LibraryEighth(const Bytes &file, int &w, int &h) {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, file.data(), file.size());
    jpeg_read_header(&d, TRUE);
    d.scale_num = 1;
    d.scale_denom = 8;
    d.do_fancy_upsampling = FALSE;
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    w = static_cast<int>(d.output_width);
    h = static_cast<int>(d.output_height);
    Bytes rgb(static_cast<std::size_t>(w) * h * 3);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = rgb.data() + d.output_scanline * w * 3;
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    for (std::size_t i = 0; i < rgb.size(); i += 3) std::swap(rgb[i], rgb[i + 2]);
    return rgb;
}

int LargestDifference(const Bytes &a, const Bytes &b) {
    int worst = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

Bytes ReadFile(const std::string &name) {
    std::ifstream f(std::string(TIVLO_TEST_PICTURES) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

}  // namespace

TEST(JpegEighth, AgreesWithTheLibrarysEighthScale) {
    struct Case {
        const char *what;
        int w, h;
        Options o;
        int tolerance;  // libjpeg scales subsampled chroma with detail; the eighth
                        // uses the means
    };
    const Case cases[] = {
        {"grey", 83, 61, {.components = 1}, 0},
        {"grey progressive", 83, 61, {.components = 1, .progressive = true}, 0},
        {"4:4:4", 120, 72, {}, 0},
        {"4:4:4 odd size", 9, 17, {}, 0},
        {"4:4:4 progressive with restarts", 101, 67, {.progressive = true, .restartBlocks = 5}, 0},
        {"4:4:4 restarts every block", 40, 24, {.restartBlocks = 1}, 0},
        {"4:4:4 top quality", 64, 64, {.quality = 100}, 0},
        {"4:2:0", 150, 97, {.h = 2, .v = 2}, 24},
        {"4:2:0 progressive with restarts",
         150,
         97,
         {.h = 2, .v = 2, .progressive = true, .restartBlocks = 3},
         24},
        {"4:2:2 restarts", 77, 50, {.h = 2, .v = 1, .restartBlocks = 7}, 24},
        {"4:1:1", 131, 40, {.h = 4, .v = 1}, 24},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes file = Encode(c.w, c.h, c.o);
        int w = 0, h = 0;
        const Bytes expected = LibraryEighth(file, w, h);
        const auto got = kit::DecodeJpegEighth(file.data(), file.size());
        ASSERT_TRUE(got);
        EXPECT_EQ(got->naturalWidth, c.w);
        EXPECT_EQ(got->naturalHeight, c.h);
        EXPECT_EQ(got->width, w);
        EXPECT_EQ(got->height, h);
        ASSERT_EQ(got->bgr.size(), expected.size());
        EXPECT_LE(LargestDifference(got->bgr, expected), c.tolerance);
        if (c.tolerance) {  // still the same picture on the whole
            long long sum = 0;
            for (std::size_t i = 0; i < expected.size(); ++i)
                sum += std::abs(got->bgr[i] - expected[i]);
            EXPECT_LT(static_cast<double>(sum) / expected.size(), 3.0);
        }
    }
}

TEST(JpegEighth, DeclinesWhatItDoesNotRead) {
    // Other colour models, decoded whole instead: RGB stored as such, CMYK.
    EXPECT_FALSE(kit::DecodeJpegEighth(Encode(32, 32, {.stored = JCS_RGB}).data(),
                                       Encode(32, 32, {.stored = JCS_RGB}).size()));
    for (const char *name : {"jpeg-cmyk-adobe.jpg", "jpeg-cmyk-plain.jpg", "png-named.jpg",
                             "text-named.jpg", "empty.jpg", "jpeg-truncated.jpg"}) {
        SCOPED_TRACE(name);
        const Bytes file = ReadFile(name);
        EXPECT_FALSE(kit::DecodeJpegEighth(file.data(), file.size()));
    }
    const Bytes baseline = ReadFile("jpeg-baseline.jpg");
    ASSERT_TRUE(kit::DecodeJpegEighth(baseline.data(), baseline.size()));

    // A frame header past the pixel cap is refused before anything is allocated.
    Bytes big = Encode(16, 16, {});
    for (std::size_t i = 2; i + 9 < big.size(); ++i)
        if (big[i] == 0xFF && big[i + 1] == 0xC0) {
            big[i + 5] = big[i + 6] = big[i + 7] = big[i + 8] = 0xFF;  // 65535 x 65535
            break;
        }
    EXPECT_FALSE(kit::DecodeJpegEighth(big.data(), big.size()));
}

TEST(JpegEighth, DamageGivesNothingOrAWholePicture) {
    const Bytes whole = Encode(96, 64, {.h = 2, .v = 2, .restartBlocks = 4});
    const Bytes progressive = Encode(96, 64, {.progressive = true});
    for (const Bytes *file : {&whole, &progressive}) {
        // Cut anywhere: the end of image is missing, so nothing.
        for (std::size_t cut = 0; cut < file->size(); cut += 7)
            EXPECT_FALSE(kit::DecodeJpegEighth(file->data(), cut)) << cut;
        // Flipped bits: nothing, or a picture of the frame's size (the sanitizers
        // watch).
        unsigned seed = 99;
        for (int round = 0; round < 400; ++round) {
            Bytes bad = *file;
            for (int k = 0; k < 3; ++k) {
                seed = seed * 1103515245u + 12345u;
                bad[2 + (seed >> 8) % (bad.size() - 2)] ^=
                    static_cast<std::uint8_t>(1 << (seed % 8));
            }
            if (const auto got = kit::DecodeJpegEighth(bad.data(), bad.size())) {
                EXPECT_EQ(got->bgr.size(), static_cast<std::size_t>(got->width) * got->height * 3);
            }
        }
    }
}

TEST(JpegEighth, AnEighthIsUsedOnlyWhereItNeedsNoEnlarging) {
    struct Case {
        int w, h, drawnW, drawnH;
        bool suffices;
    };
    const Case cases[] = {
        {4000, 3000, 80, 60, true}, {640, 480, 80, 60, true}, {639, 480, 80, 60, true},
        {632, 480, 80, 60, false},  {4000, 100, 80, 2, true}, {100, 4000, 2, 80, true},
        {120, 90, 80, 60, false},   {8, 8, 1, 1, true},       {4000, 3000, 0, 0, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(kit::EighthSuffices(c.w, c.h, c.drawnW, c.drawnH), c.suffices)
            << c.w << "x" << c.h << " drawn " << c.drawnW << "x" << c.drawnH;
}

TEST(JpegEighth, TheLoaderTakesAnEighthOnlyWhereTheDrawingAllowsIt) {
    platform::headless::HeadlessWorld world;
    world.bind();
    world.reset();
    const Bytes big = Encode(1000, 600, {});
    world.files.addFile("C:\\big.jpg", std::string(big.begin(), big.end()));
    world.files.addFile("C:\\cut.jpg", std::string(big.begin(), big.begin() + big.size() / 2));
    const Bytes bmp = ReadFile("bmp24.bmp");
    world.files.addFile("C:\\small.bmp", std::string(bmp.begin(), bmp.end()));
    auto drawnAt = [](int w, int h) {
        return [w, h](kit::PictureSize) { return kit::PictureSize{w, h}; };
    };

    kit::PictureSize natural;
    kit::Picture p = kit::LoadPictureToDraw("C:\\big.jpg", drawnAt(80, 48), natural);
    EXPECT_EQ(natural, (kit::PictureSize{1000, 600}));
    EXPECT_EQ(kit::SizeOf(p), (kit::PictureSize{125, 75}));
    int w = 0, h = 0;
    const Bytes eighth = LibraryEighth(big, w, h);
    const auto px = world.gdi.bitmapPixels(kit::StretchedCopy(p, 125, 75)->handle());
    for (const auto &[x, y] : {std::pair{20, 5}, std::pair{124, 74}}) {
        const std::size_t at = (static_cast<std::size_t>(y) * 125 + x) * 3;  // blue, green, red
        EXPECT_EQ(px.at(x, y) & 0xFFFFFF,
                  (std::uint32_t{eighth[at]} << 16) | (eighth[at + 1] << 8) | eighth[at + 2]);
    }

    // Drawn larger than the eighth: the whole picture.
    p = kit::LoadPictureToDraw("C:\\big.jpg", drawnAt(126, 75), natural);
    EXPECT_EQ(natural, (kit::PictureSize{1000, 600}));
    EXPECT_EQ(kit::SizeOf(p), natural);
    p = kit::LoadPictureToDraw("C:\\small.bmp", drawnAt(1, 1), natural);
    EXPECT_EQ(natural, (kit::PictureSize{4, 3}));
    EXPECT_EQ(kit::SizeOf(p), natural);

    // A damaged JPEG gets the whole decoder's verdict; a missing file its own
    // error.
    for (const auto &[path, error] : {std::pair{"C:\\cut.jpg", kit::kErrInvalidPicture},
                                      std::pair{"C:\\gone.jpg", kit::kErrFileNotFound}}) {
        natural = {9, 9};
        try {
            kit::LoadPictureToDraw(path, drawnAt(80, 48), natural);
            ADD_FAILURE() << path;
        } catch (const kit::RuntimeError &e) {
            EXPECT_EQ(e.code(), error) << path;
        }
        EXPECT_EQ(natural, (kit::PictureSize{})) << path;
    }
}
