#pragma once
#include "engine/MyPixel.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace glimt {

// GIF through giflib. giflib reports errors by return value; the wrappers turn them into
// glimt::Error.

// One image of a GIF: its rectangle on the logical screen as the file states it, one colour
// index per pixel (rows in display order, interlacing undone), the colour table it uses (its
// local table, else the global one; possibly empty), and its Graphic Control Extension.
struct GifFrame {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Indices;
    std::vector<TmyPixel> Colors; // opaque entries
    int TransparentIndex = -1;    // -1: none
    int Disposal = 0;             // 0 unspecified, 1 keep, 2 restore background, 3 restore previous
};

struct GifPicture {
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    std::vector<GifFrame> Frames;
};

// Decodes every frame of a GIF87a or GIF89a file. The logical screen and every frame are
// size-checked before anything is allocated. A file without any image is refused; where the
// data breaks off, the frame keeps the rows decoded so far (the rest are index 0) and is the
// last one.
GifPicture DecodeGif(const std::uint8_t* data, std::size_t size);

// Writes a single-frame GIF89a of width x height colour indices with the given colour table
// (at most 256 entries, padded to a power of two). A transparent index of 0 or more adds a
// Graphic Control Extension naming it.
QByteArray EncodeGif(int width, int height, const std::vector<std::uint8_t>& indices, const std::vector<TmyPixel>& colors,
                     int transparentIndex);

} // namespace glimt
