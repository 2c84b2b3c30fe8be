#include "engine/IniFile.h"

#include "engine/Errors.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using glimt::IniFile;

TEST(IniFile, LookupsAreCaseInsensitiveAndFirstKeyWins)
{
    const IniFile ini = IniFile::FromText(
        "; comment\r\n[Sect]\r\n Key = value one \r\nkey=second\r\nQuoted=\"  spaced  \"\r\nEmpty=\r\n"
        "=novalue\r\n[other]\r\nKey=other\r\n[SECT]\r\nLate=late\r\n");
    EXPECT_EQ(ini.ReadString("sect", "KEY", "d"), "value one");
    EXPECT_EQ(ini.ReadString("Other", "key", "d"), "other");
    EXPECT_EQ(ini.ReadString("Sect", "Quoted", "d"), "  spaced  ");
    EXPECT_EQ(ini.ReadString("Sect", "Empty", "d"), "");
    EXPECT_EQ(ini.ReadString("Sect", "Late", "d"), "late") << "a repeated section continues the first";
    EXPECT_EQ(ini.ReadString("Sect", "missing", "d"), "d");
    EXPECT_EQ(ini.ReadString("none", "Key", "d"), "d");
    EXPECT_TRUE(ini.HasSection("OTHER"));
    EXPECT_FALSE(ini.HasKey("Sect", ""));
}

TEST(IniFile, Integers)
{
    struct Row {
        const char* text;
        int value;
    } rows[] = {{"12", 12}, {"-3", -3}, {"+4", 4}, {" 7 ", 7}, {"0x1F", 31}, {"$ff", 255},
                {"abc", 99}, {"", 99}, {"1.5", 99}, {"99999999999", 99}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        const IniFile ini = IniFile::FromText(QByteArray("[s]\nk=") + r.text + "\n");
        EXPECT_EQ(ini.ReadInteger("s", "k", 99), r.value);
    }
    const IniFile ini = IniFile::FromText("[s]\nt=2\nf=0\nn=no\n");
    EXPECT_TRUE(ini.ReadBool("s", "t", false));
    EXPECT_FALSE(ini.ReadBool("s", "f", true));
    EXPECT_TRUE(ini.ReadBool("s", "n", true));
}

TEST(IniFile, WritingKeepsForeignLinesAndPlacesNewKeysInTheirSection)
{
    IniFile ini = IniFile::FromText("; keep me\n[A]\nx=1\n\n[B]\ny=2\n");
    ini.WriteInteger("a", "X", 5);
    ini.WriteString("A", "z", "new");
    ini.WriteBool("C", "w", true);
    EXPECT_EQ(ini.ToText(), QByteArray("; keep me\r\n[A]\r\nx=5\r\nz=new\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nw=1\r\n"));
    EXPECT_EQ(ini.ReadString("A", "Z", ""), "new") << "lookups see keys inserted after a read";
}

TEST(IniFile, TextEncodings)
{
    EXPECT_EQ(IniFile::FromText("\xEF\xBB\xBF[s]\nk=\xC3\xA9\n").ReadString("s", "k", ""), QString::fromUtf8("\xC3\xA9"));
    EXPECT_EQ(IniFile::FromText("[s]\nk=\xE9\n").ReadString("s", "k", ""), QString::fromUtf8("\xC3\xA9"))
        << "not UTF-8: Windows-1252";
}

// A file that exists but cannot be read whole reads as empty and is never written back: its
// content stays byte for byte as it was.
TEST(IniFile, FileThatCannotBeReadWholeIsNeverWrittenBack)
{
    QTemporaryDir dir;
    const QByteArray text = "[s]\nk=v\n[foreign]\nkeep=me\n";
    QByteArray oversized = text;
    oversized.append(QByteArray(int(IniFile::kMaxFileBytes) + 1 - int(text.size()), ';'));
    ASSERT_TRUE(glimt::test::WriteBytes(dir.filePath("oversized.ini"), oversized));
    ASSERT_TRUE(glimt::test::WriteBytes(dir.filePath("unreadable.ini"), text));
    ASSERT_TRUE(QFile::setPermissions(dir.filePath("unreadable.ini"), QFileDevice::WriteOwner));
    const bool rightsCount = !QFile(dir.filePath("unreadable.ini")).open(QIODevice::ReadOnly);
    ASSERT_TRUE(glimt::test::MakeFifo(dir.filePath("fifo.ini")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ini"));

    struct Row {
        const char* name;
        const QByteArray* content; // null: no regular file
    } rows[] = {{"oversized.ini", &oversized}, {"unreadable.ini", &text}, {"fifo.ini", nullptr}, {"folder.ini", nullptr}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        if (std::string(r.name) == "unreadable.ini" && !rightsCount)
            continue; // running with rights that ignore file permissions
        const QString path = dir.filePath(r.name);
        IniFile ini(path);
        EXPECT_FALSE(ini.ReadWhole());
        EXPECT_EQ(ini.ReadString("s", "k", "d"), "d");
        ini.WriteString("s", "k", "changed");
        EXPECT_THROW(ini.UpdateFile(), glimt::FileError);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (r.content)
            EXPECT_TRUE(glimt::test::ReadBytes(path) == *r.content);
        else
            EXPECT_FALSE(QFileInfo(path).isFile());
    }

    // The largest file that is read, and one of a megabyte with foreign sections: read whole,
    // and written back with everything they hold.
    QByteArray largest = oversized.left(IniFile::kMaxFileBytes);
    ASSERT_TRUE(glimt::test::WriteBytes(dir.filePath("largest.ini"), largest));
    EXPECT_EQ(IniFile(dir.filePath("largest.ini")).ReadString("s", "k", "d"), "v");
    QByteArray megabyte = text;
    for (int i = 0; megabyte.size() < (1 << 20) + 100000; ++i)
        megabyte.append("[section" + QByteArray::number(i) + "]\nkey=some value of a foreign program\n");
    const QString config = dir.filePath("config.cfg");
    ASSERT_TRUE(glimt::test::WriteBytes(config, megabyte));
    IniFile big(config);
    EXPECT_TRUE(big.ReadWhole());
    big.WriteString("s", "k", "new");
    big.UpdateFile();
    EXPECT_EQ(IniFile(config).ReadString("foreign", "keep", ""), "me");
    EXPECT_EQ(IniFile(config).ReadString("section9999", "key", ""), "some value of a foreign program");
}

TEST(IniFile, MissingFileReadsEmptyAndUpdateCreatesIt)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath("sub/dir/x.ini"));
    EXPECT_EQ(ini.ReadString("s", "k", "d"), "d");
    ini.WriteString("s", "k", "v");
    ini.UpdateFile();
    EXPECT_EQ(IniFile(dir.filePath("sub/dir/x.ini")).ReadString("S", "K", ""), "v");
}

TEST(IniFile, DeletingKeysAndSectionsKeepsTheRest)
{
    IniFile ini = IniFile::FromText("; head\r\n[A]\r\nk=1\r\nK=2\r\nj=3\r\n[B]\r\n; b's note\r\nx=1\r\n[a]\r\nk=4\r\n[C]\r\ny=2\r\n");
    ini.DeleteKey("a", "K");
    EXPECT_FALSE(ini.HasKey("A", "k")) << "every line of the key goes, in repeated sections too";
    EXPECT_EQ(ini.ReadString("A", "j", "d"), "3");
    ini.DeleteSection("b");
    EXPECT_FALSE(ini.HasSection("B"));
    EXPECT_EQ(ini.ToText(), QByteArray("; head\r\n[A]\r\nj=3\r\n[a]\r\n[C]\r\ny=2\r\n"));
    ini.SetUnixLineBreaks(true);
    ini.WriteString("C", "z", "3");
    EXPECT_EQ(ini.ToText(), QByteArray("; head\n[A]\nj=3\n[a]\n[C]\ny=2\nz=3\n"));
}
