#include "editor/DeskRender.h"

#include "engine/Settings.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace glimt {

namespace {

QRgb Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return 0xFF000000u | (QRgb(r) << 16) | (QRgb(g) << 8) | QRgb(b);
}

QRgb Blend(TColor background, const TmyPixel& p)
{
    const std::uint8_t a = std::uint8_t(255 - p.A);
    return Rgb(TmyPainter::LerpChannel(std::uint8_t(background & 0xFF), p.R, a),
        TmyPainter::LerpChannel(std::uint8_t((background >> 8) & 0xFF), p.G, a),
        TmyPainter::LerpChannel(std::uint8_t((background >> 16) & 0xFF), p.B, a));
}

// What cell pixel p shows over the two checker colours: [0] over Color2, [1] over Color1.
struct CellLook {
    QRgb over[2];
};

CellLook LookOf(const TmyPixel& p, bool blendAll, const Checkerboard& checker)
{
    CellLook look;
    if (blendAll ? p.A == 255 : p.A != 0) {
        look.over[0] = look.over[1] = Rgb(p.R, p.G, p.B);
    } else if (blendAll) {
        look.over[0] = Blend(checker.Color2, p);
        look.over[1] = Blend(checker.Color1, p);
    } else {
        look.over[0] = ToRgb32(checker.Color2);
        look.over[1] = ToRgb32(checker.Color1);
    }
    return look;
}

int CheckerSize(const Checkerboard& checker)
{
    return std::max(1, checker.CellSize);
}

// Fills canvas pixels [x0, x1) of row y with the cell's look.
void FillSpan(QRgb* row, int x0, int x1, int y, const CellLook& look, const Checkerboard& checker)
{
    const int c = CheckerSize(checker);
    const int rowParity = (y / c) & 1;
    for (int x = x0; x < x1; ++x)
        row[x] = look.over[((x / c) & 1) ^ rowParity];
}

QRect CellRect(int x, int y, int zoom)
{
    return QRect(x * zoom, y * zoom, zoom, zoom);
}

} // namespace

TGridLook CurrentGrid()
{
    return {Options().GridColor, Options().GridStyle};
}

QRect RenderZoomedImage(const TmyImagePal& image, int zoom, const Checkerboard& checker, QImage& target)
{
    const int w = image.Width();
    const int h = image.Height();
    const int cw = std::min(target.width(), w * zoom);
    const int ch = std::min(target.height(), h * zoom);
    const int c = CheckerSize(checker);
    const bool blendAll = image.BitDepth == 32;

    // Checker parity of every canvas column, computed once.
    std::vector<std::uint8_t> columnParity(std::size_t(std::max(cw, 0)));
    for (int x = 0; x < cw; ++x)
        columnParity[std::size_t(x)] = std::uint8_t((x / c) & 1);
    std::vector<CellLook> looks(static_cast<std::size_t>(w));

    for (int iy = 0; iy * zoom < ch; ++iy) {
        const TmyPixel* src = image.Row(iy);
        for (int ix = 0; ix < w; ++ix)
            looks[std::size_t(ix)] = LookOf(src[ix], blendAll, checker);
        // The canvas rows of one cell row differ only by the checker's row parity: build a row
        // of each parity once and copy it to the others.
        const QRgb* built[2] = {nullptr, nullptr};
        const int yEnd = std::min(ch, (iy + 1) * zoom);
        for (int y = iy * zoom; y < yEnd; ++y) {
            const int parity = (y / c) & 1;
            auto* row = reinterpret_cast<QRgb*>(target.scanLine(y));
            if (built[parity]) {
                std::memcpy(row, built[parity], std::size_t(cw) * sizeof(QRgb));
                continue;
            }
            int x = 0;
            for (int ix = 0; ix < w && x < cw; ++ix) {
                const CellLook& look = looks[std::size_t(ix)];
                const int xEnd = std::min(cw, x + zoom);
                if (look.over[0] == look.over[1]) {
                    std::fill(row + x, row + xEnd, look.over[0]);
                } else {
                    for (; x < xEnd; ++x)
                        row[x] = look.over[columnParity[std::size_t(x)] ^ parity];
                }
                x = xEnd;
            }
            built[parity] = row;
        }
    }
    return QRect(0, 0, cw, ch);
}

QRect DrawGridLines(QImage& target, int zoom, const TGridLook& look)
{
    if (zoom < 2)
        return {};
    const QRgb color = ToRgb32(look.color);
    const int w = target.width();
    const int h = target.height();
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(target.scanLine(y));
        const bool gridRow = y % zoom == 0;
        switch (look.style) {
        case 0:
            if (gridRow) {
                std::fill(row, row + w, color);
            } else {
                for (int x = 0; x < w; x += zoom)
                    row[x] = color;
            }
            break;
        case 1:
            if (gridRow) {
                for (int x = 0; x < w; x += 2)
                    row[x] = color;
            } else if (y % 2 == 0) {
                for (int x = 0; x < w; x += zoom)
                    row[x] = color;
            }
            break;
        default:
            if (gridRow)
                for (int x = 0; x < w; x += zoom)
                    row[x] = color;
            break;
        }
    }
    return QRect(0, 0, w, h);
}

QRect DrawCellBlendedAt(QImage& target, int x, int y, int zoom, const Checkerboard& checker, const TmyPixel& p)
{
    CellLook look;
    if (p.A == 0) {
        look.over[0] = ToRgb32(checker.Color2);
        look.over[1] = ToRgb32(checker.Color1);
    } else {
        look.over[0] = Blend(checker.Color2, p);
        look.over[1] = Blend(checker.Color1, p);
    }
    for (int cy = y * zoom; cy < (y + 1) * zoom; ++cy)
        FillSpan(reinterpret_cast<QRgb*>(target.scanLine(cy)), x * zoom, (x + 1) * zoom, cy, look, checker);
    return CellRect(x, y, zoom);
}

QRect DrawCellSolidAt(QImage& target, int x, int y, int zoom, const Checkerboard& checker, const TmyPixel& p)
{
    const CellLook look = LookOf(p, false, checker);
    for (int cy = y * zoom; cy < (y + 1) * zoom; ++cy)
        FillSpan(reinterpret_cast<QRgb*>(target.scanLine(cy)), x * zoom, (x + 1) * zoom, cy, look, checker);
    return CellRect(x, y, zoom);
}

QRect DrawCellGridAt(QImage& target, int x, int y, int zoom, const TGridLook& look)
{
    if (zoom < 2)
        return {};
    const QRgb color = ToRgb32(look.color);
    const int x0 = x * zoom;
    const int y0 = y * zoom;
    auto put = [&](int px, int py) { reinterpret_cast<QRgb*>(target.scanLine(py))[px] = color; };
    switch (look.style) {
    case 0:
        for (int i = 0; i < zoom; ++i) {
            put(x0, y0 + i);
            put(x0 + i, y0);
        }
        break;
    case 1:
        for (int i = 0; i < zoom; i += 2) {
            put(x0, y0 + i);
            put(x0 + i, y0);
        }
        break;
    default:
        put(x0, y0);
        break;
    }
    return CellRect(x, y, zoom);
}

} // namespace glimt
