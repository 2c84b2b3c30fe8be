// Whole-image operations on a 256 x 256 32-bit image with soft alpha and transparent areas:
// resizing (side by side with QImage's smooth scale of the same pixels), free rotation,
// one 5 x 5 filter pass, and rendering into a picture over a background colour and over the
// transparency checkerboard.
#include "bench/BenchSupport.h"
#include "engine/MyFilter.h"
#include "engine/Mypreview.h"
#include "engine/myadjustments.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

namespace {

// Colour gradients with a soft-edged opaque disk on a half-transparent ground, fully
// transparent corners: every alpha path of the operations is taken.
const TmyImagePal& Picture()
{
    static const TmyImagePal picture = [] {
        TmyImagePal image(256, 256, 32);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const double d = std::hypot(x - 128.0, y - 128.0);
                const int a = d > 150 ? 0 : int(std::clamp(255 - (d - 60) * 3, 96.0, 255.0));
                image.Pixel(x, y) = TmyPixel::CreateRGBA(std::uint8_t(x), std::uint8_t(y), std::uint8_t((x * y) >> 8),
                    std::uint8_t(a));
            }
        return image;
    }();
    return picture;
}

// Resizing beside QImage's smooth scale of the same pixels. Arguments: the source side, the
// destination side, and 1 for the picture with its soft alpha and transparent corners or 0 for
// a photo-like opaque picture (both made at the source side). The goal is to be no slower than
// Qt, with exact area weights.
void BM_Resize_vsQImageSmooth(benchmark::State& state)
{
    const int from = int(state.range(0)), side = int(state.range(1));
    TmyImagePal source(from, from, 32);
    if (state.range(2)) {
        source = Picture();
        if (from != 256)
            TmyAdjustments::ResizeImage(source, from, from);
    } else {
        static_cast<TmyImage&>(source) = glimt::bench::PhotoLike(from, from);
    }
    const QImage qsource = source.ToQImage();
    TmyImagePal image = source;
    glimt::bench::SideBySide(
        state, 1.0,
        [&] {
            TmyAdjustments::ResizeImage(image, side, side);
            benchmark::DoNotOptimize(image.Data());
        },
        [&] {
            QImage scaled = qsource.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            benchmark::DoNotOptimize(scaled.constBits());
        },
        [&] { image = source; }); // untimed: the next round starts from the source again
}
BENCHMARK(BM_Resize_vsQImageSmooth)
    ->ArgsProduct({{256}, {48, 32, 16, 100, 320}, {1, 0}})
    ->ArgsProduct({{48}, {32}, {1, 0}})
    ->ArgsProduct({{32}, {48}, {1, 0}})
    ->ArgNames({"from", "to", "alpha"})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

void BM_RotateImage(benchmark::State& state)
{
    TmyImagePal image;
    for (auto _ : state) {
        image = Picture(); // into the storage of the last round: no allocation
        TmyAdjustments::RotateImage(image, 128, 128, 33);
        benchmark::DoNotOptimize(image.Data());
    }
}
BENCHMARK(BM_RotateImage)->Unit(benchmark::kMicrosecond);

void BM_FilterBlurMore(benchmark::State& state)
{
    const bool onAlpha = state.range(0) != 0;
    TmyImagePal image;
    for (auto _ : state) {
        image = Picture(); // into the storage of the last round: no allocation
        TmyFilter::ApplyFilterKernel(image, FilterPresets[6], onAlpha);
        benchmark::DoNotOptimize(image.Data());
    }
}
BENCHMARK(BM_FilterBlurMore)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_RenderToImage(benchmark::State& state)
{
    QImage picture;
    for (auto _ : state) {
        TmyPreview::RenderToImage(Picture(), picture, 0xFFFFFF);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_RenderToImage)->Unit(benchmark::kMicrosecond);

void BM_RenderOverCheckerboard(benchmark::State& state)
{
    const int zoom = int(state.range(0));
    QImage picture;
    for (auto _ : state) {
        glimt::RenderOverCheckerboard(Picture(), picture, zoom);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_RenderOverCheckerboard)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
