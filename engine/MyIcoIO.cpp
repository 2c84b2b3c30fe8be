#include "engine/MyIcoIO.h"

#include "engine/ByteReader.h"
#include "engine/Errors.h"
#include "engine/PngCodec.h"
#include "engine/SafeFile.h"
#include "engine/language.h"

#include <QDir>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <new>
#include <vector>

using glimt::ByteReader;
using glimt::ByteWriter;
using glimt::TMsgKind;

namespace {

// The largest image side the reader accepts.
constexpr int MaxSide = 256;
constexpr std::size_t HeaderBytes = 6;
constexpr std::size_t EntryBytes = 16;
constexpr std::size_t BitmapHeaderBytes = 40;

struct TIconDirEntry {
    std::uint8_t Width = 0;
    std::uint8_t Height = 0;
    std::uint8_t ColorCount = 0;
    std::uint8_t Reserved = 0;
    std::uint16_t Planes = 0;   // cursors: hot spot x
    std::uint16_t BitCount = 0; // cursors: hot spot y
    std::uint32_t BytesInRes = 0;
    std::uint32_t ImageOffset = 0;
};

std::uint64_t Pad4(std::uint64_t n)
{
    return (n + 3) & ~std::uint64_t(3);
}

// Bytes of one stored row of `width` pixels at `bitDepth`, padding included.
std::uint64_t RowBytes(int width, int bitDepth)
{
    return Pad4((std::uint64_t(width) * std::uint64_t(bitDepth) + 7) / 8);
}

bool IsSupportedDepth(int bitDepth)
{
    return TmyImagePal::IsValidDepth(bitDepth);
}

TBitmapInfoHeader ReadBitmapHeader(ByteReader& r)
{
    TBitmapInfoHeader h;
    h.biSize = r.U32();
    h.biWidth = r.I32();
    h.biHeight = r.I32();
    h.biPlanes = r.U16();
    h.biBitCount = r.U16();
    h.biCompression = r.U32();
    h.biSizeImage = r.U32();
    h.biXPelsPerMeter = r.I32();
    h.biYPelsPerMeter = r.I32();
    h.biClrUsed = r.U32();
    h.biClrImportant = r.U32();
    return h;
}

std::uint32_t BigEndian32(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
}

// Length of the PNG stream at `data`: up to the end of its IEND chunk; 0 when the chunks do not
// reach an IEND inside the data (such a stream is refused without being decoded).
std::uint64_t PngStreamLength(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t pos = 8;
    while (pos + 12 <= size) {
        const std::uint64_t end = pos + 12 + BigEndian32(data + pos);
        if (end > size)
            break;
        if (std::memcmp(data + pos + 4, "IEND", 4) == 0)
            return end;
        pos = end;
    }
    return 0;
}

// The byte ranges of the file that images were read from. Every image must come from bytes of
// its own: a directory whose entries all point at the same data would otherwise make a small
// file expand into any number of full-size images.
class UsedRanges {
public:
    // Claims [start, end); false when it overlaps a range already claimed.
    bool Claim(std::uint64_t start, std::uint64_t end)
    {
        auto next = m_ranges.lower_bound(start);
        if (next != m_ranges.end() && next->first < end)
            return false;
        if (next != m_ranges.begin() && std::prev(next)->second > start)
            return false;
        m_ranges.emplace(start, end);
        return true;
    }

private:
    std::map<std::uint64_t, std::uint64_t> m_ranges;
};

// The sort shared by the editing and the file order: a stable sort by the keys (equal images
// keep their order, as with exchanges of neighbours only), then Current := the last image with
// the size and depth the current image had.
bool SortBy(TmyIcon& icon, bool depthAscending)
{
    if (icon.Count() < 2)
        return false;
    const TmyImagePal* current = icon.CurrentImage();
    const bool hadCurrent = current != nullptr;
    const int curW = hadCurrent ? current->Width() : 0;
    const int curH = hadCurrent ? current->Height() : 0;
    const int curD = hadCurrent ? current->BitDepth : 0;

    std::vector<const TmyImagePal*> before;
    before.reserve(icon.Images.size());
    for (const auto& img : icon.Images)
        before.push_back(img.get());

    std::stable_sort(icon.Images.begin(), icon.Images.end(),
                     [depthAscending](const std::unique_ptr<TmyImagePal>& a, const std::unique_ptr<TmyImagePal>& b) {
                         if (a->BitDepth != b->BitDepth)
                             return depthAscending ? a->BitDepth < b->BitDepth : a->BitDepth > b->BitDepth;
                         if (a->Width() != b->Width())
                             return a->Width() > b->Width();
                         return a->Height() > b->Height();
                     });

    bool moved = false;
    for (std::size_t i = 0; i < before.size(); ++i)
        moved = moved || before[i] != icon.Images[i].get();
    if (hadCurrent) {
        for (int i = icon.Count() - 1; i >= 0; --i) {
            const TmyImagePal& img = icon.Image(i);
            if (img.Width() == curW && img.Height() == curH && img.BitDepth == curD) {
                icon.Current = i;
                break;
            }
        }
    }
    return moved;
}

// One stored row of a bitmap entry into `row` (bounds checked by the caller: the row's bytes
// lie inside the file). Returns the OR of the 32-bit pixels' fourth bytes (0 at other depths).
std::uint8_t ReadDibRow(const std::uint8_t* p, TmyPixel* row, int w, int depth, const TmyPixel* pal)
{
    std::uint8_t alpha = 0;
    switch (depth) {
    case 1:
        for (int x = 0; x < w; ++x)
            row[x] = pal[(p[x >> 3] >> (7 - (x & 7))) & 1];
        break;
    case 4:
        for (int x = 0; x + 1 < w; x += 2, ++p) {
            row[x] = pal[*p >> 4];
            row[x + 1] = pal[*p & 0x0F];
        }
        if (w & 1)
            row[w - 1] = pal[*p >> 4];
        break;
    case 8:
        for (int x = 0; x < w; ++x)
            row[x] = pal[p[x]];
        break;
    case 24:
        for (int x = 0; x < w; ++x, p += 3)
            row[x] = TmyPixel::CreateRGBA(p[2], p[1], p[0], 255);
        break;
    default:
        for (int x = 0; x < w; ++x, p += 4) {
            row[x] = TmyPixel::CreateRGBA(p[2], p[1], p[0], p[3]);
            alpha |= p[3];
        }
        break;
    }
    return alpha;
}

// Clears the pixels of `row` whose mask bit is set; whole bytes of clear bits are skipped.
void ApplyMaskRow(const std::uint8_t* mask, TmyPixel* row, int w)
{
    for (int x0 = 0; x0 < w; x0 += 8) {
        const std::uint8_t bits = mask[x0 >> 3];
        if (!bits)
            continue;
        for (int x = x0; x < std::min(w, x0 + 8); ++x)
            if ((bits >> (7 - (x - x0))) & 1)
                row[x] = TmyPixel{};
    }
}

// The palette of an image read from PNG: its distinct colours in the order first met. A palette
// PNG names the colours it uses in that order (`firstMet`), and a row of them gives the same
// palette as the whole image at a fraction of the cost; without them the image is scanned.
void BuildPaletteOf(TmyImagePal& img, const std::vector<TmyPixel>& firstMet)
{
    if (firstMet.empty()) {
        img.BuildPalette();
        return;
    }
    TmyImagePal colours(1, int(firstMet.size()), img.BitDepth);
    colours.Palette = img.Palette;
    std::copy(firstMet.begin(), firstMet.end(), colours.Data());
    colours.BuildPalette();
    img.Palette = std::move(colours.Palette);
}

} // namespace

void TmyIcoIO::ReportMessage(const QString& text, TMsgKind kind) const
{
    if (ShowMessages)
        glimt::Prompts().Message(kind, text);
}

void TmyIcoIO::ReportInvalidFormat(const QString& fileName) const
{
    QString text = glimt::Msg("msgInvalidFormat", "Invalid File Format!");
    if (!fileName.isEmpty())
        text += QLatin1Char('\n') + QDir::toNativeSeparators(fileName);
    ReportMessage(text, TMsgKind::Error);
}

bool TmyIcoIO::LoadFromFile(std::unique_ptr<TmyIcon>& icon, const QString& fileName)
{
    return LoadFromBytes(icon, glimt::ReadWholeFile(fileName), fileName);
}

bool TmyIcoIO::LoadFromBytes(std::unique_ptr<TmyIcon>& icon, const QByteArray& bytes, const QString& fileName)
{
    Entries = 0;
    DamagedEntries = 0;
    ByteReader r(bytes);
    const std::uint16_t reserved = r.U16();
    const std::uint16_t type = r.U16();
    const std::int16_t count = r.I16();
    if (!r.Ok() || reserved != 0 || (type != 1 && type != 2)) {
        ReportInvalidFormat(fileName);
        return false;
    }
    icon = std::make_unique<TmyIcon>();
    icon->Kind = type == 1 ? 0 : 1;
    Entries = std::max<int>(count, 0);
    // A file without entries holds no image; with a name to give, that is said.
    if (count <= 0) {
        if (!fileName.isEmpty())
            ReportInvalidFormat(fileName);
        return false;
    }
    // The whole directory must lie inside the file before any of it is believed.
    if (!r.InRange(HeaderBytes, std::uint64_t(count) * EntryBytes)) {
        ReportInvalidFormat(fileName);
        return false;
    }
    const int read = ReadEntries(*icon, r.Data(), r.Size(), count);
    if (!fileName.isEmpty() && DamagedEntries > 0) {
        if (read == 0)
            ReportInvalidFormat(fileName);
        else
            ReportMessage(glimt::MsgSII("msgDamagedIcon", "%s1 is damaged: %i1 of its %i2 images could not be read.",
                                        QDir::toNativeSeparators(fileName), DamagedEntries, Entries),
                          TMsgKind::Warning);
    }
    if (read == 0)
        return false;
    SortImages(*icon);
    return true;
}

int TmyIcoIO::ReadEntries(TmyIcon& icon, const std::uint8_t* data, std::size_t size, int count)
{
    ByteReader dir(data, size);
    dir.Seek(HeaderBytes);
    std::vector<TIconDirEntry> entries(static_cast<std::size_t>(count));
    for (TIconDirEntry& e : entries) {
        e.Width = dir.U8();
        e.Height = dir.U8();
        e.ColorCount = dir.U8();
        e.Reserved = dir.U8();
        e.Planes = dir.U16();
        e.BitCount = dir.U16();
        e.BytesInRes = dir.U32();
        e.ImageOffset = dir.U32();
    }

    const bool isCursor = icon.Kind == 1;
    UsedRanges used;
    int read = 0;
    for (const TIconDirEntry& e : entries) {
        // Entries whose data does not lie inside the file are skipped like refused ones.
        ByteReader r(data, size);
        if (!r.Seek(e.ImageOffset) || !r.Has(BitmapHeaderBytes)) {
            ++DamagedEntries;
            continue;
        }
        const std::uint8_t* start = data + e.ImageOffset;
        const TBitmapInfoHeader header = ReadBitmapHeader(r);

        if (IsBitmapHeader(header)) {
            const int w = header.biWidth;
            const int h = header.biHeight / 2;
            if (h > MaxSide || w > MaxSide) {
                ReportMessage(glimt::MsgII("msgBigImg", "Image ignored: Too big (%i1x%i2)", w, h), TMsgKind::Warning);
                continue;
            }
            const int depth = header.biBitCount;
            if (!IsSupportedDepth(depth)) {
                ReportMessage(glimt::MsgI("msgNotSupported", "%i1 bit images are not suported!", depth),
                              TMsgKind::Information);
                continue;
            }
            if (w <= 0 || h <= 0) {
                ++DamagedEntries;
                continue;
            }
            // A paletted entry stores biClrUsed entries when that is between 1 and the full
            // count; the rest of the palette keeps its defaults.
            const int fullPalette = TmyImagePal::PaletteSizeFor(depth);
            const int stored = header.biClrUsed >= 1 && header.biClrUsed <= std::uint32_t(fullPalette)
                                   ? int(header.biClrUsed)
                                   : fullPalette;
            const std::uint64_t xorRow = RowBytes(w, depth);
            const std::uint64_t maskRow = RowBytes(w, 1);
            const std::uint64_t colours = BitmapHeaderBytes + 4 * std::uint64_t(stored) + xorRow * std::uint64_t(h);
            std::uint64_t total = colours + maskRow * std::uint64_t(h);
            // Some writers leave the mask out of 32-bit entries, whose alpha is the transparency
            // anyway; the directory then gives the size of the colours alone.
            const bool maskLeftOut = depth == 32 && e.BytesInRes >= colours && e.BytesInRes < total;
            if (maskLeftOut)
                total = colours;
            if (!r.InRange(e.ImageOffset, total) || !used.Claim(e.ImageOffset, e.ImageOffset + total)) {
                ++DamagedEntries;
                continue;
            }

            // Every pixel is written below, so the image is not cleared first.
            TmyImagePal& img = icon.AddImage(1, 1, depth);
            img.SetSizeForOverwrite(h, w);
            img.UpdateZoom();
            const std::uint8_t* p = start + BitmapHeaderBytes;
            const TmyPixel* pal = nullptr;
            if (img.Palette) {
                for (int i = 0; i < stored; ++i, p += 4)
                    img.Palette->Colors[std::size_t(i)].SetRGB(p[2], p[1], p[0]);
                pal = img.Palette->Colors.data();
            }
            std::uint8_t alphaSeen = 0;
            for (int y = h - 1; y >= 0; --y, p += xorRow)
                alphaSeen |= ReadDibRow(p, img.Row(y), w, depth, pal);
            // At 32 bits the alpha channel is the transparency as soon as any alpha byte is not
            // 0, and the mask is not consulted: tools set mask bits wherever alpha is below
            // some threshold, and the mask would wipe every partly transparent pixel. When every
            // alpha byte is 0 the fourth byte is padding: the image is opaque and the mask gives
            // the transparency, as at the other depths.
            bool useMask = !maskLeftOut;
            if (depth == 32) {
                TmyPixel* const begin = img.Data();
                TmyPixel* const end = begin + img.PixelCount();
                const bool padding = alphaSeen == 0;
                useMask = useMask && padding;
                if (padding)
                    std::for_each(begin, end, [](TmyPixel& px) { px.A = 255; });
            }
            for (int y = h - 1; useMask && y >= 0; --y, p += maskRow)
                ApplyMaskRow(p, img.Row(y), w);
            ++read;
            continue;
        }

        // PNG form. In a cursor the directory's bit count holds the hot spot's row, so its
        // PNG images are taken as 32 bits.
        const int depth = isCursor ? 32 : e.BitCount;
        if (!IsSupportedDepth(depth)) {
            ReportMessage(glimt::MsgI("msgNotSupported", "%i1 bit images are not suported!", depth), TMsgKind::Information);
            continue;
        }
        const std::size_t available = size - e.ImageOffset;
        int pw = 0, ph = 0;
        if (!glimt::PngDimensions(start, available, pw, ph)) {
            ++DamagedEntries;
            continue;
        }
        if (pw > MaxSide || ph > MaxSide) {
            ReportMessage(glimt::MsgII("msgBigImg", "Image ignored: Too big (%i1x%i2)", pw, ph), TMsgKind::Warning);
            continue;
        }
        const std::uint64_t length = PngStreamLength(start, available);
        if (length == 0 || !used.Claim(e.ImageOffset, e.ImageOffset + length)) {
            ++DamagedEntries;
            continue;
        }
        // The PNG's alpha (its alpha channel or tRNS) is kept as it is at 32 bits and cut to 0
        // or 255 below, as every image of fewer bits holds it.
        TmyImage decoded;
        std::vector<TmyPixel> firstMet;
        glimt::PngReadOptions options;
        options.CutAlpha = depth < 32;
        options.FirstMet = TmyImagePal::PaletteSizeFor(depth) > 0 ? &firstMet : nullptr;
        try {
            decoded = glimt::DecodePng(start, std::size_t(length), options);
        } catch (const glimt::Error&) {
            ++DamagedEntries;
            continue;
        } catch (const std::bad_alloc&) {
            ++DamagedEntries;
            continue;
        }
        // The decoded pixels move into the new image rather than being copied.
        TmyImagePal& img = icon.AddImage(1, 1, depth);
        static_cast<TmyImage&>(img) = std::move(decoded);
        img.UpdateZoom();
        if (img.Palette)
            BuildPaletteOf(img, firstMet);
        ++read;
    }
    return read;
}

bool TmyIcoIO::SortImages(TmyIcon& icon)
{
    return SortBy(icon, false);
}

bool TmyIcoIO::SortForFile(TmyIcon& icon)
{
    return SortBy(icon, true);
}

std::int64_t TmyIcoIO::XorDataSize(int height, int width, int bitDepth)
{
    if (!IsSupportedDepth(bitDepth) || height < 0 || width < 0)
        return 0;
    return std::int64_t(RowBytes(width, bitDepth)) * height + 4 * TmyImagePal::PaletteSizeFor(bitDepth);
}

std::int64_t TmyIcoIO::AndMaskSize(int height, int width)
{
    if (height < 0 || width < 0)
        return 0;
    return std::int64_t(RowBytes(width, 1)) * height;
}

QByteArray TmyIcoIO::ImageToPng(const TmyImagePal& image)
{
    const TmyPixel* src = image.Data();
    const TmyPixel* end = src + image.PixelCount();
    if (std::none_of(src, end, [](const TmyPixel& p) { return p.A == 0 && p != TmyPixel{}; }))
        return glimt::EncodePng(image);
    TmyImage rgba(image.Height(), image.Width());
    TmyPixel* dst = rgba.Data();
    for (std::size_t i = 0; i < image.PixelCount(); ++i)
        dst[i] = src[i].A == 0 ? TmyPixel{} : src[i];
    return glimt::EncodePng(rgba);
}

std::int64_t TmyIcoIO::PngByteSize(const TmyImagePal& image)
{
    return ImageToPng(image).size();
}

void TmyIcoIO::WriteDib(QByteArray& out, const TmyImagePal& image) const
{
    ByteWriter w;
    const int width = image.Width();
    const int height = image.Height();
    const int depth = image.BitDepth;
    w.U32(40);
    w.I32(width);
    w.I32(2 * height);
    w.U16(1);
    w.U16(std::uint16_t(depth));
    w.Zeros(24);

    const int entries = TmyImagePal::PaletteSizeFor(depth);
    // The palette as stored: exactly `entries` colours; entries the image's palette lacks are
    // black, and entries beyond the depth's count are dropped.
    std::vector<TmyPixel> pal(std::size_t(entries), TmyPixel::CreateRGBA(0, 0, 0, 255));
    if (image.Palette)
        for (int i = 0; i < entries && i < image.Palette->Count(); ++i)
            pal[std::size_t(i)] = image.Palette->Colors[std::size_t(i)];
    int black = 0;
    if (entries > 0) {
        for (const TmyPixel& c : pal) {
            w.U8(c.B);
            w.U8(c.G);
            w.U8(c.R);
            w.U8(0);
        }
        const auto it = std::find_if(pal.begin(), pal.end(), [](const TmyPixel& c) { return c.GetColor() == 0; });
        if (it == pal.end())
            ReportMessage(glimt::Msg("msgNoBlack", "The palette does not include the color Black."), TMsgKind::Warning);
        else
            black = int(it - pal.begin());
    }

    // The index of a pixel: the black entry for a transparent pixel, else the first entry equal
    // in all four bytes, else the entry nearest by colour (a pixel outside its palette must
    // still be written as one of the palette's colours).
    TmyPixel lastPixel{};
    int lastIndex = black;
    auto indexOf = [&](const TmyPixel& p) {
        if (p.A == 0)
            return black;
        if (p == lastPixel)
            return lastIndex;
        int best = -1;
        for (int i = 0; i < entries && best < 0; ++i)
            if (pal[std::size_t(i)] == p)
                best = i;
        if (best < 0) {
            int bestDistance = std::numeric_limits<int>::max();
            for (int i = 0; i < entries; ++i) {
                const TmyPixel& c = pal[std::size_t(i)];
                const int d = std::abs(c.R - p.R) + std::abs(c.G - p.G) + std::abs(c.B - p.B);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = i;
                }
            }
        }
        lastPixel = p;
        lastIndex = best;
        return best;
    };

    const qsizetype xorRow = qsizetype(RowBytes(width, depth));
    const qsizetype maskRow = qsizetype(RowBytes(width, 1));
    QByteArray row(xorRow, '\0');
    for (int y = height - 1; y >= 0; --y) {
        row.fill('\0');
        auto* b = reinterpret_cast<std::uint8_t*>(row.data());
        const TmyPixel* src = image.Row(y);
        for (int x = 0; x < width; ++x) {
            const TmyPixel& p = src[x];
            switch (depth) {
            case 1: b[x >> 3] |= std::uint8_t((indexOf(p) & 1) << (7 - (x & 7))); break;
            case 4: b[x >> 1] |= std::uint8_t((indexOf(p) & 0x0F) << ((x & 1) ? 0 : 4)); break;
            case 8: b[x] = std::uint8_t(indexOf(p)); break;
            case 24:
                if (p.A != 0) {
                    b[3 * x] = p.B;
                    b[3 * x + 1] = p.G;
                    b[3 * x + 2] = p.R;
                }
                break;
            default:
                b[4 * x] = p.B;
                b[4 * x + 1] = p.G;
                b[4 * x + 2] = p.R;
                b[4 * x + 3] = p.A;
                break;
            }
        }
        w.Raw(row);
    }
    QByteArray mask(maskRow, '\0');
    for (int y = height - 1; y >= 0; --y) {
        mask.fill('\0');
        auto* b = reinterpret_cast<std::uint8_t*>(mask.data());
        const TmyPixel* src = image.Row(y);
        for (int x = 0; x < width; ++x)
            if (src[x].A == 0)
                b[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
        w.Raw(mask);
    }
    out.append(w.Bytes());
}

QByteArray TmyIcoIO::SaveToBytes(TmyIcon& icon, bool compress)
{
    // Back to editing order however the save ends.
    struct Resort {
        TmyIcon& icon;
        ~Resort() { SortImages(icon); }
    } resort{icon};
    SortForFile(icon);

    const int n = icon.Count();
    if (n > std::numeric_limits<std::int16_t>::max())
        throw glimt::Error(QStringLiteral("An icon file holds at most 32767 images"));
    std::vector<QByteArray> pngs(static_cast<std::size_t>(n));
    std::vector<std::uint64_t> sizes(static_cast<std::size_t>(n));
    std::uint64_t total = HeaderBytes + EntryBytes * std::uint64_t(n);
    for (int i = 0; i < n; ++i) {
        const TmyImagePal& img = icon.Image(i);
        if (!IsSupportedDepth(img.BitDepth))
            throw glimt::Error(QStringLiteral("%1 bit images cannot be stored").arg(img.BitDepth));
        // The PNG is encoded once: its length in the directory is the length of these bytes.
        if (compress && img.Width() == 256 && img.Height() == 256) {
            pngs[std::size_t(i)] = ImageToPng(img);
            sizes[std::size_t(i)] = std::uint64_t(pngs[std::size_t(i)].size());
        } else {
            sizes[std::size_t(i)] = BitmapHeaderBytes + std::uint64_t(XorDataSize(img.Height(), img.Width(), img.BitDepth))
                                    + std::uint64_t(AndMaskSize(img.Height(), img.Width()));
        }
        total += sizes[std::size_t(i)];
    }
    if (total > std::numeric_limits<std::uint32_t>::max())
        throw glimt::Error(QStringLiteral("The icon is too large for an icon file"));

    QByteArray out;
    out.reserve(qsizetype(total));
    ByteWriter head;
    head.U16(0);
    head.U16(1);
    head.U16(std::uint16_t(n));
    std::uint64_t offset = HeaderBytes + EntryBytes * std::uint64_t(n);
    for (int i = 0; i < n; ++i) {
        const TmyImagePal& img = icon.Image(i);
        const int depth = img.BitDepth;
        head.U8(std::uint8_t(img.Width() % 256));
        head.U8(std::uint8_t(img.Height() % 256));
        head.U8(std::uint8_t(depth == 1 ? 2 : depth == 4 ? 16 : 0));
        head.U8(0);
        head.U16(1);
        head.U16(std::uint16_t(depth));
        head.U32(std::uint32_t(sizes[std::size_t(i)]));
        head.U32(std::uint32_t(offset));
        offset += sizes[std::size_t(i)];
    }
    out.append(head.Bytes());
    for (int i = 0; i < n; ++i) {
        if (!pngs[std::size_t(i)].isEmpty())
            out.append(pngs[std::size_t(i)]);
        else
            WriteDib(out, icon.Image(i));
    }
    return out;
}

void TmyIcoIO::SaveToFile(TmyIcon& icon, const QString& fileName, bool compress)
{
    const QByteArray bytes = SaveToBytes(icon, compress);
    glimt::WriteFileAtomically(fileName, bytes);
}
