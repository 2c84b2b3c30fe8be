#include "engine/PaletteLibrary.h"

#include "engine/ColorQuantizationLibrary.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace {

// Nearest palette entry by the sum of absolute channel differences, the lowest index on a tie:
// the choice of TmyPalette::NearestIndex. Entries are searched outward from the pixel's red
// value in red order, stopping once the red difference alone exceeds the best distance, and
// the answers for recent colours are remembered.
class NearestMapper {
public:
    struct Entry {
        int r, g, b, index;
    };

    explicit NearestMapper(const TmyPalette& palette)
    {
        const int n = palette.Count();
        m_entries.reserve(std::size_t(n));
        for (int i = 0; i < n; ++i) {
            const TmyPixel& c = palette.Colors[std::size_t(i)];
            m_entries.push_back({c.R, c.G, c.B, i});
        }
        std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) { return a.r < b.r; });
        // m_firstAtOrAbove[v]: the first sorted entry whose red is at least v.
        std::size_t k = 0;
        for (int v = 0; v <= 256; ++v) {
            while (k < m_entries.size() && m_entries[k].r < v)
                ++k;
            m_firstAtOrAbove[std::size_t(v)] = int(k);
        }
    }

    bool Empty() const { return m_entries.empty(); }

    // The sorted entry nearest to the pixel.
    const Entry& Nearest(const TmyPixel& p)
    {
        const std::uint32_t key = (std::uint32_t(p.R) | (std::uint32_t(p.G) << 8) | (std::uint32_t(p.B) << 16)) | kValid;
        Slot& slot = m_cache[(key ^ (key >> 9) ^ (key >> 18)) & (kCacheSize - 1)];
        if (slot.key != key)
            slot = {key, Search(p)};
        return m_entries[std::size_t(slot.sorted)];
    }

    void Map(TmyImage& image)
    {
        if (Empty())
            return;
        for (int y = 0; y < image.Height(); ++y) {
            TmyPixel* row = image.Row(y);
            for (int x = 0; x < image.Width(); ++x) {
                const Entry& e = Nearest(row[x]);
                row[x].SetRGB(std::uint8_t(e.r), std::uint8_t(e.g), std::uint8_t(e.b));
            }
        }
    }

private:
    struct Slot {
        std::uint32_t key = 0;
        int sorted = 0;
    };
    static constexpr std::uint32_t kValid = 0x80000000u;
    static constexpr std::size_t kCacheSize = 1 << 14;

    int Search(const TmyPixel& p) const
    {
        int best = -1;
        int bestDistance = 1 << 30;
        int bestIndex = 0;
        auto consider = [&](int k) {
            const Entry& e = m_entries[std::size_t(k)];
            const int d = std::abs(e.r - p.R) + std::abs(e.g - p.G) + std::abs(e.b - p.B);
            if (d < bestDistance || (d == bestDistance && e.index < bestIndex)) {
                best = k;
                bestDistance = d;
                bestIndex = e.index;
            }
        };
        const int n = int(m_entries.size());
        int up = m_firstAtOrAbove[p.R];
        int down = up - 1;
        while (up < n || down >= 0) {
            const int dUp = up < n ? m_entries[std::size_t(up)].r - p.R : 1 << 30;
            const int dDown = down >= 0 ? p.R - m_entries[std::size_t(down)].r : 1 << 30;
            if (std::min(dUp, dDown) > bestDistance)
                break;
            if (dUp <= dDown)
                consider(up++);
            else
                consider(down--);
        }
        return best;
    }

    std::vector<Entry> m_entries;
    std::array<int, 257> m_firstAtOrAbove{};
    std::vector<Slot> m_cache = std::vector<Slot>(kCacheSize);
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
