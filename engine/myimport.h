#pragma once
#include "engine/MyImage.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

namespace glimt {

// What the fourth byte of a picture's pixels means when it reaches the placement policy.
enum class BitmapAlpha {
    // A picture of fewer than 32 bits: every pixel becomes opaque.
    Opaque,
    // A 32-bit bitmap whose fourth byte may be mere padding (bitmap files, the clipboard,
    // the screen): when every alpha byte is 0 the picture is opaque, else its alpha is kept.
    FourthByte,
    // Alpha that a decoder supplies (PNG, composed GIF frames, icon images): kept as it is,
    // so a fully transparent picture stays fully transparent.
    Straight,
};

// A picture on its way into an icon image: straight RGBA pixels and what their alpha means.
struct PictureBitmap {
    TmyImage Pixels;
    BitmapAlpha Alpha = BitmapAlpha::Opaque;
};

} // namespace glimt

// Bringing pictures into icon images and saving icon images as pictures. Plain routines
// without state. Every import ends in one placement policy (BitmapToImage): a picture larger
// than the target is resized or cropped as TOptions.ClipboardAction says (asking through
// glimt::Prompts() when it says to ask), a smaller one is centred, and a 1 x 1 placeholder
// image takes the picture's size. The target's BitDepth is never changed here; a target below
// 32 bits receives alpha 0 or 255 only (glimt::CutAlphaBelow32).
class TmyImport {
public:
    // Places a picture into `image` by the policy. TargetHeight x TargetWidth is the area the
    // picture must fit; callers pass the image's own size, or a 1 x 1 image and the size of the
    // area to fill. Nothing is ever written outside the image.
    static void BitmapToImage(const glimt::PictureBitmap& bitmap, TmyImagePal& image, int TargetHeight, int TargetWidth);
    // Places another image: a copy of it when it fits, else resized or cropped to the target.
    static void PasteImageToImage(const TmyImagePal& source, TmyImagePal& image, int TargetHeight, int TargetWidth);
    // Fills the image (or, with TOptions.KeepAspectRatio, a centred area of at least 1 x 1
    // with the picture's proportions) with the area-averaged picture; other pixels are kept.
    static void ResampleBitmapToImage(const TmyImage& bitmap, TmyImagePal& image);
    // The image becomes Height x Width, transparent, holding the picture's top-left part
    // centred.
    static void CropBitmapToImage(const TmyImage& bitmap, TmyImagePal& image, int Width, int Height);
    // The image becomes Height x Width holding the source's top-left part (not centred).
    static void CropImageToImage(const TmyImagePal& source, TmyImagePal& image, int Width, int Height);
    // side := min(max(width, height), canvasWidth).
    static void SquareCanvasSize(int width, int height, int& side, int canvasWidth);

    // The file importers: false when the file cannot be read or decoded (the image may then
    // have been resized by the Square step). With Square the image first becomes a square of
    // SquareCanvasSize(picture width, picture height, image width).
    static bool ImportBmp(const QString& FileName, TmyImagePal& image, int TargetHeight, int TargetWidth, bool Square);
    static bool ImportJpeg(const QString& FileName, TmyImagePal& image, int TargetHeight, int TargetWidth, bool Square);
    static bool ImportPng(const QString& FileName, TmyImagePal& image, int TargetHeight, int TargetWidth, bool Square);
    static bool ImportGif(TmyImagePal& image, const QString& FileName, bool Square);
    // The first image of an icon or cursor file, with the reader's messages shown.
    static bool ImportIcon(const QString& FileName, TmyImagePal& image, bool Square);
    // Lets the user choose frames of a GIF, each becoming a new document of the image's size
    // and the given depth: 0, or 2 when the frame picker could not run.
    static int ImportGifFrames(const QString& FileName, const TmyImagePal& image, int BitDepth);

    // The screen rectangle as an opaque picture; parts of it off the screen are black. Throws
    // glimt::Error ("msgNoCapture") when the screen gives no picture: no screen, or a session
    // that refuses to be read.
    static TmyImage GrabScreenRect(int Top, int Left, int Height, int Width);
    // Places the screen rectangle into the image, the image's own size being the target. Throws
    // as GrabScreenRect, leaving the image as it was.
    static void CaptureScreen(TmyImagePal& image, int Top, int Left, int Width, int Height);

    // The exporters. TOptions.ExportAlpha keeps transparency (BMP and PNG: alpha; GIF: a key
    // colour); without it, and always for JPEG, the image is flattened onto TOptions.PrevColor.
    // Each writes through a temporary and a rename, so a failure leaves an existing file as it
    // was; failures throw (glimt::Error, glimt::FileError).
    static void ExportBmp(const QString& FileName, const TmyImagePal& image);
    static void ExportJpeg(const QString& FileName, const TmyImagePal& image);
    static void ExportPng(const QString& FileName, const TmyImagePal& image);
    static void ExportGif(const QString& FileName, const TmyImagePal& image);
};

// True when some pixel of the picture is within 14 of (R, G, B) in every channel.
bool ColorPresent(const TmyImage& bitmap, std::uint8_t R, std::uint8_t G, std::uint8_t B);

namespace glimt {

// Reads a rectangle of the screen in screen pixels; a null image when the screen gives none.
using ScreenGrabber = QImage (*)(int left, int top, int width, int height);
// Installs what GrabScreenRect reads (null: the primary screen); returns the previous one.
// Tests install a screen that refuses.
ScreenGrabber SetScreenGrabber(ScreenGrabber grabber);

// The GIF an export writes, before it is encoded: colour indices, the colour table, and the
// transparent index (-1 for none). Exposed so that the reduction can be tested without a file.
struct GifExport {
    std::vector<std::uint8_t> Indices;
    std::vector<TmyPixel> Colors;
    int TransparentIndex = -1;
};
GifExport ReduceForGif(const TmyImagePal& image, bool exportAlpha, TColor background);

} // namespace glimt
