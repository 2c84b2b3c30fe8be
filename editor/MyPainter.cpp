#include "editor/MyPainter.h"

#include "editor/ShapeRaster.h"
#include "engine/MyFilter.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace glimt {

namespace {
// Indexes of the Blur and Sharpen presets.
constexpr int kBlurPreset = 4;
constexpr int kSharpenPreset = 8;
} // namespace

TmyPixel BlurSharpenCell(const TmyImage& source, int x, int y, bool sharpen, bool filterOnAlpha)
{
    return TmyFilter::FilterPixel(x, y, source, FilterPresets[sharpen ? kSharpenPreset : kBlurPreset], filterOnAlpha);
}

} // namespace glimt

namespace TmyPainter {

namespace {

QRect Cell(int x, int y)
{
    return QRect(x, y, 1, 1);
}

bool InStroke(const TPaintContext& c)
{
    return c.Image && c.StrokeBackup && c.StrokeBackup->Width() == c.Image->Width()
        && c.StrokeBackup->Height() == c.Image->Height();
}

// Alpha cut of the 24-bit images: 128 and below is transparent.
void CutAlpha24(TmyPixel& v)
{
    v.A = v.A <= 128 ? 0 : 255;
}

void BlackWhenTransparent(TmyPixel& v)
{
    if (v.A == 0)
        v = TmyPixel::Create();
}

// A mask as RGB32 rows, whatever format it came in.
QImage AsRgb32(const QImage& mask)
{
    return mask.format() == QImage::Format_RGB32 || mask.format() == QImage::Format_ARGB32
               ? mask
               : mask.convertToFormat(QImage::Format_RGB32);
}

// Walks the mask pixels of a stamp with the soft-edge rule: visit(x, y, red, green, mode) for
// every pixel whose red or green is below 200.
template <class Visit>
void ForStampPixels(const TPaintContext& c, const QImage& mask, Visit visit)
{
    const QImage m = AsRgb32(mask);
    const int w = m.width();
    const int h = m.height();
    auto at = [&m](int j, int i) { return reinterpret_cast<const QRgb*>(m.constScanLine(i))[j]; };
    auto painted200 = [&](int j, int i) {
        const QRgb p = at(j, i);
        return qRed(p) <= 200 || qGreen(p) <= 200;
    };
    for (int i = 0; i < h; ++i) {
        for (int j = 0; j < w; ++j) {
            const QRgb p = at(j, i);
            const bool red = qRed(p) < 200;
            const bool green = qGreen(p) < 200;
            if (!red && !green)
                continue;
            int mode = glimt::kModeNormal;
            if (c.SmoothEdges) {
                const bool inner = i > 0 && j > 0 && i < h - 1 && j < w - 1 && painted200(j, i - 1)
                                && painted200(j, i + 1) && painted200(j - 1, i) && painted200(j + 1, i);
                if (!inner) {
                    if (red)
                        mode = c.ForeColor.A != 0 ? glimt::kModeSoftOpaque : glimt::kModeSoftTransparent;
                    if (green)
                        mode = c.BackColor.A != 0 ? glimt::kModeSoftOpaque : glimt::kModeSoftTransparent;
                }
            }
            visit(j, i, red, green, mode);
        }
    }
}

// A stamp written through `put` (PutPixel or PutSelectionPixel).
template <class Put>
QRect StampWith(const TPaintContext& c, int X, int Y, const QImage& mask, Put put)
{
    QRect dirty;
    ForStampPixels(c, mask, [&](int j, int i, bool red, bool green, int mode) {
        if (red)
            dirty |= put(c, X + j, Y + i, c.ForeColor, mode);
        if (green)
            dirty |= put(c, X + j, Y + i, c.BackColor, mode);
    });
    return dirty;
}

// Walks the mask pixels whose red or green channel is exactly 0.
template <class Visit>
void ForExactPixels(const QImage& mask, Visit visit)
{
    const QImage m = AsRgb32(mask);
    for (int i = 0; i < m.height(); ++i) {
        const QRgb* row = reinterpret_cast<const QRgb*>(m.constScanLine(i));
        for (int j = 0; j < m.width(); ++j) {
            const bool red = qRed(row[j]) == 0;
            const bool green = qGreen(row[j]) == 0;
            if (red || green)
                visit(j, i, red, green);
        }
    }
}

// The box of canvas pixels that hugs the outer edges of the cells from (X1, Y1) to (X2, Y2).
glimt::TShapeSpec CanvasBox(int zoom, int X1, int Y1, int X2, int Y2, glimt::TShapeKind kind)
{
    glimt::IncludeEndCell(X1, Y1, X2, Y2);
    glimt::TShapeSpec s;
    s.Left = X1 * zoom;
    s.Top = Y1 * zoom;
    s.Right = X2 * zoom;
    s.Bottom = Y2 * zoom;
    s.Kind = kind;
    return s;
}

} // namespace

QRect PutPixel(const TPaintContext& c, int X, int Y, const TmyPixel& Pixel, int Mode)
{
    if (!InStroke(c) || !c.Image->Contains(X, Y))
        return {};
    TmyPixel& P = c.Image->Pixel(X, Y);
    const TmyPixel& S = c.StrokeBackup->Pixel(X, Y);
    TmyPixel V = Pixel;
    if (c.Image->BitDepth < 24) {
        if (V.A != 0)
            V.A = 255;
        BlackWhenTransparent(V);
        if (V == P)
            return {};
        P = V;
        return Cell(X, Y);
    }
    if (Mode == glimt::kModeSoftTransparent) {
        V = S;
        V.A = std::uint8_t(V.A - V.A * 70 / 100);
    } else {
        if (Mode == glimt::kModeSoftOpaque)
            V.A = std::uint8_t(V.A - V.A * 30 / 100);
        CompositePixel(V, S, false);
    }
    if (c.Image->BitDepth == 24)
        CutAlpha24(V);
    BlackWhenTransparent(V);
    if ((P == S || Mode == glimt::kModeNormal) && V != P) {
        P = V;
        return Cell(X, Y);
    }
    return {};
}

QRect PutPixelRaw(const TPaintContext& c, int X, int Y, const TmyPixel& Pixel)
{
    if (!InStroke(c) || !c.Image->Contains(X, Y))
        return {};
    TmyPixel V = Pixel;
    if (c.Image->BitDepth != 32)
        V.A = V.A >= 128 ? 255 : 0;
    BlackWhenTransparent(V);
    c.Image->Pixel(X, Y) = V;
    return Cell(X, Y);
}

QRect PutSelectionPixel(const TPaintContext& c, int X, int Y, const TmyPixel& Pixel, int Mode)
{
    if (!c.Selection || !c.Selection->Contains(X, Y))
        return {};
    TmyPixel V = Pixel;
    if (c.Selection->BitDepth < 24) {
        if (V.A != 0)
            V.A = 255;
    } else {
        if (Mode == glimt::kModeSoftTransparent)
            V = TmyPixel::Create();
        else if (Mode == glimt::kModeSoftOpaque)
            V.A = std::uint8_t(V.A - V.A * 30 / 100);
        if (c.Selection->BitDepth == 24)
            CutAlpha24(V);
    }
    BlackWhenTransparent(V);
    c.Selection->Pixel(X, Y) = V;
    return Cell(X, Y);
}

TmyPixel GetPixelCopy(const TPaintContext& c, int X, int Y)
{
    return c.Image && c.Image->Contains(X, Y) ? c.Image->Pixel(X, Y) : TmyPixel::Create();
}

QRect ReplaceIfEqual(const TPaintContext& c, int X, int Y, const TmyPixel& Colour, const TmyPixel& Match)
{
    if (!c.Image || !c.Image->Contains(X, Y) || c.Image->Pixel(X, Y) != Match)
        return {};
    return PutPixel(c, X, Y, Colour, glimt::kModeNormal);
}

QRect FloodFill(const TPaintContext& c, int X, int Y, const TmyPixel& Fill, const TmyPixel& Target)
{
    if (!InStroke(c) || !c.Image->Contains(X, Y))
        return {};
    TmyImagePal& image = *c.Image;
    const int w = image.Width();
    const int h = image.Height();
    // The value PutPixelRaw would write, worked out once for the whole region.
    TmyPixel value = Fill;
    if (image.BitDepth != 32)
        value.A = value.A >= 128 ? 255 : 0;
    BlackWhenTransparent(value);

    // Visited cells are marked, so that a region whose written value still equals Target
    // ends all the same.
    std::vector<std::uint8_t> visited(image.PixelCount(), 0);
    auto open = [&](int x, int y) {
        const TmyPixel& p = image.Pixel(x, y);
        return !visited[std::size_t(y) * std::size_t(w) + std::size_t(x)] && p == Target && p != Fill;
    };
    int left = X, right = X, top = Y, bottom = Y;
    // Runs of a row, filled whole; seeds on an explicit stack, since a region can hold every
    // cell of the image. The order of the writes does not change the result.
    std::vector<QPoint> seeds{QPoint(X, Y)};
    bool wrote = false;
    while (!seeds.empty()) {
        const QPoint seed = seeds.back();
        seeds.pop_back();
        const int y = seed.y();
        if (!open(seed.x(), y))
            continue;
        int x0 = seed.x();
        int x1 = seed.x();
        while (x0 > 0 && open(x0 - 1, y))
            --x0;
        while (x1 < w - 1 && open(x1 + 1, y))
            ++x1;
        TmyPixel* row = image.Row(y);
        std::uint8_t* seen = visited.data() + std::size_t(y) * std::size_t(w);
        for (int x = x0; x <= x1; ++x) {
            seen[x] = 1;
            row[x] = value;
        }
        wrote = true;
        left = std::min(left, x0);
        right = std::max(right, x1);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
        for (const int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            for (int x = x0; x <= x1; ++x)
                if (open(x, ny) && (x == x0 || !open(x - 1, ny)))
                    seeds.push_back(QPoint(x, ny));
        }
    }
    return wrote ? QRect(QPoint(left, top), QPoint(right, bottom)) : QRect();
}

QRect StampMask(const TPaintContext& c, int X, int Y, const QImage& Mask)
{
    if (!InStroke(c))
        return {};
    return StampWith(c, X, Y, Mask, PutPixel);
}

QRect StampMaskToSelection(const TPaintContext& c, int X, int Y, const QImage& Mask)
{
    if (!c.Selection)
        return {};
    return StampWith(c, X, Y, Mask, PutSelectionPixel);
}

QRect BrightenMask(const TPaintContext& c, int X, int Y, const QImage& Mask)
{
    QRect dirty;
    if (!InStroke(c))
        return dirty;
    auto shift = [&](int x, int y, int delta) {
        if (!c.Image->Contains(x, y))
            return;
        TmyPixel w = c.Image->Pixel(x, y);
        w.R = std::uint8_t(std::clamp(w.R + delta, 0, 255));
        w.G = std::uint8_t(std::clamp(w.G + delta, 0, 255));
        w.B = std::uint8_t(std::clamp(w.B + delta, 0, 255));
        dirty |= PutPixelRaw(c, x, y, w);
    };
    ForExactPixels(Mask, [&](int j, int i, bool red, bool green) {
        if (red)
            shift(X + j, Y + i, 3);
        if (green)
            shift(X + j, Y + i, -3);
    });
    return dirty;
}

QRect BlurMask(const TPaintContext& c, int X, int Y, const QImage& Mask)
{
    QRect dirty;
    if (!InStroke(c) || !c.CellFilter)
        return dirty;
    const TmyImage& source = *c.StrokeBackup;
    ForExactPixels(Mask, [&](int j, int i, bool red, bool green) {
        const int x = X + j;
        const int y = Y + i;
        if (!source.Contains(x, y))
            return;
        if (red)
            dirty |= PutPixelRaw(c, x, y, c.CellFilter(source, x, y, false, c.FilterOnAlpha));
        if (green)
            dirty |= PutPixelRaw(c, x, y, c.CellFilter(source, x, y, true, c.FilterOnAlpha));
    });
    return dirty;
}

QRect OpacityMask(const TPaintContext& c, int X, int Y, const QImage& Mask)
{
    QRect dirty;
    if (!InStroke(c))
        return dirty;
    ForExactPixels(Mask, [&](int j, int i, bool, bool) {
        if (!c.Image->Contains(X + j, Y + i))
            return;
        TmyPixel w = c.Image->Pixel(X + j, Y + i);
        w.A = c.ForeColor.A;
        dirty |= PutPixelRaw(c, X + j, Y + i, w);
    });
    return dirty;
}

QRect ReplaceColorMask(const TPaintContext& c, int X, int Y, const QImage& Mask)
{
    QRect dirty;
    if (!InStroke(c))
        return dirty;
    ForExactPixels(Mask, [&](int j, int i, bool red, bool green) {
        if (red)
            dirty |= ReplaceIfEqual(c, X + j, Y + i, c.BackColor, c.ForeColor);
        if (green)
            dirty |= ReplaceIfEqual(c, X + j, Y + i, c.ForeColor, c.BackColor);
    });
    return dirty;
}

QRect XorRectangle(QImage& canvas, int zoom, int X1, int Y1, int X2, int Y2)
{
    return glimt::XorShape(canvas, CanvasBox(zoom, X1, Y1, X2, Y2, glimt::TShapeKind::Rectangle));
}

QRect XorDottedRectangle(QImage& canvas, int zoom, int X1, int Y1, int X2, int Y2)
{
    return glimt::XorShape(canvas, CanvasBox(zoom, X1, Y1, X2, Y2, glimt::TShapeKind::Rectangle), true);
}

QRect XorEllipse(QImage& canvas, int zoom, int X1, int Y1, int X2, int Y2)
{
    return glimt::XorShape(canvas, CanvasBox(zoom, X1, Y1, X2, Y2, glimt::TShapeKind::Ellipse));
}

QRect XorRoundRect(QImage& canvas, int zoom, int X1, int Y1, int X2, int Y2)
{
    glimt::TShapeSpec s = CanvasBox(zoom, X1, Y1, X2, Y2, glimt::TShapeKind::RoundRect);
    s.CornerWidth = std::abs(s.Right - s.Left) / 3;
    s.CornerHeight = std::abs(s.Bottom - s.Top) / 3;
    return glimt::XorShape(canvas, s);
}

QRect XorLine(QImage& canvas, int zoom, int X1, int Y1, int X2, int Y2)
{
    const int half = zoom / 2;
    return glimt::XorLineTo(canvas, X1 * zoom + half, Y1 * zoom + half, X2 * zoom + half, Y2 * zoom + half);
}

} // namespace TmyPainter
