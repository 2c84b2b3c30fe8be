#include "engine/Myclipmngr.h"

#include "engine/Mypreview.h"
#include "engine/myimport.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr TColor kWhite = 0xFFFFFF;

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
    TargetHeight = std::max(TargetHeight, 1);
    TargetWidth = std::max(TargetWidth, 1);
    // Placing keeps the target's depth; at 32 bits our own copy keeps its alpha through it.
    image.BitDepth = 32;
    image.Palette.reset();
    if (SameAsOwnCopy(bitmap, OverWhite(OwnCopy))) {
        TmyImport::PasteImageToImage(OwnCopy, image, TargetHeight, TargetWidth);
    } else {
        image.SetSize(1, 1);
        const glimt::BitmapAlpha alpha = bitmap.hasAlphaChannel() ? glimt::BitmapAlpha::FourthByte : glimt::BitmapAlpha::Opaque;
        TmyImport::BitmapToImage({TmyImage::FromQImage(bitmap), alpha}, image, TargetHeight, TargetWidth);
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
