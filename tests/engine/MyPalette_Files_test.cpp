#include "engine/Errors.h"
#include "engine/MyPalette.h"
#include "engine/Prompts.h"
#include "tests/support/TestPaths.h"
#include "tests/support/FileBytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Records every message and answers confirmations as told.
class PalettePrompts : public glimt::SilentPrompts {
public:
    void Message(glimt::TMsgKind kind, const QString& text) override { messages.push_back({kind, text}); }
    bool Confirm(const QString& text) override
    {
        questions << text;
        return answerYes;
    }
    struct Shown {
        glimt::TMsgKind kind;
        QString text;
    };
    std::vector<Shown> messages;
    QStringList questions;
    bool answerYes = true;
};

std::uint32_t U32At(const QByteArray& b, int at)
{
    return std::uint8_t(b[at]) | (std::uint8_t(b[at + 1]) << 8) | (std::uint8_t(b[at + 2]) << 16)
         | (std::uint32_t(std::uint8_t(b[at + 3])) << 24);
}

QByteArray RiffHeader(int n, const char* form = "PAL ", const char* chunk = "data")
{
    QByteArray b("RIFF");
    b += QByteArray(4, '\0');
    b += QByteArray(form, 4);
    b += QByteArray(chunk, 4);
    b += QByteArray(4, '\0');
    b += QByteArray("\x00\x03", 2);
    b += char(n & 0xFF);
    b += char(n >> 8);
    return b;
}

class PaletteFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    PalettePrompts prompts;
    glimt::ScopedPrompts scope{&prompts};
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(PaletteFiles, RiffLayoutOfSixteenEntries)
{
    TmyPalette p16(16);
    p16.SaveToFile(Path("p.pal"));
    const QByteArray b = glimt::test::ReadBytes(Path("p.pal"));
    ASSERT_EQ(b.size(), 88);
    EXPECT_EQ(b.left(4), "RIFF");
    EXPECT_EQ(U32At(b, 4), 80u);
    EXPECT_EQ(b.mid(8, 8), "PAL data");
    EXPECT_EQ(U32At(b, 16), 68u);
    EXPECT_EQ(U32At(b, 20), 0x00100300u) << "version 0x0300, then 16 entries";
    // Entry 1 is maroon, written R, G, B, 0.
    EXPECT_EQ(b.mid(28, 4), QByteArray("\x80\0\0\0", 4));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(prompts.questions.isEmpty()) << "no question for a new file";
}

TEST_F(PaletteFiles, ActOfTwoEntriesIsPaddedWithWhiteAndFillsSixteen)
{
    TmyPalette two(2);
    two.Colors[1].SetRGB(10, 20, 30);
    two.SaveToFile(Path("two.act"));
    const QByteArray b = glimt::test::ReadBytes(Path("two.act"));
    ASSERT_EQ(b.size(), 768);
    EXPECT_EQ(b.left(6), QByteArray("\0\0\0\x0A\x14\x1E", 6));
    EXPECT_EQ(b.mid(6), QByteArray(762, '\xFF'));

    TmyPalette p16(16);
    p16.LoadFromFile(Path("two.act"));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].kind, glimt::TMsgKind::Information);
    EXPECT_EQ(prompts.messages[0].text, "16 colors read, rest of the palette was ignored.");
    EXPECT_EQ(p16.Colors[1], TmyPixel::CreateRGBA(10, 20, 30, 255));
    for (int i = 2; i < 16; ++i)
        EXPECT_EQ(p16.Colors[i], TmyPixel::CreateRGBA(255, 255, 255, 255)) << i;
}

TEST_F(PaletteFiles, LoadingKeepsAlphaAndEntriesPastTheFile)
{
    TmyPalette p16(16);
    p16.SaveToFile(Path("p16.pal"));
    TmyPalette p256(256);
    for (TmyPixel& c : p256.Colors)
        c.A = 77;
    const TmyPixel before16 = p256.Colors[16];
    p256.LoadFromFile(Path("p16.pal"));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "The palette was containing only 16 colors.");
    EXPECT_EQ(p256.Colors[7], TmyPixel::CreateRGBA(128, 128, 128, 77));
    EXPECT_EQ(p256.Colors[16], before16);
}

TEST_F(PaletteFiles, RiffIntoSmallerPaletteReportsHowManyWereRead)
{
    TmyPalette(256).SaveToFile(Path("big.pal"));
    TmyPalette p2(2);
    p2.Colors[1].SetRGB(1, 2, 3);
    p2.LoadFromFile(Path("big.pal"));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "2 colors read, rest of the palette was ignored.");
    EXPECT_EQ(p2.Colors[1], TmyPixel::CreateRGBA(47, 8, 0, 255));
}

TEST_F(PaletteFiles, MalformedFilesAreRefusedAndChangeNothing)
{
    struct Row {
        const char* name;
        const char* file;
        QByteArray bytes;
    } rows[] = {
        {"riff of another form", "form.pal", RiffHeader(2, "WAVE") + QByteArray(8, '\x11')},
        {"riff without data chunk first", "chunk.pal", RiffHeader(2, "PAL ", "LIST") + QByteArray(8, '\x11')},
        {"riff shorter than its header", "short.pal", RiffHeader(2).left(20)},
        {"riff shorter than its entries", "cut.pal", RiffHeader(3) + QByteArray(11, '\x11')},
        {"empty riff", "empty.pal", QByteArray()},
        {"act of 767 bytes", "short.act", QByteArray(767, '\x11')},
        {"act of 769 bytes", "odd.act", QByteArray(769, '\x11')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        prompts.messages.clear();
        ASSERT_TRUE(glimt::test::WriteBytes(Path(row.file), row.bytes));
        TmyPalette p(16);
        p.LoadFromFile(Path(row.file));
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].kind, glimt::TMsgKind::Warning);
        EXPECT_EQ(prompts.messages[0].text, "Invalid palette file!");
        EXPECT_EQ(p, TmyPalette(16));
    }
}

TEST_F(PaletteFiles, ExtensionDecidesTheFormat)
{
    TmyPalette(16).SaveToFile(Path("UPPER.PAL"));
    EXPECT_EQ(glimt::test::ReadBytes(Path("UPPER.PAL")).size(), 88) << "upper-case PAL is a RIFF palette";

    TmyPalette p(16);
    p.SaveToFile(Path("x.bmp"));
    p.LoadFromFile(Path("x.Bmp"));
    p.LoadFromFile(Path("noext"));
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(prompts.messages[0].text, "Unknown file extension: .bmp");
    EXPECT_EQ(prompts.messages[1].text, "Unknown file extension: .bmp");
    EXPECT_EQ(prompts.messages[2].text, "Unknown file extension: ");
    EXPECT_FALSE(QFile::exists(Path("x.bmp")));
}

TEST_F(PaletteFiles, OverwriteIsAskedWithTheBareName)
{
    ASSERT_TRUE(glimt::test::WriteBytes(Path("old.act"), QByteArray("old")));
    prompts.answerYes = false;
    TmyPalette(16).SaveToFile(Path("old.act"));
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(prompts.questions[0], "old.act already exists! Overwrite?");
    EXPECT_EQ(glimt::test::ReadBytes(Path("old.act")), "old");

    prompts.answerYes = true;
    TmyPalette(16).SaveToFile(Path("old.act"));
    EXPECT_EQ(glimt::test::ReadBytes(Path("old.act")).size(), 768);

    // The question comes before the extension is looked at.
    ASSERT_TRUE(glimt::test::WriteBytes(Path("old.txt"), QByteArray("x")));
    prompts.answerYes = false;
    prompts.messages.clear();
    TmyPalette(2).SaveToFile(Path("old.txt"));
    EXPECT_EQ(prompts.questions.size(), 3);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PaletteFiles, MissingFileRaisesFileError)
{
    TmyPalette p(16);
    EXPECT_THROW(p.LoadFromFile(Path("none.pal")), glimt::FileError);
    EXPECT_THROW(p.LoadFromFile(Path("none.act")), glimt::FileError);
    EXPECT_THROW(FileSizeOf(Path("none")), glimt::FileError);
    EXPECT_THROW(p.SaveToFile(Path("no/such/folder/p.pal")), glimt::FileError);
}

TEST(PaletteCorpus, RealPalettesLoadOrAreRefused)
{
    GLIMT_REQUIRE_TESTDATA();
    PalettePrompts prompts;
    glimt::ScopedPrompts scope(&prompts);

    TmyPalette riff(16);
    riff.LoadFromFile(glimt::test::TestDataDir() + "/palettes/riff/arne-v20-16.pal");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(riff.Colors[1], TmyPixel::CreateRGBA(0x9D, 0x9D, 0x9D, 255));

    TmyPalette act(256);
    act.LoadFromFile(glimt::test::TestDataDir() + "/palettes/act/16pal_v20.act");
    EXPECT_TRUE(prompts.messages.empty()) << "772-byte tables are read like 768-byte ones";
    EXPECT_EQ(act.Colors[1], TmyPixel::CreateRGBA(0x9D, 0x9D, 0x9D, 255));

    // Files that carry the extension but not the format.
    for (const char* name : {"/palettes/paintshoppro/jasc256.pal", "/palettes/vga24bit/atari-7800-palette.pal"}) {
        SCOPED_TRACE(name);
        prompts.messages.clear();
        TmyPalette p(256);
        p.LoadFromFile(glimt::test::TestDataDir() + name);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, "Invalid palette file!");
        EXPECT_EQ(p, TmyPalette(256));
    }
}
