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

// Rotation keeps its reals in extended precision: every expression is evaluated in long double
// and rounded once where it is stored, which is what the resulting bytes depend on.
// Resampling is exact: see ResampleExact.
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

// Area-averaging resampling in exact integer arithmetic. The source is laid over the
// destination: destination pixel (i, j) covers the source rectangle [i sw/dw, (i+1) sw/dw) x
// [j sh/dh, (j+1) sh/dh), and every source cell adds its colour weighted by the area it shares
// with that rectangle. Measured in units of 1/dw of a source column (1/dh of a row) every
// shared width is a whole number, a window's widths add up to sw (heights to sh), and a
// destination pixel is a sum of whole numbers divided by sw x sh, rounded to the nearest
// (halves to even). A uniform picture therefore resizes to itself at every ratio, and opaque
// stays opaque.
//
// A transparent cell adds the fill colour instead of its own: the mean (div) of the visible
// cells of the window, 0 when none is. Its alpha, 0, is added like any other.
//
// The sums are separable: the rows of a destination row's window are added with their
// heights into one row of column sums (a source row belongs to at most two windows when
// shrinking), then the columns of each window with their widths (interior cells have the full
// width dw). Only windows that mix visible and transparent cells are visited a second time,
// for their fill colour. So every source pixel is read a bounded number of times whatever the
// ratio.

// How one destination column (or row) covers the source: cells first..last, the first and the
// last sharing widths wFirst and wLast (equal, and the whole window, when first == last); the
// cells between share the full width.
struct Window {
    int first = 0, last = 0;
    std::uint64_t wFirst = 0, wLast = 0;
};

std::vector<Window> Windows(int sourceSize, int destSize)
{
    std::vector<Window> windows(static_cast<std::size_t>(destSize));
    const std::uint64_t s = std::uint64_t(sourceSize), d = std::uint64_t(destSize);
    for (std::uint64_t i = 0; i < d; ++i) {
        const std::uint64_t low = i * s, high = (i + 1) * s; // in units of 1/d of a cell
        Window& w = windows[std::size_t(i)];
        w.first = int(low / d);
        w.last = int((high - 1) / d);
        if (w.first == w.last) {
            w.wFirst = w.wLast = s;
        } else {
            w.wFirst = (std::uint64_t(w.first) + 1) * d - low;
            w.wLast = high - std::uint64_t(w.last) * d;
        }
    }
    return windows;
}

// Division by one divisor, many times, rounding to the nearest and halves to even: a
// multiplication by the reciprocal, checked against the exact remainder. The sums divided
// here stay below 2^40, so the estimate is never more than one away and a true half is told
// apart exactly.
class RoundingDivider {
public:
    explicit RoundingDivider(std::uint64_t d) : m_d(std::int64_t(d)), m_inverse(1.0 / double(d)) {}
    std::uint8_t operator()(std::uint64_t n) const
    {
        std::int64_t q = std::int64_t(std::nearbyint(double(n) * m_inverse));
        // 2n - 2qd lies in [-d, d] exactly when q is a nearest whole number.
        const std::int64_t r = 2 * std::int64_t(n) - 2 * q * m_d;
        if (r > m_d || (r == m_d && (q & 1)))
            ++q;
        else if (r < -m_d || (r == -m_d && (q & 1)))
            --q;
        return std::uint8_t(std::clamp<std::int64_t>(q, 0, 255));
    }

private:
    std::int64_t m_d;
    double m_inverse;
};

// The two loops the vertical pass spends its time in, built for the wider vector units too
// where the machine has them.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
#define GLIMT_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define GLIMT_VECTOR_CLONES
#endif

// sums[k] += bytes[k].
GLIMT_VECTOR_CLONES void AddBytes(std::uint32_t* sums, const std::uint8_t* bytes, std::size_t n)
{
    for (std::size_t k = 0; k < n; ++k)
        sums[k] += bytes[k];
}

// out[k] := inner[k] x innerWeight + a[k] x wa + b[k] x wb (inner may be null).
GLIMT_VECTOR_CLONES void AddScaled(std::uint32_t* out, const std::uint32_t* inner, std::uint32_t innerWeight,
                                   const std::uint8_t* a, std::uint32_t wa, const std::uint8_t* b, std::uint32_t wb,
                                   std::size_t n)
{
    if (inner)
        for (std::size_t k = 0; k < n; ++k)
            out[k] = inner[k] * innerWeight + a[k] * wa + b[k] * wb;
    else
        for (std::size_t k = 0; k < n; ++k)
            out[k] = a[k] * wa + b[k] * wb;
}

// Whether some source pixels are transparent (A = 0): then the colour sums take only the
// visible cells, a count of the visible share is kept, and windows that mix both get the fill
// colour.
template <bool Mixed>
void ResampleWith(const TmyImage& source, TmyImage& destination)
{
    const int sw = source.Width(), sh = source.Height();
    const int dw = destination.Width(), dh = destination.Height();
    const std::vector<Window> cols = Windows(sw, dw), rows = Windows(sh, dh);
    const std::uint64_t total = std::uint64_t(sw) * std::uint64_t(sh);
    const RoundingDivider divide(total);
    const std::size_t lanes = std::size_t(sw) * 4;

    // First the rows of one destination row's window are added up, weighted by their heights,
    // into one row of sums per source column and channel (R, G, B, A, and in the mixed case the
    // visible share): the interior rows, of the full height dh, are simply added and multiplied
    // once. Each sum is at most 255 x sh.
    std::vector<std::uint32_t> column(lanes), inner(lanes), seenColumn(Mixed ? std::size_t(sw) : 0);
    // In the mixed case the source as it is summed, made once: a transparent cell adds no
    // colour of its own, and a plane of 1 for the visible cells gives the visible share.
    std::vector<std::uint8_t> visible(Mixed ? lanes * std::size_t(sh) : 0), seen(Mixed ? source.PixelCount() : 0);
    if constexpr (Mixed) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(source.Data());
        for (std::size_t p = 0, n = source.PixelCount(); p < n; ++p) {
            const std::uint8_t keep = bytes[4 * p + 3] != 0 ? 0xFF : 0;
            for (std::size_t c = 0; c < 4; ++c)
                visible[4 * p + c] = bytes[4 * p + c] & keep;
            seen[p] = keep & 1;
        }
    }
    auto rowBytes = [&](int r) -> const std::uint8_t* {
        if constexpr (Mixed)
            return visible.data() + std::size_t(r) * lanes;
        else
            return reinterpret_cast<const std::uint8_t*>(source.Row(r));
    };
    // Adds the rows of window `wr` of a plane of `n` bytes a row into `out`.
    auto addRows = [&](const Window& wr, std::uint32_t* out, std::size_t n, auto rowOf) {
        const std::uint8_t* first = rowOf(wr.first);
        if (wr.first == wr.last) {
            AddScaled(out, nullptr, 0, first, std::uint32_t(wr.wFirst), first, 0, n);
            return;
        }
        std::fill(inner.begin(), inner.begin() + std::ptrdiff_t(n), 0);
        for (int r = wr.first + 1; r < wr.last; ++r)
            AddBytes(inner.data(), rowOf(r), n);
        AddScaled(out, inner.data(), std::uint32_t(dh), first, std::uint32_t(wr.wFirst), rowOf(wr.last),
                  std::uint32_t(wr.wLast), n);
    };
    for (int j = 0; j < dh; ++j) {
        const Window& wr = rows[std::size_t(j)];
        addRows(wr, column.data(), lanes, rowBytes);
        if constexpr (Mixed)
            addRows(wr, seenColumn.data(), std::size_t(sw),
                    [&](int r) { return seen.data() + std::size_t(r) * std::size_t(sw); });

        // Then the columns of each destination pixel's window, weighted by their widths.
        TmyPixel* out = destination.Row(j);
        for (int i = 0; i < dw; ++i) {
            const Window& wc = cols[std::size_t(i)];
            std::uint64_t sum[5] = {0, 0, 0, 0, 0};
            std::uint64_t middle[5] = {0, 0, 0, 0, 0};
            auto add = [&](std::uint64_t* to, int x, std::uint64_t width) {
                for (int c = 0; c < 4; ++c)
                    to[c] += width * column[4 * std::size_t(x) + std::size_t(c)];
                if constexpr (Mixed)
                    to[4] += width * seenColumn[std::size_t(x)];
            };
            add(sum, wc.first, wc.wFirst);
            if (wc.first != wc.last) {
                for (int x = wc.first + 1; x < wc.last; ++x)
                    add(middle, x, 1);
                for (int c = 0; c < 5; ++c)
                    sum[c] += std::uint64_t(dw) * middle[c];
                add(sum, wc.last, wc.wLast);
            }
            std::uint64_t fill[3] = {0, 0, 0}, hidden = 0;
            if constexpr (Mixed) {
                hidden = total - sum[4];
                if (sum[4] != 0 && hidden != 0) {
                    // The fill colour: the plain mean of the window's visible cells.
                    std::uint64_t n = 0;
                    for (int r = wr.first; r <= wr.last; ++r) {
                        const TmyPixel* in = source.Row(r);
                        for (int k = wc.first; k <= wc.last; ++k)
                            if (in[k].A != 0) {
                                fill[0] += in[k].R;
                                fill[1] += in[k].G;
                                fill[2] += in[k].B;
                                ++n;
                            }
                    }
                    for (std::uint64_t& f : fill)
                        f /= n;
                }
            }
            out[i] = TmyPixel::CreateRGBA(divide(sum[0] + fill[0] * hidden), divide(sum[1] + fill[1] * hidden),
                                          divide(sum[2] + fill[2] * hidden), divide(sum[3]));
        }
    }
}

void ResampleExact(const TmyImage& source, TmyImage& destination)
{
    // Every pixel is looked at (no early exit), so that the loop runs in vector steps.
    const TmyPixel* p = source.Data();
    bool transparent = false;
    for (std::size_t i = 0, n = source.PixelCount(); i < n; ++i)
        transparent |= p[i].A == 0;
    if (transparent)
        ResampleWith<true>(source, destination);
    else
        ResampleWith<false>(source, destination);
}

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
    ResampleExact(source, destination);
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
    if (!std::isfinite(c) || !std::isfinite(s))
        return; // no angle, no sample
    const Real ox = Real(dw - sw) / 2, oy = Real(dh - sh) / 2;
    // 16.16 fixed point, kept in 32 bits: a negative position reads as a huge unsigned one.
    auto fixed = [](Real v) {
        v = std::nearbyint(v * 65536);
        // Centres far outside any image: a position no sample reaches, instead of an overflow.
        return std::isfinite(v) && std::fabs(v) < 0x1p62L ? std::uint32_t(std::int64_t(v)) : 0x80000000u;
    };
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
