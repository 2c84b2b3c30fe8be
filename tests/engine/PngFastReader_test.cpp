// The fast PNG reader against libpng: on every file both give the same verdict, and where the
// fast reader decodes, the same pixels.
#include "engine/Errors.h"
#include "engine/PngCodec.h"
#include "tests/support/TestPaths.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <optional>
#include <random>
#include <string>

namespace {

const std::uint8_t* Bytes(const QByteArray& b)
{
    return reinterpret_cast<const std::uint8_t*>(b.constData());
}

std::optional<TmyImage> ThroughLibpng(const QByteArray& png)
{
    try {
        return glimt::detail::DecodePngWithLibpng(Bytes(png), std::size_t(png.size()));
    } catch (const glimt::Error&) {
        return std::nullopt;
    }
}

std::optional<TmyImage> ThroughDecodePng(const QByteArray& png)
{
    try {
        return glimt::DecodePng(Bytes(png), std::size_t(png.size()));
    } catch (const glimt::Error&) {
        return std::nullopt;
    }
}

// Checks that the fast reader agrees with libpng on `png`; true when the fast reader decoded it.
bool Agrees(const QByteArray& png)
{
    const std::optional<TmyImage> reference = ThroughLibpng(png);
    const std::optional<TmyImage> decoded = ThroughDecodePng(png);
    EXPECT_EQ(reference.has_value(), decoded.has_value()) << "libpng and DecodePng disagree on the verdict";
    if (reference && decoded) {
        EXPECT_TRUE(reference->SamePixels(*decoded)) << "DecodePng's pixels differ from libpng's";
    }
    TmyImage fast;
    const bool took = glimt::detail::DecodePngFast(Bytes(png), std::size_t(png.size()), fast);
    if (took) {
        EXPECT_TRUE(reference.has_value()) << "the fast reader decoded a file libpng refuses";
        if (reference) {
            EXPECT_TRUE(reference->SamePixels(fast)) << "the fast reader's pixels differ from libpng's";
        }
    }
    return took;
}

void PutBE32(QByteArray& out, std::uint32_t v)
{
    out.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}

void PutChunk(QByteArray& out, const char* type, const QByteArray& payload)
{
    PutBE32(out, std::uint32_t(payload.size()));
    const QByteArray body = QByteArray(type, 4) + payload;
    out.append(body);
    PutBE32(out, std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()))));
}

QByteArray Zlib(const QByteArray& raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray out(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.constData()), uLong(raw.size()), 9);
    out.resize(qsizetype(size));
    return out;
}

int Channels(int colorType)
{
    static constexpr int channels[7] = {1, 0, 3, 1, 2, 0, 4};
    return channels[colorType];
}

// A test picture of random samples, written with every filter in turn (row y uses filter
// y % 5), and the pieces of its file, which the cases below damage one at a time.
struct Picture {
    int width = 1, height = 5, depth = 8, colorType = 6;
    int paletteEntries = 0;
    QByteArray plte, trns;
    QByteArray raw; // filter bytes and filtered lines, as they are compressed
    QByteArray stream;

    Picture(int w, int h, int d, int type, unsigned seed, int trnsKind = 0)
        : width(w), height(h), depth(d), colorType(type)
    {
        std::mt19937 rng(seed);
        const int bits = Channels(type) * d;
        const int bpp = std::max(1, bits / 8);
        const int lineBytes = (w * bits + 7) / 8;
        const unsigned maxSample = (1u << std::min(d, 16)) - 1;
        if (type == 3) {
            paletteEntries = std::min(1 << d, 3 + int(seed % 250));
            for (int i = 0; i < 3 * paletteEntries; ++i)
                plte.append(char(rng()));
        }
        std::vector<std::uint8_t> prev(std::size_t(lineBytes), 0);
        std::vector<std::uint8_t> line(prev);
        for (int y = 0; y < h; ++y) {
            // Samples: palette indices stay inside the palette; a few repeats make the keys
            // and runs of equal bytes appear.
            std::fill(line.begin(), line.end(), 0);
            for (int s = 0; s < w * Channels(type); ++s) {
                unsigned v = rng() % (maxSample + 1);
                if (type == 3)
                    v = rng() % unsigned(paletteEntries);
                if (rng() % 4 == 0)
                    v = type == 3 ? 0 : maxSample / 3;
                if (d >= 8) {
                    for (int b = d / 8 - 1; b >= 0; --b)
                        line[std::size_t(s * (d / 8) + (d / 8 - 1 - b))] = std::uint8_t(v >> (8 * b));
                } else {
                    const int bit = s * d;
                    line[std::size_t(bit / 8)] |= std::uint8_t(v << (8 - d - bit % 8));
                }
            }
            const int filter = y % 5;
            raw.append(char(filter));
            for (int i = 0; i < lineBytes; ++i) {
                const int x = line[std::size_t(i)], b = prev[std::size_t(i)];
                const int a = i >= bpp ? line[std::size_t(i - bpp)] : 0;
                const int c = i >= bpp ? prev[std::size_t(i - bpp)] : 0;
                const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
                const int paeth = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
                const int predicted[5] = {0, a, b, (a + b) >> 1, paeth};
                raw.append(char(std::uint8_t(x - predicted[filter])));
            }
            prev = line;
        }
        // tRNS: 1 = a key colour (grey, RGB) or a few palette alphas; 2 = a key out of range.
        if (trnsKind && type == 3) {
            for (int i = 0; i < std::min(paletteEntries, 1 + int(seed % 7)); ++i)
                trns.append(char(i * 97));
        } else if (trnsKind && (type == 0 || type == 2)) {
            const std::uint16_t key = trnsKind == 2 ? std::uint16_t(maxSample + 1) : std::uint16_t(maxSample / 3);
            for (int i = 0; i < Channels(type); ++i)
                trns.append(char(key >> 8)).append(char(key));
        }
        stream = Zlib(raw);
    }

    // The file; `idatParts` splits the stream over that many IDAT chunks.
    QByteArray File(int idatParts = 1) const
    {
        QByteArray png("\x89PNG\r\n\x1a\n", 8);
        QByteArray ihdr;
        PutBE32(ihdr, std::uint32_t(width));
        PutBE32(ihdr, std::uint32_t(height));
        ihdr.append(char(depth)).append(char(colorType)).append('\0').append('\0').append('\0');
        PutChunk(png, "IHDR", ihdr);
        PutChunk(png, "tEXt", QByteArray("Comment\0test", 12));
        if (!plte.isEmpty())
            PutChunk(png, "PLTE", plte);
        if (!trns.isEmpty())
            PutChunk(png, "tRNS", trns);
        const qsizetype part = (stream.size() + idatParts - 1) / idatParts;
        for (qsizetype at = 0; at < stream.size(); at += part)
            PutChunk(png, "IDAT", stream.mid(at, part));
        PutChunk(png, "IEND", {});
        return png;
    }
};

struct Form {
    int colorType;
    int depth;
};
constexpr Form FastForms[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {3, 1}, {3, 2}, {3, 4}, {3, 8}, {2, 8}, {4, 8}, {6, 8}};

} // namespace

TEST(PngFastReader, EverySuiteFileGivesLibpngsVerdictAndPixels)
{
    GLIMT_REQUIRE_TESTDATA();
    const QStringList files = glimt::test::TestDataFiles("pngsuite", {".png"});
    ASSERT_FALSE(files.isEmpty());
    int fast = 0;
    for (const QString& path : files) {
        SCOPED_TRACE(QFileInfo(path).fileName().toStdString());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        fast += Agrees(f.readAll());
    }
    // The basic, transparency, filter, chunk-order and odd-size files at up to 8 bits.
    EXPECT_GE(fast, 90) << fast;
}

TEST(PngFastReader, EveryFormWidthAndFilterDecodesAsLibpngDoes)
{
    for (const Form& form : FastForms)
        for (int width = 1; width <= 9; ++width)
            for (int trnsKind = 0; trnsKind <= 1; ++trnsKind) {
                if (trnsKind && form.colorType >= 4)
                    continue;
                const Picture pic(width, 7, form.depth, form.colorType, unsigned(width * 31 + form.depth), trnsKind);
                SCOPED_TRACE("type " + std::to_string(form.colorType) + " depth " + std::to_string(form.depth) + " width "
                             + std::to_string(width) + " tRNS " + std::to_string(trnsKind));
                EXPECT_TRUE(Agrees(pic.File()));
                EXPECT_TRUE(Agrees(pic.File(3))) << "stream over three IDAT chunks";
            }
    // A wide picture, so that every filter runs over long lines.
    for (const Form& form : FastForms) {
        SCOPED_TRACE("wide, type " + std::to_string(form.colorType) + " depth " + std::to_string(form.depth));
        EXPECT_TRUE(Agrees(Picture(300, 11, form.depth, form.colorType, 7, form.colorType < 4).File(4)));
    }
}

TEST(PngFastReader, DamagedAndUnusualFilesKeepLibpngsVerdict)
{
    const Picture rgba(5, 6, 8, 6, 3);
    const Picture pal(6, 5, 8, 3, 4, 1);
    struct Case {
        const char* name;
        QByteArray png;
    };
    std::vector<Case> cases;
    auto withStream = [](Picture pic, const QByteArray& stream) {
        pic.stream = stream;
        return pic.File();
    };
    cases.push_back({"IDAT cut short", withStream(rgba, rgba.stream.left(rgba.stream.size() / 2))});
    cases.push_back({"stream one line short", withStream(rgba, Zlib(rgba.raw.left(rgba.raw.size() - 21)))});
    cases.push_back({"stream one byte long", withStream(rgba, Zlib(rgba.raw + QByteArray(1, '\0')))});
    cases.push_back({"stream a line long", withStream(rgba, Zlib(rgba.raw + rgba.raw.right(21)))});
    QByteArray badAdler = rgba.stream;
    badAdler[badAdler.size() - 1] = char(badAdler[badAdler.size() - 1] ^ 1);
    cases.push_back({"wrong Adler-32", withStream(rgba, badAdler)});
    cases.push_back({"bytes after the stream", withStream(rgba, rgba.stream + QByteArray("xyz"))});
    QByteArray badFilter = rgba.raw;
    badFilter[0] = 5;
    cases.push_back({"filter type 5", withStream(rgba, Zlib(badFilter))});
    QByteArray badIndex = pal.raw;
    badIndex[3] = char(250);
    cases.push_back({"palette index past the palette", withStream(pal, Zlib(badIndex))});
    QByteArray badCrc = rgba.File();
    badCrc[badCrc.indexOf("IDAT") + 6] = char(badCrc[badCrc.indexOf("IDAT") + 6] ^ 0x40);
    cases.push_back({"IDAT CRC wrong", badCrc});
    QByteArray badTextCrc = rgba.File();
    badTextCrc[badTextCrc.indexOf("tEXt") + 6] = 'X';
    cases.push_back({"tEXt CRC wrong", badTextCrc});
    QByteArray noEnd = rgba.File();
    cases.push_back({"no IEND", noEnd.left(noEnd.size() - 12)});
    Picture grayKey(4, 4, 4, 0, 5, 2);
    cases.push_back({"grey tRNS out of range", grayKey.File()});
    Picture longTrns = pal;
    longTrns.trns = QByteArray(pal.paletteEntries + 1, '\x10');
    cases.push_back({"tRNS longer than the palette", longTrns.File()});
    Picture noPlte = pal;
    noPlte.plte.clear();
    noPlte.trns.clear();
    cases.push_back({"palette image without PLTE", noPlte.File()});
    QByteArray badType = rgba.File();
    badType.replace("tEXt", "t3Xt");
    cases.push_back({"chunk type with a digit", badType});
    QByteArray critical = rgba.File();
    critical.replace("tEXt", "TEXt");
    cases.push_back({"unknown critical chunk", critical});
    cases.push_back({"16-bit RGBA", Picture(3, 4, 16, 6, 9).File()});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Agrees(c.png);
    }
    // Sound files with unusual streams are still the fast reader's.
    EXPECT_TRUE(Agrees(withStream(rgba, rgba.stream))) << "control";
    EXPECT_TRUE(Agrees(Picture(5, 6, 8, 6, 3).File(40))) << "one byte per IDAT";
}
