#include "engine/Errors.h"
#include "engine/IniFile.h"
#include "engine/Settings.h"
#include "tests/support/FileBytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Key lines of an INI text as "Section/Key=Value", in file order.
QStringList KeyLines(const QByteArray& text)
{
    QStringList out;
    QString section;
    for (const QString& line : QString::fromUtf8(text).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        if (line.startsWith('['))
            section = line.mid(1, line.size() - 2);
        else
            out << section + '/' + line;
    }
    return out;
}

} // namespace

TEST(TOptions, FirstRunGivesDefaultsAndWritesEveryKey)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Glimt/config.cfg");
    TOptions o;
    o.ToolsLeft = o.ColorsLeft = o.PrevLeft = -1;
    o.Load(file, 1024);
    EXPECT_EQ(o.ToolsLeft, 793);
    EXPECT_EQ(o.ColorsLeft, 853);
    EXPECT_EQ(o.PrevLeft, 793);
    EXPECT_EQ(o.MainHeight, 480);
    EXPECT_EQ(o.GridColor, 0xC0C0C0u);
    EXPECT_EQ(o.Color2, 0xEBEBEBu);
    EXPECT_EQ(o.ForeColor, TmyPixel::CreateRGBA(0, 0, 0, 255));
    EXPECT_EQ(o.BackColor, TmyPixel::CreateRGBA(0, 0, 0, 0));
    EXPECT_EQ(o.Language, "English");
    EXPECT_EQ(o.BKSize, 4);
    EXPECT_EQ(o.GridStyle, 2);
    EXPECT_EQ(o.SelectedIndex, 2);
    EXPECT_TRUE(o.MainMaximized);
    EXPECT_FALSE(o.ExplorerVisible);

    o.Save(file);  // the folder is created
    const QStringList keys = KeyLines(glimt::test::ReadBytes(file));
    ASSERT_EQ(keys.size(), 76);
    EXPECT_EQ(keys.first(), "MainForm/Top=0");
    EXPECT_EQ(keys[11], "ToolsForm/Left=793");
    EXPECT_EQ(keys[16], "ColorsForm/ForeColorRed=0");
    EXPECT_EQ(keys[19], "ColorsForm/ForeColorAlpha=255");
    EXPECT_EQ(keys[43], "General/BKSize=4");
    EXPECT_EQ(keys[65], "General/AllowDragAndDrop=1");
    EXPECT_EQ(keys[66], "General/RecentFile1=");
    EXPECT_EQ(keys.last(), "General/RecentFile10=");

    const QByteArray text = glimt::test::ReadBytes(file);
    const QStringList order = {"[MainForm]", "[ToolsForm]", "[ColorsForm]", "[PrevForm]", "[ExplorerForm]", "[Grid]", "[General]"};
    qsizetype at = -1;
    for (const QString& s : order) {
        const qsizetype next = text.indexOf(s.toUtf8());
        EXPECT_GT(next, at) << s.toStdString();
        at = next;
    }
}

TEST(TOptions, EveryFieldRoundTrips)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("config.cfg");
    TOptions o;
    o.MainTop = -7;
    o.MainMaximized = false;
    o.ToolsLeft = 5000;
    o.BKSize = 16;
    o.Color1 = 0x102030;
    o.GridColor = 0x0000FF;
    o.GridStyle = 1;
    o.PaletteAction = 2;
    o.ForeColor = TmyPixel::CreateRGBA(1, 2, 3, 4);
    o.BackColor = TmyPixel::CreateRGBA(250, 251, 252, 253);
    o.Language = "Deutsch";
    o.SetRecentFile(1, "/a b/c.ico");
    o.SetRecentFile(10, "/z.ico");
    o.ThumbSize = 64;
    o.Save(file);

    TOptions back;
    back.Load(file, 800);
    EXPECT_EQ(back.MainTop, -7);
    EXPECT_FALSE(back.MainMaximized);
    EXPECT_EQ(back.ToolsLeft, 5000);
    EXPECT_EQ(back.ColorsLeft, 853) << "written from the field, not from the screen";
    EXPECT_EQ(back.BKSize, 16);
    EXPECT_EQ(back.Color1, 0x102030u);
    EXPECT_EQ(back.GridColor, 0x0000FFu);
    EXPECT_EQ(back.GridStyle, 1);
    EXPECT_EQ(back.PaletteAction, 2);
    EXPECT_EQ(back.ForeColor, TmyPixel::CreateRGBA(1, 2, 3, 4));
    EXPECT_EQ(back.BackColor, TmyPixel::CreateRGBA(250, 251, 252, 253));
    EXPECT_EQ(back.Language, "Deutsch");
    EXPECT_EQ(back.GetRecentFile(1), "/a b/c.ico");
    EXPECT_EQ(back.GetRecentFile(10), "/z.ico");
    EXPECT_EQ(back.GetRecentFile(2), "");
    EXPECT_EQ(back.ThumbSize, 64);
}

TEST(TOptions, CutsAndDefaultsOfStoredValues)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("config.cfg");
    ASSERT_TRUE(glimt::test::WriteBytes(file,
             "[general]\r\nbksize=260\r\nColor1Red=256\r\nColor1Green=-1\r\nSelectedIndex=511\r\n"
             "PaletteAction=x\r\nRecentFile11=/kept.ico\r\n"
             "[MainForm]\r\nMaximized=2\r\nTop=abc\r\nLeft= 12 \r\nHeight=0x10\r\n"
             "[Foreign]\r\nKey=Value\r\n"));
    TOptions o;
    o.Load(file, 1024);
    EXPECT_EQ(o.BKSize, 4) << "260 keeps its low 8 bits";
    EXPECT_EQ(o.Color1, 0xFFFF00u) << "red 256 -> 0, green -1 -> 255, blue default 255";
    EXPECT_EQ(o.SelectedIndex, 255);
    EXPECT_EQ(o.PaletteAction, 1) << "not a number: the default";
    EXPECT_TRUE(o.MainMaximized);
    EXPECT_EQ(o.MainTop, 0);
    EXPECT_EQ(o.MainLeft, 12);
    EXPECT_EQ(o.MainHeight, 16);

    o.Save(file);
    const QStringList keys = KeyLines(glimt::test::ReadBytes(file));
    EXPECT_TRUE(keys.contains("MainForm/Maximized=1"));
    EXPECT_TRUE(keys.contains("general/RecentFile11=/kept.ico")) << "foreign keys stay";
    EXPECT_TRUE(keys.contains("Foreign/Key=Value"));
    EXPECT_TRUE(keys.contains("general/bksize=4")) << "replaced in place";
    EXPECT_EQ(keys.size(), 76 + 2);
}

TEST(TOptions, ZeroCheckerboardCellReadsAsDefault)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("config.cfg");
    for (const char* stored : {"0", "256", "512"}) {
        SCOPED_TRACE(stored);
        ASSERT_TRUE(glimt::test::WriteBytes(file, QByteArray("[General]\nBKSize=") + stored + "\n"));
        TOptions o;
        o.Load(file, 1024);
        EXPECT_EQ(o.BKSize, 4);
    }
}

TEST(TOptions, RecentFilesOutsideTheSlotsOrWithLineBreaks)
{
    TOptions o;
    o.SetRecentFile(0, "zero");
    o.SetRecentFile(11, "eleven");
    EXPECT_EQ(o.GetRecentFile(0), "");
    EXPECT_EQ(o.GetRecentFile(11), "");
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(o.GetRecentFile(i), "");

    o.SetRecentFile(3, "/ok.ico");
    o.SetRecentFile(3, "/evil\n[General]\nBKSize=0.ico");
    EXPECT_EQ(o.GetRecentFile(3), "/ok.ico");

    // A name that reached the field directly is not written as lines of its own.
    o.RecentFiles[4] = "/a\r\nLanguage=X";
    QTemporaryDir dir;
    const QString file = dir.filePath("config.cfg");
    o.Save(file);
    TOptions back;
    back.Load(file, 1024);
    EXPECT_EQ(back.GetRecentFile(3), "/ok.ico");
    EXPECT_EQ(back.GetRecentFile(4), "");
    EXPECT_EQ(back.Language, "English");
}

TEST(TOptions, FailedSaveLeavesTheOldFile)
{
    QTemporaryDir dir;
    // A folder where the file should be: nothing can replace it.
    const QString file = dir.filePath("config.cfg");
    ASSERT_TRUE(QDir().mkpath(file));
    TOptions o;
    EXPECT_THROW(o.Save(file), glimt::FileError);
    EXPECT_TRUE(QFileInfo(file).isDir());
}

// A settings file that could not be read at start-up is left alone for the whole run: writing
// the defaults into it would lose both the user's settings and what other sections it holds.
TEST(TOptions, ASettingsFileThatCouldNotBeReadIsLeftAloneForTheRun)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("config.cfg");
    QByteArray content = "[MainForm]\nTop=77\n[Foreign]\nkeep=me\n";
    content.append(QByteArray(int(glimt::IniFile::kMaxFileBytes), ';'));
    ASSERT_TRUE(glimt::test::WriteBytes(file, content));
    TOptions o;
    o.Load(file, 1024);
    EXPECT_EQ(o.MainTop, 0) << "read as if empty";
    o.MainTop = 5;
    EXPECT_THROW(o.Save(file), glimt::FileError);
    EXPECT_TRUE(glimt::test::ReadBytes(file) == content);

    // Readable again later in the run: still left alone, since its settings were never read.
    content.truncate(content.indexOf(';'));
    ASSERT_TRUE(glimt::test::WriteBytes(file, content));
    EXPECT_THROW(o.Save(file), glimt::FileError);
    EXPECT_EQ(glimt::test::ReadBytes(file), content);
    // Another file is written as usual.
    o.Save(dir.filePath("other.cfg"));
    EXPECT_EQ(glimt::IniFile(dir.filePath("other.cfg")).ReadInteger("MainForm", "Top", 0), 5);
    // A file read whole at start is written back with its foreign sections.
    TOptions fine;
    fine.Load(file, 1024);
    EXPECT_EQ(fine.MainTop, 77);
    fine.Save(file);
    EXPECT_EQ(glimt::IniFile(file).ReadString("Foreign", "keep", ""), "me");
}

TEST(TOptions, DefaultFileIsInTheDataFolder)
{
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/xdg-test");
    EXPECT_EQ(TOptions::DefaultFileName(), "/tmp/xdg-test/Glimt/config.cfg");
    qputenv("XDG_CONFIG_HOME", old);
}
