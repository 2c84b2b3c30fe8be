#include "engine/myselection.h"

#include "engine/MyPainter.h"
#include "engine/Settings.h"
#include "engine/myadjustments.h"

#include <algorithm>

bool tmyselection::GrabFrom(const TmyImagePal& image)
{
    const int left = std::max(std::min(Bounds.Left, Bounds.Right), 0);
    const int top = std::max(std::min(Bounds.Top, Bounds.Bottom), 0);
    const int right = std::min(std::max(Bounds.Left, Bounds.Right), image.Width());
    const int bottom = std::min(std::max(Bounds.Top, Bounds.Bottom), image.Height());
    if (right <= left || bottom <= top)
        return false;
    Bounds = {left, top, right, bottom};

    const int w = right - left;
    const int h = bottom - top;
    Image.SetSize(h, w);
    Image.BitDepth = 32;
    Image.Palette.reset();
    for (int y = 0; y < h; ++y)
        std::copy_n(image.Row(top + y) + left, w, Image.Row(y));
    OriginalImage = Image;
    return true;
}

void tmyselection::ResizeTo(int width, int height)
{
    Image = OriginalImage;
    TmyAdjustments::ResizeImage(Image, width, height);
}

void tmyselection::StampInto(int X, int Y, TmyImagePal& image) const
{
    const bool transparent = Options().TransparentSelection || !InFront;
    const bool binary = image.BitDepth < 32;
    for (int y = 0; y < Image.Height(); ++y) {
        const int ty = Y + y;
        if (ty < 0 || ty >= image.Height())
            continue;
        const TmyPixel* src = Image.Row(y);
        TmyPixel* dst = image.Row(ty);
        for (int x = 0; x < Image.Width(); ++x) {
            const int tx = X + x;
            if (tx < 0 || tx >= image.Width())
                continue;
            TmyPixel result = InFront ? src[x] : dst[tx];
            const TmyPixel& existing = InFront ? dst[tx] : src[x];
            if (transparent)
                TmyPainter::CompositePixel(result, existing, true);
            if (binary)
                result = glimt::CutAlphaBelow32(result);
            else if (result.A == 0)
                result.SetRGB(0, 0, 0);
            dst[tx] = result;
        }
    }
}
