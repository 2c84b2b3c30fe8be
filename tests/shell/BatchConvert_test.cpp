#include "shell/BatchConvert.h"

#include "engine/MyIcoIO.h"
#include "engine/MyIcon.h"
#include "engine/PngCodec.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFiles.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using glimt::TBatchFormat;
using glimt::TBatchJob;
using glimt::TBatchMode;
using glimt::test::DibImage;
using glimt::test::EntryFor;
using glimt::test::ExeBuilder;
using glimt::test::GroupResource;

namespace {

// Records what a run reports; Stop is pressed while file `stopDuring` (1-based) is processed.
class RecordingLog : public glimt::IBatchLog {
public:
    QStringList Lines;
    int Steps = 0;
    int StopDuring = 0;
    bool Stop = false;

    void LogSuccess(const QString& name, const QString& reason) override { Lines << "S " + QFileInfo(name).fileName() + " " + reason; }
    void LogWarning(const QString& name, const QString& reason) override { Lines << "W " + QFileInfo(name).fileName() + " " + reason; }
    void LogError(const QString& name, const QString& reason) override { Lines << "E " + QFileInfo(name).fileName() + " " + reason; }
    void LogProcessing(const QString& counter, const QString& file) override
    {
        Lines << "P " + counter + " " + QFileInfo(file).fileName();
        if (counter.startsWith(QString::number(StopDuring) + "/"))
            Stop = true;
    }
    void LogMessage(const QString& text) override { Lines << "M " + text; }
    void StepProgress() override { ++Steps; }
    bool ShouldStop() override { return Stop; }
};

QByteArray PngBytes(int w, int h)
{
    TmyImage image(h, w);
    image.Fill(TmyPixel::CreateRGBA(10, 200, 30, 255));
    return glimt::EncodePng(image);
}

QByteArray IconBytes(const std::vector<std::pair<int, int>>& formats)
{
    TmyIcon icon;
    for (auto [size, depth] : formats) {
        TmyImagePal& image = icon.AddImage(size, size, depth);
        image.Fill(TmyPixel::CreateRGBA(200, 20, 30, 255));
    }
    return TmyIcoIO(false).SaveToBytes(icon, false);
}

class BatchTest : public ::testing::Test {
protected:
    TBatchJob Job(TBatchMode mode, const QStringList& files)
    {
        QDir().mkpath(m_files.Path("out"));
        TBatchJob job;
        job.Mode = mode;
        job.Files = files;
        job.OutputFolder = m_files.Path("out");
        return job;
    }
    QStringList Output() const { return QDir(m_files.Path("out")).entryList(QDir::Files, QDir::Name); }

    std::unique_ptr<TmyIcon> ReadIcon(const QString& name)
    {
        std::unique_ptr<TmyIcon> icon;
        EXPECT_TRUE(TmyIcoIO(false).LoadFromFile(icon, m_files.Path("out/" + name))) << name.toStdString();
        return icon;
    }

    glimt::test::TempFiles m_files;
    RecordingLog m_log;
};

} // namespace

TEST(BatchConvert, CheckedFormatsGoIntoTheIconFromFewestColoursAndLargestFirst)
{
    bool checked[3][5] = {};
    checked[0][0] = checked[0][4] = true; // 32 bits: 16, 256
    checked[1][2] = true;                 // 8 bits: 32
    checked[2][3] = checked[2][1] = true; // 4 bits: 48, 24
    const std::vector<TBatchFormat> expected = {{48, 4}, {24, 4}, {32, 8}, {256, 32}, {16, 32}};
    EXPECT_EQ(glimt::CheckedFormats(checked), expected);
}

TEST(BatchConvert, UniqueNamesCountUpFromTwoAndOutputNamesGetOneSeparator)
{
    glimt::test::TempFiles files;
    const QString logo = files.Path("logo.ico");
    EXPECT_EQ(glimt::UniqueFileName(logo), logo);
    files.Write("logo.ico", "x");
    EXPECT_EQ(glimt::UniqueFileName(logo), files.Path("logo (2).ico"));
    files.Write("logo (2).ico", "x");
    EXPECT_EQ(glimt::UniqueFileName(logo), files.Path("logo (3).ico"));
    EXPECT_EQ(glimt::OutputFileName("/a/b", "c.ico"), QStringLiteral("/a/b/c.ico"));
    EXPECT_EQ(glimt::OutputFileName("/a/b/", "c.ico"), QStringLiteral("/a/b/c.ico"));
}

TEST_F(BatchTest, IconsFromPicturesHoldTheCheckedFormatsAndNeverOverwrite)
{
    const QString png = m_files.Write("logo.png", PngBytes(40, 20));
    const QString junk = m_files.Write("junk.png", PngBytes(4, 4).left(30));
    TBatchJob job = Job(TBatchMode::IconsFromImages, {png, junk});
    job.Formats = {{48, 4}, {16, 32}};
    m_files.Write("out/logo.ico", "taken");

    EXPECT_TRUE(glimt::RunBatch(job, m_log));
    EXPECT_EQ(m_log.Lines, QStringList({"P 1/2 logo.png", "S logo (2).ico File created successfully", "P 2/2 junk.png",
                                        "E junk.png Invalid png file!", "M Operation completed!"}));
    EXPECT_EQ(m_log.Steps, 2);
    const auto icon = ReadIcon("logo (2).ico");
    ASSERT_TRUE(icon);
    ASSERT_EQ(icon->Count(), 2);
    EXPECT_EQ(icon->Image(0).Width(), 16);
    EXPECT_EQ(icon->Image(0).BitDepth, 32);
    EXPECT_EQ(icon->Image(1).Width(), 48);
    EXPECT_EQ(icon->Image(1).BitDepth, 4);

    // With no format checked nothing is written: an icon without images is no icon.
    job.Files = {png};
    job.Formats.clear();
    m_log.Lines.clear();
    EXPECT_TRUE(glimt::RunBatch(job, m_log));
    EXPECT_EQ(m_log.Lines[1], QStringLiteral("E logo.png Cannot save file"));
    EXPECT_EQ(Output(), QStringList({"logo (2).ico", "logo.ico"}));
}

TEST_F(BatchTest, ImagesFromIconsAreNamedAfterSizeAndDepth)
{
    const QString app = m_files.Write("app.ico", IconBytes({{48, 32}, {32, 8}}));
    const QString bad = m_files.Write("bad.ico", IconBytes({{16, 4}}).left(12));
    TBatchJob job = Job(TBatchMode::ImagesFromIcons, {bad, app});
    job.OutputExtension = ".png";
    EXPECT_TRUE(glimt::RunBatch(job, m_log));
    EXPECT_EQ(m_log.Lines, QStringList({"P 1/2 bad.ico", "E bad.ico Cannot open file", "P 2/2 app.ico",
                                        "S app_48x48-32.png File created successfully",
                                        "S app_32x32-8.png File created successfully", "M Operation completed!"}));
    EXPECT_EQ(Output(), QStringList({"app_32x32-8.png", "app_48x48-32.png"}));
}

TEST_F(BatchTest, ExtractingNumbersTheGroupsWithoutGapsAndCopiesIconFiles)
{
    // Three groups and, second in the module, one of 51 images that is skipped silently.
    ExeBuilder builder;
    const QByteArray a = DibImage(16, 16, 4, 1), b = DibImage(32, 32, 4, 2), c = DibImage(48, 48, 32, 3);
    builder.AddIcon(1, a).AddIcon(2, b).AddIcon(3, c);
    builder.AddGroup(1, GroupResource({EntryFor(a, 1)}));
    builder.AddGroup(2, GroupResource(std::vector<glimt::test::GroupEntry>(51, EntryFor(a, 1))));
    builder.AddGroup(3, GroupResource({EntryFor(b, 2), EntryFor(a, 1)}));
    builder.AddGroup(4, GroupResource({EntryFor(c, 3)}));
    const QString exe = m_files.Write("tool.exe", builder.Build(ExeBuilder::Format::Pe32));
    const QString ico = m_files.Write("one.ico", IconBytes({{16, 32}}));
    const QString cur = m_files.Write("two.cur", glimt::test::IconFileOf(2, {DibImage(16, 16, 4, 9)}));
    const QString text = m_files.Write("readme.txt", "no icons here");
    // No icon group to copy: the shell's picture of each frame, with a warning.
    const QString ani = m_files.Write("busy.ani", glimt::test::AnimatedCursorOf({glimt::test::IconFileOf(2, {b})}));

    EXPECT_TRUE(glimt::RunBatch(Job(TBatchMode::ExtractFromResources, {exe, ico, cur, text, ani}), m_log));
    EXPECT_EQ(Output(), QStringList({"busy-1.ico", "one-0.ico", "tool-1.ico", "tool-2.ico", "tool-3.ico", "two-0.ico"}));
    EXPECT_TRUE(m_log.Lines.contains("W busy-1.ico This is not a 32bit file. Extraction will not be exact!"));
    const auto fallback = ReadIcon("busy-1.ico");
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback->Image(0).Width(), 32);
    EXPECT_EQ(fallback->Image(0).BitDepth, 32);
    EXPECT_EQ(ReadIcon("tool-2.ico")->Count(), 2);
    EXPECT_EQ(ReadIcon("tool-3.ico")->Image(0).Width(), 48);
    EXPECT_EQ(ReadIcon("one-0.ico")->Count(), 1);
    EXPECT_TRUE(m_log.Lines.contains("W readme.txt The file does not contain icons"));
    EXPECT_EQ(m_log.Lines.last(), QStringLiteral("M Operation completed!"));
}

TEST_F(BatchTest, StopDuringTheThirdOfFiveFilesEndsAfterIt)
{
    QStringList files;
    for (int i = 1; i <= 5; ++i)
        files << m_files.Write(QString("i%1.ico").arg(i), IconBytes({{16, 32}}));
    m_log.StopDuring = 3;
    TBatchJob job = Job(TBatchMode::ImagesFromIcons, files);
    EXPECT_FALSE(glimt::RunBatch(job, m_log));
    EXPECT_EQ(Output(), QStringList({"i1_16x16-32.bmp", "i2_16x16-32.bmp", "i3_16x16-32.bmp"}));
    EXPECT_FALSE(m_log.Lines.contains("M Operation completed!"));
    EXPECT_EQ(m_log.Steps, 3);
}

TEST_F(BatchTest, LoadImageFileNamesTheFailureByKind)
{
    struct Row {
        const char* name;
        QByteArray bytes;
        QString error;
    };
    const Row rows[] = {
        {"ok.png", PngBytes(3, 2), QString()},
        {"ok.ico", IconBytes({{16, 32}}), QString()},
        {"bad.png", PngBytes(3, 2).left(30), "Invalid png file!"},
        {"bad.bmp", QByteArray("BM") + QByteArray(20, 0), "Invalid bmp file!"},
        {"bad.gif", QByteArray("GIF89a") + QByteArray(4, 0), "Invalid gif file!"},
        {"bad.jpg", QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(8, 0), "Invalid jpg file!"},
        {"other.txt", "hello world!", "Unknown file type!"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TmyImagePal image(256, 256, 32);
        EXPECT_EQ(glimt::LoadImageFile(image, m_files.Write(row.name, row.bytes)), row.error);
    }
}

// A FIFO among the files (or a folder, or a file gone since it was listed) is never read, in
// any mode: it fits no list, and a run that meets it logs it and goes on at once.
TEST_F(BatchTest, AFifoIsNeverReadAndTheRunGoesOn)
{
    const QString fifo = m_files.Path("pipe.ico");
    ASSERT_TRUE(glimt::test::MakeFifo(fifo));
    const QString folder = m_files.Path("folder.png");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString ico = m_files.Write("one.ico", IconBytes({{16, 32}}));
    for (TBatchMode mode : {TBatchMode::IconsFromImages, TBatchMode::ImagesFromIcons, TBatchMode::ExtractFromResources}) {
        SCOPED_TRACE(int(mode));
        EXPECT_FALSE(glimt::FileFitsMode(mode, fifo));
        EXPECT_FALSE(glimt::FileFitsMode(mode, folder));
        EXPECT_TRUE(glimt::FileFitsMode(mode, ico));
        m_log.Lines.clear();
        TBatchJob job = Job(mode, {fifo, folder, ico});
        job.Formats = {{16, 32}};
        EXPECT_TRUE(glimt::RunBatch(job, m_log));
        ASSERT_GE(m_log.Lines.size(), 6);
        EXPECT_EQ(m_log.Lines.mid(0, 5), QStringList({"P 1/3 pipe.ico", "E pipe.ico Cannot open file", "P 2/3 folder.png",
                                                       "E folder.png Cannot open file", "P 3/3 one.ico"}));
        EXPECT_TRUE(m_log.Lines[5].startsWith("S ")) << m_log.Lines[5].toStdString();
    }
    EXPECT_EQ(m_log.Steps, 9);
}
