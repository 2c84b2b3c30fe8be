#include "engine/TypeCheck.h"

#include "engine/Errors.h"
#include "engine/SafeFile.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(TypeCheck, KindIsToldByTheFirstBytes)
{
    struct Row {
        const char* name;
        QByteArray head;
        TImageFileType type;
        TImageFileKind kind;
    } rows[] = {
        {"icon", QByteArray("\0\0\1\0\1\0", 6), iftIco, ifkIcon},
        {"cursor", QByteArray("\0\0\2\0", 4), iftCur, ifkIcon},
        {"animated cursor", QByteArray("RIFF\x10\0\0\0ACONanih", 16), iftAni, ifkOther},
        {"riff palette", QByteArray("RIFF\x10\0\0\0PAL data", 16), iftUnknown, ifkOther},
        {"two-byte bitmap", QByteArray("BM"), iftBmp, ifkImage},
        {"jpeg", QByteArray("\xFF\xD8\xFF\xE0", 4), iftJpeg, ifkImage},
        {"not jpeg", QByteArray("\xFF\xD8\0", 3), iftUnknown, ifkOther},
        {"png", QByteArray("\x89PNG\r\n\x1a\n", 8), iftPng, ifkImage},
        {"gif", QByteArray("GIF89a"), iftGif, ifkImage},
        {"empty", QByteArray(), iftUnknown, ifkOther},
        {"icon needs all four bytes", QByteArray("\0\0\1\1", 4), iftUnknown, ifkOther},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(DetectImageFileTypeOf(r.head), r.type);
        EXPECT_EQ(ImageFileKindOf(DetectImageFileTypeOf(r.head)), r.kind);
    }
}

// Only regular files are read: a FIFO, whose reading would wait for ever, and a folder are
// refused at once with the platform's file error.
TEST(TypeCheck, OnlyRegularFilesAreRead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(glimt::test::WriteBytes(dir.filePath("a.bmp"), QByteArray("\0\0\1\0", 4)));
    ASSERT_TRUE(glimt::test::WriteBytes(dir.filePath("short"), QByteArray("BM")));
    ASSERT_TRUE(glimt::test::MakeFifo(dir.filePath("fifo.ico")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ico"));
    ASSERT_TRUE(QFile::link(dir.filePath("fifo.ico"), dir.filePath("link-to-fifo.ico")));
    EXPECT_EQ(DetectImageFileType(dir.filePath("a.bmp")), iftIco) << "the content, not the name";
    EXPECT_EQ(DetectImageFileType(dir.filePath("short")), iftBmp);
    for (const char* name : {"fifo.ico", "folder.ico", "link-to-fifo.ico", "missing.ico"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(DetectImageFileType(dir.filePath(name)), glimt::FileError);
        EXPECT_THROW(glimt::ReadWholeFile(dir.filePath(name)), glimt::FileError);
        EXPECT_FALSE(glimt::IsRegularFile(dir.filePath(name)));
    }
    EXPECT_TRUE(glimt::IsRegularFile(dir.filePath("short")));
}

namespace {
// Sets or clears an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};
} // namespace

TEST(TypeCheck, DataFolderFollowsXdgConfigHome)
{
    struct Row {
        const char* name;
        const char* xdg;
        const char* home;
        QString appData;
    } rows[] = {
        {"xdg set", "/tmp/cfg/", "/home/u", "/tmp/cfg"},
        {"xdg relative is ignored", "rel/cfg", "/home/u", "/home/u/.config"},
        {"xdg empty", "", "/home/u", "/home/u/.config"},
        {"xdg unset", nullptr, "/home/u", "/home/u/.config"},
        {"nothing known", nullptr, nullptr, "unchanged"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ScopedEnv xdg("XDG_CONFIG_HOME", r.xdg);
        ScopedEnv home("HOME", r.home);
        QString path = "unchanged";
        GetAppDataFolder(path);
        EXPECT_EQ(path, r.appData);
        EXPECT_EQ(glimt::DataFolder(), r.home ? r.appData + "/Glimt" : QString());
    }
}
