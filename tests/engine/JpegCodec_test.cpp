#include "engine/JpegCodec.h"

#include "engine/Errors.h"
#include "engine/SafeFile.h"
#include "tests/support/TestPaths.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

TmyImage Decode(const QByteArray& bytes, int minW = 0, int minH = 0)
{
    return glimt::DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()), minW, minH);
}

// 24 x 16 in four flat quadrants, so JPEG's loss stays small and a swapped side shows.
TmyImage Quadrants()
{
    TmyImage img(16, 24);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            img.Pixel(x, y) = x < 12 ? (y < 8 ? TmyPixel::CreateRGBA(200, 30, 30, 7) : TmyPixel::CreateRGBA(30, 200, 30, 7))
                                     : (y < 8 ? TmyPixel::CreateRGBA(30, 30, 200, 7) : TmyPixel::CreateRGBA(240, 240, 240, 7));
    return img;
}

} // namespace

TEST(JpegCodec, RoundTripIsCloseAndOpaque)
{
    const QByteArray bytes = glimt::EncodeJpeg(Quadrants());
    ASSERT_TRUE(bytes.startsWith("\xFF\xD8\xFF"));
    const TmyImage back = Decode(bytes);
    ASSERT_EQ(back.Width(), 24);
    ASSERT_EQ(back.Height(), 16);
    const TmyImage want = Quadrants();
    // Quadrant centres; chroma subsampling blurs the borders.
    for (int y : {3, 12})
        for (int x : {4, 18}) {
            const TmyPixel a = back.Pixel(x, y), b = want.Pixel(x, y);
            EXPECT_LE(std::abs(a.R - b.R) + std::abs(a.G - b.G) + std::abs(a.B - b.B), 30) << x << "," << y;
            EXPECT_EQ(a.A, 255);
        }
}

TEST(JpegCodec, DctScalingStopsAtTheMinimumSize)
{
    const QByteArray bytes = glimt::EncodeJpeg(Quadrants());
    const TmyImage half = Decode(bytes, 12, 8);
    EXPECT_EQ(half.Width(), 12);
    EXPECT_EQ(half.Height(), 8);
    const TmyImage eighth = Decode(bytes, 1, 1);
    EXPECT_EQ(eighth.Width(), 3);
    EXPECT_EQ(eighth.Height(), 2);
    EXPECT_EQ(Decode(bytes, 13, 1).Width(), 24);
}

TEST(JpegCodec, DamagedDataIsAnErrorNotAnExit)
{
    const QByteArray good = glimt::EncodeJpeg(Quadrants());
    EXPECT_THROW(Decode(QByteArray()), glimt::Error);
    EXPECT_THROW(Decode(good.left(20)), glimt::Error);
    EXPECT_THROW(Decode(QByteArray("\xFF\xD8\xFF\xE0garbage", 11)), glimt::Error);
    // A truncated scan still decodes (libjpeg fills the rest) or fails cleanly.
    for (int cut : {int(good.size()) / 2, int(good.size()) - 2}) {
        try {
            Decode(good.left(cut));
        } catch (const glimt::Error&) {
        }
    }
    // A start-of-frame that claims 40000 x 40000 is refused before decoding.
    QByteArray huge = good;
    const qsizetype sof = huge.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    huge[sof + 5] = char(0x9C), huge[sof + 6] = char(0x40), huge[sof + 7] = char(0x9C), huge[sof + 8] = char(0x40);
    EXPECT_THROW(Decode(huge), glimt::Error);
}

TEST(JpegCodec, CorpusSamplesDecode)
{
    GLIMT_REQUIRE_TESTDATA();
    const QStringList files = glimt::test::TestDataFiles(QStringLiteral("jpeg-libjpeg-turbo"), {QStringLiteral(".jpg")});
    ASSERT_FALSE(files.isEmpty());
    for (const QString& f : files) {
        SCOPED_TRACE(f.toStdString());
        const QByteArray bytes = glimt::ReadWholeFile(f);
        if (f.contains(QStringLiteral("12"))) {
            EXPECT_THROW(Decode(bytes), glimt::Error) << "12-bit samples are refused";
            continue;
        }
        TmyImage img;
        ASSERT_NO_THROW(img = Decode(bytes));
        EXPECT_GT(img.Width(), 1);
        EXPECT_EQ(img.Pixel(img.Width() / 2, img.Height() / 2).A, 255);
    }
}
