#include "engine/myimport.h"

#include "engine/BmpCodec.h"
#include "engine/Errors.h"
#include "engine/GifCodec.h"
#include "engine/GifFrames.h"
#include "engine/JpegCodec.h"
#include "engine/PngCodec.h"
#include "engine/SafeFile.h"
#include "engine/Settings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PictureExport : public testing::Test {
protected:
    void SetUp() override
    {
        m_saved = Options();
        Options().ExportAlpha = true;
        Options().PrevColor = 0xFFFFFF;
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override { Options() = m_saved; }
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    static QByteArray Load(const QString& path) { return glimt::ReadWholeFile(path); }
    static const std::uint8_t* Bytes(const QByteArray& b) { return reinterpret_cast<const std::uint8_t*>(b.constData()); }
    static TmyImage ReadGif(const QString& path, int* transparentIndex = nullptr)
    {
        const QByteArray b = Load(path);
        const glimt::GifPicture gif = glimt::DecodeGif(Bytes(b), std::size_t(b.size()));
        if (transparentIndex)
            *transparentIndex = gif.Frames.at(0).TransparentIndex;
        return glimt::ComposeGifFrames(gif, 0, false);
    }

    TOptions m_saved;
    QTemporaryDir m_dir;
};

// 3 x 2: red, green, blue / semi-transparent, transparent, white.
TmyImagePal Sample(int depth)
{
    TmyImagePal img(2, 3, depth);
    img.Pixel(0, 0) = TmyPixel::CreateRGBA(255, 0, 0, 255);
    img.Pixel(1, 0) = TmyPixel::CreateRGBA(0, 255, 0, 255);
    img.Pixel(2, 0) = TmyPixel::CreateRGBA(0, 0, 255, 255);
    img.Pixel(0, 1) = TmyPixel::CreateRGBA(40, 60, 80, depth == 32 ? 128 : 255);
    img.Pixel(1, 1) = TmyPixel::CreateRGBA(7, 8, 9, 0);
    img.Pixel(2, 1) = TmyPixel::CreateRGBA(255, 255, 255, 255);
    return img;
}

} // namespace

TEST_F(PictureExport, AlphaKeepingRoundTrips)
{
    for (int depth : {32, 24, 8, 4, 1}) {
        SCOPED_TRACE(depth);
        const TmyImagePal img = Sample(depth);

        TmyImport::ExportBmp(Path("a.bmp"), img);
        const QByteArray bmp = Load(Path("a.bmp"));
        const glimt::BmpPicture b = glimt::DecodeBmp(Bytes(bmp), std::size_t(bmp.size()));
        EXPECT_EQ(b.BitCount, 32);
        EXPECT_TRUE(b.Pixels.SamePixels(img)) << "B, G, R, A unchanged, transparent colours included";

        TmyImport::ExportPng(Path("a.png"), img);
        const QByteArray png = Load(Path("a.png"));
        EXPECT_TRUE(glimt::DecodePng(Bytes(png), std::size_t(png.size())).SamePixels(img));
        TmyImport::ExportPng(Path("b.png"), img);
        EXPECT_EQ(Load(Path("b.png")), png) << "the same bytes every time";

        TmyImport::ExportGif(Path("a.gif"), img);
        int key = -1;
        const TmyImage g = ReadGif(Path("a.gif"), &key);
        EXPECT_GE(key, 0);
        EXPECT_EQ(g.Pixel(1, 1).A, 0);
        EXPECT_EQ(g.Pixel(0, 0), TmyPixel::CreateRGBA(255, 0, 0, 255));
        EXPECT_EQ(g.Pixel(2, 1), TmyPixel::CreateRGBA(255, 255, 255, 255));
        EXPECT_EQ(g.Pixel(0, 1).A, 255) << "A of 128 is above the GIF threshold";
    }
}

TEST_F(PictureExport, FlattenedExportsBlendOverThePreviewColour)
{
    Options().ExportAlpha = false;
    Options().PrevColor = 0x000000;
    const TmyImagePal img = Sample(32);
    TmyImport::ExportBmp(Path("f.bmp"), img);
    const QByteArray bmp = Load(Path("f.bmp"));
    const glimt::BmpPicture b = glimt::DecodeBmp(Bytes(bmp), std::size_t(bmp.size()));
    EXPECT_EQ(b.BitCount, 24);
    EXPECT_EQ(b.Pixels.Pixel(2, 1), TmyPixel::CreateRGBA(254, 254, 254, 255)) << "opaque white blends to 254";
    EXPECT_EQ(b.Pixels.Pixel(1, 1), TmyPixel::CreateRGBA(0, 0, 0, 255)) << "transparent takes the background";

    TmyImport::ExportPng(Path("f.png"), img);
    const QByteArray png = Load(Path("f.png"));
    EXPECT_TRUE(glimt::DecodePng(Bytes(png), std::size_t(png.size())).SamePixels(b.Pixels));

    TmyImport::ExportJpeg(Path("f.jpg"), img);
    const QByteArray jpg = Load(Path("f.jpg"));
    EXPECT_EQ(glimt::DecodeJpeg(Bytes(jpg), std::size_t(jpg.size())).Width(), 3);

    int key = 0;
    TmyImport::ExportGif(Path("f.gif"), img);
    const TmyImage g = ReadGif(Path("f.gif"), &key);
    EXPECT_EQ(key, -1);
    EXPECT_EQ(g.Pixel(1, 1), TmyPixel::CreateRGBA(0, 0, 0, 255));
    const glimt::GifExport reduced = glimt::ReduceForGif(img, false, 0);
    ASSERT_EQ(reduced.Colors.size(), 256u);
    EXPECT_EQ(reduced.Colors[7], TmyPixel::CreateRGBA(192, 192, 192, 255));
    EXPECT_EQ(reduced.Colors[246], TmyPixel::CreateRGBA(255, 251, 240, 255));
    EXPECT_EQ(reduced.Colors[255], TmyPixel::CreateRGBA(255, 255, 255, 255));
}

TEST_F(PictureExport, GifKeyColourAndTransparencyThreshold)
{
    TmyImagePal img(2, 4, 32);
    img.Pixel(0, 0) = TmyPixel::CreateRGBA(255, 255, 255, 255);
    img.Pixel(1, 0) = TmyPixel::CreateRGBA(0, 0, 0, 255);
    img.Pixel(2, 0) = TmyPixel::CreateRGBA(0, 0, 0, 126);
    img.Pixel(3, 0) = TmyPixel::CreateRGBA(0, 0, 0, 127);
    img.Pixel(0, 1) = TmyPixel::CreateRGBA(255, 255, 255, 255);
    img.Pixel(1, 1) = TmyPixel::CreateRGBA(0, 0, 0, 255);
    img.Pixel(2, 1) = TmyPixel::CreateRGBA(255, 255, 255, 255);
    img.Pixel(3, 1) = TmyPixel::CreateRGBA(0, 0, 0, 255);
    const glimt::GifExport r = glimt::ReduceForGif(img, true, 0xFFFFFF);
    ASSERT_GE(r.TransparentIndex, 0);
    EXPECT_EQ(r.Colors[std::size_t(r.TransparentIndex)], TmyPixel::CreateRGBA(255, 255, 240, 255));
    for (std::size_t i = 0; i < r.Indices.size(); ++i)
        EXPECT_EQ(r.Indices[i] == r.TransparentIndex, i == 2) << "exactly the transparent pixels use the key, pixel " << i;
    EXPECT_LE(r.Colors.size(), 256u);

    // Opaque only: no key, so no Graphic Control Extension.
    img.Pixel(2, 0).A = 255;
    EXPECT_EQ(glimt::ReduceForGif(img, true, 0xFFFFFF).TransparentIndex, -1);
    TmyImport::ExportGif(Path("o.gif"), img);
    EXPECT_EQ(Load(Path("o.gif")).indexOf(QByteArray("\x21\xF9", 2)), -1);
}

TEST_F(PictureExport, FullyTransparentImageBecomesAFullyTransparentGif)
{
    const TmyImagePal clear(2, 3, 32);
    TmyImport::ExportGif(Path("clear.gif"), clear);
    int key = -1;
    const TmyImage back = ReadGif(Path("clear.gif"), &key);
    EXPECT_EQ(key, 0);
    for (std::size_t i = 0; i < back.PixelCount(); ++i)
        EXPECT_EQ(back.Data()[i].A, 0);
}

TEST_F(PictureExport, ManyColoursStillLeaveAnEntryForTheKey)
{
    TmyImagePal img(64, 64, 32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            img.Pixel(x, y) = TmyPixel::CreateRGBA(std::uint8_t(x * 4), std::uint8_t(y * 4), std::uint8_t((x + y) * 2), 255);
    img.Pixel(5, 5).A = 0;
    const glimt::GifExport r = glimt::ReduceForGif(img, true, 0xFFFFFF);
    ASSERT_EQ(r.TransparentIndex, int(r.Colors.size()) - 1);
    EXPECT_LE(r.Colors.size(), 256u);
    int keyed = 0;
    for (std::uint8_t i : r.Indices)
        keyed += i == r.TransparentIndex;
    EXPECT_EQ(keyed, 1);
}

TEST_F(PictureExport, FailedExportLeavesTheOldFile)
{
    const QString path = Path("keep.gif");
    glimt::WriteFileAtomically(path, QByteArray("old content"));
    // Wider than a GIF can describe: the encoder refuses before anything is written.
    const TmyImagePal tooWide(1, 70000, 32);
    EXPECT_THROW(TmyImport::ExportGif(path, tooWide), glimt::Error);
    EXPECT_EQ(Load(path), QByteArray("old content"));
}

TEST(ColorPresent, WithinFourteenInEveryChannel)
{
    TmyImage img(1, 2);
    img.Pixel(0, 0) = TmyPixel::CreateRGBA(100, 100, 100, 0);
    img.Pixel(1, 0) = TmyPixel::CreateRGBA(200, 10, 10, 255);
    EXPECT_TRUE(ColorPresent(img, 114, 86, 100));
    EXPECT_FALSE(ColorPresent(img, 115, 100, 100));
    EXPECT_TRUE(ColorPresent(img, 186, 0, 24));
}
