#include "engine/myadjustments.h"

#include "engine/MyPainter.h"
#include "engine/PaletteLibrary.h"
#include "engine/Prompts.h"
#include "engine/Settings.h"

#include <algorithm>
#include <bit>
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

// A destination column's window for the column pass: cells first..last, the first and the last
// with their widths, the cells between with the full width. A window within one cell has last
// = first and wLast = 0.
template <class Sum>
struct Span {
    std::uint32_t first = 0, last = 0;
    Sum wFirst = 0, wLast = 0;
};

template <class Sum>
std::vector<Span<Sum>> Spans(int sourceSize, int destSize)
{
    std::vector<Span<Sum>> spans;
    for (const Window& w : Windows(sourceSize, destSize))
        spans.push_back({std::uint32_t(w.first), std::uint32_t(w.last), Sum(w.wFirst),
                         w.first == w.last ? Sum(0) : Sum(w.wLast)});
    return spans;
}

// sums[4i + c] := the column sums of channel c over span i, weighted by their widths (full
// width `inside`).
template <class Sum>
inline void SumSpans(const Sum* column, const Span<Sum>* spans, std::size_t count, Sum inside, Sum* sums)
{
    for (std::size_t i = 0; i < count; ++i) {
        const Span<Sum>& span = spans[i];
        const Sum* first = column + 4 * std::size_t(span.first);
        const Sum* last = column + 4 * std::size_t(span.last);
        Sum between[4] = {0, 0, 0, 0};
        for (const Sum* c = first + 4; c < last; c += 4)
            for (int k = 0; k < 4; ++k)
                between[k] += c[k];
        for (int k = 0; k < 4; ++k)
            sums[4 * i + std::size_t(k)] = span.wFirst * first[k] + span.wLast * last[k] + inside * between[k];
    }
}

#if defined(__GNUC__)
// The same for 32-bit sums, the four channels of a cell as one vector.
inline void SumSpans(const std::uint32_t* column, const Span<std::uint32_t>* spans, std::size_t count,
                     std::uint32_t inside, std::uint32_t* sums)
{
    using Cell = std::uint32_t __attribute__((vector_size(16)));
    auto at = [](const std::uint32_t* p) {
        Cell v;
        std::memcpy(&v, p, sizeof v);
        return v;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const Span<std::uint32_t>& span = spans[i];
        const std::uint32_t* first = column + 4 * std::size_t(span.first);
        const std::uint32_t* last = column + 4 * std::size_t(span.last);
        Cell between = {0, 0, 0, 0};
        for (const std::uint32_t* c = first + 4; c < last; c += 4)
            between += at(c);
        const Cell sum = at(first) * span.wFirst + at(last) * span.wLast + between * inside;
        std::memcpy(sums + 4 * i, &sum, sizeof sum);
    }
}
#endif

// The loops the passes spend their time in, built for the wider vector units too where the
// machine has them. Each is a plain loop over whole rows that the compiler turns into vector
// steps; the sums are 32 bits wide where the picture is small enough for that (see
// ResampleExact), else 64.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
#define GLIMT_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define GLIMT_VECTOR_CLONES
#endif

// sums[k] := bytes[k] (Add false) or sums[k] += bytes[k].
template <bool Add, class Sum>
inline void SumBytes(Sum* sums, const std::uint8_t* bytes, std::size_t n)
{
    for (std::size_t k = 0; k < n; ++k)
        sums[k] = (Add ? sums[k] : 0) + bytes[k];
}

// out[k] := inner[k] x innerWeight + a[k] x wa + b[k] x wb (inner may be null).
template <class Sum>
inline void SumScaled(Sum* out, const Sum* inner, Sum innerWeight, const std::uint8_t* a, Sum wa,
                      const std::uint8_t* b, Sum wb, std::size_t n)
{
    if (inner)
        for (std::size_t k = 0; k < n; ++k)
            out[k] = inner[k] * innerWeight + a[k] * wa + b[k] * wb;
    else
        for (std::size_t k = 0; k < n; ++k)
            out[k] = a[k] * wa + b[k] * wb;
}

// out[k] := n[k] / d rounded to the nearest, halves to even, for quotients below 256: that is
// floor((2n + d) / 2d), less one where the division is exact and the quotient odd. Eight
// steps of long division, the same for every lane.
template <class Sum>
inline void RoundDivide(const Sum* n, std::uint8_t* out, std::size_t count, Sum d)
{
    Sum step[8];
    for (int b = 0; b < 8; ++b)
        step[b] = (2 * d) << b;
    for (std::size_t k = 0; k < count; ++k) {
        Sum rest = 2 * n[k] + d, q = 0;
        for (int b = 7; b >= 0; --b) {
            const Sum take = rest >= step[b] ? 1 : 0;
            rest -= step[b] & (0 - take);
            q |= take << b;
        }
        out[k] = std::uint8_t(q - (q & (rest == 0 ? 1 : 0)));
    }
}

// Whether some of the n pixels at `bytes` are transparent.
inline bool AnyTransparent(const std::uint8_t* bytes, std::size_t n)
{
    // Every pixel is looked at (no early exit), as whole words, so that the loop runs in vector
    // steps.
    constexpr std::uint32_t alpha = std::endian::native == std::endian::little ? 0xFF000000u : 0xFFu;
    std::uint32_t least = alpha;
    for (std::size_t p = 0; p < n; ++p) {
        std::uint32_t word;
        std::memcpy(&word, bytes + 4 * p, 4);
        least = std::min(least, word & alpha);
    }
    return least == 0;
}

// out := the n pixels at `bytes` with the transparent ones made 0, 0, 0, 0; hidden[p] += 1 for
// each transparent pixel p.
inline void MaskTransparent(const std::uint8_t* bytes, std::uint8_t* out, std::uint32_t* hidden, std::size_t n)
{
    for (std::size_t p = 0; p < n; ++p) {
        const std::uint8_t keep = bytes[4 * p + 3] != 0 ? 0xFF : 0;
        for (std::size_t c = 0; c < 4; ++c)
            out[4 * p + c] = bytes[4 * p + c] & keep;
        hidden[p] += keep == 0 ? 1 : 0;
    }
}

// The same for 32-bit sums below 2^31: the quotient estimated in single precision (within one
// of the floor, as n / d < 256), then made exact with the remainder.
inline void RoundDivide(const std::uint32_t* n, std::uint8_t* out, std::size_t count, std::uint32_t d)
{
    const float inverse = 1.0f / float(d);
    const std::int32_t divisor = std::int32_t(d);
    for (std::size_t k = 0; k < count; ++k) {
        const std::int32_t value = std::int32_t(n[k]);
        std::int32_t q = std::int32_t(float(value) * inverse);
        // value - q d lies in [-d, 2d); worked out modulo 2^32, where q d cannot overflow.
        std::int32_t r = std::int32_t(std::uint32_t(value) - std::uint32_t(q) * d);
        const std::int32_t low = r < 0 ? 1 : 0, high = r >= divisor ? 1 : 0;
        q += high - low;
        r += (low - high) * divisor;
        const std::int32_t twice = 2 * r;
        q += (twice > divisor) | ((twice == divisor) & q);
        out[k] = std::uint8_t(q);
    }
}

#define GLIMT_VECTOR_LOOPS(Sum)                                                                                      \
    GLIMT_VECTOR_CLONES void SetBytes(Sum* sums, const std::uint8_t* bytes, std::size_t n)                          \
    {                                                                                                                \
        SumBytes<false>(sums, bytes, n);                                                                             \
    }                                                                                                                \
    GLIMT_VECTOR_CLONES void AddBytes(Sum* sums, const std::uint8_t* bytes, std::size_t n)                          \
    {                                                                                                                \
        SumBytes<true>(sums, bytes, n);                                                                              \
    }                                                                                                                \
    GLIMT_VECTOR_CLONES void AddScaled(Sum* out, const Sum* inner, Sum innerWeight, const std::uint8_t* a, Sum wa,  \
                                       const std::uint8_t* b, Sum wb, std::size_t n)                                 \
    {                                                                                                                \
        SumScaled(out, inner, innerWeight, a, wa, b, wb, n);                                                         \
    }                                                                                                                \
    GLIMT_VECTOR_CLONES void ColumnPass(const Sum* column, const Span<Sum>* spans, std::size_t count, Sum inside,  \
                                        Sum* sums)                                                                   \
    {                                                                                                                \
        SumSpans(column, spans, count, inside, sums);                                                                \
    }                                                                                                                \
    GLIMT_VECTOR_CLONES void DivideRow(const Sum* n, std::uint8_t* out, std::size_t count, Sum d)                  \
    {                                                                                                                \
        RoundDivide(n, out, count, d);                                                                               \
    }
GLIMT_VECTOR_LOOPS(std::uint32_t)
GLIMT_VECTOR_LOOPS(std::uint64_t)
#undef GLIMT_VECTOR_LOOPS

GLIMT_VECTOR_CLONES bool RowHasTransparent(const std::uint8_t* bytes, std::size_t n)
{
    return AnyTransparent(bytes, n);
}

GLIMT_VECTOR_CLONES void MaskRow(const std::uint8_t* bytes, std::uint8_t* out, std::uint32_t* hidden, std::size_t n)
{
    MaskTransparent(bytes, out, hidden, n);
}

// The resampling itself, one destination row at a time: the rows of its window into column
// sums (the interior rows, of the full height dh, added plainly and multiplied once), then the
// columns of each window with their widths, then the division. Only destination rows whose
// window holds a transparent cell take the masked path: there a transparent cell adds no
// colour of its own, a count per column tells the windows with transparent cells, and those
// that also have visible ones get the fill colour from a second, direct visit. Sum holds
// 255 x sw x sh.
template <class Sum>
void ResampleWith(const TmyImage& source, TmyImage& destination)
{
    const int sw = source.Width(), sh = source.Height();
    const int dw = destination.Width(), dh = destination.Height();
    const std::vector<Window> rows = Windows(sh, dh);
    const std::vector<Span<Sum>> spans = Spans<Sum>(sw, dw);
    const Sum total = Sum(sw) * Sum(sh);
    const std::size_t lanes = std::size_t(sw) * 4;

    std::vector<Sum> column(lanes), inner(lanes), sums(std::size_t(dw) * 4);
    std::vector<std::uint8_t> maskedFirst(lanes), maskedLast(lanes), maskedInner(lanes);
    std::vector<std::uint32_t> hidden(static_cast<std::size_t>(sw));
    std::vector<std::int8_t> rowState(std::size_t(sh), -1); // -1 not looked at yet, 1 transparent cells, 0 none
    auto bytesOf = [&](int r) { return reinterpret_cast<const std::uint8_t*>(source.Row(r)); };
    auto hasTransparent = [&](int r) {
        std::int8_t& state = rowState[std::size_t(r)];
        if (state < 0)
            state = RowHasTransparent(bytesOf(r), std::size_t(sw)) ? 1 : 0;
        return state != 0;
    };

    for (int j = 0; j < dh; ++j) {
        const Window& wr = rows[std::size_t(j)];
        TmyPixel* out = destination.Row(j);
        // Enlarging: a row whose window lies in the same single source row as the last one's
        // comes out the same.
        if (j > 0 && wr.first == wr.last && rows[std::size_t(j) - 1].first == wr.first &&
            rows[std::size_t(j) - 1].last == wr.first) {
            std::copy(destination.Row(j - 1), destination.Row(j - 1) + dw, out);
            continue;
        }
        bool mixed = false;
        for (int r = wr.first; r <= wr.last; ++r)
            mixed |= hasTransparent(r);
        if (mixed)
            std::fill(hidden.begin(), hidden.end(), 0);
        // A row as it is summed: transparent cells masked to 0 where the window has any.
        auto rowOf = [&](int r, std::vector<std::uint8_t>& buffer) {
            if (!mixed || !hasTransparent(r))
                return bytesOf(r);
            MaskRow(bytesOf(r), buffer.data(), hidden.data(), std::size_t(sw));
            return static_cast<const std::uint8_t*>(buffer.data());
        };

        const std::uint8_t* first = rowOf(wr.first, maskedFirst);
        if (wr.first == wr.last) {
            AddScaled(column.data(), nullptr, Sum(0), first, Sum(wr.wFirst), first, Sum(0), lanes);
        } else {
            const Sum* interior = nullptr;
            if (wr.last - wr.first > 1) {
                SetBytes(inner.data(), rowOf(wr.first + 1, maskedInner), lanes);
                for (int r = wr.first + 2; r < wr.last; ++r)
                    AddBytes(inner.data(), rowOf(r, maskedInner), lanes);
                interior = inner.data();
            }
            AddScaled(column.data(), interior, Sum(dh), first, Sum(wr.wFirst), rowOf(wr.last, maskedLast),
                      Sum(wr.wLast), lanes);
        }

        ColumnPass(column.data(), spans.data(), spans.size(), Sum(dw), sums.data());

        if (mixed) {
            for (int i = 0; i < dw; ++i) {
                const Span<Sum>& span = spans[std::size_t(i)];
                const std::size_t first = span.first, last = span.last;
                Sum* s = sums.data() + 4 * std::size_t(i);
                std::uint64_t transparent = 0;
                for (std::size_t x = first; x <= last; ++x)
                    transparent += hidden[x];
                if (s[3] == 0 || transparent == 0)
                    continue; // nothing visible, or nothing to fill
                // The fill colour, the plain mean of the window's visible cells, stands in for
                // the transparent ones with their share of the area.
                std::uint64_t fill[3] = {0, 0, 0}, n = 0, share = 0;
                for (int r = wr.first; r <= wr.last; ++r) {
                    const std::uint64_t height = r == wr.first ? wr.wFirst : r == wr.last ? wr.wLast : std::uint64_t(dh);
                    const TmyPixel* in = source.Row(r);
                    std::uint64_t width = 0;
                    for (std::size_t x = first; x <= last; ++x) {
                        if (in[x].A != 0) {
                            fill[0] += in[x].R;
                            fill[1] += in[x].G;
                            fill[2] += in[x].B;
                            ++n;
                        } else {
                            width += x == first ? span.wFirst : x == last ? span.wLast : Sum(dw);
                        }
                    }
                    share += height * width;
                }
                for (int k = 0; k < 3; ++k)
                    s[k] += Sum(fill[k] / n * share);
            }
        }
        DivideRow(sums.data(), reinterpret_cast<std::uint8_t*>(out), std::size_t(dw) * 4, total);
    }
}

void ResampleExact(const TmyImage& source, TmyImage& destination)
{
    // 32-bit sums hold 2 x 255 x sw x sh + sw x sh, the largest number the long division
    // forms, and the 32-bit division takes sums below 2^31.
    const std::uint64_t total = std::uint64_t(source.Width()) * std::uint64_t(source.Height());
    if (511 * total <= 0xFFFFFFFFu)
        ResampleWith<std::uint32_t>(source, destination);
    else
        ResampleWith<std::uint64_t>(source, destination);
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
