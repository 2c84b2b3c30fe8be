// Feeds arbitrary bytes to the animated-cursor reader and reads its frames as the icon list
// does: each frame is read as an icon or cursor file, and the list offers one entry a frame.
// Refusal is fine, a crash or a sanitizer report is not.
#include "engine/AniCursor.h"
#include "engine/MyIcoIO.h"
#include "engine/ShellIcons.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    std::vector<QByteArray> frames;
    if (!glimt::ReadAniFrames(bytes, frames))
        return 0;
    // Each frame needs a chunk header of its own.
    if (frames.size() > size / 8)
        std::abort();
    TmyIcoIO io(false);
    for (std::size_t i = 0; i < frames.size() && i < 16; ++i) {
        std::unique_ptr<TmyIcon> icon;
        io.LoadFromBytes(icon, frames[i]);
    }

    glimt::TShellIcons icons;
    icons.LoadBytes(bytes);
    if (icons.Count() != int(frames.size()))
        std::abort();
    for (int i = 0; i < std::min(icons.Count(), 8); ++i) {
        QByteArray ico;
        icons.ImageFile(i, ico);
    }
    icons.Icon32(0);
    return 0;
}
