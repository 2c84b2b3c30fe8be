// Load and save of a 10-image icon shaped like real ones (256x256 PNG, then 48, 32 and 16 at
// 32, 8 and 4 bits), beside Qt's own ICO reader reading every image of the same bytes.
#include "engine/MyIcoIO.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// A soft disc with a rim and a shadow-like alpha falloff, quantised to the image's palette.
void Paint(TmyImagePal& img)
{
    const int w = img.Width(), h = img.Height();
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0, r = w * 0.45;
    if (img.Palette) {
        TmyPalette& pal = *img.Palette;
        for (int i = 0; i < pal.Count(); ++i)
            pal.Colors[std::size_t(i)] = TmyPixel::CreateRGBA(std::uint8_t(i * 255 / (pal.Count() - 1)),
                                                               std::uint8_t(128 + i * 127 / (pal.Count() - 1)), 60, 255);
        pal.Colors[0] = TmyPixel::CreateRGBA(0, 0, 0, 255);
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double d = std::hypot(x - cx, y - cy) / r;
            TmyPixel p{};
            if (d <= 1.0) {
                const auto shade = std::uint8_t(255 * (1.0 - d * 0.7));
                p = TmyPixel::CreateRGBA(shade, std::uint8_t(128 + shade / 2), 60, 255);
                if (img.BitDepth == 32)
                    p.A = std::uint8_t(d > 0.9 ? 255 * (1.0 - d) * 10 : 255);
                if (img.Palette)
                    p = img.Palette->Colors[std::size_t(img.Palette->NearestIndex(p))];
            }
            img.Pixel(x, y) = p;
        }
    }
}

const QByteArray& SampleFile()
{
    static const QByteArray bytes = [] {
        TmyIcon icon;
        Paint(icon.AddImage(256, 256, 32));
        for (int depth : {32, 8, 4})
            for (int side : {48, 32, 16})
                Paint(icon.AddImage(side, side, depth));
        return TmyIcoIO(false).SaveToBytes(icon, true);
    }();
    return bytes;
}

void BM_GlimtLoad(benchmark::State& state)
{
    const QByteArray& bytes = SampleFile();
    TmyIcoIO io(false);
    for (auto _ : state) {
        std::unique_ptr<TmyIcon> icon;
        if (!io.LoadFromBytes(icon, bytes) || icon->Count() != 10)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(icon);
    }
}
BENCHMARK(BM_GlimtLoad)->Unit(benchmark::kMicrosecond);

void BM_QtLoad(benchmark::State& state)
{
    QByteArray bytes = SampleFile();
    for (auto _ : state) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "ico");
        int images = 0;
        do {
            const QImage img = reader.read();
            if (img.isNull())
                break;
            benchmark::DoNotOptimize(img.constBits());
            ++images;
        } while (reader.jumpToNextImage());
        if (images != 10)
            state.SkipWithError("Qt did not read every image");
    }
}
BENCHMARK(BM_QtLoad)->Unit(benchmark::kMicrosecond);

// Argument 1: the 256x256 image as PNG (the usual save); 0: every image as a bitmap.
void BM_GlimtSave(benchmark::State& state)
{
    const bool compress = state.range(0) != 0;
    std::unique_ptr<TmyIcon> icon;
    TmyIcoIO io(false);
    io.LoadFromBytes(icon, SampleFile());
    for (auto _ : state) {
        const QByteArray out = io.SaveToBytes(*icon, compress);
        benchmark::DoNotOptimize(out.constData());
    }
}
BENCHMARK(BM_GlimtSave)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
