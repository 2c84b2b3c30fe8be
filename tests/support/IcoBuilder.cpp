#include "tests/support/IcoBuilder.h"

#include <QBuffer>

namespace glimt::test {

namespace {

void Put16(QByteArray& out, std::uint32_t v)
{
    out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void Put32(QByteArray& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PadRow(QByteArray& out, qsizetype rowStart)
{
    while ((out.size() - rowStart) % 4 != 0)
        out.append('\0');
}

// Packs the top-first values `v` of one row into bits of `depth`, leftmost in the high bits.
void PackRow(QByteArray& out, const int* v, int width, int depth)
{
    const qsizetype start = out.size();
    int acc = 0, bits = 0;
    for (int x = 0; x < width; ++x) {
        acc = (acc << depth) | (v[x] & ((1 << depth) - 1));
        bits += depth;
        if (bits == 8) {
            out.append(char(acc));
            acc = bits = 0;
        }
    }
    if (bits > 0)
        out.append(char(acc << (8 - bits)));
    PadRow(out, start);
}

} // namespace

QByteArray DibBytes(const DibSpec& s)
{
    QByteArray out;
    Put32(out, s.BiSize);
    Put32(out, std::uint32_t(s.BiWidth.value_or(s.Width)));
    Put32(out, std::uint32_t(s.BiHeight.value_or(2 * s.Height)));
    Put16(out, s.BiPlanes);
    Put16(out, s.BiBitCount.value_or(std::uint16_t(s.BitDepth)));
    Put32(out, s.BiCompression);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, s.BiClrUsed);
    Put32(out, 0);
    for (const TmyPixel& c : s.Palette)
        out.append(char(c.B)).append(char(c.G)).append(char(c.R)).append('\0');
    for (int y = s.Height - 1; y >= 0; --y) {
        const std::size_t at = std::size_t(y) * std::size_t(s.Width);
        if (s.BitDepth <= 8) {
            std::vector<int> row(std::size_t(s.Width), 0);
            for (int x = 0; x < s.Width && at + std::size_t(x) < s.Indices.size(); ++x)
                row[std::size_t(x)] = s.Indices[at + std::size_t(x)];
            PackRow(out, row.data(), s.Width, s.BitDepth);
        } else {
            const qsizetype start = out.size();
            for (int x = 0; x < s.Width; ++x) {
                const TmyPixel c = at + std::size_t(x) < s.Colors.size() ? s.Colors[at + std::size_t(x)] : TmyPixel{};
                out.append(char(c.B)).append(char(c.G)).append(char(c.R));
                if (s.BitDepth == 32)
                    out.append(char(c.A));
            }
            PadRow(out, start);
        }
    }
    for (int y = s.Height - 1; y >= 0; --y) {
        std::vector<int> row(std::size_t(s.Width), 0);
        const std::size_t at = std::size_t(y) * std::size_t(s.Width);
        for (int x = 0; x < s.Width && at + std::size_t(x) < s.Mask.size(); ++x)
            row[std::size_t(x)] = s.Mask[at + std::size_t(x)];
        PackRow(out, row.data(), s.Width, 1);
    }
    return out;
}

QByteArray QtPngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

IcoEntry& IcoBuilder::AddDib(const DibSpec& spec)
{
    IcoEntry e;
    e.Data = DibBytes(spec);
    e.Width = std::uint8_t(spec.Width);
    e.Height = std::uint8_t(spec.Height);
    e.ColorCount = std::uint8_t(spec.BitDepth == 1 ? 2 : spec.BitDepth == 4 ? 16 : 0);
    e.BitCount = std::uint16_t(spec.BitDepth);
    Entries.push_back(e);
    return Entries.back();
}

IcoEntry& IcoBuilder::AddPng(const QByteArray& png, int width, int height, std::uint16_t bitCount)
{
    IcoEntry e;
    e.Data = png;
    e.Width = std::uint8_t(width);
    e.Height = std::uint8_t(height);
    e.BitCount = bitCount;
    Entries.push_back(e);
    return Entries.back();
}

QByteArray IcoBuilder::Build() const
{
    QByteArray out;
    Put16(out, Reserved);
    Put16(out, Type);
    Put16(out, Count.value_or(std::uint16_t(Entries.size())));
    std::uint32_t offset = std::uint32_t(6 + 16 * Entries.size());
    for (const IcoEntry& e : Entries) {
        out.append(char(e.Width)).append(char(e.Height)).append(char(e.ColorCount)).append(char(e.Reserved));
        Put16(out, e.Planes);
        Put16(out, e.BitCount);
        Put32(out, e.BytesInRes.value_or(std::uint32_t(e.Data.size())));
        Put32(out, e.Offset.value_or(offset));
        offset += std::uint32_t(e.Data.size());
    }
    for (const IcoEntry& e : Entries)
        out.append(e.Data);
    return out;
}

} // namespace glimt::test
