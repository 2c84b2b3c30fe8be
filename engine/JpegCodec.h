#pragma once
#include "engine/MyImage.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace glimt {

// JPEG through libjpeg-turbo. The library's errors come back as glimt::Error: its error
// handler jumps back only into a C-style function that owns no C++ object, and the wrapper
// around it turns the failure into an exception.

// Decodes a baseline, progressive or arithmetic-coded 8-bit JPEG (grey, YCbCr, RGB, CMYK or
// YCCK) to opaque RGB pixels. With a minimum size, the DCT scales the picture down by 1/2,
// 1/4 or 1/8 as far as the result stays at least minWidth x minHeight (thumbnails). Throws on
// malformed data, on 12-bit data and on pictures beyond the size limits.
TmyImage DecodeJpeg(const std::uint8_t* data, std::size_t size, int minWidth = 0, int minHeight = 0);

// Encodes R, G, B of the image (alpha is ignored) as a baseline JPEG at quality 90.
QByteArray EncodeJpeg(const TmyImage& image);

} // namespace glimt
