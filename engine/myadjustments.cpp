#include "engine/myadjustments.h"

#include "engine/MyPainter.h"
#include "engine/PaletteLibrary.h"
#include "engine/Prompts.h"
#include "engine/Settings.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

// Resampling keeps its reals in single precision and rotation in extended precision; every
// expression is evaluated in extended precision (long double) and rounded once where it is
// stored, which is what the resulting bytes depend on.
namespace {

using Real = long double;

constexpr TmyPixel Transparent{};

std::uint8_t ClampByte(long long v)
{
    return std::uint8_t(std::clamp<long long>(v, 0, 255));
}

int PercentToByte(int percent)
{
    return percent * 255 / 100;
}

// The whole part, plus 1 when there is a fraction (the reals here are not negative).
int Ceil(float v)
{
    const int whole = int(v);
    return float(whole) < v ? whole + 1 : whole;
}

// Below 32 bits alpha becomes 0 or 255 (A < 128 transparent); any transparent pixel becomes
// 0, 0, 0, 0. Used after the geometric operations that blend alpha.
void SettleAlpha(TmyImage& image, int bitDepth)
{
    TmyPixel* p = image.Data();
    for (std::size_t i = 0, n = image.PixelCount(); i < n; ++i) {
        if (bitDepth != 32)
            p[i].A = p[i].A < 128 ? 0 : 255;
        if (p[i].A == 0)
            p[i] = Transparent;
    }
}

// Visible pixels keep their colour; transparent ones take the mean colour of the visible
// ones among `count` neighbours (0 when none is visible), so that a coloured transparent
// pixel never bleeds into the result.
struct FillColor {
    std::uint8_t R = 0, G = 0, B = 0;

    template <class Neighbours>
    static FillColor Of(const Neighbours& at, int count)
    {
        long long r = 0, g = 0, b = 0;
        int n = 0;
        for (int k = 0; k < count; ++k) {
            const TmyPixel& p = at(k);
            if (p.A != 0) {
                r += p.R;
                g += p.G;
                b += p.B;
                ++n;
            }
        }
        if (n == 0)
            n = 1;
        return {ClampByte(r / n), ClampByte(g / n), ClampByte(b / n)};
    }
};

// Runs `op` on the R, G, B of every pixel whose A is not 0.
template <class Op>
void ForVisiblePixels(TmyImagePal& image, Op op)
{
    TmyPixel* p = image.Data();
    for (std::size_t i = 0, n = image.PixelCount(); i < n; ++i)
        if (p[i].A != 0)
            op(p[i].R, p[i].G, p[i].B);
}

// The palette step of the colour operations: the entries get the same change when the
// palette is to change with the pixels.
template <class Op>
void PaletteStep(TmyImagePal& image, Op op)
{
    if (!TmyAdjustments::ConfirmPaletteChange(image) || image.BitDepth >= 24 || !image.Palette)
        return;
    for (TmyPixel& entry : image.Palette->Colors)
        op(entry.R, entry.G, entry.B);
}

template <class Op>
void ColourOperation(TmyImagePal& image, bool runPaletteStep, Op op)
{
    ForVisiblePixels(image, op);
    if (runPaletteStep)
        PaletteStep(image, op);
}

// A quarter turn: the new image is Height x Width with the same depth and palette, and
// newPixel(x, y) = old pixel at from(x, y).
template <class From>
void QuarterTurn(TmyImagePal& image, From from)
{
    TmyImagePal turned(image.Width(), image.Height(), image.BitDepth);
    if (image.Palette)
        turned.Palette = image.Palette;
    for (int y = 0; y < turned.Height(); ++y) {
        TmyPixel* out = turned.Row(y);
        for (int x = 0; x < turned.Width(); ++x) {
            const auto [ox, oy] = from(x, y);
            out[x] = image.Pixel(ox, oy);
        }
    }
    image = std::move(turned);
}

} // namespace

namespace TmyAdjustments {

void ResampleArea(const TmyImage& source, TmyImage& destination)
{
    const int sw = source.Width(), sh = source.Height();
    const int dw = destination.Width(), dh = destination.Height();
    const float sx = float(Real(sw) / dw);
    const float sy = float(Real(sh) / dh);
    const float area = float((1 / Real(sx)) * (1 / Real(sy)));

    struct Span {
        int first, last;
        float low, high;
    };
    auto span = [](float scale, int index, int limit) {
        const float low = float(Real(scale) * index);
        const float high = float(Real(low) + scale);
        return Span{std::min(int(low), limit - 1), std::min(limit, Ceil(high)) - 1, low, high};
    };
    // Share of source cell k (1 wide) that lies inside [low, high).
    auto weight = [](const Span& s, int k) {
        float w = 1;
        if (k < s.low)
            w = float(Real(w) - (Real(s.low) - k));
        if (k + 1 > s.high)
            w = float(Real(w) - (Real(k) + 1 - s.high));
        return w;
    };

    std::vector<float> wx;
    for (int j = 0; j < dh; ++j) {
        const Span rows = span(sy, j, sh);
        TmyPixel* out = destination.Row(j);
        for (int i = 0; i < dw; ++i) {
            const Span cols = span(sx, i, sw);
            const int ncols = cols.last - cols.first + 1;
            const FillColor fill = FillColor::Of(
                [&](int k) -> const TmyPixel& {
                    return source.Pixel(cols.first + k % ncols, rows.first + k / ncols);
                },
                ncols * (rows.last - rows.first + 1));

            wx.resize(std::size_t(ncols));
            for (int c = 0; c < ncols; ++c)
                wx[std::size_t(c)] = weight(cols, cols.first + c);
            float sr = 0, sg = 0, sb = 0, sa = 0;
            for (int r = rows.first; r <= rows.last; ++r) {
                const float wy = weight(rows, r);
                const TmyPixel* in = source.Row(r) + cols.first;
                for (int c = 0; c < ncols; ++c) {
                    const float w = float(Real(wx[std::size_t(c)]) * wy * area);
                    const TmyPixel& p = in[c];
                    const bool visible = p.A != 0;
                    sr = float(sr + Real(visible ? p.R : fill.R) * w);
                    sg = float(sg + Real(visible ? p.G : fill.G) * w);
                    sb = float(sb + Real(visible ? p.B : fill.B) * w);
                    sa = float(sa + Real(p.A) * w);
                }
            }
            out[i] = TmyPixel::CreateRGBA(ClampByte((long long)sr), ClampByte((long long)sg),
                ClampByte((long long)sb), ClampByte((long long)sa));
        }
    }
}

void ResizeImage(TmyImagePal& image, int NewWidth, int NewHeight)
{
    TmyImage resized(std::max(NewHeight, 1), std::max(NewWidth, 1));
    ResampleArea(image, resized);
    SettleAlpha(resized, image.BitDepth);
    static_cast<TmyImage&>(image) = std::move(resized);
}

void RotateBitmapBilinear(const TmyImage& source, TmyImage& destination, double CenterX, double CenterY,
    long double Angle)
{
    const int sw = source.Width(), sh = source.Height();
    const int dw = destination.Width(), dh = destination.Height();
    const Real theta = -Angle * 3.1415926535897932385L / 180;
    const Real c = std::cos(theta), s = std::sin(theta);
    const Real ox = Real(dw - sw) / 2, oy = Real(dh - sh) / 2;
    // 16.16 fixed point, kept in 32 bits: a negative position reads as a huge unsigned one.
    auto fixed = [](Real v) { return std::uint32_t(std::int64_t(std::nearbyint(v * 65536))); };
    const std::uint32_t stepX = fixed(c), stepY = fixed(s);
    const Real cx = CenterX, cy = CenterY;

    for (int y = 0; y < dh; ++y) {
        std::uint32_t xs = fixed(cx - cx * c - (y - cy) * s - ox);
        std::uint32_t ys = fixed(cy - cx * s + (y - cy) * c - oy);
        TmyPixel* out = destination.Row(y);
        for (int x = 0; x < dw; ++x, xs += stepX, ys += stepY) {
            const std::uint32_t x0 = xs >> 16, y0 = ys >> 16;
            if (x0 >= std::uint32_t(sw - 1) || y0 >= std::uint32_t(sh - 1))
                continue;
            const int fx = int(xs & 0xFFFF), fy = int(ys & 0xFFFF);
            const TmyPixel* upper = source.Row(int(y0)) + x0;
            const TmyPixel* lower = source.Row(int(y0) + 1) + x0;
            TmyPixel n[4] = {upper[0], upper[1], lower[0], lower[1]};
            const FillColor fill = FillColor::Of([&](int k) -> const TmyPixel& { return n[k]; }, 4);
            for (TmyPixel& p : n)
                if (p.A == 0)
                    p.SetRGB(fill.R, fill.G, fill.B);
            auto lerp = [&](std::uint8_t TmyPixel::*ch) {
                const int va = n[0].*ch, vb = n[1].*ch, vc = n[2].*ch, vd = n[3].*ch;
                const int top = va + ((fx * (vb - va)) >> 16);
                const int bottom = vc + ((fx * (vd - vc)) >> 16);
                return ClampByte(top + ((fy * (bottom - top)) >> 16));
            };
            out[x] = TmyPixel::CreateRGBA(lerp(&TmyPixel::R), lerp(&TmyPixel::G), lerp(&TmyPixel::B), lerp(&TmyPixel::A));
        }
    }
}

void RotateImage(TmyImagePal& image, int CenterX, int CenterY, double Angle)
{
    TmyImage rotated(image.Height(), image.Width());
    RotateBitmapBilinear(image, rotated, CenterX, CenterY, Angle);
    SettleAlpha(rotated, image.BitDepth);
    static_cast<TmyImage&>(image) = std::move(rotated);
}

void ShiftLeft(TmyImagePal& image, std::uint8_t n)
{
    const int w = image.Width();
    for (int y = 0; y < image.Height(); ++y) {
        TmyPixel* row = image.Row(y);
        for (int x = 0; x < w; ++x)
            row[x] = x > w - n - 1 ? Transparent : row[x + n];
    }
}

void ShiftRight(TmyImagePal& image, std::uint8_t n)
{
    for (int y = 0; y < image.Height(); ++y) {
        TmyPixel* row = image.Row(y);
        for (int x = image.Width() - 1; x >= 0; --x)
            row[x] = x < n ? Transparent : row[x - n];
    }
}

void ShiftUp(TmyImagePal& image, std::uint8_t n)
{
    const int h = image.Height();
    const std::size_t bytes = std::size_t(image.Width()) * sizeof(TmyPixel);
    for (int y = 0; y < h; ++y) {
        if (y > h - n - 1)
            std::fill_n(image.Row(y), image.Width(), Transparent);
        else
            std::memcpy(image.Row(y), image.Row(y + n), bytes);
    }
}

void ShiftDown(TmyImagePal& image, std::uint8_t n)
{
    const std::size_t bytes = std::size_t(image.Width()) * sizeof(TmyPixel);
    for (int y = image.Height() - 1; y >= 0; --y) {
        if (y < n)
            std::fill_n(image.Row(y), image.Width(), Transparent);
        else
            std::memcpy(image.Row(y), image.Row(y - n), bytes);
    }
}

void RotateLeft90(TmyImagePal& image)
{
    const int oldWidth = image.Width();
    QuarterTurn(image, [oldWidth](int x, int y) { return std::pair{oldWidth - 1 - y, x}; });
}

void RotateRight90(TmyImagePal& image)
{
    const int oldHeight = image.Height();
    QuarterTurn(image, [oldHeight](int x, int y) { return std::pair{y, oldHeight - 1 - x}; });
}

void FlipHorizontal(TmyImagePal& image)
{
    for (int y = 0; y < image.Height(); ++y)
        std::reverse(image.Row(y), image.Row(y) + image.Width());
}

void FlipVertical(TmyImagePal& image)
{
    for (int top = 0, bottom = image.Height() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(image.Row(top), image.Row(top) + image.Width(), image.Row(bottom));
}

void InvertImage(TmyImagePal& image)
{
    ColourOperation(image, true, InvertPixel);
}

void SwapChannels(TmyImagePal& image, int mode)
{
    ColourOperation(image, true, [mode](std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
        SwapPixelChannels(r, g, b, mode);
    });
}

void ColorizeImage(TmyImagePal& image, int mode)
{
    ColourOperation(image, true, [mode](std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
        ColorizePixel(r, g, b, mode);
    });
}

void AdjustHueSatLight(TmyImagePal& image, int Hue, int Saturation, int Lightness, bool SkipPalette)
{
    ColourOperation(image, !SkipPalette, [=](std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
        HueSatLightPixel(r, g, b, Hue, Saturation, Lightness);
    });
}

void AdjustColorBalance(TmyImagePal& image, int Red, int Green, int Blue, bool SkipPalette)
{
    const int dr = PercentToByte(Red), dg = PercentToByte(Green), db = PercentToByte(Blue);
    ColourOperation(image, !SkipPalette, [=](std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
        ColorBalancePixel(r, g, b, dr, dg, db);
    });
}

void AdjustBrightnessContrast(TmyImagePal& image, int Brightness, int Contrast, bool SkipPalette)
{
    const int amount = PercentToByte(Brightness);
    ColourOperation(image, !SkipPalette, [=](std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
        BrightnessPixel(r, g, b, amount);
        ContrastPixel(r, g, b, Contrast);
    });
}

void AdjustOpacity(TmyImagePal& image, int Percent)
{
    if (image.BitDepth <= 24)
        return;
    const int amount = PercentToByte(Percent);
    TmyPixel* p = image.Data();
    for (std::size_t i = 0, n = image.PixelCount(); i < n; ++i) {
        AddClampByte(p[i].A, amount);
        if (p[i].A == 0)
            p[i].SetRGB(0, 0, 0);
    }
}

bool ConfirmPaletteChange(TmyImagePal& image)
{
    if (image.BitDepth >= 24)
        return false;
    int choice = Options().PaletteAction;
    if (choice == 2)
        choice = glimt::Prompts().AskChangePalette();
    if (choice == 0)
        return true;
    TPaletteLibrary::MapToOwnPalette(image);
    return false;
}

void InvertPixel(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B)
{
    R = std::uint8_t(255 - R);
    G = std::uint8_t(255 - G);
    B = std::uint8_t(255 - B);
}

void SwapPixelChannels(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, int mode)
{
    switch (mode) {
    case 1: std::swap(R, G); break;
    case 2: std::swap(R, B); break;
    case 3: std::swap(G, B); break;
    default: break;
    }
}

void ColorizePixel(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, int mode)
{
    if (mode < 0 || mode > 6)
        return;
    const std::uint8_t L = std::uint8_t((30 * R + 59 * G + 11 * B) / 100);
    //                         grey red green blue yellow cyan magenta
    static constexpr bool red[] = {1, 1, 0, 0, 1, 0, 1};
    static constexpr bool green[] = {1, 0, 1, 0, 1, 1, 0};
    static constexpr bool blue[] = {1, 0, 0, 1, 0, 1, 1};
    R = red[mode] ? L : 0;
    G = green[mode] ? L : 0;
    B = blue[mode] ? L : 0;
}

void HueSatLightPixel(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, int dH, int dS, int dL)
{
    std::int32_t h, s, v;
    TmyPainter::RGBToHSV(R, G, B, h, s, v);
    // The hue wraps by 359, not 360.
    h += dH;
    if (h > 359)
        h -= 359;
    if (h < 0)
        h += 359;
    const int t = dS * s / 100;
    s += t;
    v += t * 40 / 100;
    if (dL > 0) {
        s -= s * dL / 100;
        v += (100 - v) * dL / 100;
    } else {
        v += v * dL / 100;
    }
    s = std::clamp(s, 0, 100);
    v = std::clamp(v, 0, 100);
    std::int32_t r, g, b;
    TmyPainter::HSVToRGB(h, s, v, r, g, b);
    R = ClampByte(r);
    G = ClampByte(g);
    B = ClampByte(b);
}

void ColorBalancePixel(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, int dR, int dG, int dB)
{
    R = ClampByte(R + dR);
    G = ClampByte(G + dG);
    B = ClampByte(B + dB);
}

void BrightnessPixel(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, int amount)
{
    ColorBalancePixel(R, G, B, amount, amount, amount);
}

void ContrastPixel(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, int contrast)
{
    // Beyond +-100 the divisor below reaches zero (at about 105); the range is the slider's.
    const int c = std::clamp(contrast, -100, 100);
    auto channel = [c](std::uint8_t& ch) {
        int X = ch;
        if (c > 0) {
            const int k = c * c / ((11 - (10 * c * c / 10000)) * 8);
            if (X == 128)
                X = 129;
            if (X > 128)
                X = X + (X - 128) * k / 10;
            else
                X = X - (128 - X) * k / 10;
        } else {
            const int m = int(std::nearbyint(double(std::abs(X - 127)) * c / 100));
            if (X > 128) {
                const int v = X + m;
                X = v < 128 ? 128 : v;
            } else {
                const int v = X - m;
                X = v > 128 ? 128 : v;
            }
        }
        ch = ClampByte(X);
    };
    channel(R);
    channel(G);
    channel(B);
}

void AddClampByte(std::uint8_t& value, int amount)
{
    if (value != 0)
        value = ClampByte(value + amount);
}

} // namespace TmyAdjustments
