#include "engine/MyFilter.h"

#include "engine/MyPainter.h"
#include "engine/myUndo.h"
#include "engine/myadjustments.h"

#include <algorithm>
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

// The 25 neighbours of one pixel: five source rows and five columns, already moved inside the
// image (an outside column is the centre's own column, an outside row the centre's own row).
struct Neighbourhood {
    const TmyPixel* rows[5];
    int cols[5];

    void SetRows(const TmyImage& image, int y)
    {
        for (int k = 0; k < 5; ++k)
            rows[k] = image.Row(SourceRow(image.Height(), y, k - 2));
    }
    void SetCols(int width, int x)
    {
        for (int k = 0; k < 5; ++k)
            cols[k] = SourceRow(width, x, k - 2);
    }
    // The same rule for rows and columns: centre + offset when inside 0..limit-1, else centre.
    static int SourceRow(int limit, int centre, int offset)
    {
        const int v = centre + offset;
        return v < 0 || v >= limit ? centre : v;
    }
};

// Round(sum / divisor) + offset, clamped to a byte, for the divisor of one kernel (0 counts as
// 1). The quotient is rounded half to even on the exact rational value: a first guess from a
// multiplication by the reciprocal, then corrected in integers, so that no sum of 64 bits
// loses its last digits.
class Rounder {
public:
    explicit Rounder(const TFilterKernel& kernel)
        : m_divisor(kernel.Divisor == 0 ? 1 : std::int64_t(kernel.Divisor)), m_offset(kernel.Offset)
    {
        if (m_divisor < 0) {
            m_divisor = -m_divisor;
            m_negate = true;
        }
        m_reciprocal = 1.0 / double(m_divisor);
    }

    std::uint8_t operator()(std::int64_t sum) const
    {
        if (m_divisor == 1 && !m_negate)
            return std::uint8_t(std::clamp<std::int64_t>(sum + m_offset, 0, 255));
        if (m_negate)
            sum = -sum;
        std::int64_t q = std::int64_t(double(sum) * m_reciprocal);
        std::int64_t rem = sum - q * m_divisor;
        while (rem < 0) {
            --q;
            rem += m_divisor;
        }
        while (rem >= m_divisor) {
            ++q;
            rem -= m_divisor;
        }
        if (2 * rem > m_divisor || (2 * rem == m_divisor && (q & 1) != 0))
            ++q;
        return std::uint8_t(std::clamp<std::int64_t>(q + m_offset, 0, 255));
    }

private:
    std::int64_t m_divisor;
    std::int64_t m_offset;
    bool m_negate = false;
    double m_reciprocal;
};

// The weighted sums of one pixel. Transparent neighbours count with the fill colour (the mean
// colour of the visible ones among the 25, truncated): with R', G', B' the colour of visible
// neighbours and 0 for transparent ones, SumR = sum(w x R') + fillR x (the weight of the
// transparent ones). Sums are 64-bit: 25 weights of up to 2^31 times 255 do not fit in 32.
struct Sums {
    std::int64_t r = 0, g = 0, b = 0, a = 0, visibleWeight = 0;
    // Over all 25 neighbours, whatever their weight: the fill colour's terms.
    std::int64_t boxR = 0, boxG = 0, boxB = 0, boxVisible = 0;

    TmyPixel Finish(const Rounder& round, std::int64_t totalWeight) const
    {
        std::int64_t sr = r, sg = g, sb = b;
        const std::int64_t hiddenWeight = totalWeight - visibleWeight;
        if (hiddenWeight != 0) {
            const std::int64_t n = boxVisible == 0 ? 1 : boxVisible;
            sr += boxR / n * hiddenWeight;
            sg += boxG / n * hiddenWeight;
            sb += boxB / n * hiddenWeight;
        }
        return TmyPixel::CreateRGBA(round(sr), round(sg), round(sb), round(a));
    }
};

std::int64_t TotalWeight(const TFilterKernel& kernel)
{
    std::int64_t total = 0;
    for (std::int32_t w : kernel.Weights)
        total += w;
    return total;
}

// One pixel, straight from its neighbours.
TmyPixel Convolve(const Neighbourhood& n, const TFilterKernel& kernel)
{
    Sums s;
    for (int dy = 0; dy < 5; ++dy)
        for (int dx = 0; dx < 5; ++dx) {
            const TmyPixel& p = n.rows[dy][n.cols[dx]];
            const std::int64_t w = kernel.Weights[std::size_t(dy * 5 + dx)];
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
    return s.Finish(Rounder(kernel), TotalWeight(kernel));
}

// out[x] := the 25 weighted terms of the rows for 2 <= x < width - 2, where no neighbour lies
// outside. The hot loop of filtering; it is also compiled for AVX2 and FMA, chosen at run
// time where the processor has them. The values are integers held exactly, so the fused and
// the plain forms give the same sums.
template <class Real>
[[gnu::always_inline]] inline void WeightedInterior(const Real* const* rows, const Real* w, Real* out, int width)
{
    for (int x = 2; x < width - 2; ++x) {
        Real acc = 0;
        for (int dy = 0; dy < 5; ++dy)
            for (int dx = 0; dx < 5; ++dx)
                acc += w[dy * 5 + dx] * rows[dy][x + dx - 2];
        out[x] = acc;
    }
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define GLIMT_TARGET_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define GLIMT_TARGET_CLONES
#endif

GLIMT_TARGET_CLONES void WeightedInteriorRow(const float* const* rows, const float* w, float* out, int width)
{
    WeightedInterior(rows, w, out, width);
}

GLIMT_TARGET_CLONES void WeightedInteriorRow(const double* const* rows, const double* w, double* out, int width)
{
    WeightedInterior(rows, w, out, width);
}

// The whole image a row at a time, written in place: the five source rows a row needs are
// kept as planes (colour of visible pixels, 0 for transparent ones; alpha; visibility) in a
// ring, each loaded before its row is overwritten. Every non-zero weight adds its shifted
// plane row to the row's sums, and the fill colour's box sums come from five-row column sums.
// The same arithmetic as Convolve, in a cache- and vectoriser-friendly order.
//
// Real is float or double, used only where it holds every sum exactly: all values are
// integers, and float is chosen only when the largest possible sum, 255 x the sum of the
// weights' magnitudes, is below 2^24; double holds any sum of 25 32-bit weights times 255
// (below 2^44). The results are therefore those of 64-bit integer sums.
template <class Real>
class RowFilter {
public:
    RowFilter(TmyImage& image, const TFilterKernel& kernel)
        : m_image(image), m_width(image.Width()), m_height(image.Height()), m_round(kernel),
          m_total(TotalWeight(kernel)), m_ring(std::size_t(5 * Planes * m_width))
    {
        for (std::size_t k = 0; k < 25; ++k)
            m_weights[k] = Real(kernel.Weights[k]);
        m_sums.resize(std::size_t(Planes * m_width));
        m_columns.resize(std::size_t(4 * m_width));
        m_results.resize(std::size_t(m_width));
        Load(0);
        if (m_height > 1)
            Load(1);
    }

    // Filters row y; rows must come in order from the top. Returns the results of the row.
    const TmyPixel* Row(int y)
    {
        if (y + 2 < m_height)
            Load(y + 2);
        for (int plane = 0; plane < Planes; ++plane)
            WeightedSums(y, plane);
        ColumnSums(y);
        const std::size_t w = std::size_t(m_width);
        for (int x = 0; x < m_width; ++x) {
            const std::size_t i = std::size_t(x);
            Sums s;
            s.r = std::int64_t(m_sums[i]);
            s.g = std::int64_t(m_sums[w + i]);
            s.b = std::int64_t(m_sums[2 * w + i]);
            s.a = std::int64_t(m_sums[3 * w + i]);
            s.visibleWeight = std::int64_t(m_sums[4 * w + i]);
            if (s.visibleWeight != m_total) {
                // Some weight falls on transparent neighbours: the fill colour is needed.
                Real r = 0, g = 0, b = 0, v = 0;
                for (int dx = -2; dx <= 2; ++dx) {
                    const std::size_t c = std::size_t(Neighbourhood::SourceRow(m_width, x, dx));
                    r += m_columns[c];
                    g += m_columns[w + c];
                    b += m_columns[2 * w + c];
                    v += m_columns[3 * w + c];
                }
                s.boxR = std::int64_t(r);
                s.boxG = std::int64_t(g);
                s.boxB = std::int64_t(b);
                s.boxVisible = std::int64_t(v);
            }
            m_results[i] = s.Finish(m_round, m_total);
        }
        return m_results.data();
    }

private:
    // R, G, B of visible pixels; A; 1 for visible pixels.
    static constexpr int Planes = 5;

    Real* Plane(int row, int plane)
    {
        return m_ring.data() + std::size_t(((row % 5) * Planes + plane) * m_width);
    }

    void Load(int row)
    {
        const TmyPixel* p = m_image.Row(row);
        Real *r = Plane(row, 0), *g = Plane(row, 1), *b = Plane(row, 2), *a = Plane(row, 3), *v = Plane(row, 4);
        for (int x = 0; x < m_width; ++x) {
            const bool visible = p[x].A != 0;
            r[x] = visible ? p[x].R : 0;
            g[x] = visible ? p[x].G : 0;
            b[x] = visible ? p[x].B : 0;
            a[x] = p[x].A;
            v[x] = visible ? 1 : 0;
        }
    }

    // The weighted sums of one plane for row y. Inside, all 25 terms at once so that the sum
    // stays in a register; the two columns at each side move outside neighbours to the
    // centre's own column.
    void WeightedSums(int y, int plane)
    {
        const Real* rows[5];
        for (int k = 0; k < 5; ++k)
            rows[k] = Plane(Neighbourhood::SourceRow(m_height, y, k - 2), plane);
        Real* out = m_sums.data() + std::size_t(plane * m_width);
        const Real* w = m_weights.data();
        WeightedInteriorRow(rows, w, out, m_width);
        auto edge = [&](int x) {
            Real acc = 0;
            for (int dy = 0; dy < 5; ++dy)
                for (int dx = 0; dx < 5; ++dx)
                    acc += w[dy * 5 + dx] * rows[dy][Neighbourhood::SourceRow(m_width, x, dx - 2)];
            out[x] = acc;
        };
        for (int x = 0; x < std::min(2, m_width); ++x)
            edge(x);
        for (int x = std::max(2, m_width - 2); x < m_width; ++x)
            edge(x);
    }

    // Five-row column sums of the visible colours and of the visibility, for row y: a
    // pixel's box sums over its 25 neighbours add five of them.
    void ColumnSums(int y)
    {
        const int planes[] = {0, 1, 2, 4};
        for (int k = 0; k < 4; ++k) {
            Real* column = m_columns.data() + std::size_t(k * m_width);
            std::fill(column, column + m_width, Real(0));
            for (int dy = -2; dy <= 2; ++dy) {
                const Real* in = Plane(Neighbourhood::SourceRow(m_height, y, dy), planes[k]);
                for (int x = 0; x < m_width; ++x)
                    column[x] += in[x];
            }
        }
    }

    TmyImage& m_image;
    int m_width, m_height;
    Rounder m_round;
    std::int64_t m_total;
    std::vector<Real> m_ring;
    std::array<Real, 25> m_weights;
    std::vector<Real> m_sums;
    std::vector<Real> m_columns;
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
    Neighbourhood n;
    n.SetRows(image, Y);
    n.SetCols(image.Width(), X);
    TmyPixel result = Convolve(n, kernel);
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
