// Listing and extracting the icon groups of a large library: the resource tree is read once
// and every group is counted and written out as an icon file.
#include "engine/ShellIcons.h"
#include "engine/myextract.h"
#include "tests/support/ExeBuilder.h"
// Benchmarks are built without the test libraries; the module writer is compiled in here.
#include "tests/support/ExeBuilder.cpp"

#include <benchmark/benchmark.h>

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

} // namespace

BENCHMARK(BM_ListAndDraw32)->Arg(300);
BENCHMARK(BM_ListAndExtractPe)->Arg(10)->Arg(300);
BENCHMARK(BM_ListAndExtractNe)->Arg(300);
BENCHMARK(BM_ListOnly)->Arg(300)->Arg(1000);

BENCHMARK_MAIN();
