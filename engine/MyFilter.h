#pragma once
#include "engine/MyImage.h"

#include <array>
#include <cstdint>

// A 5 x 5 convolution kernel: 108 bytes of signed 32-bit little-endian fields in this order.
struct TFilterKernel {
    // Row-major, rows top to bottom (dy = -2..2), each row left to right (dx = -2..2).
    std::array<std::int32_t, 25> Weights{};
    // The weighted sums are divided by it; 0 counts as 1.
    std::int32_t Divisor = 1;
    // Added after the division.
    std::int32_t Offset = 0;
};
static_assert(sizeof(TFilterKernel) == 108, "a kernel is 27 packed 32-bit fields");

constexpr int FilterPresetCount = 29;
// The preset kernels, by index 0..28.
extern const std::array<TFilterKernel, FilterPresetCount> FilterPresets;
// Their names as the custom filter dialog lists them, by the same index.
extern const std::array<const char*, FilterPresetCount> FilterPresetNames;

// 5 x 5 filtering and the drop shadow. Plain routines without state.
namespace TmyFilter {

// Filters the whole image in place, sampling an unchanged copy. Neighbours outside the image
// are replaced by the centre's own column or row, each axis on its own. Transparent
// neighbours count with the mean colour of the visible ones. Without OnAlpha only visible
// pixels change colour and alpha is kept; with OnAlpha the alpha is filtered too and
// transparent pixels take the result. Below 32 bits alpha ends as 0 or 255 (A < 128
// transparent); transparent results are 0, 0, 0, 0.
void ApplyFilterKernel(TmyImagePal& image, TFilterKernel kernel, bool OnAlpha);

// The filtered value of one pixel of `image`: R, G, B and, with OnAlpha, the filtered alpha,
// else the pixel's own alpha. (X, Y) must lie inside the image.
TmyPixel FilterPixel(int X, int Y, const TmyImage& image, const TFilterKernel& kernel, bool OnAlpha);

// A grey, blurred copy of the image offset by one pixel right and down, laid under it.
// Below 32 bits alpha ends as 0 or 255; transparent pixels end as 255, 255, 255, 0.
void DropShadow(TmyImagePal& image);

} // namespace TmyFilter
