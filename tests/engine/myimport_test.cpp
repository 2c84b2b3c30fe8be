#include "engine/myimport.h"

#include "engine/BmpCodec.h"
#include "engine/Errors.h"
#include "engine/GifCodec.h"
#include "engine/GifFrames.h"
#include "engine/JpegCodec.h"
#include "engine/MyIcoIO.h"
#include "engine/MyIcon.h"
#include "engine/PngCodec.h"
#include "engine/Prompts.h"
#include "engine/SafeFile.h"
#include "engine/Settings.h"
#include "tests/support/IcoBuilder.h"
#include "tests/support/TestPaths.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const TmyPixel Marker = TmyPixel::CreateRGBA(1, 2, 3, 4);

class PictureImport : public testing::Test {
protected:
    void SetUp() override
    {
        m_saved = Options();
        Options().ClipboardAction = 0;
        Options().KeepAspectRatio = true;
        Options().ExportAlpha = true;
        Options().PrevColor = 0xFFFFFF;
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override { Options() = m_saved; }

    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QString Write(const char* name, const QByteArray& bytes) const
    {
        glimt::WriteFileAtomically(Path(name), bytes);
        return Path(name);
    }
    static TmyImagePal Filled(int height, int width, TmyPixel p = Marker)
    {
        TmyImagePal image(height, width, 32);
        image.Fill(p);
        return image;
    }
    static TmyImage Picture(int height, int width, TmyPixel p)
    {
        TmyImage img(height, width);
        img.Fill(p);
        return img;
    }
    static QByteArray Load(const QString& path) { return glimt::ReadWholeFile(path); }
    static const std::uint8_t* Bytes(const QByteArray& b) { return reinterpret_cast<const std::uint8_t*>(b.constData()); }

    TOptions m_saved;
    QTemporaryDir m_dir;
};

// Where the picture landed: the bounding box of the pixels that no longer hold `before`.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Box Changed(const TmyImage& img, const TmyPixel& before = Marker)
{
    Box b;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x)
            if (!(img.Pixel(x, y) == before)) {
                b.left = std::min(b.left, x), b.top = std::min(b.top, y);
                b.right = std::max(b.right, x), b.bottom = std::max(b.bottom, y);
            }
    return b;
}

class AnswerTooBig : public glimt::SilentPrompts {
public:
    int answer = 1;
    int asked = 0;
    int AskImageTooBig() override
    {
        ++asked;
        return answer;
    }
};

} // namespace

TEST_F(PictureImport, SmallBitmapIsCentredAndOpaque)
{
    const TmyPixel grey = TmyPixel::CreateRGBA(90, 80, 70, 0);
    const QString file = Write("small.bmp", glimt::EncodeBmp(Picture(10, 20, grey), 24));
    TmyImagePal image = Filled(32, 32);
    ASSERT_TRUE(TmyImport::ImportBmp(file, image, 0, 0, false));
    const Box b = Changed(image);
    EXPECT_EQ(b.left, 6);
    EXPECT_EQ(b.top, 11);
    EXPECT_EQ(b.right, 25);
    EXPECT_EQ(b.bottom, 20);
    EXPECT_EQ(image.Pixel(6, 11), TmyPixel::CreateRGBA(90, 80, 70, 255));
}

TEST_F(PictureImport, AlphaRuleDependsOnWhereTheAlphaComesFrom)
{
    TmyImage clear = Picture(2, 3, TmyPixel::CreateRGBA(10, 20, 30, 0));
    TmyImage oneAlpha = clear;
    oneAlpha.Pixel(2, 1).A = 77;
    struct Row {
        const char* name;
        glimt::PictureBitmap bitmap;
        std::uint8_t alphaAt00;
        std::uint8_t alphaAt21;
    } rows[] = {
        {"fourth byte all zero is padding", {clear, glimt::BitmapAlpha::FourthByte}, 255, 255},
        {"one non-zero fourth byte keeps all", {oneAlpha, glimt::BitmapAlpha::FourthByte}, 0, 77},
        {"below 32 bits is opaque", {oneAlpha, glimt::BitmapAlpha::Opaque}, 255, 255},
        {"decoder alpha all zero stays transparent", {clear, glimt::BitmapAlpha::Straight}, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TmyImagePal image = Filled(2, 3);
        TmyImport::BitmapToImage(r.bitmap, image, 2, 3);
        EXPECT_EQ(image.Pixel(0, 0).A, r.alphaAt00);
        EXPECT_EQ(image.Pixel(2, 1).A, r.alphaAt21);
        EXPECT_TRUE(image.Pixel(1, 0).SameRGB(TmyPixel::CreateRGBA(10, 20, 30, 0)));
    }
}

TEST_F(PictureImport, FullyTransparentPngAndGifStayTransparent)
{
    const QString png = Write("clear.png", glimt::EncodePng(Picture(3, 5, TmyPixel::CreateRGBA(9, 9, 9, 0))));
    TmyImagePal a = Filled(3, 5);
    ASSERT_TRUE(TmyImport::ImportPng(png, a, 3, 5, false));
    for (std::size_t i = 0; i < a.PixelCount(); ++i)
        EXPECT_EQ(a.Data()[i], TmyPixel{}) << "transparent PNG pixels are 0, 0, 0, 0";

    const QString gif = Write("clear.gif", glimt::EncodeGif(5, 3, std::vector<std::uint8_t>(15, 1),
                                                             {TmyPixel::CreateRGBA(0, 0, 0, 255), TmyPixel::CreateRGBA(255, 0, 0, 255)}, 1));
    TmyImagePal b = Filled(3, 5);
    ASSERT_TRUE(TmyImport::ImportGif(b, gif, false));
    for (std::size_t i = 0; i < b.PixelCount(); ++i)
        EXPECT_EQ(b.Data()[i].A, 0);
}

// A palette PNG with tRNS keeps its alpha in a 32-bit image; an image below 32 bits takes
// only alpha 0 or 255 (128 and below transparent), whatever the picture's alpha.
TEST_F(PictureImport, TrnsPngBelow32BitsIsOpaqueOrTransparent)
{
    QImage indexed(4, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 100), qRgba(0, 255, 0, 128), qRgba(9, 9, 9, 129)});
    for (int x = 0; x < 4; ++x)
        indexed.setPixel(x, 0, uint(x));
    const QString file = Write("trns.png", glimt::test::QtPngBytes(indexed));
    struct Row {
        int depth;
        std::vector<TmyPixel> want;
    } rows[] = {
        {32, {TmyPixel::CreateRGBA(255, 0, 0, 255), TmyPixel::CreateRGBA(0, 0, 255, 100), TmyPixel::CreateRGBA(0, 255, 0, 128),
              TmyPixel::CreateRGBA(9, 9, 9, 129)}},
        {24, {TmyPixel::CreateRGBA(255, 0, 0, 255), TmyPixel{}, TmyPixel{}, TmyPixel::CreateRGBA(9, 9, 9, 255)}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.depth);
        TmyImagePal image(1, 4, r.depth);
        ASSERT_TRUE(TmyImport::ImportPng(file, image, 1, 4, false));
        EXPECT_EQ(image.BitDepth, r.depth);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image.Pixel(x, 0), r.want[std::size_t(x)]) << "x = " << x;
    }
}

TEST_F(PictureImport, LargePictureIsResampledIntoTheAspectArea)
{
    const glimt::PictureBitmap wide{Picture(32, 64, TmyPixel::CreateRGBA(200, 0, 0, 255)), glimt::BitmapAlpha::Opaque};
    TmyImagePal image = Filled(32, 32);
    TmyImport::BitmapToImage(wide, image, 32, 32);
    Box b = Changed(image, TmyPixel{});
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.top, 8);
    EXPECT_EQ(b.right, 31);
    EXPECT_EQ(b.bottom, 23);
    EXPECT_EQ(image.Pixel(0, 0), TmyPixel{}) << "the resized image starts transparent";

    Options().KeepAspectRatio = false;
    TmyImport::BitmapToImage(wide, image, 32, 32);
    EXPECT_EQ(image.Pixel(0, 0), TmyPixel::CreateRGBA(200, 0, 0, 255));

    // So wide that the proportional height rounds to 0: the area is still one row.
    Options().KeepAspectRatio = true;
    TmyImagePal strip = Filled(32, 32);
    strip.Fill(Marker);
    TmyImport::ResampleBitmapToImage(Picture(1, 1000, TmyPixel::CreateRGBA(0, 0, 200, 255)), strip);
    b = Changed(strip);
    EXPECT_EQ(b.top, 15);
    EXPECT_EQ(b.bottom, 15);
    EXPECT_EQ(b.right, 31);
}

TEST_F(PictureImport, CropKeepsTheTopLeftPartAndAskingTakesTheAnswer)
{
    TmyImage quarters(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            quarters.Pixel(x, y) = TmyPixel::CreateRGBA(std::uint8_t(x), std::uint8_t(y), 0, 255);
    Options().ClipboardAction = 1;
    TmyImagePal image = Filled(32, 32);
    TmyImport::BitmapToImage({quarters, glimt::BitmapAlpha::Opaque}, image, 32, 32);
    EXPECT_EQ(image.Pixel(31, 31), TmyPixel::CreateRGBA(31, 31, 0, 255));

    AnswerTooBig prompts;
    glimt::ScopedPrompts scoped(&prompts);
    Options().ClipboardAction = 2;
    TmyImagePal asked = Filled(32, 32);
    TmyImport::BitmapToImage({quarters, glimt::BitmapAlpha::Opaque}, asked, 32, 32);
    EXPECT_EQ(prompts.asked, 1);
    EXPECT_EQ(asked.Pixel(0, 0), TmyPixel::CreateRGBA(0, 0, 0, 255));
    EXPECT_EQ(asked.Pixel(31, 0), TmyPixel::CreateRGBA(31, 0, 0, 255));
}

TEST_F(PictureImport, PlaceholderTakesThePictureSizeAndFittingStaysInside)
{
    const glimt::PictureBitmap pic{Picture(5, 7, TmyPixel::CreateRGBA(0, 90, 0, 255)), glimt::BitmapAlpha::Opaque};
    TmyImagePal placeholder = Filled(1, 1);
    TmyImport::BitmapToImage(pic, placeholder, 5, 7);
    EXPECT_EQ(placeholder.Width(), 7);
    EXPECT_EQ(placeholder.Height(), 5);
    EXPECT_EQ(Changed(placeholder).left, 0);

    // A target larger than the image: the picture passes the size test but is wider than the
    // image itself, and only the part over the image is copied.
    TmyImagePal small = Filled(3, 4);
    TmyImport::BitmapToImage(pic, small, 10, 10);
    EXPECT_EQ(small.Width(), 4);
    EXPECT_EQ(small.Height(), 3);
    EXPECT_EQ(small.Pixel(0, 0), TmyPixel::CreateRGBA(0, 90, 0, 255));
    EXPECT_EQ(small.Pixel(3, 2), TmyPixel::CreateRGBA(0, 90, 0, 255));
}

TEST_F(PictureImport, SquareImportMakesASquareCanvas)
{
    int side = 0;
    TmyImport::SquareCanvasSize(100, 40, side, 48);
    EXPECT_EQ(side, 48);
    const QString file = Write("wide.bmp", glimt::EncodeBmp(Picture(40, 100, TmyPixel::CreateRGBA(5, 5, 250, 255)), 24));
    TmyImagePal image = Filled(16, 48);
    ASSERT_TRUE(TmyImport::ImportBmp(file, image, 0, 0, true));
    EXPECT_EQ(image.Width(), 48);
    EXPECT_EQ(image.Height(), 48);
    EXPECT_NEAR(image.Pixel(24, 24).B, 250, 1);
    EXPECT_GT(image.Pixel(24, 24).A, 250);
    const Box b = Changed(image, TmyPixel{});
    EXPECT_EQ(b.top, 14) << "a 48 x 19 area";
    EXPECT_EQ(b.bottom, 32);
}

TEST_F(PictureImport, UnreadableFilesGiveFalse)
{
    const QString junk = Write("junk.bin", QByteArray("not a picture at all"));
    TmyImagePal image = Filled(4, 4);
    EXPECT_FALSE(TmyImport::ImportBmp(junk, image, 4, 4, false));
    EXPECT_FALSE(TmyImport::ImportJpeg(junk, image, 4, 4, false));
    EXPECT_FALSE(TmyImport::ImportPng(junk, image, 4, 4, false));
    EXPECT_FALSE(TmyImport::ImportGif(image, junk, false));
    EXPECT_FALSE(TmyImport::ImportIcon(junk, image, false));
    EXPECT_FALSE(TmyImport::ImportBmp(Path("missing.bmp"), image, 4, 4, false));
    EXPECT_EQ(TmyImport::ImportGifFrames(junk, image, 8), 2) << "no frame picker installed";
}

TEST_F(PictureImport, GreyPngImportsGreyAndOpaque)
{
    GLIMT_REQUIRE_TESTDATA();
    const QString file = glimt::test::TestDataDir() + "/pngsuite/png/basn0g08.png";
    TmyImagePal image = Filled(1, 1);
    ASSERT_TRUE(TmyImport::ImportPng(file, image, 32, 32, false));
    ASSERT_EQ(image.Width(), 32);
    for (std::size_t i = 0; i < image.PixelCount(); ++i) {
        const TmyPixel p = image.Data()[i];
        EXPECT_TRUE(p.R == p.G && p.G == p.B && p.A == 255);
    }
}

TEST_F(PictureImport, JpegIntoASmallIconUsesTheWholePicture)
{
    TmyImage big(300, 400);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            big.Pixel(x, y) = x < 200 ? TmyPixel::CreateRGBA(250, 10, 10, 255) : TmyPixel::CreateRGBA(10, 10, 250, 255);
    const QString file = Write("big.jpg", glimt::EncodeJpeg(big));
    Options().KeepAspectRatio = false;
    TmyImagePal image = Filled(16, 16);
    ASSERT_TRUE(TmyImport::ImportJpeg(file, image, 16, 16, false));
    EXPECT_GT(image.Pixel(2, 8).R, 200);
    EXPECT_GT(image.Pixel(13, 8).B, 200);
}

TEST_F(PictureImport, IconImportTakesTheDeepestImageWithItsAlpha)
{
    TmyIcon icon;
    icon.AddImage(16, 16, 8).Fill(TmyPixel::CreateRGBA(0, 0, 0, 255));
    TmyImagePal& deep = icon.AddImage(32, 32, 32);
    deep.Fill(TmyPixel::CreateRGBA(200, 100, 50, 255));
    deep.Pixel(0, 0) = TmyPixel{};
    TmyIcoIO writer(false);
    const QString file = Write("two.ico", writer.SaveToBytes(icon, false));

    TmyImagePal image = Filled(48, 48);
    ASSERT_TRUE(TmyImport::ImportIcon(file, image, false));
    EXPECT_EQ(image.Pixel(8, 8), TmyPixel{}) << "the transparent corner stays transparent";
    EXPECT_EQ(image.Pixel(9, 8), TmyPixel::CreateRGBA(200, 100, 50, 255));
    EXPECT_EQ(image.Pixel(7, 8), Marker);
    EXPECT_EQ(Changed(image).right, 39);
}

// A screen that gives no picture is an error that leaves the image as it was; a picture
// smaller than the rectangle (partly off the screen) is completed in black.
TEST_F(PictureImport, ScreenGrabThatGivesNoPictureIsAnError)
{
    struct Screen {
        glimt::ScreenGrabber previous;
        explicit Screen(glimt::ScreenGrabber g) : previous(glimt::SetScreenGrabber(g)) {}
        ~Screen() { glimt::SetScreenGrabber(previous); }
    };
    {
        Screen refusing([](int, int, int, int) { return QImage(); });
        TmyImagePal image = Filled(4, 4);
        EXPECT_THROW(TmyImport::CaptureScreen(image, 0, 0, 4, 4), glimt::Error);
        EXPECT_TRUE(image.SamePixels(Filled(4, 4)));
    }
    Screen small([](int, int, int, int) {
        QImage grab(2, 1, QImage::Format_RGB32);
        grab.fill(qRgb(10, 20, 30));
        return grab;
    });
    const TmyImage grab = TmyImport::GrabScreenRect(0, 0, 2, 3);
    EXPECT_EQ(grab.Pixel(1, 0), TmyPixel::CreateRGBA(10, 20, 30, 255));
    EXPECT_EQ(grab.Pixel(2, 1), TmyPixel::CreateRGBA(0, 0, 0, 255));
}
