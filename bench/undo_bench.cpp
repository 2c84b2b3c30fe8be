// One undo snapshot of a 256 x 256 32-bit image, pushed onto a full history (the oldest
// snapshot is freed each time), as every stroke and command does before it changes the image.
#include "engine/myUndo.h"

#include <benchmark/benchmark.h>

namespace {

void BM_UndoPush(benchmark::State& state)
{
    TmyImagePal image(256, 256, 32);
    image.Fill(TmyPixel::CreateRGBA(10, 20, 30, 255));
    tmyUndo undo;
    for (int i = 0; i < tmyUndo::MaxSnapshots; ++i)
        undo.Push(image);
    for (auto _ : state) {
        undo.Push(image);
        benchmark::DoNotOptimize(undo.Position);
    }
}
BENCHMARK(BM_UndoPush)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
