#include "engine/JpegCodec.h"

#include "engine/Errors.h"
#include "engine/SafeFile.h"
#include "tests/support/HeapPeak.h"
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

TEST(JpegCodec, ScanEndingEarlyHoldsThePictureOnce)
{
    // A header of 2048 x 2048 over the scan of a 16 x 16 picture: libjpeg fills in the rest,
    // so 659 bytes give a 16 MiB picture. The decoder used to hold it twice (its own RGBA
    // buffer, then the image it was copied into), which for a picture at the size limit is
    // 2 GiB from a few kilobytes.
    if (!glimt::test::HeapPeak::Available())
        GTEST_SKIP() << "heap hooks need a sanitizer build";
    const QByteArray bytes = glimt::ReadWholeFile(glimt::test::FixturesDir() + "/jpeg-scan-ends-early-2048x2048.jpg");
    glimt::test::HeapPeak heap;
    heap.Start();
    const TmyImage img = Decode(bytes);
    const std::size_t peak = heap.Peak();
    ASSERT_EQ(img.Width(), 2048);
    ASSERT_EQ(img.Height(), 2048);
    EXPECT_EQ(img.Pixel(2047, 2047).A, 255);
    const std::size_t picture = img.PixelCount() * sizeof(TmyPixel);
    EXPECT_LT(peak, picture + picture / 4) << "peak " << peak << " for a picture of " << picture << " bytes";
}

TEST(JpegCodec, ProgressiveBeyondTheWorkingMemoryIsRefused)
{
    // A progressive file keeps every coefficient until its last scan: at 16384 x 16384 that
    // is 768 MiB besides the 1 GiB picture. It is refused with a reason, before the picture
    // is allocated.
    const QByteArray bytes = glimt::ReadWholeFile(glimt::test::FixturesDir() + "/jpeg-progressive-16384x16384.jpg");
    try {
        Decode(bytes);
        FAIL() << "decoded";
    } catch (const glimt::Error& e) {
        EXPECT_TRUE(e.Text().contains(QStringLiteral("needs more than"))) << e.Text().toStdString();
    }
    // Scaled down, the coefficients are the same: refused as well.
    EXPECT_THROW(Decode(bytes, 16, 16), glimt::Error);
}
