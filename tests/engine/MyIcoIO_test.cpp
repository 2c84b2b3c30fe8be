#include "engine/MyIcoIO.h"

#include "engine/ByteReader.h"
#include "engine/Errors.h"
#include "engine/PngCodec.h"
#include "tests/support/IcoBuilder.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using glimt::TMsgKind;
using glimt::test::DibSpec;
using glimt::test::IcoBuilder;

namespace {

// Records every message box instead of showing it.
class FakePrompts : public glimt::SilentPrompts {
public:
    struct Box {
        TMsgKind kind;
        QString text;
    };
    std::vector<Box> boxes;
    void Message(TMsgKind kind, const QString& text) override { boxes.push_back({kind, text}); }
    QStringList Texts() const
    {
        QStringList t;
        for (const Box& b : boxes)
            t << b.text;
        return t;
    }
};

constexpr TmyPixel Opaque(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return TmyPixel::CreateRGBA(r, g, b, 255);
}

const TmyPixel Clear{};

struct Loaded {
    bool ok = false;
    std::unique_ptr<TmyIcon> icon;
    QStringList messages;
};

Loaded Load(const QByteArray& bytes, bool showMessages = true)
{
    FakePrompts prompts;
    glimt::ScopedPrompts scope(&prompts);
    Loaded l;
    TmyIcoIO io(showMessages);
    l.ok = io.LoadFromBytes(l.icon, bytes);
    l.messages = prompts.Texts();
    return l;
}

QByteArray Save(TmyIcon& icon, bool compress, QStringList* messages = nullptr)
{
    FakePrompts prompts;
    glimt::ScopedPrompts scope(&prompts);
    TmyIcoIO io(true);
    QByteArray bytes = io.SaveToBytes(icon, compress);
    if (messages)
        *messages = prompts.Texts();
    return bytes;
}

// A DibSpec with every pixel opaque: index `i % palette` or a colour from the position.
DibSpec Dib(int w, int h, int depth)
{
    DibSpec s;
    s.Width = w;
    s.Height = h;
    s.BitDepth = depth;
    const int entries = TmyImagePal::PaletteSizeFor(depth);
    for (int i = 0; i < entries; ++i)
        s.Palette.push_back(Opaque(std::uint8_t(i * 7), std::uint8_t(255 - i), std::uint8_t(i * 3)));
    for (int i = 0; i < w * h; ++i) {
        if (entries > 0)
            s.Indices.push_back(i % entries);
        else
            s.Colors.push_back(TmyPixel::CreateRGBA(std::uint8_t(i * 5), std::uint8_t(i * 11), std::uint8_t(i), std::uint8_t(200 + i % 50)));
    }
    return s;
}

// A document image with distinct colours, a palette of its depth and some transparent pixels.
TmyImagePal MakeImage(int h, int w, int depth)
{
    TmyImagePal img(h, w, depth);
    const int entries = TmyImagePal::PaletteSizeFor(depth);
    if (entries > 0) {
        for (int i = 0; i < entries; ++i)
            img.Palette->Colors[std::size_t(i)] = Opaque(std::uint8_t(i * 13), std::uint8_t(i * 5 + 1), std::uint8_t(255 - i));
        img.Palette->Colors[0] = Opaque(0, 0, 0);
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int i = y * w + x;
            TmyPixel p = entries > 0 ? img.Palette->Colors[std::size_t((i * 3 + 1) % entries)]
                                     : TmyPixel::CreateRGBA(std::uint8_t(x * 40), std::uint8_t(y * 60), std::uint8_t(i), 255);
            if (depth == 32)
                p.A = std::uint8_t(40 + i * 17);
            if (i % 5 == 2)
                p = TmyPixel{};
            img.Pixel(x, y) = p;
        }
    }
    return img;
}

std::uint32_t U32At(const QByteArray& b, qsizetype at)
{
    std::uint32_t v = 0;
    glimt::ByteReader(b).PeekAt(std::uint64_t(at), &v, 4);
    return v;
}
std::uint16_t U16At(const QByteArray& b, qsizetype at)
{
    std::uint16_t v = 0;
    glimt::ByteReader(b).PeekAt(std::uint64_t(at), &v, 2);
    return v;
}
std::uint8_t U8At(const QByteArray& b, qsizetype at)
{
    return std::uint8_t(b.at(at));
}

struct Entry {
    int width, height, colors, bitCount;
    std::uint32_t size, offset;
};
Entry EntryAt(const QByteArray& file, int i)
{
    const qsizetype e = 6 + 16 * i;
    return {U8At(file, e), U8At(file, e + 1), U8At(file, e + 2), U16At(file, e + 6), U32At(file, e + 8), U32At(file, e + 12)};
}

std::string Shape(const TmyImagePal& img)
{
    return std::to_string(img.Width()) + "x" + std::to_string(img.Height()) + "-" + std::to_string(img.BitDepth);
}

std::vector<std::string> Shapes(const TmyIcon& icon)
{
    std::vector<std::string> s;
    for (int i = 0; i < icon.Count(); ++i)
        s.push_back(Shape(icon.Image(i)));
    return s;
}

} // namespace

// ---- writer -----------------------------------------------------------------------------

TEST(TmyIcoIO, BitmapSizesByDepth)
{
    struct Row {
        int h, w, depth;
        std::int64_t size;
    } rows[] = {{32, 32, 4, 744}, {16, 16, 1, 176}, {48, 48, 32, 9640}, {16, 16, 24, 872}, {256, 256, 32, 270376}, {2, 3, 1, 40 + 8 + 8 + 8}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.w << "x" << r.h << "-" << r.depth);
        EXPECT_EQ(40 + TmyIcoIO::XorDataSize(r.h, r.w, r.depth) + TmyIcoIO::AndMaskSize(r.h, r.w), r.size);
        TmyIcon icon;
        icon.AddImageCopy(MakeImage(r.h, r.w, r.depth));
        const QByteArray file = Save(icon, false);
        EXPECT_EQ(file.size(), 6 + 16 + r.size);
        EXPECT_EQ(EntryAt(file, 0).size, std::uint32_t(r.size));
        EXPECT_EQ(EntryAt(file, 0).offset, 22u);
        EXPECT_EQ(U32At(file, 22 + 8), std::uint32_t(2 * r.h)) << "biHeight counts colour and mask rows";
    }
    EXPECT_EQ(TmyIcoIO::XorDataSize(16, 16, 16), 0);
}

TEST(TmyIcoIO, FileOrderOffsetsAndEditingOrderAfterwards)
{
    TmyIcon icon;
    icon.AddImageCopy(MakeImage(32, 32, 32));
    icon.AddImageCopy(MakeImage(16, 16, 8));
    icon.AddImageCopy(MakeImage(48, 48, 4));
    icon.AddImageCopy(MakeImage(256, 256, 32));
    icon.Current = 1; // the 16x16 8-bit image
    const QByteArray file = Save(icon, false);

    EXPECT_EQ(U16At(file, 0), 0);
    EXPECT_EQ(U16At(file, 2), 1);
    EXPECT_EQ(U16At(file, 4), 4);
    struct Want {
        int w, h, colors, depth;
    } want[] = {{48, 48, 16, 4}, {16, 16, 0, 8}, {0, 0, 0, 32}, {32, 32, 0, 32}};
    std::uint32_t offset = 70;
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const Entry e = EntryAt(file, i);
        EXPECT_EQ(e.width, want[i].w);
        EXPECT_EQ(e.height, want[i].h);
        EXPECT_EQ(e.colors, want[i].colors);
        EXPECT_EQ(e.bitCount, want[i].depth);
        EXPECT_EQ(U16At(file, 6 + 16 * i + 4), 1) << "planes";
        EXPECT_EQ(e.offset, offset);
        EXPECT_EQ(U32At(file, qsizetype(e.offset)), 40u) << "a bitmap header starts every image";
        offset += e.size;
    }
    EXPECT_EQ(qsizetype(offset), file.size()) << "images follow one another without gaps";
    EXPECT_EQ(U32At(file, qsizetype(EntryAt(file, 2).offset) + 8), 512u);
    EXPECT_EQ(Shapes(icon), (std::vector<std::string>{"256x256-32", "32x32-32", "16x16-8", "48x48-4"}));
    EXPECT_EQ(icon.Current, 2) << "the current image is followed";
}

TEST(TmyIcoIO, CompressStores256ImagesAsPng)
{
    for (int depth : {32, 8}) {
        SCOPED_TRACE(depth);
        TmyIcon icon;
        icon.AddImageCopy(MakeImage(256, 256, depth));
        icon.AddImageCopy(MakeImage(128, 128, depth));
        const QByteArray file = Save(icon, true);
        const Entry big = EntryAt(file, 0);
        EXPECT_EQ(big.width, 0);
        EXPECT_EQ(big.height, 0);
        EXPECT_EQ(big.colors, 0);
        EXPECT_EQ(big.bitCount, depth);
        EXPECT_EQ(std::int64_t(big.size), TmyIcoIO::PngByteSize(icon.Image(0)));
        EXPECT_TRUE(file.mid(big.offset, 8) == QByteArray("\x89PNG\r\n\x1a\n", 8));
        EXPECT_EQ(EntryAt(file, 1).offset, big.offset + big.size);
        EXPECT_EQ(U32At(file, EntryAt(file, 1).offset), 40u) << "128x128 is never compressed";
        EXPECT_EQ(Save(icon, true), file) << "the same document gives the same bytes";
    }
}

TEST(TmyIcoIO, PaletteAndMaskBytes)
{
    struct Row {
        const char* name;
        int blackAt; // -1: no black in the palette
        int wantIndex;
        int wantMessages;
    } rows[] = {{"no black: index 0 and one warning", -1, 0, 1}, {"black at 5", 5, 5, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TmyIcon icon;
        TmyImagePal& img = icon.AddImage(1, 2, 4);
        for (int i = 0; i < 16; ++i)
            img.Palette->Colors[std::size_t(i)] = Opaque(10, std::uint8_t(i + 1), 0);
        if (r.blackAt >= 0)
            img.Palette->Colors[std::size_t(r.blackAt)] = Opaque(0, 0, 0);
        img.Pixel(0, 0) = TmyPixel{};
        img.Pixel(1, 0) = img.Palette->Colors[3];
        QStringList messages;
        const QByteArray file = Save(icon, false, &messages);
        EXPECT_EQ(messages.size(), r.wantMessages);
        if (r.wantMessages) {
            EXPECT_EQ(messages[0], "The palette does not include the color Black.");
        }
        const qsizetype rows0 = 22 + 40 + 64;
        EXPECT_EQ(U8At(file, rows0), std::uint8_t(r.wantIndex << 4 | 3));
        EXPECT_EQ(U8At(file, rows0 + 4), 0x80) << "mask bit 1 for the transparent pixel only";
    }

    TmyIcon icon;
    TmyImagePal& rgb = icon.AddImage(1, 2, 24);
    rgb.Pixel(0, 0) = TmyPixel::CreateRGBA(9, 9, 9, 0);
    rgb.Pixel(1, 0) = Opaque(1, 2, 3);
    TmyImagePal& rgba = icon.AddImage(1, 1, 32);
    rgba.Pixel(0, 0) = TmyPixel::CreateRGBA(10, 20, 30, 0);
    TmyImagePal& mono = icon.AddImage(1, 3, 1);
    mono.Pixel(0, 0) = mono.Palette->Colors[1];
    mono.Pixel(1, 0) = mono.Palette->Colors[0];
    mono.Pixel(2, 0) = mono.Palette->Colors[1];
    const QByteArray file = Save(icon, false); // file order: 1, 24, 32 bits
    const qsizetype monoRows = EntryAt(file, 0).offset + 40 + 8;
    EXPECT_EQ(file.mid(monoRows, 8), QByteArray("\xA0\0\0\0\0\0\0\0", 8)) << "3 pixels in the top bits, 4-byte rows";
    const qsizetype rgbRows = EntryAt(file, 1).offset + 40;
    EXPECT_EQ(file.mid(rgbRows, 12), QByteArray("\0\0\0\x03\x02\x01\0\0\x80\0\0\0", 12));
    const qsizetype rgbaRows = EntryAt(file, 2).offset + 40;
    EXPECT_EQ(file.mid(rgbaRows, 8), QByteArray("\x1e\x14\x0a\0\x80\0\0\0", 8));
}

TEST(TmyIcoIO, PixelsOutsideThePaletteAndOddPaletteSizes)
{
    TmyIcon icon;
    TmyImagePal& img = icon.AddImage(1, 3, 4);
    img.Palette->SetCount(3);
    img.Palette->Colors = {Opaque(0, 0, 0), Opaque(200, 0, 0), Opaque(0, 0, 200)};
    img.Pixel(0, 0) = Opaque(190, 10, 0);              // nearest: entry 1
    img.Pixel(1, 0) = TmyPixel::CreateRGBA(0, 0, 200, 128); // same colour, other alpha: entry 2
    img.Pixel(2, 0) = TmyPixel{};
    const QByteArray file = Save(icon, false);
    EXPECT_EQ(EntryAt(file, 0).size, 40u + 64 + 4 + 4) << "a 4-bit palette is always 16 entries";
    EXPECT_EQ(U8At(file, 22 + 40 + 64), 0x12);
    EXPECT_EQ(U8At(file, 22 + 40 + 64 + 1), 0x00);

    const Loaded back = Load(file);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.icon->Image(0).Pixel(0, 0), Opaque(200, 0, 0));
    EXPECT_EQ(back.icon->Image(0).Pixel(1, 0), Opaque(0, 0, 200));

    TmyIcon big;
    TmyImagePal& eight = big.AddImage(2, 3, 8);
    eight.Palette->SetCount(300);
    eight.Pixel(0, 0) = eight.Palette->Colors[299];
    const QByteArray file8 = Save(big, false);
    EXPECT_EQ(EntryAt(file8, 0).size, std::uint32_t(TmyIcoIO::XorDataSize(2, 3, 8) + TmyIcoIO::AndMaskSize(2, 3) + 40));
}

TEST(TmyIcoIO, RoundTripsEveryDepth)
{
    struct Row {
        int h, w, depth;
        bool compress;
    } rows[] = {{2, 3, 1, false}, {2, 3, 4, false}, {2, 3, 8, false}, {2, 3, 24, false}, {2, 3, 32, false},
                {5, 17, 4, false}, {256, 256, 32, false}, {256, 256, 32, true}, {256, 256, 8, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.w << "x" << r.h << "-" << r.depth << (r.compress ? " compressed" : ""));
        TmyIcon icon;
        const TmyImagePal original = MakeImage(r.h, r.w, r.depth);
        icon.AddImageCopy(original);
        const Loaded back = Load(Save(icon, r.compress));
        ASSERT_TRUE(back.ok);
        ASSERT_EQ(back.icon->Count(), 1);
        const TmyImagePal& img = back.icon->Image(0);
        ASSERT_EQ(img.Width(), r.w);
        ASSERT_EQ(img.Height(), r.h);
        EXPECT_EQ(img.BitDepth, r.depth);
        // A transparent pixel reads back as 0, 0, 0, 0, except in a 32-bit bitmap: its colour
        // bytes are stored and the alpha is the transparency.
        TmyImage want = original;
        for (std::size_t i = 0; i < want.PixelCount(); ++i)
            if (want.Data()[i].A == 0 && (r.depth != 32 || r.compress))
                want.Data()[i] = TmyPixel{};
        EXPECT_TRUE(img.SamePixels(want));
        if (original.Palette && !r.compress) {
            EXPECT_EQ(*img.Palette, *original.Palette);
        }
    }
}

TEST(TmyIcoIO, ManyImagesRoundTrip)
{
    TmyIcon icon;
    for (int i = 0; i < 150; ++i) {
        TmyImagePal& img = icon.AddImage(1 + i % 7, 1 + i / 7, 32);
        img.Fill(Opaque(std::uint8_t(i), 1, 2));
    }
    const QByteArray file = Save(icon, false);
    const Loaded back = Load(file);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.icon->Count(), 150);
    EXPECT_EQ(Shapes(*back.icon), Shapes(icon));
}

TEST(TmyIcoIO, FailedSaveKeepsTheOldFileAndEditingOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.ico");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old content");
    }
    TmyIcon icon;
    icon.AddImage(16, 16, 4);
    icon.AddImage(16, 16, 32);
    icon.AddImage(8, 8, 32).BitDepth = 16; // no file form for this depth
    TmyIcoIO io(false);
    EXPECT_THROW(io.SaveToFile(icon, path, false), glimt::Error);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old content"));
    EXPECT_EQ(Shapes(icon), (std::vector<std::string>{"16x16-32", "8x8-16", "16x16-4"}));

    EXPECT_THROW(io.SaveToFile(icon, dir.filePath("missing/folder/x.ico"), false), glimt::Error);
    icon.DeleteImage(1);
    io.SaveToFile(icon, path, false);
    std::unique_ptr<TmyIcon> back;
    EXPECT_TRUE(io.LoadFromFile(back, path));
    EXPECT_EQ(Shapes(*back), Shapes(icon));
    TmyIcon* before = back.get();
    EXPECT_THROW(io.LoadFromFile(back, dir.filePath("none.ico")), glimt::FileError);
    EXPECT_EQ(back.get(), before) << "a file that cannot be read leaves the document alone";
}

// ---- sorting ----------------------------------------------------------------------------

TEST(TmyIcoIO, SortImagesIsStableAndCurrentTakesTheLastMatch)
{
    TmyIcon icon;
    icon.AddImage(16, 16, 8).Fill(Opaque(1, 0, 0));
    icon.AddImage(32, 32, 32);
    icon.AddImage(16, 16, 8).Fill(Opaque(2, 0, 0));
    icon.AddImage(32, 16, 32); // taller than wide
    icon.Current = 0;
    EXPECT_TRUE(TmyIcoIO::SortImages(icon));
    EXPECT_EQ(Shapes(icon), (std::vector<std::string>{"32x32-32", "16x32-32", "16x16-8", "16x16-8"}));
    EXPECT_EQ(icon.Image(2).Pixel(0, 0).R, 1) << "equal images keep their order";
    EXPECT_EQ(icon.Current, 3) << "the last image of the current one's size and depth";
    EXPECT_FALSE(TmyIcoIO::SortImages(icon));
    EXPECT_TRUE(TmyIcoIO::SortForFile(icon));
    EXPECT_EQ(Shapes(icon), (std::vector<std::string>{"16x16-8", "16x16-8", "32x32-32", "16x32-32"}));
}

// ---- reader -----------------------------------------------------------------------------

TEST(TmyIcoIO, ReadsBitmapEntriesOfEveryDepth)
{
    for (int depth : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(depth);
        DibSpec s = Dib(3, 2, depth);
        s.Mask = {0, 1, 0, 0, 0, 1};
        IcoBuilder b;
        b.AddDib(s);
        const Loaded l = Load(b.Build());
        ASSERT_TRUE(l.ok);
        ASSERT_EQ(l.icon->Count(), 1);
        const TmyImagePal& img = l.icon->Image(0);
        ASSERT_EQ(img.Width(), 3);
        ASSERT_EQ(img.Height(), 2);
        EXPECT_EQ(img.BitDepth, depth);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                const std::size_t i = std::size_t(y * 3 + x);
                TmyPixel want = depth <= 8 ? s.Palette[std::size_t(s.Indices[i])] : s.Colors[i];
                if (depth == 24)
                    want.A = 255;
                if (s.Mask[i] && depth != 32) // 32 bits with alpha: the alpha decides
                    want = Clear;
                EXPECT_EQ(img.Pixel(x, y), want) << x << "," << y;
            }
        }
        if (depth <= 8) {
            for (int i = 0; i < img.Palette->Count(); ++i)
                EXPECT_EQ(img.Palette->Colors[std::size_t(i)], s.Palette[std::size_t(i)]);
        }
    }
}

TEST(TmyIcoIO, ReaderCasesWithMessagesOnAndOff)
{
    const auto png = [](QImage::Format format) {
        QImage img(5, 3, format);
        img.fill(QColor(10, 200, 30, 255));
        if (img.hasAlphaChannel())
            img.setPixelColor(1, 1, QColor(1, 2, 3, 7));
        return glimt::test::QtPngBytes(img);
    };
    const auto single = [](const DibSpec& s, std::uint16_t type = 1) {
        IcoBuilder b(type);
        b.AddDib(s);
        return b.Build();
    };
    DibSpec wide = Dib(48, 48, 24);
    DibSpec huge = Dib(512, 512, 1);
    DibSpec sixteen = Dib(3, 2, 16);
    DibSpec two = Dib(3, 2, 2);
    IcoBuilder bigAndSmall;
    bigAndSmall.AddDib(huge);
    bigAndSmall.AddDib(Dib(16, 16, 4));
    IcoBuilder pngDepth0, pngDepth32, pngRgb;
    pngDepth0.AddPng(png(QImage::Format_ARGB32), 5, 3, 0);
    pngDepth32.AddPng(png(QImage::Format_ARGB32), 5, 3, 32);
    pngRgb.AddPng(png(QImage::Format_RGB888), 5, 3, 24);

    struct Row {
        const char* name;
        QByteArray file;
        bool ok;
        int count; // -1: no document
        QStringList messages;
        std::vector<std::string> shapes;
    } rows[] = {
        {"cursor with one 4-bit entry", single(Dib(32, 32, 4), 2), true, 1, {}, {"32x32-4"}},
        {"biHeight counts both halves", single(wide), true, 1, {}, {"48x48-24"}},
        {"too big alone", single(huge), false, 0, {"Image ignored: Too big (512x512)"}, {}},
        {"too big beside a good one", bigAndSmall.Build(), true, 1, {"Image ignored: Too big (512x512)"}, {"16x16-4"}},
        {"16 bits", single(sixteen), false, 0, {"16 bit images are not suported!"}, {}},
        {"2 bits", single(two), false, 0, {"2 bit images are not suported!"}, {}},
        {"PNG with bit count 0", pngDepth0.Build(), false, 0, {"0 bit images are not suported!"}, {}},
        {"PNG with bit count 32", pngDepth32.Build(), true, 1, {}, {"5x3-32"}},
        {"PNG without alpha", pngRgb.Build(), true, 1, {}, {"5x3-24"}},
        {"no entries", QByteArray("\0\0\1\0\0\0", 6), false, 0, {}, {}},
        {"reserved not 0", QByteArray("\1\0\1\0\1\0", 6), false, -1, {"Invalid File Format!"}, {}},
        {"type 3", QByteArray("\0\0\3\0\1\0", 6), false, -1, {"Invalid File Format!"}, {}},
        {"shorter than a header", QByteArray("\0\0\1", 3), false, -1, {"Invalid File Format!"}, {}},
    };
    for (bool show : {true, false}) {
        for (const Row& r : rows) {
            SCOPED_TRACE(testing::Message() << r.name << (show ? "" : " (silent)"));
            const Loaded l = Load(r.file, show);
            EXPECT_EQ(l.ok, r.ok);
            EXPECT_EQ(l.messages, show ? r.messages : QStringList());
            if (r.count < 0) {
                EXPECT_EQ(l.icon, nullptr);
                continue;
            }
            ASSERT_NE(l.icon, nullptr);
            EXPECT_EQ(l.icon->Count(), r.count);
            EXPECT_EQ(Shapes(*l.icon), r.shapes);
        }
    }
    EXPECT_EQ(Load(single(Dib(32, 32, 4), 2)).icon->Kind, 1);
    EXPECT_EQ(Load(single(Dib(32, 32, 4), 1)).icon->Kind, 0);
    const Loaded rgb = Load(pngRgb.Build());
    EXPECT_EQ(rgb.icon->Image(0).Pixel(1, 1), Opaque(10, 200, 30));
    const Loaded rgba = Load(pngDepth32.Build());
    EXPECT_EQ(rgba.icon->Image(0).Pixel(1, 1), TmyPixel::CreateRGBA(1, 2, 3, 7));
}

// At 32 bits the alpha channel wins over the mask as soon as any alpha byte is not 0; an
// all-zero alpha channel is padding, and the mask decides as at 24 bits.
TEST(TmyIcoIO, MaskAndAlphaAt24And32Bits)
{
    const auto spec = [](int depth, std::vector<TmyPixel> colors, std::vector<std::uint8_t> mask) {
        DibSpec s = Dib(int(colors.size()), 1, depth);
        s.Colors = std::move(colors);
        s.Mask = std::move(mask);
        return s;
    };
    const TmyPixel red = Opaque(255, 0, 0);
    struct Row {
        const char* name;
        DibSpec spec;
        std::vector<TmyPixel> want;
    } rows[] = {
        {"24 bits: the mask clears", spec(24, {red, red}, {1, 0}), {Clear, red}},
        // Tools set the mask wherever alpha is below 128.
        {"32 bits: partial alpha under a set mask is kept",
         spec(32, {TmyPixel::CreateRGBA(10, 20, 30, 100), TmyPixel::CreateRGBA(40, 50, 60, 1), TmyPixel::CreateRGBA(7, 8, 9, 200)},
              {1, 1, 0}),
         {TmyPixel::CreateRGBA(10, 20, 30, 100), TmyPixel::CreateRGBA(40, 50, 60, 1), TmyPixel::CreateRGBA(7, 8, 9, 200)}},
        {"32 bits: zero alpha beside other alpha stays as stored",
         spec(32, {TmyPixel::CreateRGBA(5, 6, 7, 0), TmyPixel::CreateRGBA(8, 9, 10, 255)}, {0, 0}),
         {TmyPixel::CreateRGBA(5, 6, 7, 0), Opaque(8, 9, 10)}},
        {"32 bits: opaque alpha under a full mask stays opaque",
         spec(32, {Opaque(5, 6, 7), Opaque(8, 9, 10)}, {1, 1}), {Opaque(5, 6, 7), Opaque(8, 9, 10)}},
        {"32 bits: all alpha 0 is padding, the mask decides",
         spec(32, {TmyPixel::CreateRGBA(5, 6, 7, 0), TmyPixel::CreateRGBA(8, 9, 10, 0)}, {0, 1}), {Opaque(5, 6, 7), Clear}},
        {"32 bits: all alpha 0 and no mask is opaque",
         spec(32, {TmyPixel::CreateRGBA(5, 6, 7, 0), TmyPixel::CreateRGBA(8, 9, 10, 0)}, {0, 0}),
         {Opaque(5, 6, 7), Opaque(8, 9, 10)}},
        {"32 bits: all alpha 0 under a full mask is transparent",
         spec(32, {TmyPixel::CreateRGBA(5, 6, 7, 0), TmyPixel::CreateRGBA(8, 9, 10, 0)}, {1, 1}), {Clear, Clear}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        IcoBuilder b;
        b.AddDib(r.spec);
        const Loaded l = Load(b.Build());
        ASSERT_TRUE(l.ok);
        const TmyImagePal& img = l.icon->Image(0);
        for (int x = 0; x < img.Width(); ++x)
            EXPECT_EQ(img.Pixel(x, 0), r.want[std::size_t(x)]) << "x = " << x;
    }
}

// A 48 x 48 alpha gradient with the mask set wherever alpha is below 128, as icon tools write
// it: every pixel keeps its alpha, and a save and a load give back the same pixels.
TEST(TmyIcoIO, AlphaGradientWithTheMaskOfAToolKeepsEveryPixel)
{
    DibSpec s = Dib(48, 48, 32);
    s.Colors.clear();
    for (int i = 0; i < 48 * 48; ++i) {
        const std::uint8_t a = std::uint8_t(i * 255 / (48 * 48 - 1));
        s.Colors.push_back(TmyPixel::CreateRGBA(std::uint8_t(i), 90, std::uint8_t(255 - i % 256), a));
        s.Mask.push_back(a < 128 ? 1 : 0);
    }
    IcoBuilder b;
    b.AddDib(s);
    const Loaded l = Load(b.Build());
    ASSERT_TRUE(l.ok);
    int differing = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            differing += l.icon->Image(0).Pixel(x, y) == s.Colors[std::size_t(y * 48 + x)] ? 0 : 1;
    EXPECT_EQ(differing, 0);
    const Loaded again = Load(Save(*l.icon, false));
    ASSERT_TRUE(again.ok);
    EXPECT_TRUE(again.icon->Image(0).SamePixels(l.icon->Image(0)));
}

// Writers such as Pillow leave the mask out of 32-bit bitmap entries and give the directory the
// size of the colours alone. Every image of such a file is read whole, without a word of damage;
// below 32 bits the mask is needed and a short entry stays damaged.
TEST(TmyIcoIO, ThirtyTwoBitEntriesWithoutTheirMaskAreReadWhole)
{
    const auto withoutMask = [](const DibSpec& spec) {
        QByteArray bytes = glimt::test::DibBytes(spec);
        bytes.chop(((spec.Width + 31) / 32) * 4 * spec.Height);
        return bytes;
    };
    std::vector<DibSpec> specs;
    for (int side : {16, 32, 48}) {
        DibSpec s = Dib(side, side, 32);
        for (std::size_t i = 0; i < s.Colors.size(); ++i)
            s.Colors[i].A = std::uint8_t(i * 37);
        specs.push_back(s);
    }
    DibSpec padding = Dib(8, 8, 32);
    for (TmyPixel& c : padding.Colors)
        c.A = 0;
    specs.push_back(padding);

    IcoBuilder b;
    for (const DibSpec& s : specs)
        b.AddDib(s).Data = withoutMask(s);
    const Loaded l = Load(b.Build());
    ASSERT_TRUE(l.ok);
    EXPECT_TRUE(l.messages.isEmpty()) << l.messages.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(l.icon->Count(), 4);
    for (const DibSpec& s : specs) {
        SCOPED_TRACE(s.Width);
        const TmyImagePal* found = nullptr;
        for (int i = 0; i < l.icon->Count(); ++i)
            if (l.icon->Image(i).Width() == s.Width)
                found = &l.icon->Image(i);
        ASSERT_NE(found, nullptr);
        const bool opaque = &s == &specs.back(); // all alpha 0 and no mask: the fourth byte is padding
        int differing = 0;
        for (int y = 0; y < s.Height; ++y)
            for (int x = 0; x < s.Width; ++x) {
                TmyPixel want = s.Colors[std::size_t(y * s.Width + x)];
                if (opaque)
                    want.A = 255;
                differing += found->Pixel(x, y) == want ? 0 : 1;
            }
        EXPECT_EQ(differing, 0);
    }

    DibSpec short24 = Dib(16, 16, 24);
    IcoBuilder c;
    c.AddDib(Dib(16, 16, 32));
    c.AddDib(short24).Data = withoutMask(short24);
    TmyIcoIO io(false);
    std::unique_ptr<TmyIcon> icon;
    EXPECT_TRUE(io.LoadFromBytes(icon, c.Build()));
    EXPECT_EQ(io.DamagedEntries, 1);
}

TEST(TmyIcoIO, ReadOrderAndCurrent)
{
    IcoBuilder b;
    b.AddDib(Dib(16, 16, 32));
    b.AddDib(Dib(48, 48, 8));
    b.AddDib(Dib(32, 32, 32));
    const Loaded l = Load(b.Build());
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(Shapes(*l.icon), (std::vector<std::string>{"32x32-32", "16x16-32", "48x48-8"}));
    EXPECT_EQ(l.icon->Current, 0) << "the image read last";
}

TEST(TmyIcoIO, PngEntries)
{
    QImage indexed(4, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 255, 0)});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            indexed.setPixel(x, y, uint((x + y) % 3));
    IcoBuilder b;
    b.AddPng(glimt::test::QtPngBytes(indexed), 4, 2, 8);
    const Loaded l = Load(b.Build());
    ASSERT_TRUE(l.ok);
    const TmyImagePal& img = l.icon->Image(0);
    EXPECT_EQ(img.BitDepth, 8);
    EXPECT_EQ(img.Pixel(0, 0), Opaque(255, 0, 0));
    EXPECT_EQ(img.Pixel(1, 0), Opaque(0, 0, 255));
    EXPECT_EQ(img.Pixel(0, 1), Opaque(0, 0, 255));
    // The palette is built from the pixels in row order.
    EXPECT_EQ(img.Palette->Colors[0], Opaque(255, 0, 0));
    EXPECT_EQ(img.Palette->Colors[1], Opaque(0, 0, 255));
    EXPECT_EQ(img.Palette->Colors[2], Opaque(0, 255, 0));

    // In a cursor the bit count field is the hot spot's row, not a depth.
    IcoBuilder cur(2);
    cur.AddPng(glimt::test::QtPngBytes(indexed), 4, 2, 0).Planes = 3;
    const Loaded c = Load(cur.Build());
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(Shapes(*c.icon), (std::vector<std::string>{"4x2-32"}));
}

// Real 256 x 256 entries are palette PNGs with tRNS. Their alpha is kept at 32 bits; below 32
// bits it becomes 0 or 255 (128 and below transparent, as stamping cuts it), so that saving the
// image changes none of its pixels.
TEST(TmyIcoIO, TrnsPalettePngEntryByDirectoryDepth)
{
    QImage indexed(4, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 100), qRgba(0, 255, 0, 0), qRgba(9, 9, 9, 129)});
    for (int x = 0; x < 4; ++x)
        indexed.setPixel(x, 0, uint(x));
    const QByteArray png = glimt::test::QtPngBytes(indexed);
    ASSERT_TRUE(png.contains("tRNS"));
    const TmyPixel cut[4] = {Opaque(255, 0, 0), Clear, Clear, Opaque(9, 9, 9)};
    struct Row {
        int depth;
        std::vector<TmyPixel> want;
    } rows[] = {
        {32, {Opaque(255, 0, 0), TmyPixel::CreateRGBA(0, 0, 255, 100), TmyPixel::CreateRGBA(0, 255, 0, 0), TmyPixel::CreateRGBA(9, 9, 9, 129)}},
        {24, {cut[0], cut[1], cut[2], cut[3]}},
        {8, {cut[0], cut[1], cut[2], cut[3]}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.depth);
        IcoBuilder b;
        b.AddPng(png, 4, 1, std::uint16_t(r.depth));
        const Loaded l = Load(b.Build());
        ASSERT_TRUE(l.ok);
        const TmyImagePal& img = l.icon->Image(0);
        EXPECT_EQ(img.BitDepth, r.depth);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(img.Pixel(x, 0), r.want[std::size_t(x)]) << "x = " << x;
        const Loaded again = Load(Save(*l.icon, false));
        ASSERT_TRUE(again.ok);
        EXPECT_TRUE(again.icon->Image(0).SamePixels(img)) << "a save changes nothing that was read";
    }
}

// The palette of a PNG entry below 16 bits is the image's distinct colours in the order first
// met, whether the PNG is a palette image (whose palette entries give the colours) or RGBA (whose
// pixels are scanned): equal entries, transparent entries that cut to black, entries met out of
// order and more colours than the depth holds.
TEST(TmyIcoIO, PngEntryPaletteIsTheColoursFirstMetWhateverThePngForm)
{
    QImage indexed(9, 4, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 40; ++i)
        table.push_back(qRgba(i * 6, 255 - i * 5, i % 3 == 0 ? 7 : 200, i % 7 == 0 ? 30 : 255));
    table[5] = table[9]; // an equal entry
    table[11] = qRgba(0, 0, 0, 255); // the black that transparent pixels cut to
    indexed.setColorTable(table);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x)
            indexed.setPixel(x, y, uint((39 - x * 3 - y * 7 + 80) % 40));
    const QByteArray palettePng = glimt::test::QtPngBytes(indexed);
    const QByteArray rgbaPng = glimt::test::QtPngBytes(indexed.convertToFormat(QImage::Format_RGBA8888));
    ASSERT_TRUE(palettePng.contains("PLTE"));
    ASSERT_FALSE(rgbaPng.contains("PLTE"));
    for (int depth : {1, 4, 8}) {
        SCOPED_TRACE(depth);
        IcoBuilder fromPalette, fromRgba;
        fromPalette.AddPng(palettePng, 9, 4, std::uint16_t(depth));
        fromRgba.AddPng(rgbaPng, 9, 4, std::uint16_t(depth));
        const Loaded a = Load(fromPalette.Build());
        const Loaded b = Load(fromRgba.Build());
        ASSERT_TRUE(a.ok && b.ok);
        const TmyImagePal& img = a.icon->Image(0);
        ASSERT_TRUE(img.SamePixels(b.icon->Image(0)));
        TmyImagePal scanned(img.Height(), img.Width(), depth);
        static_cast<TmyImage&>(scanned) = static_cast<const TmyImage&>(img);
        scanned.BuildPalette();
        ASSERT_TRUE(img.Palette && b.icon->Image(0).Palette);
        EXPECT_EQ(img.Palette->Colors, scanned.Palette->Colors);
        EXPECT_EQ(b.icon->Image(0).Palette->Colors, scanned.Palette->Colors);
    }
}

// Malformed files built in code, each named after its fault. Every one is refused or has the
// bad entry skipped, with no crash and no allocation beyond what the bytes justify.
TEST(TmyIcoIO, MalformedFiles)
{
    const DibSpec good = Dib(3, 2, 8);
    const QByteArray goodPng = glimt::test::QtPngBytes(QImage(3, 2, QImage::Format_ARGB32));

    const auto withGood = [&](auto change) {
        IcoBuilder b;
        b.AddDib(good);
        change(b);
        b.AddDib(Dib(1, 1, 32));
        return b.Build();
    };
    const auto badDib = [&](auto change) {
        return withGood([&](IcoBuilder& b) {
            DibSpec s = good;
            change(s);
            b.AddDib(s);
        });
    };
    IcoBuilder truncatedDir;
    truncatedDir.AddDib(good);
    truncatedDir.Count = 3;
    QByteArray truncatedDirFile = truncatedDir.Build().left(6 + 16 + 8);
    QByteArray count32767("\0\0\1\0\xff\x7f", 6);
    count32767.append(QByteArray(34, '\x01'));

    // A PNG that declares 100000 x 100000.
    QByteArray hugePng = goodPng;
    hugePng[16] = 0, hugePng[17] = 1, hugePng[18] = char(0x86), hugePng[19] = char(0xA0);
    hugePng[20] = 0, hugePng[21] = 1, hugePng[22] = char(0x86), hugePng[23] = char(0xA0);
    QByteArray brokenPng = goodPng;
    brokenPng.truncate(brokenPng.size() - 20);
    brokenPng.append(QByteArray(20, 'x'));

    IcoBuilder shared;
    shared.AddDib(Dib(256, 256, 32)).Offset = 6 + 16 * 200;
    for (int i = 1; i < 200; ++i) {
        glimt::test::IcoEntry e = shared.Entries[0];
        e.Data.clear();
        shared.Entries.push_back(e);
    }

    struct Row {
        const char* name;
        QByteArray file;
        bool ok;
        int count;
        QStringList messages;
    } rows[] = {
        {"directory runs past the end", truncatedDirFile, false, 0, {"Invalid File Format!"}},
        {"count 32767 in a 40-byte file", count32767, false, 0, {"Invalid File Format!"}},
        {"offset past the end", withGood([](IcoBuilder& b) { b.AddDib(Dib(2, 2, 32)).Offset = 0x7FFFFFF0; }), true, 2, {}},
        {"offset into another image's data", withGood([](IcoBuilder& b) { b.AddDib(Dib(2, 2, 32)).Offset = 6 + 48 + 30; }), true, 2, {}},
        {"less than a header before the end",
         [&] {
             IcoBuilder b;
             b.AddDib(good);
             b.AddPng(QByteArray(39, '\0'), 1, 1, 32);
             return b.Build();
         }(),
         true, 1, {}},
        {"zero width", badDib([](DibSpec& s) { s.BiWidth = 0; }), true, 2, {}},
        {"negative width", badDib([](DibSpec& s) { s.BiWidth = -3; }), true, 2, {}},
        {"zero height", badDib([](DibSpec& s) { s.BiHeight = 1; }), true, 2, {}},
        {"negative height", badDib([](DibSpec& s) { s.BiHeight = -4; }), true, 2, {}},
        {"rows run past the end", badDib([](DibSpec& s) { s.Width = 200; s.BiWidth = 250; }), true, 2, {}},
        {"palette runs past the end",
         [&] {
             IcoBuilder b;
             b.AddDib(Dib(1, 1, 32));
             b.AddDib(good).Data.truncate(40 + 100);
             return b.Build();
         }(),
         true, 1, {}},
        {"mask runs past the end",
         [&] {
             IcoBuilder b;
             b.AddDib(Dib(1, 1, 32));
             b.AddDib(good).Data.chop(1);
             return b.Build();
         }(),
         true, 1, {}},
        {"PNG declaring 100000x100000", withGood([&](IcoBuilder& b) { b.AddPng(hugePng, 0, 0, 32); }), true, 2,
         {"Image ignored: Too big (100000x100000)"}},
        {"broken PNG", withGood([&](IcoBuilder& b) { b.AddPng(brokenPng, 3, 2, 32); }), true, 2, {}},
        {"PNG cut short", withGood([&](IcoBuilder& b) { b.AddPng(goodPng.left(45), 3, 2, 32); }), true, 2, {}},
        {"200 entries sharing one image's bytes", shared.Build(), true, 1, {}},
        {"all entries bad", [&] { IcoBuilder b; b.AddDib(Dib(2, 2, 32)).Offset = 1000; return b.Build(); }(), false, 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const Loaded l = Load(r.file);
        EXPECT_EQ(l.ok, r.ok);
        ASSERT_NE(l.icon, nullptr);
        EXPECT_EQ(l.icon->Count(), r.count);
        EXPECT_EQ(l.messages, r.messages);
    }
}

// A load from a file names it when images were lost: one warning with the count when some
// could be read, "Invalid File Format!" when none could. Entries refused with a message of their
// own (too big, unsupported depth) are not counted again.
TEST(TmyIcoIO, DamagedFileIsNamedWithTheImagesItLost)
{
    TmyIcon nine;
    for (int i = 0; i < 9; ++i)
        nine.AddImage(16 + 8 * i, 16 + 8 * i, 32).Fill(Opaque(std::uint8_t(i), 2, 3));
    const QByteArray whole = Save(nine, false);
    TmyIcon one;
    one.AddImage(32, 32, 32);
    const QByteArray single = Save(one, false);
    // The cut keeps the first three images of the file whole.
    std::uint64_t end = 0;
    for (int i = 0; i < 3; ++i)
        end = std::max<std::uint64_t>(end, EntryAt(whole, i).offset + EntryAt(whole, i).size);
    IcoBuilder tooBig;
    tooBig.AddDib(Dib(512, 512, 1));

    QTemporaryDir dir;
    struct Row {
        const char* name;
        QByteArray bytes;
        bool ok;
        int count;
        QStringList (*messages)(const QString& path);
    } rows[] = {
        {"cut after three of nine images", whole.left(qsizetype(end) + 10), true, 3,
         [](const QString& path) { return QStringList{path + " is damaged: 6 of its 9 images could not be read."}; }},
        {"cut inside its only image", single.left(6 + 16 + 100), false, 0,
         [](const QString& path) { return QStringList{"Invalid File Format!\n" + path}; }},
        {"no entries", QByteArray("\0\0\1\0\0\0", 6), false, 0,
         [](const QString& path) { return QStringList{"Invalid File Format!\n" + path}; }},
        {"header cut short", QByteArray("\0\0\1\0", 4), false, -1,
         [](const QString& path) { return QStringList{"Invalid File Format!\n" + path}; }},
        {"only a refused image", tooBig.Build(), false, 0,
         [](const QString&) { return QStringList{"Image ignored: Too big (512x512)"}; }},
    };
    for (const Row& r : rows) {
        for (bool show : {true, false}) {
            SCOPED_TRACE(testing::Message() << r.name << (show ? "" : " (silent)"));
            const QString path = dir.filePath(QString::fromLatin1(r.name) + ".ico");
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(r.bytes);
            f.close();
            FakePrompts prompts;
            glimt::ScopedPrompts scope(&prompts);
            std::unique_ptr<TmyIcon> icon;
            TmyIcoIO io(show);
            EXPECT_EQ(io.LoadFromFile(icon, path), r.ok);
            EXPECT_EQ(prompts.Texts(), show ? r.messages(path) : QStringList());
            if (r.count < 0) {
                EXPECT_EQ(icon, nullptr);
                continue;
            }
            ASSERT_NE(icon, nullptr);
            EXPECT_EQ(icon->Count(), r.count);
        }
    }
}

TEST(TmyIcoIO, ShortPaletteDeclaredByClrUsed)
{
    DibSpec s = Dib(3, 2, 8);
    s.Palette = {Opaque(1, 2, 3), Opaque(4, 5, 6), Opaque(7, 8, 9)};
    s.Indices = {0, 1, 2, 2, 1, 0};
    s.BiClrUsed = 3;
    IcoBuilder b;
    b.AddDib(s);
    const Loaded l = Load(b.Build());
    ASSERT_TRUE(l.ok);
    const TmyImagePal& img = l.icon->Image(0);
    EXPECT_EQ(img.Pixel(0, 0), Opaque(1, 2, 3));
    EXPECT_EQ(img.Pixel(2, 0), Opaque(7, 8, 9));
    EXPECT_EQ(img.Pixel(0, 1), Opaque(7, 8, 9));
    EXPECT_EQ(img.Palette->Count(), 256);
    EXPECT_EQ(img.Palette->Colors[3], TmyPalette(256).Colors[3]) << "the rest keeps the defaults";

    s.BiClrUsed = 1000; // beyond the depth: the full palette is stored
    s.Palette = Dib(3, 2, 8).Palette;
    IcoBuilder full;
    full.AddDib(s);
    const Loaded f = Load(full.Build());
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.icon->Image(0).Pixel(2, 0), s.Palette[2]);
}

// ---- real files -------------------------------------------------------------------------

TEST(TmyIcoIO, EveryCorpusFileLoadsOrIsRefused)
{
    GLIMT_REQUIRE_TESTDATA();
    int files = 0, loaded = 0;
    for (const char* folder : {"ico-mozilla", "ico-image-rs", "ico-pillow", "nsis-graphics"}) {
        for (const QString& path : glimt::test::TestDataFiles(folder, {".ico", ".cur"})) {
            SCOPED_TRACE(path.toStdString());
            ++files;
            FakePrompts prompts;
            glimt::ScopedPrompts scope(&prompts);
            std::unique_ptr<TmyIcon> icon;
            TmyIcoIO io(true);
            bool ok = false;
            ASSERT_NO_THROW(ok = io.LoadFromFile(icon, path));
            if (ok) {
                ++loaded;
                ASSERT_GT(icon->Count(), 0);
                // What was read is written and read back unchanged; only the colour of a
                // transparent pixel may be lost.
                const Loaded back = Load(Save(*icon, false));
                ASSERT_TRUE(back.ok);
                ASSERT_EQ(Shapes(*back.icon), Shapes(*icon));
                for (int i = 0; i < icon->Count(); ++i) {
                    const TmyImagePal& a = icon->Image(i);
                    const TmyImagePal& b = back.icon->Image(i);
                    int differing = 0;
                    for (std::size_t k = 0; k < a.PixelCount(); ++k)
                        if (!(a.Data()[k] == b.Data()[k]) && (a.Data()[k].A != 0 || b.Data()[k].A != 0))
                            ++differing;
                    EXPECT_EQ(differing, 0) << Shape(a);
                }
            } else {
                EXPECT_TRUE(icon == nullptr || icon->Count() == 0);
            }
        }
    }
    EXPECT_GT(files, 100);
    EXPECT_GT(loaded, files / 2);
}

TEST(TmyIcoIO, MozillaFilesMatchTheirReferences)
{
    GLIMT_REQUIRE_TESTDATA();
    int compared = 0;
    for (const QString& path : glimt::test::TestDataFiles("ico-mozilla/mozilla", {".ico", ".cur"})) {
        const QString refPath = path.left(path.size() - 4) + ".png";
        if (!QFileInfo::exists(refPath) || path.contains("corrupted"))
            continue;
        SCOPED_TRACE(path.toStdString());
        const QImage ref = QImage(refPath).convertToFormat(QImage::Format_RGBA8888);
        std::unique_ptr<TmyIcon> icon;
        TmyIcoIO io(false);
        ASSERT_TRUE(io.LoadFromFile(icon, path));
        const TmyImagePal* img = nullptr;
        for (int i = 0; i < icon->Count() && !img; ++i)
            if (icon->Image(i).Width() == ref.width() && icon->Image(i).Height() == ref.height())
                img = &icon->Image(i);
        if (!img)
            continue; // the reference shows a scaled image
        ++compared;
        int differing = 0;
        for (int y = 0; y < ref.height(); ++y) {
            const std::uint8_t* r = ref.constScanLine(y);
            for (int x = 0; x < ref.width(); ++x, r += 4) {
                const TmyPixel p = img->Pixel(x, y);
                // Every pixel as the reference shows it; only the colour of a transparent one
                // does not count.
                if (p.A == 0 && r[3] == 0)
                    continue;
                if (p != TmyPixel::CreateRGBA(r[0], r[1], r[2], r[3]))
                    ++differing;
            }
        }
        EXPECT_EQ(differing, 0) << img->BitDepth;
    }
    EXPECT_GT(compared, 40);
}
