// What users feel of the GIF frame picker: its tiles of an animation, and the import of one
// frame, for a small animation and for a tiny file that claims a 16384 x 16384 logical screen
// (three frames of one pixel). The tiles are made at their own size, so the second costs
// about what the first does; the import composes the whole screen once.
#include "editor/formFrames.h"
#include "editor/thumbnail.h"
#include "engine/GifFrames.h"
#include "engine/Settings.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

glimt::GifFrame Frame(int left, int top, int width, int height, std::uint8_t index, int disposal)
{
    glimt::GifFrame f;
    f.Left = left, f.Top = top, f.Width = width, f.Height = height;
    f.Indices.assign(std::size_t(width) * std::size_t(height), index);
    f.Colors = {TmyPixel::CreateRGBA(255, 0, 0, 255), TmyPixel::CreateRGBA(0, 255, 0, 255),
                TmyPixel::CreateRGBA(0, 0, 255, 255)};
    f.Disposal = disposal;
    return f;
}

glimt::GifPicture Animation(int screen, int frames, int side)
{
    glimt::GifPicture gif;
    gif.ScreenWidth = gif.ScreenHeight = screen;
    for (int k = 0; k < frames; ++k)
        gif.Frames.push_back(Frame(k % (screen - side + 1), 0, side, side, std::uint8_t(k % 3), 1 + k % 3));
    return gif;
}

void Tiles(benchmark::State& state, const glimt::GifPicture& gif)
{
    TThumbail view;
    view.SetThumbnailSize(150);
    for (auto _ : state) {
        view.LoadGifFrames(gif, true);
        benchmark::DoNotOptimize(view.Count());
    }
}

void BM_PickerTiles_24Frames200(benchmark::State& state)
{
    Tiles(state, Animation(200, 24, 120));
}
BENCHMARK(BM_PickerTiles_24Frames200)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PickerTiles_HugeScreen3Pixels(benchmark::State& state)
{
    Tiles(state, Animation(16384, 3, 1));
}
BENCHMARK(BM_PickerTiles_HugeScreen3Pixels)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportFrame_HugeScreen(benchmark::State& state)
{
    Options().ClipboardAction = 0; // a picture larger than the image is resized, not asked about
    const glimt::GifPicture gif = Animation(16384, 3, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(glimt::GifFrameImage(gif, 2, true, 48, 48, 32).Width());
}
BENCHMARK(BM_ImportFrame_HugeScreen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
