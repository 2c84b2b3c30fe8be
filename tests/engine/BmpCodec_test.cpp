#include "engine/BmpCodec.h"

#include "engine/ByteReader.h"
#include "engine/Errors.h"
#include "engine/SafeFile.h"
#include "tests/support/TestPaths.h"

#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

using glimt::DecodeBmp;
using glimt::EncodeBmp;

namespace {

glimt::BmpPicture Decode(const QByteArray& bytes)
{
    return DecodeBmp(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
}

QString Suite(const QString& sub)
{
    return glimt::test::TestDataDir() + QStringLiteral("/bmpsuite/") + sub;
}

// A 3 x 2 picture with distinct colours and alphas, so swapped sides or channels show.
TmyImage Sample()
{
    TmyImage img(2, 3);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            img.Pixel(x, y) = TmyPixel::CreateRGBA(std::uint8_t(10 + x), std::uint8_t(50 + y), std::uint8_t(90 + x * y),
                                                   std::uint8_t(x * 100 + y));
    return img;
}

} // namespace

TEST(BmpCodec, RoundTripKeepsPixelsAtBothDepths)
{
    const TmyImage img = Sample();
    const glimt::BmpPicture p32 = Decode(EncodeBmp(img, 32));
    EXPECT_EQ(p32.BitCount, 32);
    EXPECT_TRUE(p32.Pixels.SamePixels(img));

    const glimt::BmpPicture p24 = Decode(EncodeBmp(img, 24));
    EXPECT_EQ(p24.BitCount, 24);
    ASSERT_EQ(p24.Pixels.Width(), 3);
    ASSERT_EQ(p24.Pixels.Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_TRUE(p24.Pixels.Pixel(x, y).SameRGB(img.Pixel(x, y)));
            EXPECT_EQ(p24.Pixels.Pixel(x, y).A, 255);
        }
}

TEST(BmpCodec, MalformedHeadersAreRefused)
{
    const QByteArray good = EncodeBmp(Sample(), 24);
    struct Row {
        const char* name;
        int offset;
        QByteArray bytes;
    } rows[] = {
        {"width beyond the side limit", 18, QByteArray("\x01\x80\x00\x00", 4)},
        {"height beyond the side limit", 22, QByteArray("\x01\x80\x00\x00", 4)},
        {"zero width", 18, QByteArray("\0\0\0\0", 4)},
        {"bit count 3", 28, QByteArray("\x03\x00", 2)},
        {"rle8 at 24 bits", 30, QByteArray("\x01\0\0\0", 4)},
        {"header size 41", 14, QByteArray("\x29\0\0\0", 4)},
        {"pixel offset past the end", 10, QByteArray("\xF0\0\0\0", 4)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QByteArray bad = good;
        bad.replace(r.offset, r.bytes.size(), r.bytes);
        EXPECT_THROW(Decode(bad), glimt::Error);
    }
    for (int cut : {0, 1, 2, 13, 14, 30, 53, 54, int(good.size()) - 1}) {
        SCOPED_TRACE(cut);
        EXPECT_THROW(Decode(good.left(cut)), glimt::Error);
    }
}

TEST(BmpCodec, RleRunPastTheRowIsRefused)
{
    // A 2 x 1 RLE8 bitmap with a two-entry palette.
    auto build = [](const QByteArray& stream) {
        glimt::ByteWriter w;
        w.U8('B'), w.U8('M'), w.U32(0), w.U32(0), w.U32(14 + 40 + 8);
        w.U32(40), w.I32(2), w.I32(1), w.U16(1), w.U16(8), w.U32(1), w.U32(0), w.I32(0), w.I32(0), w.U32(2), w.U32(0);
        w.U32(0x000000FF), w.U32(0x0000FF00);
        w.Raw(stream);
        return w.Bytes();
    };
    const glimt::BmpPicture ok = Decode(build(QByteArray("\x01\x00\x01\x01\x00\x01", 6)));
    EXPECT_EQ(ok.Pixels.Pixel(0, 0), TmyPixel::CreateRGBA(0, 0, 255, 255));
    EXPECT_EQ(ok.Pixels.Pixel(1, 0), TmyPixel::CreateRGBA(0, 255, 0, 255));
    EXPECT_THROW(Decode(build(QByteArray("\x03\x01\x00\x01", 4))), glimt::Error);
    EXPECT_THROW(Decode(build(QByteArray("\x02\x05\x00\x01", 4))), glimt::Error) << "index past the palette";
    EXPECT_THROW(Decode(build(QByteArray("\x02\x01", 2))), glimt::Error) << "no end of bitmap";
}

TEST(BmpCodec, GoodSuiteFilesMatchTheirReferences)
{
    GLIMT_REQUIRE_TESTDATA();
    const QStringList files = glimt::test::TestDataFiles(QStringLiteral("bmpsuite/g"), {QStringLiteral(".bmp")});
    ASSERT_FALSE(files.isEmpty());
    int compared = 0;
    for (const QString& f : files) {
        SCOPED_TRACE(f.toStdString());
        glimt::BmpPicture p;
        ASSERT_NO_THROW(p = Decode(glimt::ReadWholeFile(f)));
        const QImage ref(Suite(QStringLiteral("html/") + QFileInfo(f).completeBaseName() + QStringLiteral(".png")));
        if (ref.isNull())
            continue;
        ASSERT_EQ(p.Pixels.Width(), ref.width());
        ASSERT_EQ(p.Pixels.Height(), ref.height());
        const QImage rgba = ref.convertToFormat(QImage::Format_RGBA8888);
        int wrong = 0;
        for (int y = 0; y < ref.height(); ++y)
            for (int x = 0; x < ref.width(); ++x) {
                const QRgb q = rgba.pixel(x, y);
                const TmyPixel& m = p.Pixels.Pixel(x, y);
                // Where the reference shows transparency, its colour is not defined.
                if (qAlpha(q) == 0)
                    continue;
                if (std::abs(m.R - qRed(q)) > 1 || std::abs(m.G - qGreen(q)) > 1 || std::abs(m.B - qBlue(q)) > 1)
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0);
        ++compared;
    }
    EXPECT_GE(compared, 10);
}

TEST(BmpCodec, BadSuiteFilesAreRefusedAndQuestionableOnesDoNotCrash)
{
    GLIMT_REQUIRE_TESTDATA();
    const QStringList bad = glimt::test::TestDataFiles(QStringLiteral("bmpsuite/b"), {QStringLiteral(".bmp")});
    ASSERT_FALSE(bad.isEmpty());
    for (const QString& f : bad) {
        SCOPED_TRACE(f.toStdString());
        EXPECT_THROW(Decode(glimt::ReadWholeFile(f)), glimt::Error);
    }
    for (const QString& f : glimt::test::TestDataFiles(QStringLiteral("bmpsuite/q"), {QStringLiteral(".bmp")})) {
        SCOPED_TRACE(f.toStdString());
        try {
            const glimt::BmpPicture p = Decode(glimt::ReadWholeFile(f));
            EXPECT_GT(p.Pixels.PixelCount(), 0u);
        } catch (const glimt::Error&) {
        }
    }
}
