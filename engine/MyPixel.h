#pragma once
#include <cstdint>

// A Windows colour value: red in bits 0-7, green in 8-15, blue in 16-23, the top byte 0.
using TColor = std::uint32_t;

// One pixel: four bytes in memory order R, G, B, A (the byte order of QImage::Format_RGBA8888).
// A is 0 for fully transparent and 255 for opaque. Images store pixels packed, so a pixel is
// a plain value; the operations keep the names and argument orders of the document model.
struct TmyPixel {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    std::uint8_t A = 0;

    static constexpr TmyPixel Create() { return {}; }
    // Colour from a TColor; the result is transparent (A = 0), not opaque.
    static constexpr TmyPixel CreateColor(TColor color)
    {
        return {std::uint8_t(color & 0xFF), std::uint8_t((color >> 8) & 0xFF), std::uint8_t((color >> 16) & 0xFF), 0};
    }
    static constexpr TmyPixel CreateCopy(const TmyPixel& p) { return p; }
    static constexpr TmyPixel CreateRGBA(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) { return {r, g, b, a}; }

    constexpr void Assign(const TmyPixel& p) { *this = p; }
    constexpr bool Equals(const TmyPixel& p) const { return R == p.R && G == p.G && B == p.B && A == p.A; }
    constexpr bool SameRGB(const TmyPixel& p) const { return R == p.R && G == p.G && B == p.B; }
    constexpr bool IsTransparent() const { return A == 0; }
    constexpr void SetRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) { R = r; G = g; B = b; }
    constexpr void SetRGBA(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) { R = r; G = g; B = b; A = a; }
    // Sets R, G, B from a TColor; alpha is kept.
    constexpr void SetColor(TColor color)
    {
        R = std::uint8_t(color & 0xFF);
        G = std::uint8_t((color >> 8) & 0xFF);
        B = std::uint8_t((color >> 16) & 0xFF);
    }
    // R + G*256 + B*65536; alpha plays no part.
    constexpr TColor GetColor() const { return TColor(R) | (TColor(G) << 8) | (TColor(B) << 16); }

    friend constexpr bool operator==(const TmyPixel& a, const TmyPixel& b) { return a.Equals(b); }
};
static_assert(sizeof(TmyPixel) == 4, "pixels are packed 4-byte values");

namespace glimt {

// The alpha of an image below 32 bits is only 0 or 255. Where pixels with any alpha come into
// such an image (stamping the floating selection, PNG data read into an icon image of fewer
// bits, pictures placed into one), A of 128 or less becomes transparent (0, 0, 0, 0) and
// anything above becomes opaque.
constexpr TmyPixel CutAlphaBelow32(TmyPixel p)
{
    if (p.A <= 128)
        return TmyPixel{};
    p.A = 255;
    return p;
}

} // namespace glimt
