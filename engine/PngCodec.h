#pragma once
#include "engine/MyImage.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace glimt {

// PNG streams through libpng, wrapped so that libpng's errors come back as glimt::Error
// (never a longjmp across C++ frames).

// Width and height from the IHDR chunk, without decoding anything. False when the bytes do
// not start with a PNG signature and a well-formed IHDR.
bool PngDimensions(const std::uint8_t* data, std::size_t size, int& width, int& height);

// Decodes any PNG (every colour type and bit depth, interlaced or not, tRNS honoured) to
// straight-alpha RGBA. Throws glimt::Error on malformed data and before allocating anything
// larger than TmyImage::MaxPixels or 32768 pixels on a side.
TmyImage DecodePng(const std::uint8_t* data, std::size_t size);

// Encodes the pixels as 8-bit RGBA, non-interlaced, with fixed compression settings, so the
// same image always gives the same bytes.
QByteArray EncodePng(const TmyImage& image);

} // namespace glimt
