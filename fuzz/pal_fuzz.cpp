// Feeds arbitrary bytes to the palette-file readers, as a RIFF ".pal" and as an ".act" table,
// into palettes of every size the program uses: a file is refused or read, never a crash; the
// palette keeps its size and its entries stay opaque; what was read survives a write and a
// second read.
#include "engine/MyPalette.h"
#include "fuzz/FuzzTempFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(const TmyPalette& palette, int count)
{
    if (palette.Count() != count)
        std::abort();
    for (const TmyPixel& c : palette.Colors)
        if (c.A != 255)
            std::abort();
}

void RoundTrip(const TmyPalette& palette, const QString& name, bool riff)
{
    const QString path = glimt::fuzz::WriteTempFile(name, nullptr, 0);
    riff ? palette.SaveRiffPalette(path) : palette.SaveActPalette(path);
    TmyPalette back(palette.Count());
    riff ? back.LoadRiffPalette(path) : back.LoadActPalette(path);
    if (!back.Equals(palette))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString pal = glimt::fuzz::WriteTempFile(QStringLiteral("in.pal"), data, size);
    const QString act = glimt::fuzz::WriteTempFile(QStringLiteral("in.act"), data, size);
    for (int count : {2, 16, 256}) {
        TmyPalette riff(count), table(count);
        riff.LoadFromFile(pal);
        table.LoadFromFile(act);
        Check(riff, count);
        Check(table, count);
        // Writing is slow (a temporary, a rename): once a file type, at the full size.
        if (count == 256) {
            RoundTrip(riff, QStringLiteral("out.pal"), true);
            RoundTrip(table, QStringLiteral("out.act"), false);
        }
    }
    return 0;
}
