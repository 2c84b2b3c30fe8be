#pragma once
#include "engine/MyImage.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace glimt {

// PNG streams. The common forms (not interlaced, up to 8 bits per sample) are read by a fast
// reader of this file; every other file, and every file that reader declines (damaged ones
// among them), goes through libpng, wrapped so that libpng's errors come back as glimt::Error
// (never a longjmp across C++ frames). Both readers give the same pixels.

// Width and height from the IHDR chunk, without decoding anything. False when the bytes do
// not start with a PNG signature and a well-formed IHDR.
bool PngDimensions(const std::uint8_t* data, std::size_t size, int& width, int& height);

struct PngReadOptions {
    // Every pixel's alpha cut by CutAlphaBelow32 (for images below 32 bits).
    bool CutAlpha = false;
    // When set, receives the colours of a palette image: its palette entries (as decoded) in
    // the order the image first uses them, so that the image's distinct colours in the order
    // first met are those of this list. Left empty when the reader cannot tell them cheaply.
    std::vector<TmyPixel>* FirstMet = nullptr;
};

// Decodes any PNG (every colour type and bit depth, interlaced or not, tRNS honoured) to
// straight-alpha RGBA. Throws glimt::Error on malformed data and before allocating anything
// larger than TmyImage::MaxPixels or 32768 pixels on a side.
TmyImage DecodePng(const std::uint8_t* data, std::size_t size, const PngReadOptions& options = {});

namespace detail {
// The two readers on their own, for the tests that compare them. The fast one returns false
// when it declines the file (and leaves `image` alone).
bool DecodePngFast(const std::uint8_t* data, std::size_t size, TmyImage& image);
TmyImage DecodePngWithLibpng(const std::uint8_t* data, std::size_t size);
} // namespace detail

// Encodes the pixels as 8-bit RGBA, non-interlaced, with fixed compression settings, so the
// same image always gives the same bytes.
QByteArray EncodePng(const TmyImage& image);

} // namespace glimt
