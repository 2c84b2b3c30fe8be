#include "engine/GifCodec.h"
#include "engine/GifFrames.h"

#include "engine/Errors.h"
#include "engine/SafeFile.h"
#include "tests/support/TestPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <algorithm>
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

TEST(GifSampling, FittingKeepsTheProportionsAndTakesTheWholeOfASmallScreen)
{
    struct Row {
        int width, height, side;
        int columns, rows;
    } rows[] = {
        {16384, 16384, 280, 280, 280}, {300, 100, 150, 150, 50}, {100, 300, 150, 50, 150},
        {100, 50, 150, 100, 50},      {3, 2, 1, 1, 1},           {5000, 1, 10, 10, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.width << " x " << r.height << " in " << r.side);
        GifPicture gif;
        gif.ScreenWidth = r.width, gif.ScreenHeight = r.height;
        const glimt::GifSampling s = glimt::GifSampling::Fitting(gif, r.side);
        ASSERT_EQ(int(s.Columns.size()), r.columns);
        ASSERT_EQ(int(s.Rows.size()), r.rows);
        EXPECT_TRUE(std::is_sorted(s.Columns.begin(), s.Columns.end()));
        EXPECT_GE(s.Columns.front(), 0);
        EXPECT_LT(s.Columns.back(), r.width);
        EXPECT_LT(s.Rows.back(), r.height);
    }
}

// Frames at offsets with every disposal, on a screen of odd size.
GifPicture Animation()
{
    GifPicture gif;
    gif.ScreenWidth = 37, gif.ScreenHeight = 23;
    gif.Frames.push_back(Frame(0, 0, 37, 23, 0, -1, 1));
    gif.Frames.push_back(Frame(5, 3, 20, 11, 1, -1, 2));
    gif.Frames.push_back(Frame(11, 7, 15, 12, 2, -1, 3));
    gif.Frames.push_back(Frame(30, 18, 10, 10, 1, -1, 0)); // reaches past the screen
    GifFrame holes = Frame(2, 2, 30, 15, 2, 0, 3);
    for (std::size_t i = 0; i < holes.Indices.size(); i += 3)
        holes.Indices[i] = 0; // transparent
    gif.Frames.push_back(holes);
    gif.Frames.push_back(Frame(8, 1, 4, 4, 0, -1, 2));
    return gif;
}

// A picture of a few pixels and a whole one come from the same composition: each sampled pixel
// is the whole picture's pixel it stands for, frame by frame, and playing the frames in one pass
// gives what composing each one on its own gives.
TEST(GifComposer, ASampledPictureShowsTheWholePicturesPixels)
{
    const GifPicture gif = Animation();
    const glimt::GifSampling small = glimt::GifSampling::Fitting(gif, 9);
    ASSERT_EQ(small.Columns.size(), 9u);
    for (bool overimpose : {true, false}) {
        SCOPED_TRACE(overimpose);
        std::vector<TmyImage> played;
        glimt::ForEachGifFrame(gif, overimpose, small, [&](int k, const TmyImage& picture) {
            EXPECT_EQ(k, int(played.size()));
            played.push_back(picture);
        });
        ASSERT_EQ(played.size(), gif.Frames.size());
        for (int k = 0; k < int(gif.Frames.size()); ++k) {
            SCOPED_TRACE(k);
            const TmyImage whole = glimt::ComposeGifFrames(gif, k, overimpose);
            const TmyImage sampled = glimt::ComposeGifFrames(gif, k, overimpose, small);
            int wrong = 0;
            for (std::size_t j = 0; j < small.Rows.size(); ++j)
                for (std::size_t i = 0; i < small.Columns.size(); ++i) {
                    const TmyPixel want = whole.Pixel(small.Columns[i], small.Rows[j]);
                    wrong += sampled.Pixel(int(i), int(j)) == want && played[std::size_t(k)].Pixel(int(i), int(j)) == want ? 0 : 1;
                }
            EXPECT_EQ(wrong, 0);
        }
    }
    // The disposals did their work: after frame 2 (restores what lay under it) and frame 1
    // (clears its rectangle), frame 3's picture shows frame 0 around the cleared part.
    const TmyImage third = glimt::ComposeGifFrames(gif, 3, true);
    EXPECT_EQ(third.Pixel(0, 0), Red);
    EXPECT_EQ(third.Pixel(6, 4), None);
    EXPECT_EQ(third.Pixel(20, 15), Red) << "frame 2's area went back to what lay under it";
    EXPECT_EQ(third.Pixel(33, 20), Green);
}

// A tiny file may claim a huge logical screen: a small picture of it costs what it shows.
TEST(GifComposer, AHugeScreenWithTinyFramesComposesAtThePicturesSize)
{
    GifPicture gif;
    gif.ScreenWidth = 16384, gif.ScreenHeight = 16384;
    for (int k = 0; k < 3; ++k)
        gif.Frames.push_back(Frame(8192 + k, 8192, 1, 1, std::uint8_t(k), -1, k == 1 ? 3 : 2));
    const glimt::GifSampling tile = glimt::GifSampling::Fitting(gif, 280);
    int frames = 0;
    glimt::ForEachGifFrame(gif, true, tile, [&](int, const TmyImage& picture) {
        ++frames;
        EXPECT_EQ(picture.Width(), 280);
        EXPECT_EQ(picture.Height(), 280);
    });
    EXPECT_EQ(frames, 3);
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
