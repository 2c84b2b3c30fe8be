#pragma once
#include "engine/MyImage.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace glimt {

// Windows and OS/2 bitmap files, read and written by the program itself.

// A decoded bitmap file: straight RGBA pixels (row 0 at the top) and the bits per pixel the
// file stored. Only 32-bit files give an alpha channel, taken from the file's alpha mask or,
// without one, from the fourth byte of each pixel; every other depth is opaque. Pixels that a
// run-length stream skips are (0, 0, 0, 0).
struct BmpPicture {
    TmyImage Pixels;
    int BitCount = 0;
};

// Decodes the bitmap in `data` (a whole file, starting with "BM"): 12-byte core headers and
// 40, 52, 56, 108 and 124-byte info headers; 1, 2, 4, 8, 16, 24 and 32 bits; uncompressed,
// RLE4, RLE8 and bit fields; bottom-up and top-down rows; palettes shorter than the depth
// allows. Throws glimt::Error on anything malformed (truncated data, a palette index past the
// palette, a run past the bitmap, inconsistent masks) and on pictures beyond the size limits.
BmpPicture DecodeBmp(const std::uint8_t* data, std::size_t size);

// Encodes the image as an uncompressed bottom-up bitmap with a 40-byte header: 32 bits writes
// B, G, R, A unchanged; 24 bits writes B, G, R and drops alpha.
QByteArray EncodeBmp(const TmyImage& image, int bitCount);

} // namespace glimt
