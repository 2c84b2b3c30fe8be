#pragma once
#include "engine/MyPalette.h"
#include "engine/MyPixel.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QImage;

namespace glimt {
// The allocator of pixel storage: as std::allocator, except that an element made without a
// value is left as the memory holds it, so that growing storage which is written next costs
// no clearing pass. Pixels are plain bytes (an implicit-lifetime aggregate).
template <class T>
struct OverwriteAllocator : std::allocator<T> {
    using value_type = T;
    template <class U>
    struct rebind {
        using other = OverwriteAllocator<U>;
    };
    OverwriteAllocator() = default;
    template <class U>
    OverwriteAllocator(const OverwriteAllocator<U>&) noexcept
    {
    }
    template <class U>
    void construct(U*) noexcept
    {
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
} // namespace glimt

// A Width x Height grid of pixels, stored packed and row-major (row 0 is the top row).
// Images are values: copying one copies its pixels. Sizes are at least 1 x 1.
class TmyImage {
public:
    // The largest number of pixels an image may hold (a 16384 x 16384 picture).
    static constexpr std::int64_t MaxPixels = std::int64_t(1) << 28;

    // Argument order Height, then Width; every pixel transparent (0, 0, 0, 0).
    // Throws std::invalid_argument for a side below 1 and std::length_error above MaxPixels.
    explicit TmyImage(int height = 1, int width = 1);
    virtual ~TmyImage() = default;
    TmyImage(const TmyImage&) = default;
    TmyImage& operator=(const TmyImage&) = default;
    TmyImage(TmyImage&&) noexcept = default;
    TmyImage& operator=(TmyImage&&) noexcept = default;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::size_t PixelCount() const { return m_pixels.size(); }

    // Pixels[x][y] of the model: column x, row y. Unchecked; see Contains.
    TmyPixel& Pixel(int x, int y) { return m_pixels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)]; }
    const TmyPixel& Pixel(int x, int y) const { return m_pixels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)]; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    TmyPixel* Row(int y) { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }
    const TmyPixel* Row(int y) const { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }
    TmyPixel* Data() { return m_pixels.data(); }
    const TmyPixel* Data() const { return m_pixels.data(); }

    // Discards the content: the new size, every pixel transparent. Height first.
    void SetSize(int height, int width);
    // The new size with the pixels' values unspecified, for a reader that writes every pixel
    // next (and so pays for no clearing). Height first; the same checks as SetSize.
    void SetSizeForOverwrite(int height, int width);
    void Fill(const TmyPixel& p);
    bool SamePixels(const TmyImage& other) const;

    // Canvas pixel (x, y) := black where A = 0, else the pixel's colour (opaque).
    // The canvas must be at least the image's size.
    void DrawTo(QImage& canvas) const;
    // Canvas pixel (X + x, Y + y) := the pixel's colour only where A > 128; others untouched.
    void DrawOpaqueAt(int X, int Y, QImage& canvas) const;

    // The pixels as a QImage of Format_RGBA8888 (a deep copy) and back. FromQImage converts
    // any format to RGBA8888 first; a null image gives a 1 x 1 transparent image.
    QImage ToQImage() const;
    static TmyImage FromQImage(const QImage& image);

protected:
    int m_width = 1;
    int m_height = 1;
    std::vector<TmyPixel, glimt::OverwriteAllocator<TmyPixel>> m_pixels;
};

// One image of an icon or cursor: pixels, a bit depth, a palette for 1, 4 and 8 bits, and the
// display zoom remembered for it. Copying is the deep copy of the model's Assign.
class TmyImagePal : public TmyImage {
public:
    // 2, 16 or 256 entries for depth 1, 4 or 8; none for 24 and 32.
    std::optional<TmyPalette> Palette;
    std::uint8_t BitDepth = 32;
    std::int32_t Zoom = 10;

    // Argument order Height, Width, BitDepth. Pixels transparent; default palette for 1, 4, 8;
    // Zoom from UpdateZoom.
    TmyImagePal(int height = 1, int width = 1, int bitDepth = 32);

    // Zoom := 512 div max(Width, Height), at most 10.
    void UpdateZoom();
    // Deep copy of size, depth, pixels, palette (or none) and Zoom.
    void Assign(const TmyImagePal& source) { *this = source; }
    // Fills the palette with the image's distinct colours in row order (see the .cpp).
    void BuildPalette();

    // The number of palette entries a depth has: 2, 16, 256, or 0 for 24 and 32 bits.
    static int PaletteSizeFor(int bitDepth);
    static bool IsValidDepth(int bitDepth)
    {
        return bitDepth == 1 || bitDepth == 4 || bitDepth == 8 || bitDepth == 24 || bitDepth == 32;
    }
    // Below 32 bits: every pixel's alpha cut to 0 or 255 by glimt::CutAlphaBelow32. At 32 bits
    // nothing changes.
    void CutAlphaToDepth();
};
