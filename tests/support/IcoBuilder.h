#pragma once
#include "engine/MyPixel.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <optional>
#include <vector>

namespace glimt::test {

// One image stored as a bitmap: header, palette, colour rows and mask, built byte by byte on
// its own (not through the writer), with any header field overridable.
struct DibSpec {
    int Width = 1;
    int Height = 1;
    int BitDepth = 32;
    // Written as B, G, R, 0, exactly as many entries as given.
    std::vector<TmyPixel> Palette;
    // 1, 4 and 8 bits: Width * Height palette indices, top row first, left to right.
    std::vector<int> Indices;
    // 24 and 32 bits: Width * Height colours, top row first (A is stored at 32 bits only).
    std::vector<TmyPixel> Colors;
    // Width * Height mask bits (0 or 1), top row first; empty means all 0.
    std::vector<std::uint8_t> Mask;

    // Header fields; unset ones follow the image (biHeight = 2 * Height).
    std::uint32_t BiSize = 40;
    std::optional<std::int32_t> BiWidth;
    std::optional<std::int32_t> BiHeight;
    std::uint16_t BiPlanes = 1;
    std::optional<std::uint16_t> BiBitCount;
    std::uint32_t BiCompression = 0;
    std::uint32_t BiClrUsed = 0;
};

QByteArray DibBytes(const DibSpec& spec);

// A PNG file of the image, written by Qt's encoder.
QByteArray QtPngBytes(const QImage& image);

// One directory entry and the bytes it points at.
struct IcoEntry {
    QByteArray Data;
    std::uint8_t Width = 0;
    std::uint8_t Height = 0;
    std::uint8_t ColorCount = 0;
    std::uint8_t Reserved = 0;
    std::uint16_t Planes = 1;   // cursors: hot spot x
    std::uint16_t BitCount = 32; // cursors: hot spot y
    // Unset: the length of Data, and the offset where Build places Data.
    std::optional<std::uint32_t> BytesInRes;
    std::optional<std::uint32_t> Offset;
};

// ICO and CUR files assembled in memory: header, directory and the entries' data in order,
// with every field open to bogus values.
class IcoBuilder {
public:
    std::uint16_t Reserved = 0;
    std::uint16_t Type = 1; // 1 icon, 2 cursor
    // Unset: the number of entries.
    std::optional<std::uint16_t> Count;
    std::vector<IcoEntry> Entries;

    explicit IcoBuilder(std::uint16_t type = 1) : Type(type) {}

    // A bitmap entry; the directory fields follow the image.
    IcoEntry& AddDib(const DibSpec& spec);
    // A PNG entry with the given directory bit count.
    IcoEntry& AddPng(const QByteArray& png, int width, int height, std::uint16_t bitCount = 32);

    QByteArray Build() const;
};

} // namespace glimt::test
