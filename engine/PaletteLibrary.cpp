#include "engine/PaletteLibrary.h"

#include "engine/ColorQuantizationLibrary.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace {

// Nearest palette entry by the sum of absolute channel differences, the lowest index on a tie:
// the choice of TmyPalette::NearestIndex. Colour space is cut into cells of 8 x 8 x 8; for each
// cell met, the entries that can be nearest to some colour in it are listed once (those whose
// distance to the cell is at most the smallest distance any entry has to the cell's farthest
// corner), nearest to the cell first, and only those are searched, until the distance to the
// cell alone exceeds the best distance found.
class NearestMapper {
public:
    explicit NearestMapper(const TmyPalette& palette)
    {
        for (const TmyPixel& c : palette.Colors)
            m_entries.push_back({c.R, c.G, c.B});
        m_cellStart.assign(kCells, -1);
    }

    int Index(const TmyPixel& p)
    {
        const int cell = (p.R >> kShift) << (2 * kBits) | (p.G >> kShift) << kBits | (p.B >> kShift);
        if (m_cellStart[std::size_t(cell)] < 0)
            BuildCell(cell);
        const Candidate* candidate = m_candidates.data() + m_cellStart[std::size_t(cell)];
        const Candidate* end = candidate + m_cellCount[std::size_t(cell)];
        int best = candidate->index;
        int bestDistance = Distance(m_entries[std::size_t(best)], p);
        for (++candidate; candidate < end && candidate->nearest <= bestDistance; ++candidate) {
            const int d = Distance(m_entries[std::size_t(candidate->index)], p);
            if (d < bestDistance || (d == bestDistance && candidate->index < best)) {
                best = candidate->index;
                bestDistance = d;
            }
        }
        return best;
    }

    void Map(TmyImage& image)
    {
        if (m_entries.empty())
            return;
        for (int y = 0; y < image.Height(); ++y) {
            TmyPixel* row = image.Row(y);
            for (int x = 0; x < image.Width(); ++x) {
                const Entry& e = m_entries[std::size_t(Index(row[x]))];
                row[x].SetRGB(e.r, e.g, e.b);
            }
        }
    }

private:
    struct Entry {
        std::uint8_t r, g, b;
    };
    struct Candidate {
        int nearest; // distance of the entry to the cell
        int index;
    };
    static constexpr int kBits = 4;
    static constexpr int kShift = 8 - kBits;
    static constexpr int kCells = 1 << (3 * kBits);
    static constexpr int kSide = 1 << kShift;

    static int Distance(const Entry& e, const TmyPixel& p)
    {
        return std::abs(int(e.r) - p.R) + std::abs(int(e.g) - p.G) + std::abs(int(e.b) - p.B);
    }

    // Distances of one channel value to the nearest and the farthest value of [lo, lo + side).
    static int Near(int v, int lo) { return v < lo ? lo - v : (v > lo + kSide - 1 ? v - lo - kSide + 1 : 0); }
    static int Far(int v, int lo) { return std::max(std::abs(v - lo), std::abs(v - lo - kSide + 1)); }

    void BuildCell(int cell)
    {
        const int r0 = ((cell >> (2 * kBits)) & ((1 << kBits) - 1)) << kShift;
        const int g0 = ((cell >> kBits) & ((1 << kBits) - 1)) << kShift;
        const int b0 = (cell & ((1 << kBits) - 1)) << kShift;
        int bound = 1 << 30;
        for (const Entry& e : m_entries)
            bound = std::min(bound, Far(e.r, r0) + Far(e.g, g0) + Far(e.b, b0));
        m_cellStart[std::size_t(cell)] = int(m_candidates.size());
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            const Entry& e = m_entries[i];
            const int nearest = Near(e.r, r0) + Near(e.g, g0) + Near(e.b, b0);
            if (nearest <= bound)
                m_candidates.push_back({nearest, int(i)});
        }
        std::stable_sort(m_candidates.begin() + m_cellStart[std::size_t(cell)], m_candidates.end(),
            [](const Candidate& a, const Candidate& b) { return a.nearest < b.nearest; });
        m_cellCount[std::size_t(cell)] = int(m_candidates.size()) - m_cellStart[std::size_t(cell)];
    }

    std::vector<Entry> m_entries;
    std::vector<int> m_cellStart;
    std::vector<int> m_cellCount = std::vector<int>(kCells);
    std::vector<Candidate> m_candidates;
};

// Below 128 a pixel becomes fully transparent black; from 128 to 254 it is laid over opaque
// white and made opaque.
void FlattenAlpha(TmyImage& image)
{
    for (int y = 0; y < image.Height(); ++y) {
        TmyPixel* row = image.Row(y);
        for (int x = 0; x < image.Width(); ++x) {
            TmyPixel& p = row[x];
            if (p.A < 128) {
                p = TmyPixel{};
            } else if (p.A < 255) {
                const int a = p.A;
                const int white = 255 * (255 - a);
                p.SetRGBA(std::uint8_t((white + a * p.R) / 255), std::uint8_t((white + a * p.G) / 255), std::uint8_t((white + a * p.B) / 255), 255);
            }
        }
    }
}

// The colours of the image as drawn opaque onto a black 24-bit bitmap (pixels with A above
// 128 in their colour, the others black), fed in the row order of a bottom-up bitmap.
void ScanOverBlack(const TmyImage& image, TColorQuantizer& quantizer)
{
    for (int y = image.Height() - 1; y >= 0; --y) {
        const TmyPixel* row = image.Row(y);
        for (int x = 0; x < image.Width(); ++x) {
            const TmyPixel& p = row[x];
            if (p.A > 128)
                quantizer.AddColor(p.R, p.G, p.B);
            else
                quantizer.AddColor(0, 0, 0);
        }
    }
}

} // namespace

void TPaletteLibrary::MapToOwnPalette(TmyImagePal& image)
{
    if (image.Palette)
        NearestMapper(*image.Palette).Map(image);
}

void TPaletteLibrary::MapToPalette(TmyImagePal& image, const TmyPalette& palette)
{
    NearestMapper(palette).Map(image);
}

void TPaletteLibrary::ConvertImageDepth(TmyImagePal& image, int bits)
{
    if (!TmyImagePal::IsValidDepth(bits))
        throw std::invalid_argument("colour depth must be 1, 4, 8, 24 or 32");
    const int entries = TmyImagePal::PaletteSizeFor(bits);
    if (entries > 0) {
        FlattenAlpha(image);
        TColorQuantizer quantizer(entries - 1, 6);
        ScanOverBlack(image, quantizer);
        const std::vector<TmyColor> table = quantizer.ExtractColorTable();

        if (image.Palette)
            image.Palette->SetCount(entries);
        else
            image.Palette.emplace(entries);
        TmyPalette& palette = *image.Palette;
        const int n = int(table.size());
        for (int i = 0; i < n; ++i)
            palette.Colors[std::size_t(i)].SetRGB(table[std::size_t(i)].R, table[std::size_t(i)].G, table[std::size_t(i)].B);
        // Transparent pixels are written as black, so the palette always holds it.
        if (palette.IndexOfColor(0) < 0 && n < palette.Count())
            palette.Colors[std::size_t(n)].SetRGB(0, 0, 0);
        MapToOwnPalette(image);
    } else {
        image.Palette.reset();
        if (image.BitDepth < 32) {
            for (std::size_t i = 0; i < image.PixelCount(); ++i) {
                TmyPixel& p = image.Data()[i];
                p.A = p.A != 0 ? 255 : 0;
            }
        } else if (bits != 32) {
            FlattenAlpha(image);
        }
    }
    image.BitDepth = std::uint8_t(bits);
}
