// Feeds arbitrary bytes to the readers of executables' icon groups and of animated cursors.
#include "engine/AniCursor.h"
#include "engine/myextract.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

    glimt::TExeIconFile module;
    if (module.LoadBytes(bytes)) {
        const QStringList names = module.GroupNames();
        const int groups = std::min(module.GroupCount(), 64);
        for (int g = 0; g < groups; ++g) {
            module.ImageCount(g);
            module.FindGroup(QString::number(g));
            QByteArray ico;
            module.IconFile(g, ico);
            std::vector<TGroupIconEntry> entries;
            module.GroupEntries(g, entries);
            for (std::size_t i = 0; i < entries.size() && i < 64; ++i) {
                TGroupImage image;
                module.GroupImage(entries[i], image);
            }
        }
    }

    std::vector<QByteArray> frames;
    glimt::ReadAniFrames(bytes, frames);
    return 0;
}
