#include "shell/registryeditor.h"

#include "engine/Errors.h"
#include "engine/IniFile.h"

#include <QDir>
#include <QFile>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Points the desktop's data and config folders into a temporary folder for one test; the
// real home is never touched.
class XdgFolders {
public:
    XdgFolders()
        : m_data(qgetenv("XDG_DATA_HOME"))
        , m_config(qgetenv("XDG_CONFIG_HOME"))
    {
        EXPECT_TRUE(m_dir.isValid());
        qputenv("XDG_DATA_HOME", Path("data").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", Path("config").toLocal8Bit());
    }
    ~XdgFolders()
    {
        qputenv("XDG_DATA_HOME", m_data);
        qputenv("XDG_CONFIG_HOME", m_config);
    }
    QString Path(const char* name) const { return QDir(m_dir.path()).absoluteFilePath(QLatin1String(name)); }
    QByteArray Read(const char* name) const
    {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void Write(const char* name, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(Path(name)).absolutePath());
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString Default() const
    {
        return glimt::IniFile(Path("config/mimeapps.list"))
            .ReadString(QStringLiteral("Default Applications"), QStringLiteral("image/vnd.microsoft.icon"), QString());
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_data;
    QByteArray m_config;
};

const QString kProgram = QStringLiteral("/opt/my apps/glimt");

// The lines a stand-in program wrote to `log`, once there are `count` of them or `waitMs` have
// passed (the desktop is told without waiting for it).
QStringList LinesOnceThere(const QString& log, int count, int waitMs = 30000)
{
    QStringList lines;
    for (QDeadlineTimer deadline(waitMs); !deadline.hasExpired(); QThread::msleep(20)) {
        QFile f(log);
        lines = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts) : QStringList();
        if (lines.size() >= count)
            break;
    }
    return lines;
}

} // namespace

TEST(registryeditor, TheCommandQuotesTheProgramAsOneArgument)
{
    EXPECT_EQ(glimt::OpenCommand(kProgram), QStringLiteral("\"/opt/my apps/glimt\" %f"));
    // ", `, $ and \ escaped inside the quotes, % doubled, then backslashes doubled for the value.
    EXPECT_EQ(glimt::OpenCommand(QStringLiteral("/a\"b$c`d\\e%f")),
              QStringLiteral("\"/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e%%f\" %f"));
}

TEST(registryeditor, AssociatingKeepsThePreviousDefaultAndUnassociatingRestoresIt)
{
    XdgFolders xdg;
    xdg.Write("config/mimeapps.list", "# mine\n[Default Applications]\nimage/vnd.microsoft.icon=viewer.desktop;\n"
                                      "image/png=viewer.desktop\n[Added Associations]\nimage/png=x.desktop;\n");
    EXPECT_TRUE(glimt::HasIcoKey());
    EXPECT_FALSE(glimt::IsIcoAssociated());

    glimt::SetIcoAssociation(kProgram, true);
    EXPECT_TRUE(glimt::IsIcoAssociated());
    EXPECT_EQ(xdg.Default(), QStringLiteral("glimt-icon.desktop"));
    const glimt::IniFile entry(xdg.Path("data/applications/glimt-icon.desktop"));
    EXPECT_EQ(entry.ReadString(QStringLiteral("Desktop Entry"), QStringLiteral("Exec"), QString()),
              glimt::OpenCommand(kProgram));
    EXPECT_EQ(entry.ReadString(QStringLiteral("Desktop Entry"), QStringLiteral("MimeType"), QString()),
              QStringLiteral("image/vnd.microsoft.icon;"));

    // Associating again keeps the first saved default.
    glimt::AssociateIco(kProgram);
    glimt::SetIcoAssociation(kProgram, false);
    EXPECT_FALSE(glimt::IsIcoAssociated());
    EXPECT_EQ(xdg.Default(), QStringLiteral("viewer.desktop;"));
    EXPECT_FALSE(QFile::exists(xdg.Path("data/applications/glimt-icon.desktop")));
    const QByteArray list = xdg.Read("config/mimeapps.list");
    EXPECT_FALSE(list.contains("Glimt")) << list.constData();
    // Everything else of the file is kept.
    EXPECT_TRUE(list.startsWith("# mine\n")) << list.toPercentEncoding(" #[]=;/.\n").constData();
    EXPECT_TRUE(list.contains("image/png=viewer.desktop\n[Added Associations]\nimage/png=x.desktop;"));
}

TEST(registryeditor, UnassociatingWithoutASavedDefaultLeavesNoDefaultNamingAMissingEntry)
{
    XdgFolders xdg;
    EXPECT_TRUE(glimt::HasIcoKey()); // neither folder exists yet: both can be made
    glimt::AssociateIco(kProgram);
    EXPECT_TRUE(glimt::IsIcoAssociated());
    glimt::UnassociateIco();
    EXPECT_FALSE(glimt::IsIcoAssociated());
    EXPECT_TRUE(xdg.Default().isEmpty());
}

TEST(registryeditor, UnassociatingLeavesAnotherProgramsDefaultAlone)
{
    XdgFolders xdg;
    const QByteArray list = "[Default Applications]\nimage/vnd.microsoft.icon=viewer.desktop\n"
                            "[X-Glimt Previous Defaults]\nimage/vnd.microsoft.icon=old.desktop\n";
    xdg.Write("config/mimeapps.list", list);
    glimt::UnassociateIco();
    EXPECT_EQ(xdg.Read("config/mimeapps.list"), list);
}

TEST(registryeditor, TheOpenWithEntryCountsOnlyWithTheExactCommand)
{
    XdgFolders xdg;
    EXPECT_FALSE(glimt::IsContextMenuSet(kProgram));
    glimt::SetContextMenu(kProgram, true);
    EXPECT_TRUE(glimt::IsContextMenuSet(kProgram));
    // The program moved: the entry no longer counts until it is written again.
    const QString moved = QStringLiteral("/usr/bin/glimt");
    EXPECT_FALSE(glimt::IsContextMenuSet(moved));
    glimt::SetContextMenu(moved, true);
    EXPECT_TRUE(glimt::IsContextMenuSet(moved));
    EXPECT_FALSE(glimt::IsContextMenuSet(kProgram));
    glimt::SetContextMenu(moved, false);
    EXPECT_FALSE(glimt::IsContextMenuSet(moved));
    EXPECT_FALSE(QFile::exists(xdg.Path("data/applications/glimt-open.desktop")));
}

TEST(registryeditor, TheIconHandlerIsNamedAfterTheProgramAndTheDesktopHearsOfChangedEntries)
{
    XdgFolders xdg;
    // A stand-in for update-desktop-database on the PATH records how it was called.
    const QString log = xdg.Path("calls.log");
    xdg.Write("bin/update-desktop-database", "#!/bin/sh\necho \"$@\" >> \"" + log.toUtf8() + "\"\n");
    QFile::setPermissions(xdg.Path("bin/update-desktop-database"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", xdg.Path("bin").toLocal8Bit() + ':' + path);
    const QString told = "-q " + xdg.Path("data/applications");

    glimt::AssociateIco(kProgram);
    const glimt::IniFile entry(xdg.Path("data/applications/glimt-icon.desktop"));
    EXPECT_EQ(entry.ReadString(QStringLiteral("Desktop Entry"), QStringLiteral("Name"), QString()), QStringLiteral("Glimt"));
    EXPECT_EQ(LinesOnceThere(log, 1), QStringList{told});
    glimt::SetContextMenu(kProgram, true);
    EXPECT_EQ(LinesOnceThere(log, 2), (QStringList{told, told}));
    // Entries written again unchanged tell nothing; removed ones do.
    glimt::AssociateIco(kProgram);
    glimt::SetContextMenu(kProgram, true);
    EXPECT_EQ(LinesOnceThere(log, 3, 1000).size(), 2);
    glimt::UnassociateIco();
    glimt::SetContextMenu(kProgram, false);
    EXPECT_EQ(LinesOnceThere(log, 4), (QStringList{told, told, told, told}));

    // Without the program nothing is told and nothing fails.
    qputenv("PATH", xdg.Path("nowhere").toLocal8Bit());
    glimt::AssociateIco(kProgram);
    qputenv("PATH", path);
    EXPECT_TRUE(glimt::IsIcoAssociated());
    EXPECT_EQ(LinesOnceThere(log, 5, 1000).size(), 4);
}

TEST(registryeditor, ReadOnlyPlacesAreNotAssociated)
{
    XdgFolders xdg;
    xdg.Write("config/mimeapps.list", "[Default Applications]\n");
    QFile::setPermissions(xdg.Path("config/mimeapps.list"), QFileDevice::ReadOwner);
    QFile probe(xdg.Path("config/mimeapps.list"));
    if (probe.open(QIODevice::WriteOnly | QIODevice::Append))
        GTEST_SKIP() << "running with rights that ignore file permissions";
    EXPECT_FALSE(glimt::HasIcoKey());
    glimt::AssociateIco(kProgram); // skipped silently
    EXPECT_FALSE(glimt::IsIcoAssociated());
}

// A defaults file that cannot be read whole (here: larger than any INI file is read) is never
// written back: associating and un-associating report an error and change nothing.
TEST(registryeditor, AnUnreadableDefaultsFileIsReportedAndLeftAlone)
{
    XdgFolders xdg;
    QByteArray list = "[Default Applications]\nimage/vnd.microsoft.icon=viewer.desktop\n[Other]\n";
    list.append(QByteArray(int(glimt::IniFile::kMaxFileBytes), 'x'));
    xdg.Write("config/mimeapps.list", list);
    EXPECT_THROW(glimt::SetIcoAssociation(kProgram, true), glimt::FileError);
    EXPECT_THROW(glimt::SetIcoAssociation(kProgram, false), glimt::FileError);
    EXPECT_TRUE(xdg.Read("config/mimeapps.list") == list);
    EXPECT_FALSE(QFile::exists(xdg.Path("data/applications/glimt-icon.desktop")));
}
