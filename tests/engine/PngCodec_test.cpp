#include "engine/PngCodec.h"

#include "engine/Errors.h"
#include "tests/support/HeapPeak.h"
#include "tests/support/TestPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>

using glimt::DecodePng;
using glimt::EncodePng;
using glimt::PngDimensions;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

TmyImage Decode(const QByteArray& bytes)
{
    return DecodePng(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
}

void AppendBE32(QByteArray& out, std::uint32_t v)
{
    out.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}

void AppendChunk(QByteArray& out, const char* type, const QByteArray& payload)
{
    AppendBE32(out, std::uint32_t(payload.size()));
    QByteArray body = QByteArray(type, 4) + payload;
    out.append(body);
    AppendBE32(out, std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()))));
}

// A PNG whose header declares `width` x `height` (8-bit RGBA) followed by a tiny IDAT: enough
// for a decoder that trusts the header to try a huge allocation.
QByteArray PngDeclaring(std::uint32_t width, std::uint32_t height)
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray ihdr;
    AppendBE32(ihdr, width);
    AppendBE32(ihdr, height);
    ihdr.append(char(8)).append(char(6)).append(char(0)).append(char(0)).append(char(0));
    AppendChunk(png, "IHDR", ihdr);
    AppendChunk(png, "IDAT", QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8));
    AppendChunk(png, "IEND", {});
    return png;
}

TmyImage SampleImage()
{
    TmyImage img(2, 3); // 3 wide, 2 high
    std::uint8_t v = 0;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x, v += 37)
            img.Pixel(x, y) = TmyPixel::CreateRGBA(v, std::uint8_t(255 - v), std::uint8_t(v * 3), std::uint8_t(v / 2 + (x == 0 ? 0 : 60)));
    return img;
}

} // namespace

TEST(PngCodec, SuiteDecodesLikeQtAndRefusesCorruptFiles)
{
    GLIMT_REQUIRE_TESTDATA();
    const QStringList files = glimt::test::TestDataFiles("pngsuite", {".png"});
    ASSERT_FALSE(files.isEmpty());
    int good = 0, refused = 0;
    for (const QString& path : files) {
        const QString name = QFileInfo(path).fileName();
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = ReadAll(path);
        if (name.startsWith('x')) {
            EXPECT_THROW(Decode(bytes), glimt::Error);
            ++refused;
            continue;
        }
        TmyImage img;
        ASSERT_NO_THROW(img = Decode(bytes));
        ++good;
        int w = 0, h = 0;
        ASSERT_TRUE(PngDimensions(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()), w, h));
        EXPECT_EQ(w, img.Width());
        EXPECT_EQ(h, img.Height());

        const QImage ref = QImage::fromData(bytes, "PNG").convertToFormat(QImage::Format_RGBA8888);
        ASSERT_FALSE(ref.isNull());
        ASSERT_EQ(ref.width(), img.Width());
        ASSERT_EQ(ref.height(), img.Height());
        // Qt garbles 16-bit RGB files with a tRNS colour (its rows come out shifted), so those
        // two have no reference.
        if (name == "tbbn2c16.png" || name == "tbgn2c16.png")
            continue;
        // 16-bit samples may be rounded differently by the two decoders. Fully transparent
        // pixels keep the file's colour here; the reference may give them any colour.
        const int tolerance = name.contains("16") ? 1 : 0;
        int worst = 0;
        for (int y = 0; y < img.Height(); ++y) {
            const std::uint8_t* a = reinterpret_cast<const std::uint8_t*>(img.Row(y));
            const std::uint8_t* b = ref.constScanLine(y);
            for (int x = 0; x < img.Width(); ++x, a += 4, b += 4) {
                if (a[3] == 0 && b[3] == 0)
                    continue;
                for (int c = 0; c < 4; ++c)
                    worst = std::max(worst, std::abs(int(a[c]) - int(b[c])));
            }
        }
        EXPECT_LE(worst, tolerance);
    }
    EXPECT_GT(good, 100);
    EXPECT_GT(refused, 10);
}

TEST(PngCodec, EncodeRoundTripsAndIsDeterministic)
{
    const TmyImage img = SampleImage();
    const QByteArray first = EncodePng(img);
    const TmyImage back = Decode(first);
    EXPECT_EQ(back.Width(), 3);
    EXPECT_EQ(back.Height(), 2);
    EXPECT_TRUE(back.SamePixels(img));
    EXPECT_EQ(EncodePng(back), first);
    EXPECT_EQ(EncodePng(img), first);
    EXPECT_EQ(first.indexOf("tIME"), -1) << "no time stamp, or bytes would differ between saves";

    TmyImage big(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            big.Pixel(x, y) = TmyPixel::CreateRGBA(std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y), std::uint8_t(x + y));
    const QByteArray bigPng = EncodePng(big);
    EXPECT_TRUE(Decode(bigPng).SamePixels(big));
    EXPECT_EQ(EncodePng(big), bigPng);
}

// Pictures whose best zlib stream comes from different encodings (filtered and LZ-coded,
// run-length, Huffman only, unfiltered for few colours): each must come back exactly, through
// libpng and through Qt's reader, and give the same bytes every time.
TEST(PngCodec, EncodeRoundTripsEveryKindOfPicture)
{
    auto make = [](int w, int h, auto pixel) {
        TmyImage img(h, w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.Pixel(x, y) = pixel(x, y);
        return img;
    };
    std::uint32_t seed = 7;
    auto noise = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) & 0xFF);
    };
    const struct {
        const char* name;
        TmyImage image;
    } rows[] = {
        {"one pixel", make(1, 1, [](int, int) { return TmyPixel::CreateRGBA(1, 2, 3, 4); })},
        {"odd size with transparency", make(5, 3, [](int x, int y) {
             return (x + y) % 2 ? TmyPixel{} : TmyPixel::CreateRGBA(std::uint8_t(40 * x), std::uint8_t(70 * y), 9, 200);
         })},
        {"one colour", make(256, 256, [](int, int) { return TmyPixel::CreateRGBA(10, 200, 30, 255); })},
        {"grain on a gradient (a photograph)", make(256, 256, [&](int x, int y) {
             const int g = noise() % 13 - 6;
             return TmyPixel::CreateRGBA(std::uint8_t(std::clamp(x + g, 0, 255)), std::uint8_t(std::clamp(y + g, 0, 255)),
                                         std::uint8_t(std::clamp((x + y) / 2 + g, 0, 255)), 255);
         })},
        {"pure noise", make(64, 64, [&](int, int) {
             return TmyPixel::CreateRGBA(std::uint8_t(noise()), std::uint8_t(noise()), std::uint8_t(noise()),
                                         std::uint8_t(noise()));
         })},
        {"few colours (drawn with a palette)", make(256, 256, [](int x, int y) {
             const int d = (x - 128) * (x - 128) + (y - 128) * (y - 128);
             return d > 110 * 110 ? TmyPixel{} : TmyPixel::CreateRGBA(std::uint8_t(d % 97), 90, std::uint8_t(200 - d % 53), 255);
         })},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QByteArray png = EncodePng(row.image);
        EXPECT_TRUE(Decode(png).SamePixels(row.image));
        const QImage qt = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGBA8888);
        ASSERT_EQ(qt.size(), QSize(row.image.Width(), row.image.Height()));
        EXPECT_TRUE(TmyImage::FromQImage(qt).SamePixels(row.image)) << "another decoder reads the same pixels";
        EXPECT_EQ(EncodePng(row.image), png);
    }
    EXPECT_LT(EncodePng(rows[2].image).size(), 1000) << "a flat picture compresses to almost nothing";
}

TEST(PngCodec, TruncatedAndForeignBytesAreRefused)
{
    const QByteArray png = EncodePng(SampleImage());
    // Every proper prefix fails cleanly (no abort, no read past the end).
    for (qsizetype n = 0; n < png.size() - 12; ++n) {
        SCOPED_TRACE(n);
        EXPECT_THROW(Decode(png.left(n)), glimt::Error);
    }
    QByteArray flipped = png;
    flipped[40] = char(flipped[40] ^ 0x55); // inside the compressed data
    EXPECT_THROW(Decode(flipped), glimt::Error);
    EXPECT_THROW(DecodePng(nullptr, 0), glimt::Error);
    EXPECT_THROW(Decode(QByteArray("BM not a png at all, but long enough")), glimt::Error);
}

TEST(PngCodec, HugeDeclaredSizesAreRefusedBeforeDecoding)
{
    struct Row {
        const char* name;
        std::uint32_t w, h;
    } rows[] = {
        {"side beyond the side limit", 100000, 100000},
        {"one side beyond the limit", 40000, 1},
        {"sides allowed, area beyond the pixel limit", 20000, 20000},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const QByteArray png = PngDeclaring(r.w, r.h);
        int w = 0, h = 0;
        ASSERT_TRUE(PngDimensions(reinterpret_cast<const std::uint8_t*>(png.constData()), std::size_t(png.size()), w, h));
        EXPECT_EQ(std::uint32_t(w), r.w);
        EXPECT_EQ(std::uint32_t(h), r.h);
        EXPECT_THROW(Decode(png), glimt::Error);
    }
}

TEST(PngCodec, DimensionsNeedSignatureAndHeader)
{
    const QByteArray png = EncodePng(SampleImage());
    const auto* p = reinterpret_cast<const std::uint8_t*>(png.constData());
    int w = -1, h = -1;
    EXPECT_TRUE(PngDimensions(p, std::size_t(png.size()), w, h));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_FALSE(PngDimensions(p, 28, w, h)) << "IHDR cut short";
    QByteArray noSig = png;
    noSig[1] = 'X';
    EXPECT_FALSE(PngDimensions(reinterpret_cast<const std::uint8_t*>(noSig.constData()), std::size_t(noSig.size()), w, h));
    const QByteArray zero = PngDeclaring(0, 5);
    EXPECT_FALSE(PngDimensions(reinterpret_cast<const std::uint8_t*>(zero.constData()), std::size_t(zero.size()), w, h));
}

TEST(PngCodec, ChunkBeforeTheHeaderIsRefused)
{
    // A private chunk shaped like a 64 x 64 header stands before the real 2 x 2 one: libpng
    // alone would skip it and decode, while the size probe (which the icon reader trusts)
    // refuses the file. Both must refuse it.
    const QByteArray png = ReadAll(glimt::test::FixturesDir() + "/png-chunk-before-header.png");
    ASSERT_EQ(png.mid(12, 4), "prVt");
    int w = 0, h = 0;
    EXPECT_FALSE(PngDimensions(reinterpret_cast<const std::uint8_t*>(png.constData()), std::size_t(png.size()), w, h));
    EXPECT_THROW(Decode(png), glimt::Error);

    const QByteArray inOrder = png.left(8) + png.mid(8 + 12 + 13);
    ASSERT_TRUE(PngDimensions(reinterpret_cast<const std::uint8_t*>(inOrder.constData()), std::size_t(inOrder.size()), w, h));
    const TmyImage image = Decode(inOrder);
    EXPECT_EQ(image.Width(), w);
    EXPECT_EQ(image.Height(), h);
    EXPECT_EQ(w, 2);
}

TEST(PngCodec, OversizedTextChunkIsRefusedBeforeAllocating)
{
    // An iTXt chunk that claims 1 GiB in a file of 106 bytes: libpng allocated and cleared the
    // claimed size before it found the data missing, seconds and a gigabyte for nothing.
    const QByteArray png = ReadAll(glimt::test::FixturesDir() + "/png-text-chunk-claims-1gib.png");
    ASSERT_EQ(png.mid(37, 4), "iTXt");
    glimt::test::HeapPeak heap;
    heap.Start();
    try {
        Decode(png);
        FAIL() << "decoded";
    } catch (const glimt::Error& e) {
        EXPECT_TRUE(e.Text().contains(QStringLiteral("larger than"))) << e.Text().toStdString();
    }
    if (glimt::test::HeapPeak::Available())
        EXPECT_LT(heap.Peak(), std::size_t(16) << 20);
}
