#include "engine/language.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kLanguageFile =
    "[MSG]\r\n"
    "msgSave=Speichern: %s1 ?\r\n"
    "msgBigImg=Zu gross (%i2 x %i1) %i1\r\n"
    "msgUntitled=\r\n"
    "[frmMain]\r\n"
    "frmMain.Caption=Hauptfenster\r\n"
    "btnOK.Hint=Bestaetigen\r\n"
    "cmbStyle.Item0=Voll\r\n"
    ".Caption=never read\r\n"
    "[Menu]\r\n"
    "1-0.Menu=&Datei\r\n";

// Restores the single translator to "no language" when a test ends.
class ScopedLanguageFile {
public:
    explicit ScopedLanguageFile(const QString& path) { Lang().SetFileName(path); }
    ~ScopedLanguageFile() { Lang().SetFileName(QString()); }
};

} // namespace

TEST(TLanguage, WithoutFileEveryMessageIsItsEnglishText)
{
    std::size_t count = 0;
    const glimt::MessageText* table = glimt::MessageTable(count);
    ASSERT_EQ(count, 86u);
    QSet<QString> keys;
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(table[i].key);
        EXPECT_FALSE(keys.contains(table[i].key)) << "key listed twice";
        keys.insert(table[i].key);
        EXPECT_EQ(Lang().GetMessage(table[i].key, table[i].english), QString::fromUtf8(table[i].english));
        EXPECT_STREQ(glimt::EnglishMessage(table[i].key), table[i].english);
    }
    EXPECT_STREQ(glimt::EnglishMessage("msgSave"), "Save changes to %s1 ?");
    EXPECT_STREQ(glimt::EnglishMessage("msgTrauColAlpha"), "True Color+Alpha");
    EXPECT_EQ(glimt::EnglishMessage("msgNoSuchKey"), nullptr);
}

TEST(TLanguage, LookupsInALanguageFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Deutsch.lng");
    ASSERT_TRUE(glimt::test::WriteBytes(path, kLanguageFile));
    TLanguage lang;
    EXPECT_EQ(lang.ReadString("frmMain", "frmMain.Caption", "Main"), "Main") << "no file chosen yet";
    lang.SetFileName(path);
    EXPECT_EQ(lang.FileName(), path);

    struct Row {
        const char* name;
        const char* section;
        const char* key;
        const char* expected;
    } rows[] = {
        {"form caption", "frmMain", "frmMain.Caption", "Hauptfenster"},
        {"hint", "FRMMAIN", "btnok.hint", "Bestaetigen"},
        {"item", "frmMain", "cmbStyle.Item0", "Voll"},
        {"missing key", "frmMain", "cmbStyle.Item1", "default"},
        {"missing section", "frmOther", "frmMain.Caption", "default"},
        {"menu", "Menu", "1-0.Menu", "&Datei"},
        {"component without a name", "frmMain", ".Caption", "default"},
        {"empty section", "", "frmMain.Caption", "default"},
        {"empty value blanks the text", "MSG", "msgUntitled", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(lang.ReadString(r.section, r.key, "default"), QString::fromLatin1(r.expected));
    }
    EXPECT_EQ(lang.GetMessage("msgDeleteLast", "Cannot delete last image!"), "Cannot delete last image!");
}

TEST(TLanguage, FileIsParsedOnceWhenChosen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.lng");
    ASSERT_TRUE(glimt::test::WriteBytes(path, kLanguageFile));
    TLanguage lang;
    lang.SetFileName(path);
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(lang.ReadString("frmMain", "frmMain.Caption", "Main"), "Hauptfenster");

    lang.SetFileName(dir.filePath("missing.lng"));
    EXPECT_EQ(lang.ReadString("frmMain", "frmMain.Caption", "Main"), "Main");
}

TEST(TLanguage, PlaceholdersAreFilledOnceAtTheirFirstPlace)
{
    EXPECT_EQ(glimt::MsgS("msgSave", "Save changes to %s1 ?", "a.ico"), "Save changes to a.ico ?");
    EXPECT_EQ(glimt::MsgII("msgBigImg", "Image ignored: Too big (%i1x%i2)", 300, 20), "Image ignored: Too big (300x20)");
    EXPECT_EQ(glimt::MsgS("msgX", "%s1 and %s1 and %S1", "%i1"), "%i1 and %s1 and %S1") << "inserted text is plain";

    QTemporaryDir dir;
    const QString path = dir.filePath("Deutsch.lng");
    ASSERT_TRUE(glimt::test::WriteBytes(path, kLanguageFile));
    ScopedLanguageFile chosen(path);
    EXPECT_EQ(glimt::MsgS("msgSave", "Save changes to %s1 ?", "a.ico"), "Speichern: a.ico ?");
    EXPECT_EQ(glimt::MsgII("msgBigImg", "Image ignored: Too big (%i1x%i2)", 300, 20), "Zu gross (20 x 300) %i1");
    EXPECT_EQ(glimt::Msg("msgUntitled", "Untitled"), "");
}

TEST(TLanguage, KeyForms)
{
    EXPECT_EQ(glimt::CaptionKey("btnOK"), "btnOK.Caption");
    EXPECT_EQ(glimt::HintKey("btnOK"), "btnOK.Hint");
    EXPECT_EQ(glimt::ItemKey("cmbStyle", 10), "cmbStyle.Item10");
    EXPECT_EQ(glimt::MenuKey(3, 1), "3-1.Menu");
    EXPECT_EQ(glimt::CaptionKey(""), ".Caption");
    EXPECT_EQ(glimt::LanguageFileName("/opt/glimt", "Deutsch"), "/opt/glimt/Languages/Deutsch.lng");
}

// A language file's extension counts in any case: "German.LNG" is the language "German" and
// is the file it loads. Only regular files are offered.
TEST(TLanguage, LanguageFilesWhateverTheCaseOfTheirExtension)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("Languages"));
    const QString folder = dir.filePath("Languages");
    ASSERT_TRUE(glimt::test::WriteBytes(folder + "/German.LNG", kLanguageFile));
    ASSERT_TRUE(glimt::test::WriteBytes(folder + "/English.lng", "[MSG]\n"));
    ASSERT_TRUE(glimt::test::WriteBytes(folder + "/notes.txt", "x"));
    ASSERT_TRUE(glimt::test::WriteBytes(folder + "/.lng", "x"));
    ASSERT_TRUE(glimt::test::MakeFifo(folder + "/Pipe.lng"));
    QStringList names = glimt::LanguageNames(dir.path());
    names.sort();
    EXPECT_EQ(names, (QStringList{"English", "German"}));
    EXPECT_EQ(glimt::LanguageFileName(dir.path(), "German"), folder + "/German.LNG");
    EXPECT_EQ(glimt::LanguageFileName(dir.path(), "English"), folder + "/English.lng");
    EXPECT_EQ(glimt::LanguageFileName(dir.path(), "german"), folder + "/german.lng") << "the name itself keeps its case";
    ScopedLanguageFile chosen(glimt::LanguageFileName(dir.path(), "German"));
    EXPECT_EQ(glimt::Msg("msgUntitled", "Untitled"), "");
    // A FIFO chosen as a language file reads as no file, at once.
    Lang().SetFileName(folder + "/Pipe.lng");
    EXPECT_EQ(glimt::Msg("msgUntitled", "Untitled"), "Untitled");
}

// Every message the program shows is in the table, with the same English text at the call.
TEST(TLanguage, EveryMessageKeyInTheSourcesIsInTheTable)
{
    const QString root = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/../..";
    const QRegularExpression anyKey(QStringLiteral("\"(msg[A-Za-z0-9]+)\""));
    const QRegularExpression call(QStringLiteral("\"(msg[A-Za-z0-9]+)\"\\s*,\\s*\"((?:[^\"\\\\]|\\\\.)*)\""));
    int files = 0;
    int keysSeen = 0;
    for (const char* folder : {"engine", "editor", "shell"}) {
        QDirIterator it(root + "/" + folder, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.endsWith("/language.cpp"))
                continue;
            ++files;
            const QString text = QString::fromUtf8(glimt::test::ReadBytes(path));
            for (auto m = anyKey.globalMatch(text); m.hasNext();) {
                const QString key = m.next().captured(1);
                ++keysSeen;
                EXPECT_NE(glimt::EnglishMessage(key.toLatin1().constData()), nullptr)
                    << key.toStdString() << " in " << path.toStdString();
            }
            for (auto m = call.globalMatch(text); m.hasNext();) {
                const auto match = m.next();
                const char* english = glimt::EnglishMessage(match.captured(1).toLatin1().constData());
                if (english) {
                    EXPECT_EQ(match.captured(2), QString::fromUtf8(english))
                        << match.captured(1).toStdString() << " in " << path.toStdString();
                }
            }
        }
    }
    EXPECT_GT(files, 10);
    EXPECT_GT(keysSeen, 0);
}
