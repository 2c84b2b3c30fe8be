// Listing and extracting the icon groups of a large library: the resource tree is read once
// and every group is counted and written out as an icon file. The extract dialog's listing of
// a 20 MB library of 200 groups runs side by side with the batch extraction of the same file.
#include "bench/BenchSupport.h"
#include "engine/ShellIcons.h"
#include "engine/SafeFile.h"
#include "engine/myextract.h"
#include "shell/BatchConvert.h"
#include "shell/formExtract.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/IcoBuilder.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A library of `groups` icon groups of three images each (16x16, 32x32 and 48x48).
QByteArray Library(int groups, glimt::test::ExeBuilder::Format format)
{
    using namespace glimt::test;
    const QByteArray images[] = {DibImage(16, 16, 8), DibImage(32, 32, 8), DibImage(48, 48, 32)};
    ExeBuilder builder;
    builder.SetNeShift(9); // NE offsets are 16-bit in units of the alignment
    std::uint16_t id = 1;
    for (int g = 0; g < groups; ++g) {
        std::vector<GroupEntry> entries;
        for (const QByteArray& image : images) {
            builder.AddIcon(id, image);
            entries.push_back(EntryFor(image, id++));
        }
        builder.AddGroup(std::uint16_t(g + 1), GroupResource(entries));
    }
    return builder.Build(format);
}

void ListAndExtractAll(benchmark::State& state, glimt::test::ExeBuilder::Format format)
{
    const QByteArray bytes = Library(int(state.range(0)), format);
    for (auto _ : state) {
        glimt::TExeIconFile module;
        module.LoadBytes(bytes);
        std::int64_t written = 0;
        for (int g = 0; g < module.GroupCount(); ++g) {
            if (module.ImageCount(module.FindGroup(QString::number(g))) == 0)
                continue;
            QByteArray ico;
            module.IconFile(g, ico);
            written += ico.size();
        }
        benchmark::DoNotOptimize(written);
        state.counters["bytes"] = double(written);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ListAndExtractPe(benchmark::State& state)
{
    ListAndExtractAll(state, glimt::test::ExeBuilder::Format::Pe32);
}

void BM_ListAndExtractNe(benchmark::State& state)
{
    ListAndExtractAll(state, glimt::test::ExeBuilder::Format::Ne);
}

// Counting only, as the thumbnail view lists a library: parse once, count every group.
void BM_ListOnly(benchmark::State& state)
{
    const QByteArray bytes = Library(int(state.range(0)), glimt::test::ExeBuilder::Format::Pe32);
    for (auto _ : state) {
        glimt::TExeIconFile module;
        module.LoadBytes(bytes);
        int total = 0;
        for (int g = 0; g < module.GroupCount(); ++g)
            total += module.ImageCount(module.FindGroup(QString::number(g)));
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The thumbnail view's listing of a library: every group counted and drawn at 32x32, the file
// read and parsed once.
void BM_ListAndDraw32(benchmark::State& state)
{
    const QByteArray bytes = Library(int(state.range(0)), glimt::test::ExeBuilder::Format::Pe32);
    for (auto _ : state) {
        glimt::TShellIcons icons;
        icons.LoadBytes(bytes);
        int drawn = 0;
        for (int i = 0; i < icons.Count(); ++i) {
            if (icons.Module()->ImageCount(icons.Module()->FindGroup(QString::number(i))) != 0)
                drawn += !icons.Icon32(i).isNull();
        }
        benchmark::DoNotOptimize(drawn);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

std::unique_ptr<QTemporaryDir> g_dir;

// A library of 200 icon groups shaped like real ones, about 20 MB: each group a 256x256 PNG
// (photo-like in every other group, else drawn with a palette) and 48, 32 and 16 at 32, 8 and 4
// bits.
const QString& LargeLibrary()
{
    static const QString path = [] {
        using namespace glimt::test;
        std::vector<QByteArray> pngs;
        for (unsigned seed = 1; seed <= 4; ++seed) {
            pngs.push_back(QtPngBytes(glimt::bench::PhotoIcon(256, seed).ToQImage()));
            pngs.push_back(glimt::bench::DiscPalettePng(seed));
        }
        ExeBuilder builder;
        std::uint16_t id = 1;
        for (int g = 0; g < 200; ++g) {
            std::vector<GroupEntry> entries;
            auto add = [&](const QByteArray& image) {
                builder.AddIcon(id, image);
                entries.push_back(EntryFor(image, id++));
            };
            add(pngs[std::size_t(g) % pngs.size()]);
            for (int depth : {32, 8, 4})
                for (int side : {48, 32, 16})
                    add(DibImage(side, side, depth, std::uint8_t(g)));
            builder.AddGroup(std::uint16_t(g + 1), GroupResource(entries));
        }
        const QString file = g_dir->filePath(QStringLiteral("library.dll"));
        glimt::WriteFileAtomically(file, builder.Build(ExeBuilder::Format::Pe32));
        return file;
    }();
    return path;
}

class QuietLog : public glimt::IBatchLog {
public:
    void LogSuccess(const QString&, const QString&) override { ++written; }
    void LogWarning(const QString&, const QString&) override {}
    void LogError(const QString&, const QString&) override {}
    void LogProcessing(const QString&, const QString&) override {}
    void LogMessage(const QString&) override {}
    void StepProgress() override {}
    bool ShouldStop() override { return false; }
    int written = 0;
};

// The extract dialog lists the library (the goal: under 100 ms) beside the batch
// extraction of every group of it into icon files.
void BM_ExtractDialogListing_vsBatchExtraction(benchmark::State& state)
{
    const QString& library = LargeLibrary();
    TfrmExtract dialog(nullptr);
    dialog.FileName = library;
    const QString out = g_dir->filePath(QStringLiteral("out"));
    int tiles = 0;
    QuietLog log;
    QDir().mkpath(out);
    glimt::bench::SideBySide(
        state, 0,
        [&] {
            dialog.FormShow();
            tiles = dialog.Thumbnails->Count();
        },
        [&] {
            glimt::TBatchJob job;
            job.Mode = glimt::TBatchMode::ExtractFromResources;
            job.Files = {library};
            job.OutputFolder = out;
            log.written = 0;
            glimt::RunBatch(job, log);
        },
        [&] {
            QDir(out).removeRecursively();
            QDir().mkpath(out);
        });
    state.counters["tiles"] = tiles;
    state.counters["files_written"] = log.written;
    state.counters["library_MB"] = double(QFileInfo(library).size()) / 1e6;
}
BENCHMARK(BM_ExtractDialogListing_vsBatchExtraction)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK(BM_ListAndDraw32)->Arg(300);
BENCHMARK(BM_ListAndExtractPe)->Arg(10)->Arg(300);
BENCHMARK(BM_ListAndExtractNe)->Arg(300);
BENCHMARK(BM_ListOnly)->Arg(300)->Arg(1000);

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    g_dir = std::make_unique<QTemporaryDir>();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_dir.reset();
    return 0;
}
