#include "engine/GifFrames.h"

#include <algorithm>
#include <stdexcept>

namespace glimt {

namespace {

// The part of the frame's rectangle that lies on the bitmap, in bitmap coordinates.
struct Clip {
    int x0, y0, x1, y1; // x1, y1 exclusive
};

Clip ClipFrame(const TmyImage& bitmap, const GifFrame& f)
{
    Clip c;
    c.x0 = std::clamp(f.Left, 0, bitmap.Width());
    c.y0 = std::clamp(f.Top, 0, bitmap.Height());
    c.x1 = int(std::clamp<std::int64_t>(std::int64_t(f.Left) + f.Width, c.x0, bitmap.Width()));
    c.y1 = int(std::clamp<std::int64_t>(std::int64_t(f.Top) + f.Height, c.y0, bitmap.Height()));
    return c;
}

} // namespace

void ComposeGifFrame(TmyImage& bitmap, const GifPicture& gif, int frameIndex)
{
    if (frameIndex < 0 || std::size_t(frameIndex) >= gif.Frames.size())
        throw std::out_of_range("GIF frame index");
    const GifFrame& f = gif.Frames[std::size_t(frameIndex)];
    if (f.Indices.size() != std::size_t(f.Width) * std::size_t(f.Height))
        return;
    const Clip c = ClipFrame(bitmap, f);
    for (int y = c.y0; y < c.y1; ++y) {
        const std::uint8_t* src = f.Indices.data() + std::size_t(y - f.Top) * std::size_t(f.Width);
        TmyPixel* dst = bitmap.Row(y);
        for (int x = c.x0; x < c.x1; ++x) {
            const int index = src[x - f.Left];
            if (index == f.TransparentIndex || std::size_t(index) >= f.Colors.size())
                continue;
            const TmyPixel& colour = f.Colors[std::size_t(index)];
            dst[x] = TmyPixel::CreateRGBA(colour.R, colour.G, colour.B, 255);
        }
    }
}

TmyImage ComposeGifFrames(const GifPicture& gif, int frameIndex, bool overimpose)
{
    if (frameIndex < 0 || std::size_t(frameIndex) >= gif.Frames.size())
        throw std::out_of_range("GIF frame index");
    TmyImage bitmap(gif.ScreenHeight, gif.ScreenWidth);
    if (!overimpose) {
        ComposeGifFrame(bitmap, gif, frameIndex);
        return bitmap;
    }
    TmyImage previous;
    for (int k = 0; k <= frameIndex; ++k) {
        const GifFrame& f = gif.Frames[std::size_t(k)];
        const bool last = k == frameIndex;
        if (!last && f.Disposal == 3)
            previous = bitmap;
        ComposeGifFrame(bitmap, gif, k);
        if (last)
            break;
        if (f.Disposal == 2) {
            const Clip c = ClipFrame(bitmap, f);
            for (int y = c.y0; y < c.y1; ++y)
                std::fill(bitmap.Row(y) + c.x0, bitmap.Row(y) + c.x1, TmyPixel{});
        } else if (f.Disposal == 3) {
            bitmap = previous;
        }
    }
    return bitmap;
}

} // namespace glimt
