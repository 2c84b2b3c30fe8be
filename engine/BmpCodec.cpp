#include "engine/BmpCodec.h"

#include "engine/ByteReader.h"
#include "engine/Errors.h"
#include "engine/PictureLimits.h"

#include <array>
#include <bit>
#include <vector>

namespace glimt {

namespace {

[[noreturn]] void Bad(const char* why)
{
    throw Error(QStringLiteral("Not a valid bitmap file: %1").arg(QLatin1String(why)));
}

// One colour channel described by a bit mask: where it sits and how wide it is.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::popcount(m);
        }
    }
    bool Contiguous() const { return mask == 0 || ((mask >> shift) & ((mask >> shift) + 1)) == 0; }
    // The channel's value scaled to 0..255.
    std::uint8_t Get(std::uint32_t v) const
    {
        if (!mask)
            return 0;
        const std::uint32_t c = (v & mask) >> shift;
        if (bits >= 8)
            return std::uint8_t(c >> (bits - 8));
        const std::uint32_t max = (1u << bits) - 1;
        return std::uint8_t((c * 255 + max / 2) / max);
    }
};

// Densities beyond this (about 25 400 dots per inch) come only from damaged headers.
constexpr std::int32_t MaxPixelsPerMetre = 1000000;

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    bool haveMasks = false;
    bool core = false;
    std::uint64_t paletteOffset = 0;
};

enum : std::uint32_t { BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3 };

Header ReadHeader(ByteReader& r)
{
    Header h;
    const std::uint32_t headerSize = r.U32();
    if (!r.Ok())
        Bad("truncated header");
    if (headerSize == 12) {
        h.core = true;
        h.width = r.U16();
        h.height = r.U16();
        if (r.U16() != 1)
            Bad("planes must be 1");
        h.bitCount = r.U16();
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124) {
        h.width = r.I32();
        const std::int32_t height = r.I32();
        if (r.U16() != 1)
            Bad("planes must be 1");
        h.bitCount = r.U16();
        h.compression = r.U32();
        h.sizeImage = r.U32();
        const std::int32_t xppm = r.I32();
        const std::int32_t yppm = r.I32();
        h.colorsUsed = r.U32();
        r.U32();
        if (xppm < 0 || yppm < 0 || xppm > MaxPixelsPerMetre || yppm > MaxPixelsPerMetre)
            Bad("impossible pixel density");
        h.topDown = height < 0;
        h.height = height < 0 ? -std::int64_t(height) : std::int64_t(height);
        if (headerSize >= 52) {
            for (int i = 0; i < (headerSize >= 56 ? 4 : 3); ++i)
                h.masks[i] = r.U32();
            h.haveMasks = true;
        }
    } else {
        Bad("unknown header size");
    }
    if (!r.Ok())
        Bad("truncated header");
    h.paletteOffset = 14 + std::uint64_t(headerSize);
    if (h.compression == BiBitfields && headerSize == 40) {
        // The three masks follow a 40-byte header.
        if (!r.Seek(h.paletteOffset))
            Bad("truncated header");
        for (int i = 0; i < 3; ++i)
            h.masks[i] = r.U32();
        if (!r.Ok())
            Bad("truncated bit fields");
        h.haveMasks = true;
        h.paletteOffset += 12;
    }
    return h;
}

void CheckFormat(const Header& h)
{
    if (h.width <= 0 || h.height <= 0)
        Bad("width or height not positive");
    bool ok = false;
    switch (h.compression) {
    case BiRgb:
        ok = h.bitCount == 1 || h.bitCount == 2 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 || h.bitCount == 24
             || h.bitCount == 32;
        break;
    case BiRle8: ok = h.bitCount == 8; break;
    case BiRle4: ok = h.bitCount == 4; break;
    case BiBitfields: ok = h.bitCount == 16 || h.bitCount == 32; break;
    default: break;
    }
    if (!ok)
        Bad("unsupported bit count or compression");
    if (h.topDown && (h.compression == BiRle4 || h.compression == BiRle8))
        Bad("compressed bitmaps cannot be top-down");
    CheckPictureSize(h.width, h.height, "bitmap");
}

std::vector<TmyPixel> ReadPalette(ByteReader& r, const Header& h)
{
    const std::uint32_t maxEntries = 1u << h.bitCount;
    const std::uint64_t claimed = h.colorsUsed ? h.colorsUsed : maxEntries;
    const int entrySize = h.core ? 3 : 4;
    if (!r.InRange(h.paletteOffset, claimed * std::uint64_t(entrySize)))
        Bad("palette runs past the end of the file");
    // Entries beyond what the depth can address are never used.
    const std::uint32_t count = std::uint32_t(std::min<std::uint64_t>(claimed, maxEntries));
    std::vector<TmyPixel> palette(count);
    r.Seek(h.paletteOffset);
    for (TmyPixel& p : palette) {
        const std::uint8_t b = r.U8(), g = r.U8(), rr = r.U8();
        if (entrySize == 4)
            r.U8();
        p = TmyPixel::CreateRGBA(rr, g, b, 255);
    }
    return palette;
}

class PixelSink {
public:
    PixelSink(TmyImage& image, const std::vector<TmyPixel>& palette, bool topDown)
        : m_image(image), m_palette(palette), m_topDown(topDown)
    {
    }
    // Row `y` counted in file order.
    TmyPixel* Row(std::int64_t y) { return m_image.Row(int(m_topDown ? y : m_image.Height() - 1 - y)); }
    TmyPixel Index(std::uint32_t i) const
    {
        if (i >= m_palette.size())
            Bad("palette index past the palette");
        return m_palette[i];
    }

private:
    TmyImage& m_image;
    const std::vector<TmyPixel>& m_palette;
    bool m_topDown;
};

void DecodeUncompressed(ByteReader& r, std::uint64_t offset, const Header& h, PixelSink& sink, TmyImage& image)
{
    const std::uint64_t stride = ((std::uint64_t(h.width) * std::uint64_t(h.bitCount) + 31) / 32) * 4;
    if (!r.InRange(offset, stride * std::uint64_t(h.height)))
        Bad("pixel data runs past the end of the file");
    const std::uint8_t* base = r.Data() + offset;
    const int w = image.Width();

    Channel red, green, blue, alpha;
    if (h.bitCount == 16 || h.bitCount == 32) {
        std::uint32_t m[4];
        if (h.compression == BiBitfields) {
            for (int i = 0; i < 4; ++i)
                m[i] = h.masks[i];
        } else if (h.bitCount == 16) {
            m[0] = 0x7C00, m[1] = 0x03E0, m[2] = 0x001F, m[3] = 0;
        } else {
            m[0] = 0xFF0000, m[1] = 0xFF00, m[2] = 0xFF, m[3] = 0;
        }
        if (h.bitCount == 32 && m[3] == 0 && ((m[0] | m[1] | m[2]) & 0xFF000000u) == 0)
            m[3] = 0xFF000000u; // the fourth byte
        const std::uint64_t limit = h.bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
        if (!m[0] || !m[1] || !m[2])
            Bad("a colour mask is empty");
        for (int i = 0; i < 4; ++i) {
            if (m[i] > limit || !Channel(m[i]).Contiguous())
                Bad("bad colour mask");
            for (int j = i + 1; j < 4; ++j)
                if (m[i] & m[j])
                    Bad("colour masks overlap");
        }
        red = Channel(m[0]), green = Channel(m[1]), blue = Channel(m[2]), alpha = Channel(m[3]);
    }

    for (std::int64_t y = 0; y < h.height; ++y) {
        const std::uint8_t* src = base + std::uint64_t(y) * stride;
        TmyPixel* dst = sink.Row(y);
        for (int x = 0; x < w; ++x) {
            switch (h.bitCount) {
            case 1:
            case 2:
            case 4:
            case 8: {
                const int bitPos = x * h.bitCount;
                const int shift = 8 - h.bitCount - (bitPos & 7);
                dst[x] = sink.Index((src[bitPos >> 3] >> shift) & ((1u << h.bitCount) - 1));
                break;
            }
            case 16: {
                const std::uint32_t v = std::uint32_t(src[2 * x]) | (std::uint32_t(src[2 * x + 1]) << 8);
                dst[x] = TmyPixel::CreateRGBA(red.Get(v), green.Get(v), blue.Get(v), 255);
                break;
            }
            case 24: dst[x] = TmyPixel::CreateRGBA(src[3 * x + 2], src[3 * x + 1], src[3 * x], 255); break;
            case 32: {
                const std::uint8_t* p = src + 4 * x;
                const std::uint32_t v = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
                                        | (std::uint32_t(p[3]) << 24);
                dst[x] = TmyPixel::CreateRGBA(red.Get(v), green.Get(v), blue.Get(v), alpha.Get(v));
                break;
            }
            }
        }
    }
}

// RLE4 and RLE8: runs and literal spans that stay inside the bitmap; anything reaching past
// a row's end, past the last row or past the data refuses the file.
void DecodeRle(ByteReader& r, std::uint64_t offset, const Header& h, PixelSink& sink)
{
    if (!r.Seek(offset))
        Bad("pixel data runs past the end of the file");
    const bool four = h.compression == BiRle4;
    const std::int64_t w = h.width, height = h.height;
    std::int64_t x = 0, y = 0;
    auto put = [&](std::uint32_t index) {
        if (x >= w || y >= height)
            Bad("run-length data runs past the bitmap");
        sink.Row(y)[x++] = sink.Index(index);
    };
    for (;;) {
        const std::uint8_t n = r.U8();
        const std::uint8_t c = r.U8();
        if (!r.Ok())
            Bad("run-length data is truncated");
        if (n > 0) {
            for (int i = 0; i < n; ++i)
                put(four ? ((i & 1) ? (c & 0x0F) : (c >> 4)) : c);
        } else if (c == 0) {
            x = 0;
            ++y;
        } else if (c == 1) {
            return;
        } else if (c == 2) {
            x += r.U8();
            y += r.U8();
            if (!r.Ok())
                Bad("run-length data is truncated");
            if (x > w || y > height)
                Bad("run-length delta leaves the bitmap");
        } else {
            const std::uint64_t bytes = four ? (c + 1u) / 2 : c;
            const std::uint8_t* p = r.Bytes(bytes);
            if (!p)
                Bad("run-length data is truncated");
            for (int i = 0; i < c; ++i)
                put(four ? ((i & 1) ? (p[i / 2] & 0x0F) : (p[i / 2] >> 4)) : p[i]);
            if (bytes & 1)
                r.Skip(1);
        }
    }
}

} // namespace

BmpPicture DecodeBmp(const std::uint8_t* data, std::size_t size)
{
    ByteReader r(data, size);
    if (r.U8() != 'B' || r.U8() != 'M')
        Bad("no BM signature");
    const std::uint32_t fileSize = r.U32();
    r.Skip(4);
    const std::uint32_t bitsOffset = r.U32();
    if (!r.Ok())
        Bad("truncated file header");
    if (fileSize > size && fileSize - size > 0xFFFF)
        Bad("the file size in the header is impossible");
    const Header h = ReadHeader(r);
    CheckFormat(h);
    if (h.sizeImage > size)
        Bad("the image size in the header is impossible");

    std::vector<TmyPixel> palette;
    if (h.bitCount <= 8)
        palette = ReadPalette(r, h);

    BmpPicture out;
    out.BitCount = h.bitCount;
    // A run-length stream may skip pixels, which stay transparent; an uncompressed one writes
    // every pixel, so its image is not cleared first.
    const bool rle = h.compression == BiRle4 || h.compression == BiRle8;
    if (rle)
        out.Pixels.SetSize(int(h.height), int(h.width));
    else
        out.Pixels.SetSizeForOverwrite(int(h.height), int(h.width));
    PixelSink sink(out.Pixels, palette, h.topDown);
    if (rle)
        DecodeRle(r, bitsOffset, h, sink);
    else
        DecodeUncompressed(r, bitsOffset, h, sink, out.Pixels);
    return out;
}

QByteArray EncodeBmp(const TmyImage& image, int bitCount)
{
    if (bitCount != 24 && bitCount != 32)
        throw Error(QStringLiteral("Bitmaps are written with 24 or 32 bits"));
    const std::uint64_t stride = ((std::uint64_t(image.Width()) * std::uint64_t(bitCount) + 31) / 32) * 4;
    const std::uint64_t pixelBytes = stride * std::uint64_t(image.Height());
    if (pixelBytes + 54 > 0x7FFFFFFFu)
        throw Error(QStringLiteral("The picture is too large for a bitmap file"));
    ByteWriter w;
    w.Reserve(qsizetype(pixelBytes + 54));
    w.U8('B');
    w.U8('M');
    w.U32(std::uint32_t(pixelBytes + 54));
    w.U32(0);
    w.U32(54);
    w.U32(40);
    w.I32(image.Width());
    w.I32(image.Height());
    w.U16(1);
    w.U16(std::uint16_t(bitCount));
    w.U32(BiRgb);
    w.U32(std::uint32_t(pixelBytes));
    w.I32(0);
    w.I32(0);
    w.U32(0);
    w.U32(0);
    const qsizetype pad = qsizetype(stride) - qsizetype(image.Width()) * (bitCount / 8);
    for (int y = image.Height() - 1; y >= 0; --y) {
        const TmyPixel* row = image.Row(y);
        for (int x = 0; x < image.Width(); ++x) {
            w.U8(row[x].B);
            w.U8(row[x].G);
            w.U8(row[x].R);
            if (bitCount == 32)
                w.U8(row[x].A);
        }
        w.Zeros(pad);
    }
    return w.Bytes();
}

} // namespace glimt
