#include "engine/Myclipmngr.h"

#include "engine/Mypreview.h"
#include "engine/Prompts.h"
#include "engine/Settings.h"
#include "engine/myUndo.h"
#include "engine/myadjustments.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr TColor kWhite = 0xFFFFFF;

// What a picture larger than its target does: 0 resize, 1 crop (asking when the settings say
// so).
int TooBigAction()
{
    const int action = Options().ClipboardAction;
    return action == 2 ? glimt::Prompts().AskImageTooBig() : action;
}

// Copies the w x h top-left part of `source` into `target` at (X, Y), skipping what falls
// outside the target.
void CopyPart(const TmyImage& source, int w, int h, TmyImage& target, int X, int Y)
{
    for (int y = 0; y < h; ++y) {
        const int ty = Y + y;
        if (ty < 0 || ty >= target.Height())
            continue;
        for (int x = 0; x < w; ++x) {
            const int tx = X + x;
            if (tx >= 0 && tx < target.Width())
                target.Pixel(tx, ty) = source.Pixel(x, y);
        }
    }
}

// The picture resampled into the whole image, or with TOptions.KeepAspectRatio into the
// largest centred area of the picture's proportions; pixels outside that area are kept.
void ResampleIntoImage(const TmyImage& picture, TmyImage& image)
{
    int x0 = 0, y0 = 0, w = image.Width(), h = image.Height();
    if (Options().KeepAspectRatio) {
        const std::int64_t fitH = std::int64_t(picture.Height()) * image.Width() / picture.Width();
        if (fitH <= image.Height()) {
            h = int(std::max<std::int64_t>(fitH, 1));
            y0 = (image.Height() - h) / 2;
        } else {
            w = int(std::max<std::int64_t>(std::int64_t(picture.Width()) * image.Height() / picture.Height(), 1));
            x0 = (image.Width() - w) / 2;
        }
    }
    TmyImage area(h, w);
    TmyAdjustments::ResampleArea(picture, area);
    CopyPart(area, w, h, image, x0, y0);
}

// Our own copy placed into the image: as it is when it fits the target, else cut to its
// top-left part or resized to the target's size.
void PlaceImage(const TmyImagePal& source, TmyImagePal& image, int targetHeight, int targetWidth)
{
    glimt::BusyGuard busy;
    if (source.Height() <= targetHeight && source.Width() <= targetWidth) {
        image = source;
        return;
    }
    targetHeight = std::max(std::min(targetHeight, source.Height()), 1);
    targetWidth = std::max(std::min(targetWidth, source.Width()), 1);
    if (TooBigAction() == 1) {
        image.SetSize(targetHeight, targetWidth);
        CopyPart(source, targetWidth, targetHeight, image, 0, 0);
    } else {
        image = source;
        TmyAdjustments::ResizeImage(image, targetWidth, targetHeight);
    }
}

// A picture from elsewhere placed into the image. Without alpha (or with every alpha byte 0)
// it comes in opaque. Larger than the target, it is cropped (its top-left part, centred) or
// resampled into the target's size; else a 1 x 1 image takes its size and it is centred.
void PlaceBitmap(const QImage& bitmap, TmyImagePal& image, int targetHeight, int targetWidth)
{
    glimt::BusyGuard busy;
    TmyImage picture = TmyImage::FromQImage(bitmap.convertToFormat(QImage::Format_RGBA8888));
    const bool anyAlpha = bitmap.hasAlphaChannel()
        && std::any_of(picture.Data(), picture.Data() + picture.PixelCount(), [](const TmyPixel& p) { return p.A != 0; });
    if (!anyAlpha)
        for (std::size_t i = 0; i < picture.PixelCount(); ++i)
            picture.Data()[i].A = 255;

    const int bw = picture.Width();
    const int bh = picture.Height();
    targetHeight = std::max(targetHeight, 1);
    targetWidth = std::max(targetWidth, 1);
    if (bh > targetHeight || bw > targetWidth) {
        image.SetSize(targetHeight, targetWidth);
        if (TooBigAction() == 1) {
            const int cw = std::min(bw, targetWidth);
            const int ch = std::min(bh, targetHeight);
            CopyPart(picture, cw, ch, image, (targetWidth - cw) / 2, (targetHeight - ch) / 2);
        } else {
            ResampleIntoImage(picture, image);
        }
        return;
    }
    if (image.Width() == 1 && image.Height() == 1)
        image.SetSize(bh, bw);
    CopyPart(picture, bw, bh, image, (image.Width() - bw) / 2, (image.Height() - bh) / 2);
}

QImage OverWhite(const TmyImagePal& image)
{
    QImage picture;
    TmyPreview::RenderToImage(image, picture, kWhite);
    return picture;
}

} // namespace

void tmyClipMngr::CopyImage(const TmyImagePal& image)
{
    OwnCopy = image;
    m_clipboard.SetBitmap(OverWhite(OwnCopy));
}

bool tmyClipMngr::PasteImage(TmyImagePal& image, TmyImagePal& original, int TargetHeight, int TargetWidth)
{
    if (!m_clipboard.HasBitmap())
        return false;
    const QImage bitmap = m_clipboard.Bitmap();
    // A picture no image can hold is refused before any copy of it is made.
    if (bitmap.isNull() || std::int64_t(bitmap.width()) * bitmap.height() > TmyImage::MaxPixels)
        return false;
    // Placing keeps the target's depth; at 32 bits our own copy keeps its alpha through it.
    image.BitDepth = 32;
    image.Palette.reset();
    if (SameAsOwnCopy(bitmap, OverWhite(OwnCopy))) {
        PlaceImage(OwnCopy, image, TargetHeight, TargetWidth);
    } else {
        image.SetSize(1, 1);
        PlaceBitmap(bitmap, image, TargetHeight, TargetWidth);
        image.Palette.reset();
    }
    original = image;
    return true;
}

bool tmyClipMngr::SameAsOwnCopy(const QImage& bitmap, const QImage& graphic)
{
    if (bitmap.height() != graphic.height() || bitmap.width() != graphic.width())
        return false;
    // Both pass through the same colour format before they are compared.
    const QImage a = bitmap.convertToFormat(QImage::Format_RGB32);
    const QImage b = graphic.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if ((ra[x] & 0xFFFFFF) != (rb[x] & 0xFFFFFF))
                return false;
    }
    return true;
}
