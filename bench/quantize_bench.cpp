// Colour-depth change of a photographic 256 x 256 32-bit image, with libimagequant (quantize
// and remap at its default speed and dithering) measured on the same image as a peer. The
// counter "mean_err" is the mean absolute difference per channel between the source and the
// result, so that speed and quality can be weighed together.
#include "engine/PaletteLibrary.h"

#include <benchmark/benchmark.h>
#include <libimagequant.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// Smooth colour fields, a few soft-edged disks and a little grain: many distinct colours
// spread the way a small photograph spreads them. Opaque, and the same on every run.
const TmyImagePal& Photo()
{
    static const TmyImagePal photo = [] {
        TmyImagePal image(256, 256, 32);
        std::uint32_t seed = 2024;
        struct Disk {
            double x, y, r;
            int cr, cg, cb;
        };
        const Disk disks[] = {{70, 80, 40, 230, 200, 60}, {180, 150, 60, 40, 90, 200}, {120, 210, 30, 200, 60, 50}};
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < 256; ++x) {
                double r = 120 + 70 * std::sin(x * 0.031) + 40 * std::cos(y * 0.047);
                double g = 110 + 60 * std::sin((x + y) * 0.021) + 30 * std::sin(y * 0.09);
                double b = 100 + 80 * std::cos(x * 0.017 - y * 0.023);
                for (const Disk& d : disks) {
                    const double dist = std::hypot(x - d.x, y - d.y);
                    const double w = std::clamp((d.r - dist) / 8.0, 0.0, 1.0);
                    r = r * (1 - w) + d.cr * w;
                    g = g * (1 - w) + d.cg * w;
                    b = b * (1 - w) + d.cb * w;
                }
                seed = seed * 1664525u + 1013904223u;
                const double grain = double(int(seed >> 28) - 8);
                auto channel = [](double v) { return std::uint8_t(std::clamp(v, 0.0, 255.0)); };
                image.Pixel(x, y) = TmyPixel::CreateRGBA(channel(r + grain), channel(g + grain), channel(b + grain), 255);
            }
        }
        return image;
    }();
    return photo;
}

double MeanError(const TmyImage& a, const TmyImage& b)
{
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < a.PixelCount(); ++i) {
        const TmyPixel& p = a.Data()[i];
        const TmyPixel& q = b.Data()[i];
        sum += std::abs(p.R - q.R) + std::abs(p.G - q.G) + std::abs(p.B - q.B);
    }
    return double(sum) / double(3 * a.PixelCount());
}

void BM_ConvertImageDepth(benchmark::State& state)
{
    const int bits = int(state.range(0));
    const TmyImagePal& photo = Photo();
    TmyImagePal image;
    for (auto _ : state) {
        image = photo;
        TPaletteLibrary::ConvertImageDepth(image, bits);
        benchmark::DoNotOptimize(image.Data());
    }
    state.counters["mean_err"] = MeanError(photo, image);
}
BENCHMARK(BM_ConvertImageDepth)->Arg(8)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_LibImageQuant(benchmark::State& state)
{
    const int colors = int(state.range(0)) == 8 ? 256 : 16;
    const TmyImagePal& photo = Photo();
    const int w = photo.Width();
    const int h = photo.Height();
    std::vector<unsigned char> indices(std::size_t(w) * std::size_t(h));
    TmyImagePal result = photo;
    for (auto _ : state) {
        liq_attr* attr = liq_attr_create();
        liq_set_max_colors(attr, colors);
        liq_image* input = liq_image_create_rgba(attr, photo.Data(), w, h, 0);
        liq_result* quantized = nullptr;
        if (liq_image_quantize(input, attr, &quantized) != LIQ_OK) {
            state.SkipWithError("libimagequant failed");
            break;
        }
        liq_write_remapped_image(quantized, input, indices.data(), indices.size());
        const liq_palette* palette = liq_get_palette(quantized);
        for (std::size_t i = 0; i < indices.size(); ++i) {
            const liq_color& c = palette->entries[indices[i]];
            result.Data()[i] = TmyPixel::CreateRGBA(c.r, c.g, c.b, c.a);
        }
        benchmark::DoNotOptimize(result.Data());
        liq_result_destroy(quantized);
        liq_image_destroy(input);
        liq_attr_destroy(attr);
    }
    state.counters["mean_err"] = MeanError(photo, result);
}
BENCHMARK(BM_LibImageQuant)->Arg(8)->Arg(4)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
