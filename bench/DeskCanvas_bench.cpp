// Drawing the document window's canvas: a whole 256x256 image at zoom 10 (2560x2560 pixels)
// over the checkerboard with the grid, beside QPainter scaling the same picture to the same
// size; and the per-move cost of a stroke, which redraws only the cells it touches.
#include "editor/DeskRender.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

TmyImagePal TestImage()
{
    TmyImagePal image(256, 256, 32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.Pixel(x, y) = TmyPixel::CreateRGBA(std::uint8_t(x), std::uint8_t(y), 128, std::uint8_t((x * y) & 0xFF));
    return image;
}

const glimt::Checkerboard kBoard{4, 0xFFFFFF, 0xEBEBEB};
const glimt::TGridLook kGrid{0xC0C0C0, 0};

void BM_CanvasFullRedrawZoom10(benchmark::State& state)
{
    const TmyImagePal image = TestImage();
    QImage canvas(2560, 2560, QImage::Format_RGB32);
    for (auto _ : state) {
        glimt::RenderZoomedImage(image, 10, kBoard, canvas);
        glimt::DrawGridLines(canvas, 10, kGrid);
        benchmark::DoNotOptimize(canvas.constBits());
    }
}
BENCHMARK(BM_CanvasFullRedrawZoom10)->Unit(benchmark::kMillisecond);

void BM_QPainterScaledZoom10(benchmark::State& state)
{
    const QImage picture = TestImage().ToQImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage canvas(2560, 2560, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(QRect(0, 0, 2560, 2560), picture);
        p.end();
        benchmark::DoNotOptimize(canvas.constBits());
    }
}
BENCHMARK(BM_QPainterScaledZoom10)->Unit(benchmark::kMillisecond);

// One move of a stroke over `cells` cells: each is redrawn blended with its grid lines.
void BM_StrokeMoveCells(benchmark::State& state)
{
    QImage canvas(2560, 2560, QImage::Format_RGB32);
    const int cells = int(state.range(0));
    const TmyPixel p = TmyPixel::CreateRGBA(200, 10, 10, 180);
    for (auto _ : state) {
        for (int i = 0; i < cells; ++i) {
            glimt::DrawCellBlendedAt(canvas, i % 256, i / 256, 10, kBoard, p);
            glimt::DrawCellGridAt(canvas, i % 256, i / 256, 10, kGrid);
        }
        benchmark::DoNotOptimize(canvas.constBits());
    }
    state.SetComplexityN(cells);
}
BENCHMARK(BM_StrokeMoveCells)->RangeMultiplier(4)->Range(1, 1024)->Complexity(benchmark::oN);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
