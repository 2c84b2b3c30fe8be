#include "engine/ShellIcons.h"

#include "engine/ByteReader.h"
#include "engine/myextract.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/TempFiles.h"
#include "tests/support/TestPaths.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using glimt::test::DibImage;
using glimt::test::EntryFor;
using glimt::test::ExeBuilder;
using glimt::test::GroupResource;
using glimt::test::TempFiles;

namespace {

// The image data of a one-image icon file.
QByteArray OnlyImage(const QByteArray& ico)
{
    glimt::ByteReader r(ico);
    r.Skip(4);
    EXPECT_EQ(r.U16(), 1);
    r.Skip(8);
    const std::uint32_t size = r.U32();
    const std::uint32_t offset = r.U32();
    EXPECT_EQ(offset, 22u);
    EXPECT_EQ(std::uint64_t(ico.size()), std::uint64_t(offset) + size);
    return ico.mid(offset, size);
}

// Image bytes compared without the image-size field that extraction clears.
QByteArray Normal(QByteArray dib)
{
    if (dib.size() >= 24)
        dib.replace(20, 4, QByteArray(4, '\0'));
    return dib;
}

QByteArray Riff(const std::vector<QByteArray>& frames)
{
    glimt::ByteWriter list;
    list.Raw("fram", 4);
    for (const QByteArray& f : frames) {
        list.Raw("icon", 4);
        list.U32(std::uint32_t(f.size()));
        list.Raw(f);
        if (f.size() % 2)
            list.U8(0);
    }
    glimt::ByteWriter w;
    w.Raw("RIFF", 4);
    w.U32(std::uint32_t(list.Size() + 12));
    w.Raw("ACONLIST", 8);
    w.U32(std::uint32_t(list.Size()));
    w.Raw(list.Bytes());
    return w.Bytes();
}

} // namespace

TEST(ShellIcons, TheImageNearestTo32x32IsChosen)
{
    const QByteArray s16 = DibImage(16, 16, 8, 1), s32x4 = DibImage(32, 32, 4, 2), s32x32 = DibImage(32, 32, 32, 3);
    const QByteArray s48 = DibImage(48, 48, 8, 4), s24 = DibImage(24, 24, 8, 5);
    struct Row {
        const char* name;
        std::vector<QByteArray> images;
        QByteArray chosen;
    } rows[] = {
        {"exact size, deepest", {s16, s32x4, s32x32, s48}, s32x32},
        {"exact size, first of equals", {s32x4, DibImage(32, 32, 4, 9)}, s32x4},
        {"larger before smaller at the same distance", {s16, s48}, s48},
        {"nearest", {s16, s24, s48}, s24},
        {"only one", {s16}, s16},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFiles tmp;
        ExeBuilder builder;
        std::vector<glimt::test::GroupEntry> entries;
        for (std::size_t i = 0; i < row.images.size(); ++i) {
            builder.AddIcon(std::uint16_t(i + 1), row.images[i]);
            entries.push_back(EntryFor(row.images[i], std::uint16_t(i + 1)));
        }
        builder.AddGroup(1, GroupResource(entries));
        QByteArray ico;
        for (ExeBuilder::Format f : {ExeBuilder::Format::Pe32, ExeBuilder::Format::Ne}) {
            ASSERT_TRUE(glimt::ShellIconImageFile(tmp.Write("m.dll", builder.Build(f)), 0, ico));
            EXPECT_EQ(OnlyImage(ico), Normal(row.chosen));
        }
        ASSERT_TRUE(glimt::ShellIconImageFile(tmp.Write("i.ico", glimt::test::IconFileOf(1, row.images)), 0, ico));
        EXPECT_EQ(OnlyImage(ico), row.chosen);
    }
}

TEST(ShellIcons, CountsAndIconsOfEveryKindOfFile)
{
    const QByteArray a = DibImage(32, 32, 4, 1), b = DibImage(16, 16, 1, 2), c = DibImage(32, 32, 8, 3);
    std::vector<glimt::test::GroupEntry> big;
    ExeBuilder builder;
    builder.AddIcon(1, a).AddIcon(2, b).AddGroup(1, GroupResource({EntryFor(a, 1)})).AddGroup(2, GroupResource({EntryFor(b, 2)}));
    // A group of 60 entries, most naming icons the module lacks: it cannot be extracted, but
    // the shell still draws it from the one image it has.
    for (int i = 0; i < 60; ++i)
        big.push_back(EntryFor(c, std::uint16_t(i == 30 ? 3 : 100 + i)));
    builder.AddIcon(3, c).AddGroup(3, GroupResource(big));
    TempFiles tmp;
    const QString dll = tmp.Write("m.dll", builder.Build(ExeBuilder::Format::Pe32Plus));
    const QString ico = tmp.Write("i.ico", glimt::test::IconFileOf(1, {a, b}));
    const QString cur = tmp.Write("c.cur", glimt::test::IconFileOf(2, {b}));
    const QString ani = tmp.Write("a.ani", Riff({glimt::test::IconFileOf(2, {a}), glimt::test::IconFileOf(1, {b, c})}));
    const QString other = tmp.Write("o.txt", "not an icon at all");

    EXPECT_EQ(glimt::ShellIconCount(dll), 3);
    EXPECT_EQ(glimt::ShellIconCount(ico), 1);
    EXPECT_EQ(glimt::ShellIconCount(cur), 1);
    EXPECT_EQ(glimt::ShellIconCount(ani), 2);
    EXPECT_EQ(glimt::ShellIconCount(other), 0);
    EXPECT_EQ(glimt::ShellIconCount(tmp.Write("empty.ico", glimt::test::IconFileOf(1, {}))), 0);
    EXPECT_EQ(glimt::ShellIconCount("/no/such/file.exe"), 0);
    glimt::TShellIcons loaded;
    ASSERT_TRUE(loaded.Load(dll));
    ASSERT_NE(loaded.Module(), nullptr);
    EXPECT_EQ(loaded.Module()->ImageCount(2), 0); // more than 50 images
    ASSERT_TRUE(loaded.Load(ani));
    EXPECT_EQ(loaded.Module(), nullptr);

    struct Row {
        const char* name;
        QString file;
        int index;
        QByteArray image; // empty: no icon
    } rows[] = {
        {"first group", dll, 0, Normal(a)},
        {"second group", dll, 1, Normal(b)},
        {"group too large to extract", dll, 2, Normal(c)},
        {"beyond the groups", dll, 3, {}},
        {"negative index", dll, -1, {}},
        {"icon file", ico, 0, a},
        {"icon file holds one icon", ico, 1, {}},
        {"cursor file", cur, 0, b},
        {"animated cursor, frame 0", ani, 0, a},
        {"animated cursor, frame 1", ani, 1, c},
        {"animated cursor beyond its frames", ani, 2, {}},
        {"not an icon", other, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray out;
        EXPECT_EQ(glimt::ShellIconImageFile(row.file, row.index, out), !row.image.isEmpty());
        if (!row.image.isEmpty()) {
            EXPECT_EQ(OnlyImage(out), row.image);
        }
    }
    // A cursor's image keeps the cursor's file type.
    QByteArray out;
    ASSERT_TRUE(glimt::ShellIconImageFile(cur, 0, out));
    EXPECT_EQ(out.mid(2, 2), QByteArray("\2\0", 2));
}

TEST(ShellIcons, ALargeLibraryReadsFromDiskAsFromItsBytes)
{
    // Over a megabyte, so the file is mapped rather than read; what it yields outlives the
    // object that mapped it.
    ExeBuilder builder;
    std::vector<QByteArray> images;
    for (std::uint16_t g = 1; g <= 5; ++g) {
        const QByteArray large = DibImage(256, 256, 32, std::uint8_t(g)), small = DibImage(32, 32, 8, std::uint8_t(g));
        builder.AddIcon(std::uint16_t(2 * g), large).AddIcon(std::uint16_t(2 * g + 1), small);
        builder.AddGroup(g, GroupResource({EntryFor(large, std::uint16_t(2 * g)), EntryFor(small, std::uint16_t(2 * g + 1))}));
        images.push_back(small);
    }
    const QByteArray bytes = builder.Build(ExeBuilder::Format::Pe32);
    ASSERT_GT(bytes.size(), 1 << 20);
    TempFiles tmp;
    const QString dll = tmp.Write("large.dll", bytes);

    std::vector<QByteArray> fromDisk;
    {
        glimt::TShellIcons disk;
        ASSERT_TRUE(disk.Load(dll));
        ASSERT_EQ(disk.Count(), 5);
        for (int i = 0; i < disk.Count(); ++i) {
            QByteArray ico;
            EXPECT_TRUE(disk.ImageFile(i, ico));
            fromDisk.push_back(ico);
        }
    }
    glimt::TShellIcons memory;
    memory.LoadBytes(bytes);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        QByteArray ico;
        ASSERT_TRUE(memory.ImageFile(i, ico));
        EXPECT_EQ(fromDisk[std::size_t(i)], ico);
        EXPECT_EQ(OnlyImage(fromDisk[std::size_t(i)]), Normal(images[std::size_t(i)])) << "the image nearest to 32x32";
    }
}

TEST(ShellIcons, RealFiles)
{
    GLIMT_REQUIRE_TESTDATA();
    const QString ani = glimt::test::TestDataDir() + "/ani-kde/test.ani";
    EXPECT_EQ(glimt::ShellIconCount(ani), 3);
    QByteArray ico;
    EXPECT_TRUE(glimt::ShellIconImageFile(ani, 2, ico));
    for (const QString& stub : {QStringLiteral("/usr/share/nsis/Stubs/zlib-x86-ansi"), QStringLiteral("/usr/share/nsis/Stubs/zlib-amd64-unicode")}) {
        if (!QFile::exists(stub))
            continue;
        SCOPED_TRACE(stub.toStdString());
        EXPECT_GE(glimt::ShellIconCount(stub), 1);
        EXPECT_TRUE(glimt::ShellIconImageFile(stub, 0, ico));
    }
}

TEST(ShellIcons, IconsAreDrawnAt32x32)
{
    const QByteArray deep = DibImage(32, 32, 32, 3);
    const QByteArray small = DibImage(16, 16, 4, 1);
    const QByteArray png = glimt::test::PngImage(256, 256);
    ExeBuilder builder;
    builder.AddIcon(1, small).AddIcon(2, deep).AddIcon(3, png);
    builder.AddGroup(1, GroupResource({EntryFor(small, 1), EntryFor(deep, 2)}));
    builder.AddGroup(2, GroupResource({EntryFor(small, 1)}));
    builder.AddGroup(3, GroupResource({EntryFor(png, 3)}));
    TempFiles tmp;
    const QString dll = tmp.Write("m.dll", builder.Build(ExeBuilder::Format::Pe32));

    // The 32x32 image as stored: rows bottom-up, B, G, R, A from the pattern of its data.
    const QImage exact = glimt::ShellIcon32(dll, 0);
    ASSERT_EQ(exact.size(), QSize(32, 32));
    EXPECT_EQ(exact.pixel(0, 31), qRgba(14 + 3, 7 + 3, 3, 255));
    EXPECT_EQ(exact.pixel(1, 31), qRgba(std::uint8_t(42 + 3), std::uint8_t(35 + 3), 28 + 3, 255));

    EXPECT_EQ(glimt::ShellIcon32(dll, 1).size(), QSize(32, 32));
    const QImage fromPng = glimt::ShellIcon32(dll, 2);
    ASSERT_EQ(fromPng.size(), QSize(32, 32));
    EXPECT_EQ(fromPng.pixel(16, 16), qRgba(10, 120, 230, 255));
    EXPECT_TRUE(glimt::ShellIcon32(dll, 3).isNull());
    EXPECT_TRUE(glimt::ShellIcon32(tmp.Write("x.bin", "nothing"), 0).isNull());
}

TEST(ShellIcons, RealAnimatedCursorFramesAreDrawn)
{
    GLIMT_REQUIRE_TESTDATA();
    const QString ani = glimt::test::TestDataDir() + "/ani-kde/test.ani";
    for (int j = 0; j < 3; ++j) {
        SCOPED_TRACE(j);
        const QImage frame = glimt::ShellIcon32(ani, j);
        ASSERT_EQ(frame.size(), QSize(32, 32));
        // The reference pictures of the frames agree wherever they are opaque.
        const QImage reference = QImage(glimt::test::TestDataDir() + QStringLiteral("/ani-kde/test_%1.png").arg(j + 1))
                                     .convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(reference.size(), QSize(32, 32));
        int opaque = 0, differ = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (qAlpha(reference.pixel(x, y)) != 255)
                    continue;
                ++opaque;
                differ += frame.pixel(x, y) != reference.pixel(x, y);
            }
        }
        EXPECT_GT(opaque, 0);
        EXPECT_EQ(differ, 0);
    }
}

TEST(ShellIcons, HostileDepthsAreComparedWithoutOverflow)
{
    // Bitmap headers with 65535 planes of 65535 bits, in a module's group and in an icon file.
    QByteArray odd = DibImage(32, 32, 8);
    odd[12] = odd[13] = odd[14] = odd[15] = char(0xFF);
    auto entry = EntryFor(odd, 1);
    entry.planes = 0xFFFF;
    entry.bits = 0xFFFF;
    const QByteArray plain = DibImage(16, 16, 4);
    ExeBuilder builder;
    builder.AddIcon(1, odd).AddIcon(2, plain).AddGroup(1, GroupResource({EntryFor(plain, 2), entry}));
    TempFiles tmp;
    QByteArray ico;
    EXPECT_TRUE(glimt::ShellIconImageFile(tmp.Write("m.dll", builder.Build(ExeBuilder::Format::Pe32)), 0, ico));
    EXPECT_TRUE(glimt::ShellIconImageFile(tmp.Write("i.ico", glimt::test::IconFileOf(1, {plain, odd})), 0, ico));
}
