#include "engine/MyFilter.h"

#include "engine/MyPainter.h"
#include "engine/myUndo.h"
#include "engine/myadjustments.h"

#include <algorithm>
#include <cmath>

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
        for (int k = 0; k < 5; ++k) {
            const int r = y + k - 2;
            rows[k] = image.Row(r < 0 || r >= image.Height() ? y : r);
        }
    }
    void SetCols(int width, int x)
    {
        for (int k = 0; k < 5; ++k) {
            const int c = x + k - 2;
            cols[k] = c < 0 || c >= width ? x : c;
        }
    }
};

std::uint8_t Finish(std::int64_t sum, std::int32_t divisor, std::int32_t offset)
{
    const std::int64_t v = std::int64_t(std::nearbyint((long double)sum / divisor)) + offset;
    return std::uint8_t(std::clamp<std::int64_t>(v, 0, 255));
}

// The filtered R, G, B and A of the centre of `n`. Sums are 64-bit: 25 weights of up to 2^31
// times 255 do not fit in 32.
TmyPixel Convolve(const Neighbourhood& n, const TFilterKernel& kernel)
{
    std::int64_t r = 0, g = 0, b = 0;
    int visible = 0;
    for (const TmyPixel* row : n.rows)
        for (int c : n.cols) {
            const TmyPixel& p = row[c];
            if (p.A != 0) {
                r += p.R;
                g += p.G;
                b += p.B;
                ++visible;
            }
        }
    if (visible == 0)
        visible = 1;
    const std::int64_t fillR = r / visible, fillG = g / visible, fillB = b / visible;

    std::int64_t sr = 0, sg = 0, sb = 0, sa = 0;
    for (int dy = 0; dy < 5; ++dy)
        for (int dx = 0; dx < 5; ++dx) {
            const std::int64_t w = kernel.Weights[std::size_t(dy * 5 + dx)];
            if (w == 0)
                continue;
            const TmyPixel& p = n.rows[dy][n.cols[dx]];
            if (p.A != 0) {
                sr += w * p.R;
                sg += w * p.G;
                sb += w * p.B;
            } else {
                sr += w * fillR;
                sg += w * fillG;
                sb += w * fillB;
            }
            sa += w * p.A;
        }
    const std::int32_t divisor = kernel.Divisor == 0 ? 1 : kernel.Divisor;
    return TmyPixel::CreateRGBA(Finish(sr, divisor, kernel.Offset), Finish(sg, divisor, kernel.Offset),
        Finish(sb, divisor, kernel.Offset), Finish(sa, divisor, kernel.Offset));
}

} // namespace

namespace TmyFilter {

void ApplyFilterKernel(TmyImagePal& image, TFilterKernel kernel, bool OnAlpha)
{
    const glimt::BusyGuard busy;
    const TmyImage source = image;
    const bool binaryAlpha = image.BitDepth < 32;
    Neighbourhood n;
    for (int y = 0; y < image.Height(); ++y) {
        n.SetRows(source, y);
        TmyPixel* out = image.Row(y);
        for (int x = 0; x < image.Width(); ++x) {
            n.SetCols(image.Width(), x);
            const TmyPixel result = Convolve(n, kernel);
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
