#include "engine/GifCodec.h"
#include "engine/GifFrames.h"

#include "engine/Errors.h"
#include "engine/SafeFile.h"
#include "tests/support/TestPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <gtest/gtest.h>

using glimt::GifFrame;
using glimt::GifPicture;

namespace {

GifPicture Decode(const QByteArray& bytes)
{
    return glimt::DecodeGif(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
}

const TmyPixel Red = TmyPixel::CreateRGBA(255, 0, 0, 255);
const TmyPixel Green = TmyPixel::CreateRGBA(0, 255, 0, 255);
const TmyPixel Blue = TmyPixel::CreateRGBA(0, 0, 255, 255);
const TmyPixel None = TmyPixel{};

GifFrame Frame(int left, int top, int width, int height, std::uint8_t index, int transparent = -1, int disposal = 0)
{
    GifFrame f;
    f.Left = left, f.Top = top, f.Width = width, f.Height = height;
    f.Indices.assign(std::size_t(width) * std::size_t(height), index);
    f.Colors = {Red, Green, Blue};
    f.TransparentIndex = transparent;
    f.Disposal = disposal;
    return f;
}

// The expected frames of one corpus file, as its .conf lists them.
struct Expected {
    int width = 0, height = 0;
    QList<QImage> frames;
};

Expected ReadConf(const QString& confPath)
{
    Expected e;
    QFile f(confPath);
    if (!f.open(QIODevice::ReadOnly))
        return e;
    QMap<QString, QMap<QString, QString>> sections;
    QString section;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('#') || line.isEmpty())
            continue;
        if (line.startsWith('[')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const int eq = line.indexOf('=');
        if (eq > 0)
            sections[section][line.left(eq).trimmed()] = line.mid(eq + 1).trimmed();
    }
    const QString dir = QFileInfo(confPath).path() + '/';
    e.width = sections["config"]["width"].toInt();
    e.height = sections["config"]["height"].toInt();
    for (const QString& name : sections["config"]["frames"].split(',', Qt::SkipEmptyParts)) {
        const auto& s = sections[name.trimmed()];
        QImage img;
        if (s.contains("image")) {
            img = QImage(dir + s["image"]).convertToFormat(QImage::Format_RGBA8888);
        } else {
            QFile raw(dir + s["pixels"]);
            if (raw.open(QIODevice::ReadOnly)) {
                const QByteArray px = raw.readAll();
                if (px.size() == qsizetype(e.width) * e.height * 4) {
                    img = QImage(e.width, e.height, QImage::Format_RGBA8888);
                    for (int y = 0; y < e.height; ++y)
                        memcpy(img.scanLine(y), px.constData() + qsizetype(y) * e.width * 4, size_t(e.width) * 4);
                }
            }
        }
        e.frames << img;
    }
    return e;
}

} // namespace

TEST(GifCodec, EncodedFrameDecodesToTheSameIndicesAndKey)
{
    // 3 x 2, so a swapped width and height shows.
    const std::vector<std::uint8_t> indices = {0, 1, 2, 2, 1, 0};
    for (int key : {-1, 1}) {
        SCOPED_TRACE(key);
        const QByteArray bytes = glimt::EncodeGif(3, 2, indices, {Red, Green, Blue}, key);
        ASSERT_TRUE(bytes.startsWith("GIF89a"));
        const GifPicture gif = Decode(bytes);
        ASSERT_EQ(gif.Frames.size(), 1u);
        EXPECT_EQ(gif.ScreenWidth, 3);
        EXPECT_EQ(gif.ScreenHeight, 2);
        EXPECT_EQ(gif.Frames[0].Indices, indices);
        EXPECT_EQ(gif.Frames[0].TransparentIndex, key);
        ASSERT_GE(gif.Frames[0].Colors.size(), 3u);
        EXPECT_EQ(gif.Frames[0].Colors[2], Blue);
    }
}

TEST(GifCodec, DamagedFilesAreRefused)
{
    const QByteArray good = glimt::EncodeGif(3, 2, {0, 1, 2, 2, 1, 0}, {Red, Green, Blue}, -1);
    EXPECT_THROW(Decode(QByteArray()), glimt::Error);
    EXPECT_THROW(Decode(good.left(13)), glimt::Error) << "no image at all";
    QByteArray huge = good;
    huge[6] = char(0xFF), huge[7] = char(0xFF), huge[8] = char(0xFF), huge[9] = char(0xFF);
    EXPECT_THROW(Decode(huge), glimt::Error) << "a 65535 x 65535 screen";
    for (int cut = 0; cut < good.size(); ++cut) {
        try {
            Decode(good.left(cut));
        } catch (const glimt::Error&) {
        }
    }
}

TEST(ComposeGifFrame, FrameIsDrawnOnceAtItsOffsetNotTiled)
{
    GifPicture gif;
    gif.ScreenWidth = 5, gif.ScreenHeight = 3;
    gif.Frames.push_back(Frame(0, 0, 5, 3, 0));
    gif.Frames.push_back(Frame(1, 1, 2, 1, 1));
    TmyImage bmp(3, 5);
    glimt::ComposeGifFrame(bmp, gif, 0);
    glimt::ComposeGifFrame(bmp, gif, 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(bmp.Pixel(x, y), (y == 1 && (x == 1 || x == 2)) ? Green : Red);
        }
}

TEST(ComposeGifFrame, TransparencyClippingAndMissingColours)
{
    GifPicture gif;
    gif.ScreenWidth = 3, gif.ScreenHeight = 2;
    // Reaches past the right and bottom edges and starts outside: only (2, 1) is on screen.
    GifFrame f = Frame(2, 1, 4, 4, 2);
    f.Indices[1] = 1;
    gif.Frames.push_back(f);
    gif.Frames.push_back(Frame(0, 0, 3, 2, 1, /*transparent*/ 1));
    gif.Frames.push_back(Frame(0, 0, 1, 1, 7)); // index past the colour table paints nothing
    TmyImage bmp(2, 3);
    bmp.Pixel(0, 0) = TmyPixel::CreateRGBA(9, 9, 9, 0);
    for (int k = 0; k < 3; ++k)
        glimt::ComposeGifFrame(bmp, gif, k);
    EXPECT_EQ(bmp.Pixel(2, 1), Blue);
    EXPECT_EQ(bmp.Pixel(0, 0), TmyPixel::CreateRGBA(9, 9, 9, 0)) << "untouched pixels keep their alpha";
    EXPECT_EQ(bmp.Pixel(1, 1), None);
    EXPECT_THROW(glimt::ComposeGifFrame(bmp, gif, 3), std::out_of_range);
}

TEST(ComposeGifFrame, FullyTransparentFrameStaysTransparent)
{
    GifPicture gif;
    gif.ScreenWidth = 3, gif.ScreenHeight = 2;
    gif.Frames.push_back(Frame(0, 0, 3, 2, 0));
    gif.Frames.push_back(Frame(0, 0, 3, 2, 2, /*transparent*/ 2));
    const TmyImage alone = glimt::ComposeGifFrames(gif, 1, false);
    for (std::size_t i = 0; i < alone.PixelCount(); ++i)
        EXPECT_EQ(alone.Data()[i], None);
    const TmyImage over = glimt::ComposeGifFrames(gif, 1, true);
    for (std::size_t i = 0; i < over.PixelCount(); ++i)
        EXPECT_EQ(over.Data()[i], Red);
}

TEST(ComposeGifFrame, DisposalOfEarlierFrames)
{
    struct Row {
        const char* name;
        int disposal;
        TmyPixel underSecond; // pixel (0, 0) after frame 2, which paints only (1, 0)
    } rows[] = {
        {"unspecified keeps", 0, Green},
        {"keep", 1, Green},
        {"restore background clears", 2, None},
        {"restore previous goes back to frame 0", 3, Red},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        GifPicture gif;
        gif.ScreenWidth = 2, gif.ScreenHeight = 1;
        gif.Frames.push_back(Frame(0, 0, 2, 1, 0, -1, 1));
        gif.Frames.push_back(Frame(0, 0, 1, 1, 1, -1, r.disposal));
        gif.Frames.push_back(Frame(1, 0, 1, 1, 2));
        const TmyImage out = glimt::ComposeGifFrames(gif, 2, true);
        EXPECT_EQ(out.Pixel(0, 0), r.underSecond);
        EXPECT_EQ(out.Pixel(1, 0), Blue);
        EXPECT_EQ(glimt::ComposeGifFrames(gif, 1, true).Pixel(0, 0), Green) << "a frame's own disposal waits";
    }
}

TEST(GifCodec, CorpusFilesDecodeToTheirExpectedFrames)
{
    GLIMT_REQUIRE_TESTDATA();
    const QStringList confs = glimt::test::TestDataFiles(QStringLiteral("gif-pygif"), {QStringLiteral(".conf")});
    ASSERT_FALSE(confs.isEmpty());
    // Files refused on purpose: images without pixels, LZW code sizes above 8 bits (which
    // giflib refuses) and sides beyond the picture size limit.
    const QStringList refused = {"image-zero-height", "image-zero-size", "image-zero-width", "no-data",
                                 "max-codes", "max-height", "max-width"};
    int matched = 0;
    for (const QString& conf : confs) {
        const QString name = QFileInfo(conf).completeBaseName();
        SCOPED_TRACE(name.toStdString());
        const Expected e = ReadConf(conf);
        const QString gifPath = QFileInfo(conf).path() + '/' + name + ".gif";
        GifPicture gif;
        try {
            gif = Decode(glimt::ReadWholeFile(gifPath));
        } catch (const glimt::Error& err) {
            EXPECT_TRUE(e.frames.isEmpty() || refused.contains(name)) << err.what();
            continue;
        }
        if (e.frames.isEmpty())
            continue;
        EXPECT_EQ(gif.ScreenWidth, e.width);
        EXPECT_EQ(gif.ScreenHeight, e.height);
        // Where images without a delay count as one animation step, a frame here is not a
        // frame there; such files are only required to decode.
        if (gif.Frames.size() != std::size_t(e.frames.size()))
            continue;
        for (int k = 0; k < int(e.frames.size()); ++k) {
            const QImage& want = e.frames[k];
            if (want.isNull() || want.width() != gif.ScreenWidth || want.height() != gif.ScreenHeight)
                continue;
            const TmyImage got = glimt::ComposeGifFrames(gif, k, true);
            int wrong = 0;
            for (int y = 0; y < want.height(); ++y)
                for (int x = 0; x < want.width(); ++x) {
                    const QRgb q = want.pixel(x, y);
                    const TmyPixel p = got.Pixel(x, y);
                    const bool same = qAlpha(q) == 0 ? p.A == 0
                                                     : p == TmyPixel::CreateRGBA(std::uint8_t(qRed(q)), std::uint8_t(qGreen(q)),
                                                                                 std::uint8_t(qBlue(q)), std::uint8_t(qAlpha(q)));
                    wrong += same ? 0 : 1;
                }
            EXPECT_EQ(wrong, 0) << "frame " << k;
            ++matched;
        }
    }
    EXPECT_GT(matched, 50);
}
