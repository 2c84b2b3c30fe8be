#include "engine/myextract.h"

#include "engine/MyIcoIO.h"
#include "engine/Prompts.h"
#include "engine/SafeFile.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/TempFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using glimt::TExeIconFile;
using glimt::test::DibImage;
using glimt::test::EntryFor;
using glimt::test::ExeBuilder;
using glimt::test::GroupEntry;
using glimt::test::GroupResource;
using glimt::test::TempFiles;
using glimt::test::PngImage;

namespace {

constexpr ExeBuilder::Format kFormats[] = {ExeBuilder::Format::Pe32, ExeBuilder::Format::Pe32Plus, ExeBuilder::Format::Ne};

const char* FormatName(ExeBuilder::Format f)
{
    return f == ExeBuilder::Format::Pe32 ? "PE32" : f == ExeBuilder::Format::Pe32Plus ? "PE32+" : "NE";
}

struct DirEntry {
    int width, height, colors, planes, bits;
    std::uint32_t bytes, offset;
};

// The directory of an icon file, checked to be self-consistent: images follow one another
// without gaps and the last one ends at the end of the file.
std::vector<DirEntry> Directory(const QByteArray& ico)
{
    std::vector<DirEntry> dir;
    glimt::ByteReader r(ico);
    EXPECT_EQ(r.U16(), 0);
    EXPECT_EQ(r.U16(), 1);
    const int count = r.U16();
    std::uint64_t expected = 6 + 16 * std::uint64_t(count);
    for (int i = 0; i < count; ++i) {
        DirEntry e;
        e.width = r.U8();
        e.height = r.U8();
        e.colors = r.U8();
        r.U8();
        e.planes = r.U16();
        e.bits = r.U16();
        e.bytes = r.U32();
        e.offset = r.U32();
        EXPECT_EQ(e.offset, expected) << "image " << i;
        expected += e.bytes;
        dir.push_back(e);
    }
    EXPECT_TRUE(r.Ok());
    EXPECT_EQ(expected, std::uint64_t(ico.size()));
    return dir;
}

class RecordingPrompts : public glimt::SilentPrompts {
public:
    void Message(glimt::TMsgKind, const QString& text) override { messages.append(text); }
    QStringList messages;
};

// A module with the three bitmap images of a typical application icon in one group.
ExeBuilder ThreeImageModule(std::uint16_t groupId = 1)
{
    const QByteArray a = DibImage(16, 16, 4, 1), b = DibImage(32, 32, 4, 2), c = DibImage(48, 48, 32, 3);
    ExeBuilder builder;
    builder.AddIcon(1, a).AddIcon(2, b).AddIcon(3, c);
    builder.AddGroup(groupId, GroupResource({EntryFor(a, 1), EntryFor(b, 2), EntryFor(c, 3)}));
    return builder;
}

} // namespace

TEST(myextract, GroupsAreListedInModuleOrderAndFoundByTheirListedNames)
{
    const QByteArray one = DibImage(16, 16, 4);
    for (ExeBuilder::Format f : kFormats) {
        SCOPED_TRACE(FormatName(f));
        ExeBuilder builder;
        builder.AddIcon(7, one).AddIcon(8, one).AddIcon(9, one);
        builder.AddGroup("MAINICON", GroupResource({EntryFor(one, 7)}));
        builder.AddGroup(1, GroupResource({EntryFor(one, 8), EntryFor(one, 9)}));
        TempFiles tmp;
        const QString exe = tmp.Write("app.exe", builder.Build(f));

        TExeIconFile file;
        ASSERT_TRUE(file.Load(exe));
        EXPECT_EQ(file.GroupNames(), QStringList({" MAINICON", " #1"}));
        EXPECT_EQ(file.FindGroup("0"), 0);
        EXPECT_EQ(file.FindGroup(" 1 "), 1);
        EXPECT_EQ(GetIconGroupCount(exe, "0"), 1);
        EXPECT_EQ(GetIconGroupCount(exe, "1"), 2);
        ASSERT_TRUE(ExtractIconGroup(exe, tmp.Path("1.ico"), "1"));
        EXPECT_EQ(Directory(glimt::ReadWholeFile(tmp.Path("1.ico"))).size(), 2u);
    }
}

TEST(myextract, ListedNamesTurnBackIntoResourceNames)
{
    QStringList listed;
    EnumIconGroupName(glimt::TResName::FromId(32512), listed);
    EnumIconGroupName(glimt::TResName::FromText("MAINICON"), listed);
    EXPECT_EQ(listed, QStringList({" #32512", " MAINICON"}));
    EXPECT_TRUE(IconGroupResName(" #32512").Matches(glimt::TResName::FromId(32512)));
    EXPECT_TRUE(IconGroupResName("MAINICON").Matches(glimt::TResName::FromText("mainicon")));
    EXPECT_FALSE(IconGroupResName("#5").IsId);
}

TEST(myextract, ThreeBitmapImagesAreWrittenByteForByte)
{
    const QByteArray images[] = {DibImage(16, 16, 4, 1), DibImage(32, 32, 4, 2), DibImage(48, 48, 32, 3)};
    ASSERT_EQ(images[0].size(), 296);
    ASSERT_EQ(images[1].size(), 744);
    ASSERT_EQ(images[2].size(), 9640);
    for (ExeBuilder::Format f : kFormats) {
        SCOPED_TRACE(FormatName(f));
        TExeIconFile file;
        ASSERT_TRUE(file.LoadBytes(ThreeImageModule().Build(f)));
        QByteArray ico;
        ASSERT_TRUE(file.IconFile(0, ico));
        EXPECT_EQ(ico.size(), 10734);
        const std::vector<DirEntry> dir = Directory(ico);
        ASSERT_EQ(dir.size(), 3u);
        const DirEntry want[] = {{16, 16, 16, 1, 4, 296, 54}, {32, 32, 16, 1, 4, 744, 350}, {48, 48, 0, 1, 32, 9640, 1094}};
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(dir[i].width, want[i].width);
            EXPECT_EQ(dir[i].height, want[i].height);
            EXPECT_EQ(dir[i].colors, want[i].colors);
            EXPECT_EQ(dir[i].planes, want[i].planes);
            EXPECT_EQ(dir[i].bits, want[i].bits);
            EXPECT_EQ(dir[i].bytes, want[i].bytes);
            EXPECT_EQ(dir[i].offset, want[i].offset);
            // The image is copied as stored, with only its image-size field cleared.
            QByteArray expected = images[i];
            expected.replace(20, 4, QByteArray(4, '\0'));
            EXPECT_EQ(ico.mid(dir[i].offset, dir[i].bytes), expected);
        }
        // The icon reader takes the file back as the same three images (in editing order).
        std::unique_ptr<TmyIcon> icon;
        ASSERT_TRUE(TmyIcoIO(false).LoadFromBytes(icon, ico));
        ASSERT_EQ(icon->Count(), 3);
        EXPECT_EQ(icon->Image(0).Width(), 48);
        EXPECT_EQ(icon->Image(0).BitDepth, 32);
        EXPECT_EQ(icon->Image(1).Width(), 32);
        EXPECT_EQ(icon->Image(1).BitDepth, 4);
        EXPECT_EQ(icon->Image(2).Width(), 16);
        EXPECT_EQ(icon->Image(2).BitDepth, 4);
    }
}

TEST(myextract, PngImagesAreCopiedUnchangedAndOffsetsFollowTheBytesWritten)
{
    const QByteArray png = PngImage(256, 256);
    const QByteArray dib = DibImage(32, 32, 8);
    GroupEntry pngEntry = EntryFor(png, 1);
    // The group understates the PNG's size: the offsets must not trust it.
    pngEntry.bytes = std::uint32_t(png.size()) - 10;
    for (ExeBuilder::Format f : kFormats) {
        SCOPED_TRACE(FormatName(f));
        ExeBuilder builder;
        builder.AddIcon(1, png).AddIcon(2, dib).AddGroup(1, GroupResource({pngEntry, EntryFor(dib, 2)}));
        TExeIconFile file;
        ASSERT_TRUE(file.LoadBytes(builder.Build(f)));
        QByteArray ico;
        ASSERT_TRUE(file.IconFile(0, ico));
        const std::vector<DirEntry> dir = Directory(ico);
        ASSERT_EQ(dir.size(), 2u);
        EXPECT_EQ(dir[0].width, 0);
        EXPECT_EQ(dir[0].height, 0);
        EXPECT_EQ(dir[0].bits, 32);
        // Without a bitmap header the group's own size is used only where the module rounds
        // sizes up (NE); a module that states exact sizes has its resource written whole.
        const QByteArray written = ico.mid(dir[0].offset, dir[0].bytes);
        EXPECT_EQ(written, f == ExeBuilder::Format::Ne ? png.left(pngEntry.bytes) : png);
        EXPECT_EQ(dir[1].width, 32);
        EXPECT_EQ(dir[1].bits, 8);
        EXPECT_TRUE(ico.mid(dir[1].offset, 40).startsWith(dib.left(20)));
    }
}

TEST(myextract, FiftyImagesAreTheMostAGroupMayHold)
{
    const QByteArray one = DibImage(16, 16, 1);
    for (int n : {50, 51}) {
        SCOPED_TRACE(n);
        std::vector<GroupEntry> entries;
        ExeBuilder builder;
        for (int i = 1; i <= n; ++i) {
            builder.AddIcon(std::uint16_t(i), one);
            entries.push_back(EntryFor(one, std::uint16_t(i)));
        }
        builder.AddGroup(1, GroupResource(entries));
        TempFiles tmp;
        const QString exe = tmp.Write("big.dll", builder.Build(ExeBuilder::Format::Pe32));
        EXPECT_EQ(GetIconGroupCount(exe, "0"), n == 50 ? 50 : 0);
        EXPECT_EQ(ExtractIconGroup(exe, tmp.Path("out.ico"), "0"), n == 50);
        EXPECT_EQ(QFileInfo::exists(tmp.Path("out.ico")), n == 50);
    }
}

TEST(myextract, RefusedGroupsAndMissingIndexes)
{
    const QByteArray dib = DibImage(16, 16, 4);
    const GroupEntry e1 = EntryFor(dib, 1);
    GroupEntry claimsMore = e1;
    claimsMore.bytes += 64; // more than the alignment padding of an NE module, too
    QByteArray shortGroup = GroupResource({e1, e1});
    shortGroup.chop(14);
    struct Row {
        const char* name;
        ExeBuilder builder;
        const char* index;
        int count;
    } rows[] = {
        {"group names a missing icon", ExeBuilder().AddIcon(1, dib).AddGroup(1, GroupResource({e1, EntryFor(dib, 2)})), "0", 2},
        {"icon shorter than the group says", ExeBuilder().AddIcon(1, dib).AddGroup(1, GroupResource({claimsMore})), "0", 1},
        {"icon runs past the end of the file", ExeBuilder().AddIcon(1, dib, 4096).AddGroup(1, GroupResource({e1})), "0", 1},
        {"group shorter than its count", ExeBuilder().AddIcon(1, dib).AddGroup(1, shortGroup), "0", 0},
        {"group without images", ExeBuilder().AddIcon(1, dib).AddGroup(1, GroupResource({})), "0", 0},
        {"group of 3 bytes", ExeBuilder().AddIcon(1, dib).AddGroup(1, QByteArray(3, '\0')), "0", 0},
        {"index beyond the groups", ThreeImageModule(), "1", 0},
        {"index far beyond", ThreeImageModule(), "70000", 0},
        {"negative index", ThreeImageModule(), "-1", 0},
        {"index not a number", ThreeImageModule(), "one", 0},
        {"no groups at all", ExeBuilder().AddIcon(1, dib), "0", 0},
        {"no resources at all", ExeBuilder(), "0", 0},
    };
    for (const Row& row : rows) {
        for (ExeBuilder::Format f : kFormats) {
            SCOPED_TRACE(std::string(row.name) + " " + FormatName(f));
            TempFiles tmp;
            const QString exe = tmp.Write("m.exe", row.builder.Build(f));
            EXPECT_EQ(GetIconGroupCount(exe, row.index), row.count);
            EXPECT_FALSE(ExtractIconGroup(exe, tmp.Path("out.ico"), row.index));
            EXPECT_FALSE(QFileInfo::exists(tmp.Path("out.ico")));
        }
    }
}

// Damage done to the structures of a good module: nothing may crash or read outside the data,
// and what is left readable is still refused or counted soundly.
TEST(myextract, DamagedModulesAreReadSafely)
{
    using Layout = ExeBuilder::Layout;
    const auto put16 = [](QByteArray& b, std::uint64_t at, std::uint16_t v) {
        if (at + 2 <= std::uint64_t(b.size())) {
            b[qsizetype(at)] = char(v);
            b[qsizetype(at + 1)] = char(v >> 8);
        }
    };
    const auto put32 = [&](QByteArray& b, std::uint64_t at, std::uint32_t v) {
        put16(b, at, std::uint16_t(v));
        put16(b, at + 2, std::uint16_t(v >> 16));
    };
    struct Row {
        const char* name;
        bool pe;
        std::function<void(QByteArray&, const Layout&)> damage;
        int count; // -2: any count the reader settles on
    } rows[] = {
        {"header offset beyond the file", true, [&](QByteArray& b, const Layout&) { put32(b, 0x3C, 0xFFFFFFF0u); }, -1},
        {"cut inside the header", true, [](QByteArray& b, const Layout& l) { b.truncate(qsizetype(l.header + 30)); }, -1},
        {"cut inside the section table", true, [](QByteArray& b, const Layout& l) { b.truncate(qsizetype(l.sectionTable + 20)); }, -1},
        {"cut inside the resource tree", true, [](QByteArray& b, const Layout& l) { b.truncate(qsizetype(l.resources + 40)); }, 0},
        {"cut inside the image data", true, [](QByteArray& b, const Layout& l) { b.truncate(qsizetype(l.firstData + 100)); }, -2},
        {"65535 sections", true, [&](QByteArray& b, const Layout& l) { put16(b, l.header + 6, 0xFFFF); }, -1},
        {"section bytes beyond the file", true, [&](QByteArray& b, const Layout& l) { put32(b, l.sectionTable + 20, 0x7FFFFFF0u); }, -1},
        {"section raw size huge", true, [&](QByteArray& b, const Layout& l) { put32(b, l.sectionTable + 16, 0xFFFFFFF0u); }, 3},
        {"root directory counts huge", true,
         [&](QByteArray& b, const Layout& l) {
             put16(b, l.resources + 12, 0xFFFF);
             put16(b, l.resources + 14, 0xFFFF);
         },
         0},
        {"type directory points at the root", true, [&](QByteArray& b, const Layout& l) { put32(b, l.resources + 20, 0x80000000u); }, -2},
        {"type entry named by a text outside the data", true, [&](QByteArray& b, const Layout& l) { put32(b, l.resources + 16, 0xFFFFFFF0u); }, -2},
        {"resource directory beyond every section", true,
         [&](QByteArray& b, const Layout& l) { put32(b, l.resourceDir, 0x7FFF0000u); }, -1},
        {"no data directories", true, [&](QByteArray& b, const Layout& l) { put32(b, l.rvaCount, 0); }, 0},
        {"NE shift 31", false, [&](QByteArray& b, const Layout& l) { put16(b, l.resources, 31); }, -1},
        {"NE table beyond the file", false, [&](QByteArray& b, const Layout& l) { put16(b, l.header + 0x24, 0xFFF0); }, -1},
        {"NE type count huge", false, [&](QByteArray& b, const Layout& l) { put16(b, l.resources + 4, 0xFFFF); }, -1},
        {"NE cut inside the table", false, [](QByteArray& b, const Layout& l) { b.truncate(qsizetype(l.resources + 12)); }, -1},
        {"NE cut inside the image data", false, [](QByteArray& b, const Layout& l) { b.truncate(qsizetype(l.firstData + 100)); }, -2},
        {"NE name outside the table", false,
         [&](QByteArray& b, const Layout& l) { put16(b, l.resources + 2 + 8 + 3 * 12 + 8 + 6, 0x7000); }, -2},
    };
    for (const Row& row : rows) {
        for (ExeBuilder::Format f : kFormats) {
            if (row.pe == (f == ExeBuilder::Format::Ne))
                continue;
            SCOPED_TRACE(std::string(row.name) + " " + FormatName(f));
            Layout layout;
            QByteArray bytes = ThreeImageModule().Build(f, &layout);
            row.damage(bytes, layout);
            TempFiles tmp;
            const QString exe = tmp.Write("m.exe", bytes);
            const int count = GetIconGroupCount(exe, "0");
            if (row.count != -2) {
                EXPECT_EQ(count, row.count);
            }
            const bool extracted = ExtractIconGroup(exe, tmp.Path("out.ico"), "0");
            if (extracted) {
                EXPECT_EQ(Directory(glimt::ReadWholeFile(tmp.Path("out.ico"))).size(), 3u);
            }
        }
    }
}

TEST(myextract, FilesThatAreNotModulesLeaveTheTargetAlone)
{
    TempFiles tmp;
    const QString previous = tmp.Write("keep.ico", "previous content");
    for (const QByteArray& bytes : {QByteArray(), QByteArray("MZ"), QByteArray("\0\0\1\0\1\0", 6), QByteArray(4096, 'x')}) {
        const QString path = tmp.Write("notexe.bin", bytes);
        EXPECT_EQ(GetIconGroupCount(path, "0"), -1);
        EXPECT_FALSE(ExtractIconGroup(path, previous, "0"));
        EXPECT_EQ(glimt::ReadWholeFile(previous), QByteArray("previous content"));
    }
    EXPECT_EQ(GetIconGroupCount(tmp.Path("absent.exe"), "0"), -1);
}

TEST(myextract, AFailedWriteIsReportedAndGivesFalse)
{
    RecordingPrompts prompts;
    glimt::ScopedPrompts scope(&prompts);
    TempFiles tmp;
    const QString exe = tmp.Write("app.exe", ThreeImageModule().Build(ExeBuilder::Format::Pe32));
    EXPECT_FALSE(ExtractIconGroup(exe, tmp.Path("no/such/folder/out.ico"), "0"));
    EXPECT_EQ(prompts.messages.size(), 1);
}

TEST(myextract, RealStubsGiveWellFormedIconFiles)
{
    const QDir stubs("/usr/share/nsis/Stubs");
    const QStringList names = stubs.entryList(QDir::Files);
    if (names.isEmpty())
        GTEST_SKIP() << "nsis-common stubs not installed";
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        if (!glimt::ReadWholeFile(stubs.filePath(name)).startsWith("MZ"))
            continue;
        TExeIconFile file;
        ASSERT_TRUE(file.Load(stubs.filePath(name)));
        ASSERT_GE(file.GroupCount(), 1);
        for (int g = 0; g < file.GroupCount(); ++g) {
            const int count = file.ImageCount(g);
            EXPECT_GE(count, 1);
            QByteArray ico;
            ASSERT_TRUE(file.IconFile(g, ico));
            EXPECT_EQ(int(Directory(ico).size()), count);
            std::unique_ptr<TmyIcon> icon;
            EXPECT_TRUE(TmyIcoIO(false).LoadFromBytes(icon, ico));
            EXPECT_EQ(icon ? icon->Count() : 0, count);
        }
    }
}
