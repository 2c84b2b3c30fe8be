#include "engine/Mypreview.h"

#include "engine/MyPainter.h"
#include "engine/Settings.h"

#include <QImage>

#include <cstring>

namespace {

void SetPicturePixel(QImage& picture, int x, int y, TColor color)
{
    if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height())
        return;
    picture.setPixel(x, y, qRgb(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)));
}

void PrepareRgb888(QImage& picture, int width, int height)
{
    if (picture.width() != width || picture.height() != height || picture.format() != QImage::Format_RGB888)
        picture = QImage(width, height, QImage::Format_RGB888);
}

void PutRgb(std::uint8_t* out, TColor color)
{
    out[0] = std::uint8_t(color & 0xFF);
    out[1] = std::uint8_t((color >> 8) & 0xFF);
    out[2] = std::uint8_t((color >> 16) & 0xFF);
}

void PutBlended(std::uint8_t* out, TColor background, const TmyPixel& p)
{
    const std::uint8_t a = std::uint8_t(255 - p.A);
    out[0] = TmyPainter::LerpChannel(std::uint8_t(background & 0xFF), p.R, a);
    out[1] = TmyPainter::LerpChannel(std::uint8_t((background >> 8) & 0xFF), p.G, a);
    out[2] = TmyPainter::LerpChannel(std::uint8_t((background >> 16) & 0xFF), p.B, a);
}

} // namespace

namespace TmyPreview {

void DrawBlendedPixel(int x, int y, QImage& picture, const TmyPixel& pixel)
{
    const TColor background = Options().PrevColor;
    SetPicturePixel(picture, x, y,
        pixel.A == 0 ? background : TmyPainter::BlendOverBackground(TmyPixel::CreateColor(background), pixel));
}

void DrawPalettePixel(int x, int y, QImage& picture, const TmyPixel& pixel)
{
    SetPicturePixel(picture, x, y, pixel.A == 0 ? Options().PrevColor : pixel.GetColor());
}

void PreviewPixel(int x, int y, QImage& picture, bool Is32Bit, const TmyPixel& pixel)
{
    if (Is32Bit)
        DrawBlendedPixel(x, y, picture, pixel);
    else
        DrawPalettePixel(x, y, picture, pixel);
}

void RenderToImage(const TmyImagePal& image, QImage& picture, TColor background)
{
    PrepareRgb888(picture, image.Width(), image.Height());
    const bool blend = image.BitDepth == 32;
    for (int y = 0; y < image.Height(); ++y) {
        const TmyPixel* src = image.Row(y);
        std::uint8_t* out = picture.scanLine(y);
        for (int x = 0; x < image.Width(); ++x, out += 3) {
            const TmyPixel& p = src[x];
            if (p.A == 0)
                PutRgb(out, background);
            else if (blend)
                PutBlended(out, background, p);
            else
                PutRgb(out, p.GetColor());
        }
    }
}

} // namespace TmyPreview

namespace glimt {

void RenderOverCheckerboard(const TmyImagePal& image, QImage& picture, int zoom)
{
    if (zoom < 1)
        zoom = 1;
    const int width = image.Width() * zoom;
    const int height = image.Height() * zoom;
    PrepareRgb888(picture, width, height);
    const Checkerboard board = Checkerboard::FromOptions();
    const bool blend = image.BitDepth == 32;
    for (int py = 0; py < height; ++py) {
        const TmyPixel* src = image.Row(py / zoom);
        std::uint8_t* out = picture.scanLine(py);
        for (int px = 0; px < width; ++px, out += 3) {
            const TmyPixel& p = src[px / zoom];
            if (blend ? p.A == 255 : p.A != 0)
                PutRgb(out, p.GetColor());
            else if (blend)
                PutBlended(out, board.ColorAt(px, py), p);
            else
                PutRgb(out, board.ColorAt(px, py));
        }
    }
}

} // namespace glimt
