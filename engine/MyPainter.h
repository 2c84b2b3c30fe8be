#pragma once
#include "engine/MyPixel.h"

#include <cstdint>

// The colour routines every part of the editor shares: compositing one pixel over another,
// channel blending, the HSV conversions and the colour of the transparency checkerboard.
// Plain routines without state. The painting primitives of the editor may add their own
// routines to this namespace.
namespace TmyPainter {

// Composites NewPixel over Existing; the result replaces NewPixel. Without Force an opaque or
// fully transparent NewPixel is left alone; an Existing with A = 0 always leaves it alone.
void CompositePixel(TmyPixel& NewPixel, const TmyPixel& Existing, bool Force);

// Channel of a top colour (alpha At) over a bottom colour (alpha Ab), integer arithmetic.
// At and Ab must not both be 0.
std::uint8_t BlendChannels(std::uint8_t Ct, std::uint8_t Cb, std::uint8_t At, std::uint8_t Ab);

// (a * x + (255 - a) * y) >> 8. The divisor is 256, so 255 over anything comes out as 254.
constexpr std::uint8_t LerpChannel(std::uint8_t x, std::uint8_t y, std::uint8_t a)
{
    return std::uint8_t((unsigned(a) * x + unsigned(255 - a) * y) >> 8);
}

// The pixel over a background colour, each channel by LerpChannel with weight 255 - A.
TColor BlendOverBackground(const TmyPixel& background, const TmyPixel& pixel);

// H in degrees, S and V in percent; outputs 0..255 for S and V within 0..100. A negative H
// is the achromatic value and gives grey.
void HSVToRGB(std::int32_t H, std::int32_t S, std::int32_t V, std::int32_t& R, std::int32_t& G, std::int32_t& B);

// Inputs 0..255. A grey colour gives H = -360 and S = 0.
void RGBToHSV(float R, float G, float B, std::int32_t& H, std::int32_t& S, std::int32_t& V);

// The checkerboard colour at (x, y) for the cell size and colours of the settings.
TColor CheckerColor(std::int32_t x, std::int32_t y);

} // namespace TmyPainter

namespace glimt {

// The checkerboard of given settings, for loops that must not consult the settings per pixel.
// Cells are (x div CellSize) by (y div CellSize); CellSize must be at least 1.
struct Checkerboard {
    int CellSize = 4;
    TColor Color1 = 0xFFFFFF; // cells of mixed parity
    TColor Color2 = 0xEBEBEB; // cells where both indices are even or both odd

    // The board the settings describe (BKSize, Color1, Color2). A BKSize of 0, which a
    // hand-edited settings file can hold, is taken as 1 instead of dividing by zero.
    static Checkerboard FromOptions();

    TColor ColorAt(std::int32_t x, std::int32_t y) const
    {
        return (((x / CellSize) ^ (y / CellSize)) & 1) == 0 ? Color2 : Color1;
    }
};

} // namespace glimt
