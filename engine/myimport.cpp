#include "engine/myimport.h"

#include "engine/BmpCodec.h"
#include "engine/Errors.h"
#include "engine/GifCodec.h"
#include "engine/GifFrames.h"
#include "engine/JpegCodec.h"
#include "engine/MyIcoIO.h"
#include "engine/MyIcon.h"
#include "engine/PngCodec.h"
#include "engine/Prompts.h"
#include "engine/SafeFile.h"
#include "engine/Settings.h"
#include "engine/myUndo.h"
#include "engine/language.h"
#include "engine/myadjustments.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

namespace {

using glimt::BitmapAlpha;
using glimt::PictureBitmap;

// Copies `src` into `dst` with its top-left corner at (left, top), clipped to `dst`.
void CopyClipped(const TmyImage& src, TmyImage& dst, int left, int top)
{
    const int x0 = std::max(0, -left), y0 = std::max(0, -top);
    const int x1 = std::min(src.Width(), dst.Width() - left), y1 = std::min(src.Height(), dst.Height() - top);
    for (int y = y0; y < y1; ++y)
        std::copy(src.Row(y) + x0, src.Row(y) + x1, dst.Row(y + top) + left + x0);
}

// The pixels with the alpha rule of their kind applied: the bitmap's own pixels when the rule
// changes nothing, else `settled`, filled with the changed copy.
const TmyImage& SettleAlpha(const PictureBitmap& bitmap, std::optional<TmyImage>& settled)
{
    const TmyImage& pixels = bitmap.Pixels;
    const TmyPixel* begin = pixels.Data();
    const TmyPixel* end = begin + pixels.PixelCount();
    bool opaque = bitmap.Alpha == BitmapAlpha::Opaque;
    if (bitmap.Alpha == BitmapAlpha::FourthByte)
        opaque = std::none_of(begin, end, [](const TmyPixel& p) { return p.A != 0; });
    if (!opaque || std::all_of(begin, end, [](const TmyPixel& p) { return p.A == 255; }))
        return pixels;
    settled = pixels;
    for (std::size_t i = 0; i < settled->PixelCount(); ++i)
        settled->Data()[i].A = 255;
    return *settled;
}

// The too-big action: 0 resize, 1 crop; the question is asked when the settings say so.
int TooBigAction()
{
    const int action = Options().ClipboardAction;
    return action == 2 ? glimt::Prompts().AskImageTooBig() : action;
}

// The Square step shared by the file importers; returns the target size it leaves.
void ApplySquare(bool square, const TmyImage& picture, TmyImagePal& image)
{
    if (!square)
        return;
    int side = 0;
    TmyImport::SquareCanvasSize(picture.Width(), picture.Height(), side, image.Width());
    image.SetSize(side, side);
}

bool PlaceFromFile(const PictureBitmap& bitmap, TmyImagePal& image, bool square)
{
    ApplySquare(square, bitmap.Pixels, image);
    TmyImport::BitmapToImage(bitmap, image, image.Height(), image.Width());
    return true;
}

// Runs an importer body; every failure of reading, decoding or placing becomes false.
template <typename F>
bool Catching(F&& body)
{
    try {
        return body();
    } catch (const std::exception&) {
        return false;
    }
}

QByteArray Read(const QString& fileName)
{
    return glimt::ReadWholeFile(fileName);
}

const std::uint8_t* Bytes(const QByteArray& b)
{
    return reinterpret_cast<const std::uint8_t*>(b.constData());
}

} // namespace

void TmyImport::BitmapToImage(const PictureBitmap& bitmap, TmyImagePal& image, int TargetHeight, int TargetWidth)
{
    glimt::BusyGuard busy;
    std::optional<TmyImage> settled;
    const TmyImage& pixels = SettleAlpha(bitmap, settled);
    if (pixels.Height() > TargetHeight || pixels.Width() > TargetWidth) {
        if (TooBigAction() == 1) {
            CropBitmapToImage(pixels, image, TargetWidth, TargetHeight);
        } else {
            image.SetSize(TargetHeight, TargetWidth);
            ResampleBitmapToImage(pixels, image);
        }
    } else {
        if (image.Width() == 1 && image.Height() == 1)
            image.SetSize(pixels.Height(), pixels.Width());
        // A target larger than the image would put parts of the picture outside it: those
        // parts are dropped rather than written past the image.
        CopyClipped(pixels, image, (image.Width() - pixels.Width()) / 2, (image.Height() - pixels.Height()) / 2);
    }
    // The depth is the caller's to change, but an image below 32 bits never holds partial
    // alpha (a PNG's tRNS, say).
    image.CutAlphaToDepth();
}

void TmyImport::PasteImageToImage(const TmyImagePal& source, TmyImagePal& image, int TargetHeight, int TargetWidth)
{
    glimt::BusyGuard busy;
    if (source.Height() > TargetHeight || source.Width() > TargetWidth) {
        TargetHeight = std::min(TargetHeight, source.Height());
        TargetWidth = std::min(TargetWidth, source.Width());
        if (TooBigAction() == 1) {
            CropImageToImage(source, image, TargetWidth, TargetHeight);
        } else {
            image.Assign(source);
            TmyAdjustments::ResizeImage(image, TargetWidth, TargetHeight);
        }
        return;
    }
    image.Assign(source);
}

void TmyImport::ResampleBitmapToImage(const TmyImage& bitmap, TmyImagePal& image)
{
    glimt::BusyGuard busy;
    int left = 0, top = 0, w = image.Width(), h = image.Height();
    if (Options().KeepAspectRatio) {
        // 64-bit products, and never an area of less than one pixel.
        const std::int64_t fitH = std::int64_t(bitmap.Height()) * image.Width() / bitmap.Width();
        if (fitH <= image.Height()) {
            h = int(std::max<std::int64_t>(1, fitH));
            top = (image.Height() - h) / 2;
        } else {
            w = int(std::max<std::int64_t>(1, std::int64_t(bitmap.Width()) * image.Height() / bitmap.Height()));
            left = (image.Width() - w) / 2;
        }
    }
    TmyImage area(h, w);
    TmyAdjustments::ResampleArea(bitmap, area);
    CopyClipped(area, image, left, top);
}

void TmyImport::CropBitmapToImage(const TmyImage& bitmap, TmyImagePal& image, int Width, int Height)
{
    image.SetSize(Height, Width);
    const int cw = std::min(bitmap.Width(), Width), ch = std::min(bitmap.Height(), Height);
    const int left = (Width - cw) / 2, top = (Height - ch) / 2;
    for (int y = 0; y < ch; ++y)
        std::copy(bitmap.Row(y), bitmap.Row(y) + cw, image.Row(top + y) + left);
}

void TmyImport::CropImageToImage(const TmyImagePal& source, TmyImagePal& image, int Width, int Height)
{
    image.SetSize(Height, Width);
    const int cw = std::min(source.Width(), Width), ch = std::min(source.Height(), Height);
    for (int y = 0; y < ch; ++y)
        std::copy(source.Row(y), source.Row(y) + cw, image.Row(y));
}

void TmyImport::SquareCanvasSize(int width, int height, int& side, int canvasWidth)
{
    side = std::min(std::max(width, height), canvasWidth);
}

bool TmyImport::ImportBmp(const QString& FileName, TmyImagePal& image, int, int, bool Square)
{
    return Catching([&] {
        const QByteArray bytes = Read(FileName);
        glimt::BmpPicture bmp = glimt::DecodeBmp(Bytes(bytes), std::size_t(bytes.size()));
        const BitmapAlpha alpha = bmp.BitCount == 32 ? BitmapAlpha::FourthByte : BitmapAlpha::Opaque;
        return PlaceFromFile({std::move(bmp.Pixels), alpha}, image, Square);
    });
}

bool TmyImport::ImportJpeg(const QString& FileName, TmyImagePal& image, int TargetHeight, int TargetWidth, bool Square)
{
    glimt::BusyGuard busy;
    return Catching([&] {
        const QByteArray bytes = Read(FileName);
        // When a large picture is going to be resized anyway, the DCT scales it down first,
        // as far as it stays at least the target's size; the area averaging does the rest.
        int minW = 0, minH = 0;
        if (Options().ClipboardAction == 0) {
            minW = Square ? image.Width() : TargetWidth;
            minH = Square ? image.Width() : TargetHeight;
        }
        PictureBitmap bitmap{glimt::DecodeJpeg(Bytes(bytes), std::size_t(bytes.size()), minW, minH), BitmapAlpha::Opaque};
        if (Square) {
            ApplySquare(true, bitmap.Pixels, image);
            TargetHeight = TargetWidth = image.Width();
        }
        BitmapToImage(bitmap, image, TargetHeight, TargetWidth);
        return true;
    });
}

bool TmyImport::ImportPng(const QString& FileName, TmyImagePal& image, int TargetHeight, int TargetWidth, bool Square)
{
    glimt::BusyGuard busy;
    return Catching([&] {
        const QByteArray bytes = Read(FileName);
        PictureBitmap bitmap{glimt::DecodePng(Bytes(bytes), std::size_t(bytes.size())), BitmapAlpha::Straight};
        for (std::size_t i = 0; i < bitmap.Pixels.PixelCount(); ++i)
            if (bitmap.Pixels.Data()[i].A == 0)
                bitmap.Pixels.Data()[i] = TmyPixel{};
        if (Square) {
            ApplySquare(true, bitmap.Pixels, image);
            TargetHeight = TargetWidth = image.Width();
        }
        BitmapToImage(bitmap, image, TargetHeight, TargetWidth);
        return true;
    });
}

bool TmyImport::ImportGif(TmyImagePal& image, const QString& FileName, bool Square)
{
    return Catching([&] {
        const QByteArray bytes = Read(FileName);
        const glimt::GifPicture gif = glimt::DecodeGif(Bytes(bytes), std::size_t(bytes.size()));
        PictureBitmap bitmap{TmyImage(gif.ScreenHeight, gif.ScreenWidth), BitmapAlpha::Straight};
        bitmap.Pixels.Fill(TmyPixel::CreateRGBA(255, 255, 255, 0));
        glimt::ComposeGifFrame(bitmap.Pixels, gif, 0);
        return PlaceFromFile(bitmap, image, Square);
    });
}

bool TmyImport::ImportIcon(const QString& FileName, TmyImagePal& image, bool Square)
{
    return Catching([&] {
        std::unique_ptr<TmyIcon> icon;
        TmyIcoIO reader(true);
        if (!reader.LoadFromFile(icon, FileName) || !icon || icon->Count() == 0)
            return false;
        return PlaceFromFile({icon->Image(0), BitmapAlpha::Straight}, image, Square);
    });
}

int TmyImport::ImportGifFrames(const QString& FileName, const TmyImagePal& image, int BitDepth)
{
    return glimt::Prompts().PickGifFrames(FileName, image.Width(), image.Height(), BitDepth) ? 0 : 2;
}

namespace {

QImage GrabPrimaryScreen(int left, int top, int width, int height)
{
    QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? screen->grabWindow(0, left, top, width, height).toImage() : QImage();
}

glimt::ScreenGrabber g_grabber = nullptr;

} // namespace

glimt::ScreenGrabber glimt::SetScreenGrabber(ScreenGrabber grabber)
{
    const ScreenGrabber previous = g_grabber;
    g_grabber = grabber;
    return previous;
}

TmyImage TmyImport::GrabScreenRect(int Top, int Left, int Height, int Width)
{
    const QImage grab = Width < 1 || Height < 1 ? QImage() : (g_grabber ? g_grabber : GrabPrimaryScreen)(Left, Top, Width, Height);
    if (grab.isNull())
        throw glimt::Error(glimt::Msg("msgNoCapture", "The screen could not be captured!"));
    TmyImage out(Height, Width);
    out.Fill(TmyPixel::CreateRGBA(0, 0, 0, 255));
    CopyClipped(TmyImage::FromQImage(grab.convertToFormat(QImage::Format_RGB32)), out, 0, 0);
    for (std::size_t i = 0; i < out.PixelCount(); ++i)
        out.Data()[i].A = 255;
    return out;
}

void TmyImport::CaptureScreen(TmyImagePal& image, int Top, int Left, int Width, int Height)
{
    glimt::BusyGuard busy;
    PictureBitmap grab{GrabScreenRect(Top, Left, Height, Width), BitmapAlpha::FourthByte};
    BitmapToImage(grab, image, image.Height(), image.Width());
}
