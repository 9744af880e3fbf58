// The image viewer on the headless backend: LoadImage 0 (read, decode, fit and draw) of a
// 4000 x 3000 quality-90 JPEG in the designed window, warm (after a first picture that size),
// the toolkit's picture loader alone on the same file, its share of that, and libjpeg-turbo's
// own decode of the file into a buffer already touched: the floor on this machine, measured in
// the same run, since a shared machine's speed drifts from minute to minute.
#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "grabber/resource_state.h"
#include "kit/picture_loader.h"
#include "kit/pixmap.h"
#include "kit/runtime.h"
#include "platform/headless/bind.h"
#include "shell/globals.h"
#include "shell/start.h"
#include "shell/tivlo_form.h"
#include "viewer/sized_preview.h"

namespace {

constexpr int kWidth = 4000, kHeight = 3000, kQuality = 90;
constexpr const char* kFolder = "C:\\Pics";

// A photo-like picture: smooth colour waves with fine grain, so that it compresses to the
// size of a camera's picture at this quality (a plain gradient would be a few kilobytes).
std::string PhotoLikeJpeg() {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
    std::uint32_t seed = 12345;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = static_cast<int>(seed >> 28) - 8;
            unsigned char* p = &rgb[(static_cast<std::size_t>(y) * kWidth + x) * 3];
            const double a = std::sin(x * 0.011 + y * 0.004), b = std::cos(y * 0.013 - x * 0.002);
            p[0] = static_cast<unsigned char>(std::clamp(128 + 90 * a + grain, 0.0, 255.0));
            p[1] = static_cast<unsigned char>(std::clamp(128 + 90 * b + grain, 0.0, 255.0));
            p[2] = static_cast<unsigned char>(std::clamp(128 + 60 * a * b + grain, 0.0, 255.0));
        }
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, rgb.data(), kWidth, 0, kHeight, TJPF_RGB, &out, &size, TJSAMP_420, kQuality, 0);
    std::string jpeg(reinterpret_cast<const char*>(out), size);
    tjFree(out);
    tjDestroy(tj);
    return jpeg;
}

void BM_ViewerLoadImageFitted(benchmark::State& state) {
    static const std::string jpeg = PhotoLikeJpeg();
    platform::headless::HeadlessWorld world;
    world.bind();
    world.reset();
    ResetGlobals();
    shell::StartTivlo();
    gDownloadFolder = kFolder;
    world.files.addFolder(kFolder);
    world.files.addFile(std::string(kFolder) + "\\big.jpg", jpeg);
    frmTivlo().flbThumbView.setPath(kFolder);
    gThumbFileCount = frmTivlo().flbThumbView.ListCount();
    gCurrentPicture = 0;
    FrmSizedPreview& v = frmSizedPreview();
    v.Show();  // the first picture of that size
    for (auto _ : state) v.LoadImage(0);
    state.counters["jpeg_MB"] = jpeg.size() / 1e6;
    state.counters["shown_w"] = v.picPview.widthPx();
    kit::ResetAllForms();
    ResetGlobals();
}
BENCHMARK(BM_ViewerLoadImageFitted)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ViewerLoaderAlone(benchmark::State& state) {
    static const std::string jpeg = PhotoLikeJpeg();
    platform::headless::HeadlessWorld world;
    world.bind();
    world.files.addFolder(kFolder);
    world.files.addFile(std::string(kFolder) + "\\big.jpg", jpeg);
    for (auto _ : state) benchmark::DoNotOptimize(kit::LoadPicture(std::string(kFolder) + "\\big.jpg"));
}
BENCHMARK(BM_ViewerLoaderAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

// The fitted view's share: the natural-size picture averaged down to the designed window's fit.
void BM_ViewerFitScaling(benchmark::State& state) {
    std::vector<std::uint32_t> src(static_cast<std::size_t>(kWidth) * kHeight);
    std::uint32_t seed = 1;
    for (auto& p : src) p = seed = seed * 1664525u + 1013904223u;
    for (auto _ : state) benchmark::DoNotOptimize(kit::ScaleOpaque(src.data(), kWidth, kHeight, 668, 501));
}
BENCHMARK(BM_ViewerFitScaling)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ViewerDecoderFloor(benchmark::State& state) {
    static const std::string jpeg = PhotoLikeJpeg();
    tjhandle tj = tjInitDecompress();
    std::vector<unsigned char> out(static_cast<std::size_t>(kWidth) * kHeight * 4, 1);
    const auto* data = reinterpret_cast<const unsigned char*>(jpeg.data());
    for (auto _ : state)
        tjDecompress2(tj, data, jpeg.size(), out.data(), kWidth, 0, kHeight, TJPF_RGBA, 0);
    tjDestroy(tj);
}
BENCHMARK(BM_ViewerDecoderFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
