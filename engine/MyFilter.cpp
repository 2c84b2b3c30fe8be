#include "engine/MyFilter.h"

#include "engine/MyPainter.h"
#include "engine/myUndo.h"
#include "engine/myadjustments.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr TFilterKernel K(std::array<std::int32_t, 25> weights, std::int32_t divisor, std::int32_t offset)
{
    return {weights, divisor, offset};
}

} // namespace

// clang-format off
const std::array<TFilterKernel, FilterPresetCount> FilterPresets = {
    K({0, 0, 0, 0, 0,  0, -1, 0, 1, 0,  0, -1, 1, 1, 0,  0, -1, 0, 1, 0,  0, 0, 0, 0, 0}, 1, 0),
    K({0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  0, -1, 0, 1, 0,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0}, 1, 192),
    K({0, 0, 0, 0, 0,  0, -1, 0, 1, 0,  0, -1, 0, 1, 0,  0, -1, 0, 1, 0,  0, 0, 0, 0, 0}, 1, 192),
    K({0, 0, 0, 0, 0,  0, -1, 0, 1, 0,  0, -1, 0, 1, 0,  0, -1, 0, 1, 0,  0, 0, 0, 0, 0}, 1, 128),
    K({0, 0, 0, 0, 0,  0, 1, 2, 1, 0,  0, 2, 2, 2, 0,  0, 1, 2, 1, 0,  0, 0, 0, 0, 0}, 14, 0),
    K({0, 0, 0, 0, 0,  0, 1, 3, 1, 0,  0, 3, 16, 3, 0,  0, 1, 3, 1, 0,  0, 0, 0, 0, 0}, 32, 0),
    K({0, 1, 2, 1, 0,  1, 4, 6, 4, 1,  2, 6, 8, 6, 2,  1, 4, 6, 4, 1,  0, 1, 2, 1, 0}, 64, 0),
    K({0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  1, 1, 1, 1, 1,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0}, 5, 0),
    K({0, 0, 0, 0, 0,  0, -1, -1, -1, 0,  0, -1, 16, -1, 0,  0, -1, -1, -1, 0,  0, 0, 0, 0, 0}, 8, 0),
    K({0, 0, 0, 0, 0,  0, -1, -1, -1, 0,  0, -1, 12, -1, 0,  0, -1, -1, -1, 0,  0, 0, 0, 0, 0}, 4, 0),
    K({0, 0, 0, 0, 0,  0, -1, -1, -1, 0,  0, -1, 24, -1, 0,  0, -1, -1, -1, 0,  0, 0, 0, 0, 0}, 16, 0),
    K({0, 0, 0, 0, 0,  0, -3, -3, -3, 0,  0, 0, 16, 0, 0,  0, 1, 1, 1, 0,  0, 0, 0, 0, 0}, 10, 0),
    K({0, -1, 0, 1, 0,  0, -1, 0, 1, 0,  0, -1, 0, 1, 0,  0, -1, 0, 1, 0,  0, -1, 0, 1, 0}, 1, 0),
    K({0, 0, 0, 0, 0,  -1, -1, -1, -1, -1,  0, 0, 0, 0, 0,  1, 1, 1, 1, 1,  0, 0, 0, 0, 0}, 1, 0),
    K({0, 0, 0, 0, 0,  0, -1, -2, -1, 0,  0, -2, 16, -2, 0,  0, -1, -2, -1, 0,  0, 0, 0, 0, 0}, 4, 0),
    K({0, 0, 0, 0, 0,  0, 1, 1, 1, 0,  0, 1, -2, 1, 0,  0, -1, -1, -1, 0,  0, 0, 0, 0, 0}, 1, 0),
    K({0, 0, 0, 0, 0,  0, 1, 3, 1, 0,  0, 3, -16, 3, 0,  0, 1, 3, 1, 0,  0, 0, 0, 0, 0}, 1, 0),
    K({0, 0, 0, 0, 0,  0, 0, 1, 0, 0,  0, 1, -4, 1, 0,  0, 0, 1, 0, 0,  0, 0, 0, 0, 0}, 1, 0),
    K({0, 0, 0, 0, 0,  0, -6, -2, -6, 0,  0, -1, 32, -1, 0,  0, -6, -2, -6, 0,  0, 0, 0, 0, 0}, 1, 240),
    K({0, 0, 0, 0, 0,  0, 1, 1, 1, 0,  0, 1, 1, 1, 0,  0, 1, 1, 1, 0,  0, 0, 0, 0, 0}, 9, 0),
    K({1, 2, 2, 2, 1,  2, 0, 0, 0, 2,  2, 0, -20, 0, 2,  2, 0, 0, 0, 2,  1, 2, 2, 2, 1}, 8, 0),
    K({0, 1, 0, 0, 0,  0, 0, 0, 0, 1,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  0, 0, 0, 1, 0}, 3, 0),
    K({0, -4, -9, -4, 0,  -4, -24, -1, -24, -4,  -9, -1, 169, -1, -9,  -4, -24, -1, -24, -4,  0, -4, -9, -4, 0}, 1, 0),
    K({1, 0, 0, 0, 0,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  0, 0, 0, 0, 1}, 1, -190),
    K({1, 0, 0, 0, 0,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  0, 0, 0, 0, 1}, 1, -64),
    K({0, 0, 0, 0, 0,  0, 1, -1, 1, 0,  0, -1, 1, -1, 0,  0, 1, -1, 1, 0,  0, 0, 0, 0, 0}, 1, 0),
    K({1, 0, -1, 0, 1,  0, 0, 0, 0, 0,  -1, 0, 1, 0, -1,  0, 0, 0, 0, 0,  1, 0, -1, 0, 1}, 1, 0),
    K({0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  0, 0, 2, 0, 0,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0}, 1, 128),
    K({-2, -2, 2, 2, 2,  -2, -1, 1, -1, 2,  -2, 1, 4, 1, 2,  -2, -1, 1, -1, -1,  3, 3, -3, -3, 4}, 7, 0),
};
// clang-format on

const std::array<const char*, FilterPresetCount> FilterPresetNames = {
    "Emboss Color", "Emboss Light", "Emboss Medium", "Emboss Dark", "Blur", "Blur Soft", "Blur More",
    "Motion Blur", "Sharpen", "Sharpen More", "Sharpen Less", "Sharpen Directional",
    "Find Edges (Vertical)", "Find Edges (Horizontal)", "Enhance Edges", "Detect Edges", "Edges Strong",
    "Edges Weak", "Contour", "Average", "Glow", "Waggle", "Pattern", "Paint Dark", "Paint Bright",
    "Shake Less", "Shake", "Pale", "Scene",
};

namespace {

// A neighbour's row (or column): centre + offset when inside 0..limit-1, else the centre's own.
inline int Source(int limit, int centre, int offset)
{
    const int v = centre + offset;
    return v < 0 || v >= limit ? centre : v;
}

// Round(sum / divisor) + offset, clamped to a byte. Every sum here is an integer below 2^45
// in magnitude and the divisor a 32-bit integer, so the double quotient is an exact half only
// when the true quotient is, and otherwise lies on the same side of the half: rounding it half
// to even is rounding the exact quotient.
inline std::uint8_t RoundChannel(double sum, double divisor, double offset)
{
    const double v = std::nearbyint(sum / divisor) + offset;
    return std::uint8_t(v <= 0 ? 0 : v >= 255 ? 255 : v);
}

// What the finishing step needs of a kernel.
struct KernelTotals {
    double totalWeight = 0;
    double divisor = 1;
    double offset = 0;

    explicit KernelTotals(const TFilterKernel& kernel)
        : divisor(kernel.Divisor == 0 ? 1 : kernel.Divisor), offset(kernel.Offset)
    {
        for (std::int32_t w : kernel.Weights)
            totalWeight += w;
    }
};

// The filtered pixel from its sums. r, g, b weigh the colour of the visible neighbours only
// (transparent ones count 0) and visibleWeight is the weight that fell on visible ones.
// Transparent neighbours count with the fill colour, the mean colour of the visible ones among
// all 25 (truncated; boxR, boxG, boxB and boxVisible are their sums and number), so their
// share is fill x (totalWeight - visibleWeight). Sums of 25 32-bit weights times 255 need
// more than 32 bits; they are held exactly in doubles.
struct PixelSums {
    double r = 0, g = 0, b = 0, a = 0, visibleWeight = 0;
    int boxR = 0, boxG = 0, boxB = 0, boxVisible = 0;

    TmyPixel Finish(const KernelTotals& k) const
    {
        double sr = r, sg = g, sb = b;
        const double hiddenWeight = k.totalWeight - visibleWeight;
        if (hiddenWeight != 0) {
            const int n = boxVisible == 0 ? 1 : boxVisible;
            sr += double(boxR / n) * hiddenWeight;
            sg += double(boxG / n) * hiddenWeight;
            sb += double(boxB / n) * hiddenWeight;
        }
        return TmyPixel::CreateRGBA(RoundChannel(sr, k.divisor, k.offset), RoundChannel(sg, k.divisor, k.offset),
            RoundChannel(sb, k.divisor, k.offset), RoundChannel(a, k.divisor, k.offset));
    }
};

// One pixel, straight from its 25 neighbours.
TmyPixel Convolve(const TmyImage& image, int x, int y, const TFilterKernel& kernel)
{
    PixelSums s;
    for (int dy = 0; dy < 5; ++dy) {
        const TmyPixel* row = image.Row(Source(image.Height(), y, dy - 2));
        for (int dx = 0; dx < 5; ++dx) {
            const TmyPixel& p = row[Source(image.Width(), x, dx - 2)];
            const double w = kernel.Weights[std::size_t(dy * 5 + dx)];
            s.a += w * p.A;
            if (p.A == 0)
                continue;
            s.r += w * p.R;
            s.g += w * p.G;
            s.b += w * p.B;
            s.visibleWeight += w;
            s.boxR += p.R;
            s.boxG += p.G;
            s.boxB += p.B;
            ++s.boxVisible;
        }
    }
    return s.Finish(KernelTotals(kernel));
}

// The sums of one row of the whole-image pass, one array per quantity, and what finishing
// them needs.
template <class Real>
struct RowSums {
    int width = 0;
    // The colour sums take the fill colour's share in place.
    Real *r, *g, *b;
    const Real *a, *visibleWeight;
    // Room for the four rounded channels of the row.
    std::int32_t* channels[4];
    // Five-row column sums of the visible colours and the visibility.
    const Real *columnR, *columnG, *columnB, *columnVisible;
};

template <class Real>
[[gnu::always_inline]] inline void FinishRowImpl(const RowSums<Real>& s, const KernelTotals& k, TmyPixel* out)
{
    // Where weight falls on transparent neighbours, the fill colour's share is added to the
    // colour sums (rarely: near transparency only). The sums stay exact in Real, since with the
    // share they are still bounded by 255 x the sum of the weights' magnitudes.
    const Real total = Real(k.totalWeight);
    for (int x = 0; x < s.width; ++x) {
        const Real hiddenWeight = total - s.visibleWeight[x];
        if (hiddenWeight == 0)
            continue;
        int r = 0, g = 0, b = 0, n = 0;
        for (int dx = -2; dx <= 2; ++dx) {
            const int c = Source(s.width, x, dx);
            r += int(s.columnR[c]);
            g += int(s.columnG[c]);
            b += int(s.columnB[c]);
            n += int(s.columnVisible[c]);
        }
        if (n == 0)
            n = 1;
        s.r[x] += Real(r / n) * hiddenWeight;
        s.g[x] += Real(g / n) * hiddenWeight;
        s.b[x] += Real(b / n) * hiddenWeight;
    }
    const Real* sums[4] = {s.r, s.g, s.b, s.a};
    const double divisor = k.divisor, offset = k.offset;
    const int width = s.width;
    for (int channel = 0; channel < 4; ++channel) {
        const Real* in = sums[channel];
        std::int32_t* o = s.channels[channel];
        for (int x = 0; x < width; ++x) {
            double v = std::nearbyint(double(in[x]) / divisor) + offset;
            v = v < 0 ? 0 : v;
            v = v > 255 ? 255 : v;
            o[x] = std::int32_t(v);
        }
    }
    for (int x = 0; x < s.width; ++x)
        out[x] = TmyPixel::CreateRGBA(std::uint8_t(s.channels[0][x]), std::uint8_t(s.channels[1][x]),
            std::uint8_t(s.channels[2][x]), std::uint8_t(s.channels[3][x]));
}

// out[x] := the 25 weighted terms of the rows, for 2 <= x < width - 2 where no neighbour lies
// outside.
template <class Real>
[[gnu::always_inline]] inline void WeightedInteriorImpl(const Real* const* rows, const Real* w, Real* out, int width)
{
    for (int x = 2; x < width - 2; ++x) {
        Real acc = 0;
        for (int dy = 0; dy < 5; ++dy)
            for (int dx = 0; dx < 5; ++dx)
                acc += w[dy * 5 + dx] * rows[dy][x + dx - 2];
        out[x] = acc;
    }
}

// The hot loops of filtering are also compiled for AVX2, FMA and SSE4.1, chosen at run time
// where the processor has them. The values are integers held exactly, so the fused and the
// plain forms give the same sums.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define GLIMT_TARGET_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define GLIMT_TARGET_CLONES
#endif

GLIMT_TARGET_CLONES void WeightedInterior(const float* const* rows, const float* w, float* out, int width)
{
    WeightedInteriorImpl(rows, w, out, width);
}
GLIMT_TARGET_CLONES void WeightedInterior(const double* const* rows, const double* w, double* out, int width)
{
    WeightedInteriorImpl(rows, w, out, width);
}
GLIMT_TARGET_CLONES void FinishRow(const RowSums<float>& s, const KernelTotals& k, TmyPixel* out)
{
    FinishRowImpl(s, k, out);
}
GLIMT_TARGET_CLONES void FinishRow(const RowSums<double>& s, const KernelTotals& k, TmyPixel* out)
{
    FinishRowImpl(s, k, out);
}

// The whole image a row at a time, the same arithmetic as Convolve in a cache- and
// vectoriser-friendly order. The five source rows a row needs are kept as planes (colour of
// visible pixels, 0 for transparent ones; alpha; visibility) in a ring, each loaded before its
// row of the image is overwritten, so the image is filtered in place.
//
// Real is float or double, used only where it holds every sum exactly: all values are
// integers, and float is chosen only when the largest possible sum, 255 x the sum of the
// weights' magnitudes, is below 2^24; double holds any sum of 25 32-bit weights times 255.
template <class Real>
class RowFilter {
public:
    RowFilter(TmyImage& image, const TFilterKernel& kernel)
        : m_image(image), m_width(image.Width()), m_height(image.Height()), m_totals(kernel),
          m_ring(std::size_t(5 * Planes * m_width)), m_sums(std::size_t(Planes * m_width)),
          m_columns(std::size_t(Planes * m_width)), m_channels(std::size_t(4 * m_width)),
          m_results(std::size_t(m_width))
    {
        for (std::size_t k = 0; k < 25; ++k)
            m_weights[k] = Real(kernel.Weights[k]);
        Load(0);
        if (m_height > 1)
            Load(1);
    }

    // Filters row y; rows must come in order from the top. Returns the row's results.
    const TmyPixel* Row(int y)
    {
        if (y + 2 < m_height)
            Load(y + 2);
        for (int plane = 0; plane < Planes; ++plane) {
            WeightedSums(y, plane);
            if (plane != Alpha)
                ColumnSums(y, plane);
        }
        RowSums<Real> s;
        s.width = m_width;
        s.r = Sums(Red);
        s.g = Sums(Green);
        s.b = Sums(Blue);
        s.a = Sums(Alpha);
        s.visibleWeight = Sums(Visible);
        s.columnR = Columns(Red);
        s.columnG = Columns(Green);
        s.columnB = Columns(Blue);
        s.columnVisible = Columns(Visible);
        for (int channel = 0; channel < 4; ++channel)
            s.channels[channel] = m_channels.data() + std::size_t(channel * m_width);
        FinishRow(s, m_totals, m_results.data());
        return m_results.data();
    }

private:
    enum { Red, Green, Blue, Alpha, Visible, Planes };

    Real* Plane(int row, int plane) { return m_ring.data() + std::size_t(((row % 5) * Planes + plane) * m_width); }
    Real* Sums(int plane) { return m_sums.data() + std::size_t(plane * m_width); }
    Real* Columns(int plane) { return m_columns.data() + std::size_t(plane * m_width); }

    void Load(int row)
    {
        const TmyPixel* p = m_image.Row(row);
        Real *r = Plane(row, Red), *g = Plane(row, Green), *b = Plane(row, Blue);
        Real *a = Plane(row, Alpha), *v = Plane(row, Visible);
        for (int x = 0; x < m_width; ++x) {
            const bool visible = p[x].A != 0;
            r[x] = visible ? p[x].R : 0;
            g[x] = visible ? p[x].G : 0;
            b[x] = visible ? p[x].B : 0;
            a[x] = p[x].A;
            v[x] = visible ? 1 : 0;
        }
    }

    // The weighted sums of one plane for row y; at the two columns of each side, outside
    // neighbours are the centre's own column.
    void WeightedSums(int y, int plane)
    {
        const Real* rows[5];
        for (int k = 0; k < 5; ++k)
            rows[k] = Plane(Source(m_height, y, k - 2), plane);
        Real* out = Sums(plane);
        WeightedInterior(rows, m_weights.data(), out, m_width);
        auto edge = [&](int x) {
            Real acc = 0;
            for (int dy = 0; dy < 5; ++dy)
                for (int dx = 0; dx < 5; ++dx)
                    acc += m_weights[std::size_t(dy * 5 + dx)] * rows[dy][Source(m_width, x, dx - 2)];
            out[x] = acc;
        };
        for (int x = 0; x < std::min(2, m_width); ++x)
            edge(x);
        for (int x = std::max(2, m_width - 2); x < m_width; ++x)
            edge(x);
    }

    void ColumnSums(int y, int plane)
    {
        Real* column = Columns(plane);
        std::fill(column, column + m_width, Real(0));
        for (int dy = -2; dy <= 2; ++dy) {
            const Real* in = Plane(Source(m_height, y, dy), plane);
            for (int x = 0; x < m_width; ++x)
                column[x] += in[x];
        }
    }

    TmyImage& m_image;
    int m_width, m_height;
    KernelTotals m_totals;
    std::array<Real, 25> m_weights;
    std::vector<Real> m_ring, m_sums, m_columns;
    std::vector<std::int32_t> m_channels;
    std::vector<TmyPixel> m_results;
};

// Writes the filtered rows into the image: visible pixels take the colour, with OnAlpha every
// pixel takes colour and alpha; below 32 bits alpha becomes 0 or 255; transparent results are
// 0, 0, 0, 0.
template <class Filter>
void FilterRows(TmyImagePal& image, Filter&& filter, bool OnAlpha)
{
    const bool binaryAlpha = image.BitDepth < 32;
    for (int y = 0; y < image.Height(); ++y) {
        const TmyPixel* results = filter.Row(y);
        TmyPixel* out = image.Row(y);
        for (int x = 0; x < image.Width(); ++x) {
            const TmyPixel& result = results[x];
            TmyPixel& p = out[x];
            if (OnAlpha)
                p = result;
            else if (p.A != 0)
                p.SetRGB(result.R, result.G, result.B);
            if (binaryAlpha)
                p.A = p.A >= 128 ? 255 : 0;
            if (p.A == 0)
                p.SetRGB(0, 0, 0);
        }
    }
}

} // namespace

namespace TmyFilter {

void ApplyFilterKernel(TmyImagePal& image, TFilterKernel kernel, bool OnAlpha)
{
    const glimt::BusyGuard busy;
    std::int64_t magnitude = 0;
    for (std::int32_t w : kernel.Weights)
        magnitude += w < 0 ? -std::int64_t(w) : w;
    if (magnitude * 255 < (std::int64_t(1) << 24))
        FilterRows(image, RowFilter<float>(image, kernel), OnAlpha);
    else
        FilterRows(image, RowFilter<double>(image, kernel), OnAlpha);
}

TmyPixel FilterPixel(int X, int Y, const TmyImage& image, const TFilterKernel& kernel, bool OnAlpha)
{
    TmyPixel result = Convolve(image, X, Y, kernel);
    if (!OnAlpha)
        result.A = image.Pixel(X, Y).A;
    return result;
}

void DropShadow(TmyImagePal& image)
{
    const glimt::BusyGuard busy;
    TmyImagePal shadow = image;
    TmyAdjustments::ShiftRight(shadow, 1);
    TmyAdjustments::ShiftDown(shadow, 1);
    // Contrast -100 turns every visible channel into 127 or 128: a neutral grey.
    TmyAdjustments::AdjustBrightnessContrast(shadow, 0, -100, true);
    ApplyFilterKernel(shadow, FilterPresets[4], true);

    const bool binaryAlpha = image.BitDepth < 32;
    TmyPixel* p = image.Data();
    const TmyPixel* under = shadow.Data();
    for (std::size_t i = 0, count = image.PixelCount(); i < count; ++i) {
        TmyPainter::CompositePixel(p[i], under[i], true);
        if (binaryAlpha)
            p[i].A = p[i].A >= 128 ? 255 : 0;
        if (p[i].A == 0)
            p[i].SetRGB(255, 255, 255);
    }
}

} // namespace TmyFilter
