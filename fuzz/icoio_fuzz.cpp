// Fuzz target of the icon and cursor reader: any bytes must load or be refused without a crash,
// and whatever loads must survive a write and a second read with every image intact.
#include "engine/MyIcoIO.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    TmyIcoIO io(false);
    std::unique_ptr<TmyIcon> icon;
    if (!io.LoadFromBytes(icon, bytes))
        return 0;
    const QByteArray written = io.SaveToBytes(*icon, false);
    std::unique_ptr<TmyIcon> back;
    if (!io.LoadFromBytes(back, written) || back->Count() != icon->Count())
        std::abort();
    for (int i = 0; i < icon->Count(); ++i)
        if (back->Image(i).Width() != icon->Image(i).Width() || back->Image(i).Height() != icon->Image(i).Height()
            || back->Image(i).BitDepth != icon->Image(i).BitDepth)
            std::abort();
    return 0;
}
