// Feeds arbitrary bytes to the PNG reader: it must refuse or decode, never crash, agree with
// its own size probe, and whatever it decodes must survive a write and a second read unchanged.
#include "engine/Errors.h"
#include "engine/PngCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    int width = 0, height = 0;
    const bool probed = glimt::PngDimensions(data, size, width, height);
    TmyImage image;
    try {
        image = glimt::DecodePng(data, size);
    } catch (const glimt::Error&) {
        return 0;
    }
    if (!probed || width != image.Width() || height != image.Height())
        std::abort();
    const QByteArray written = glimt::EncodePng(image);
    const TmyImage back = glimt::DecodePng(reinterpret_cast<const std::uint8_t*>(written.constData()), std::size_t(written.size()));
    if (!back.SamePixels(image))
        std::abort();
    return 0;
}
