// What users feel of the painting primitives: a flood fill of the largest image, and the
// stamps of a brush dragged across it (one Tline walk per mouse move).
#include "editor/BrushMask.h"
#include "editor/Line.h"
#include "editor/MyPainter.h"

#include <benchmark/benchmark.h>

namespace {

struct Document {
    TmyImagePal image{256, 256, 32};
    TmyImagePal backup{256, 256, 32};
    glimt::TPaintContext c;
    Document()
    {
        image.Fill(TmyPixel::CreateRGBA(255, 255, 255, 255));
        backup = image;
        c.Image = &image;
        c.StrokeBackup = &backup;
        c.ForeColor = TmyPixel::CreateRGBA(200, 20, 20, 160);
        c.SmoothEdges = true;
    }
};

void BM_FloodFill256(benchmark::State& state)
{
    Document d;
    const TmyPixel white = TmyPixel::CreateRGBA(255, 255, 255, 255);
    const TmyPixel red = TmyPixel::CreateRGBA(255, 0, 0, 255);
    bool toRed = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TmyPainter::FloodFill(d.c, 128, 128, toRed ? red : white, toRed ? white : red));
        toRed = !toRed;
    }
}
BENCHMARK(BM_FloodFill256)->Unit(benchmark::kMillisecond);

// One mouse move of a size-7 round brush: the stamps along the segment of the move.
void BM_BrushMove(benchmark::State& state)
{
    Document d;
    const glimt::TBrushMasks masks;
    const QImage& mask = masks.Mask(0, glimt::kShapeRound, 7);
    int step = 0;
    for (auto _ : state) {
        const int x = 20 + (step % 200);
        Tline line;
        line.X1 = x;
        line.Y1 = 40 + step % 7;
        line.X2 = x + 1;
        line.Y2 = 40 + (step + 3) % 7;
        line.Rasterize();
        QRect dirty;
        for (const QPoint& p : line.Points)
            dirty |= TmyPainter::StampMask(d.c, p.x() - 3, p.y() - 3, mask);
        benchmark::DoNotOptimize(dirty);
        ++step;
    }
}
BENCHMARK(BM_BrushMove)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
