#include "shell/ShellLink.h"

#include "engine/ByteReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using glimt::ByteWriter;

namespace {

// What a built shell link holds.
struct LinkParts {
    QByteArray idList;        // written when not empty
    QByteArray localBasePath; // ANSI; a link-info block is written when not empty
    QString name;             // written when not empty
    QString relativePath;     // written when not empty
    bool unicode = true;
};

void CountedString(ByteWriter& w, const QString& text, bool unicode)
{
    w.U16(std::uint16_t(text.size()));
    if (unicode) {
        for (QChar c : text)
            w.U16(c.unicode());
    } else {
        w.Raw(text.toLatin1());
    }
}

QByteArray BuildLink(const LinkParts& p)
{
    std::uint32_t flags = 0;
    if (!p.idList.isEmpty())
        flags |= 0x01;
    if (!p.localBasePath.isEmpty())
        flags |= 0x02;
    if (!p.name.isEmpty())
        flags |= 0x04;
    if (!p.relativePath.isEmpty())
        flags |= 0x08;
    if (p.unicode)
        flags |= 0x80;

    ByteWriter w;
    w.U32(0x4C);
    const std::uint8_t clsid[16] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    w.Raw(clsid, 16);
    w.U32(flags);
    w.Zeros(0x4C - w.Size());
    if (!p.idList.isEmpty()) {
        w.U16(std::uint16_t(p.idList.size()));
        w.Raw(p.idList);
    }
    if (!p.localBasePath.isEmpty()) {
        const std::uint32_t headerSize = 28;
        const std::uint32_t volumeSize = 16;
        const std::uint32_t size = headerSize + volumeSize + std::uint32_t(p.localBasePath.size()) + 2;
        w.U32(size);
        w.U32(headerSize);
        w.U32(1);                       // volume id and local base path present
        w.U32(headerSize);              // volume id
        w.U32(headerSize + volumeSize); // local base path
        w.U32(0);
        w.U32(size - 1); // common path suffix: the empty string at the end
        w.U32(volumeSize);
        w.Zeros(volumeSize - 4);
        w.Raw(p.localBasePath);
        w.U8(0);
        w.U8(0);
    }
    if (!p.name.isEmpty())
        CountedString(w, p.name, p.unicode);
    if (!p.relativePath.isEmpty())
        CountedString(w, p.relativePath, p.unicode);
    w.U32(0); // terminal block
    return w.Bytes();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(ShellLink, ReadsPathsOfWellFormedLinks)
{
    struct Row {
        const char* name;
        LinkParts parts;
        QString relative;
        QString base;
    };
    const Row rows[] = {
        {"relative path, unicode", {QByteArray("\x04\x00xx", 4), {}, "An icon", "..\\icons\\a.ico", true},
         "../icons/a.ico", ""},
        {"relative path, ansi", {{}, {}, {}, ".\\b.ico", false}, "./b.ico", ""},
        {"local base path only", {{}, "C:\\Icons\\c.ico", {}, {}, true}, "", "C:/Icons/c.ico"},
        {"both", {QByteArray(3, 'i'), "D:\\x\\y.ico", "n", "y.ico", true}, "y.ico", "D:/x/y.ico"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        glimt::ShellLinkTarget target;
        ASSERT_TRUE(glimt::ReadShellLink(BuildLink(row.parts), target));
        EXPECT_EQ(target.RelativePath, row.relative);
        EXPECT_EQ(target.LocalBasePath, row.base);
    }
}

TEST(ShellLink, RefusesMalformedLinksWithoutReadingPastTheEnd)
{
    LinkParts full{QByteArray(6, 'i'), "C:\\Icons\\c.ico", "name", "c.ico", true};
    const QByteArray good = BuildLink(full);

    // Every truncation inside the header, the item list, the link information or the strings.
    for (qsizetype n = 0; n < good.size() - 4; ++n) {
        glimt::ShellLinkTarget target;
        EXPECT_FALSE(glimt::ReadShellLink(good.left(n), target)) << "cut at " << n;
    }

    QByteArray badClsid = good;
    badClsid[4] = 0x02;
    QByteArray badHeaderSize = good;
    badHeaderSize[0] = 0x4D;
    QByteArray baseOffsetOutside = good;
    const qsizetype info = 0x4C + 2 + 6;
    baseOffsetOutside[info + 16] = char(0xF0); // local base path offset beyond the block
    QByteArray unterminatedBase = good;
    const qsizetype infoSize = qsizetype(std::uint8_t(good[info]));
    unterminatedBase[info + infoSize - 2] = 'x';
    unterminatedBase[info + infoSize - 1] = 'x';
    QByteArray hugeString = BuildLink({{}, {}, {}, "a.ico", true});
    hugeString[0x4C] = char(0xFF);
    hugeString[0x4C + 1] = char(0xFF);
    QByteArray noTarget = BuildLink({{}, {}, "only a name", {}, true});

    const std::pair<const char*, QByteArray> bad[] = {
        {"class id", badClsid},           {"header size", badHeaderSize},
        {"base path offset", baseOffsetOutside}, {"unterminated base path", unterminatedBase},
        {"string count", hugeString},     {"no target", noTarget},
    };
    for (const auto& [name, bytes] : bad) {
        SCOPED_TRACE(name);
        glimt::ShellLinkTarget target;
        EXPECT_FALSE(glimt::ReadShellLink(bytes, target));
    }
}

TEST(ShellLink, ResolvesAgainstTheLinksFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir root(dir.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("icons")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("links")));
    const QString icon = root.absoluteFilePath(QStringLiteral("icons/a.ico"));
    WriteFile(icon, "icon");

    const QString relative = root.absoluteFilePath(QStringLiteral("links/rel.lnk"));
    WriteFile(relative, BuildLink({{}, "C:\\Icons\\a.ico", {}, "..\\icons\\a.ico", true}));
    EXPECT_EQ(glimt::ResolveShortcutPath(relative), icon);

    // A relative target that is gone falls back to the local base path.
    const QString stale = root.absoluteFilePath(QStringLiteral("links/stale.lnk"));
    WriteFile(stale, BuildLink({{}, "C:\\Icons\\gone.ico", {}, "..\\icons\\gone.ico", true}));
    EXPECT_EQ(glimt::ResolveShortcutPath(stale), QStringLiteral("C:/Icons/gone.ico"));

    // Without a base path the missing relative target is what the link names.
    const QString gone = root.absoluteFilePath(QStringLiteral("links/gone.lnk"));
    WriteFile(gone, BuildLink({{}, {}, {}, "gone.ico", false}));
    EXPECT_EQ(glimt::ResolveShortcutPath(gone), root.absoluteFilePath(QStringLiteral("links/gone.ico")));

    const QString symlink = root.absoluteFilePath(QStringLiteral("links/sym.LNK"));
    ASSERT_TRUE(QFile::link(icon, symlink));
    EXPECT_EQ(glimt::ResolveShortcutPath(symlink), icon);

    const QString garbage = root.absoluteFilePath(QStringLiteral("links/garbage.lnk"));
    WriteFile(garbage, "not a link at all");
    EXPECT_TRUE(glimt::ResolveShortcutPath(garbage).isEmpty());
    EXPECT_TRUE(glimt::ResolveShortcutPath(root.absoluteFilePath(QStringLiteral("links/none.lnk"))).isEmpty());
}
