// Feeds arbitrary bytes to the GIF reader and composes the frames it finds, as the import
// does: refusal is fine, a crash or a sanitizer report is not.
#include "engine/Errors.h"
#include "engine/GifCodec.h"
#include "engine/GifFrames.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const glimt::GifPicture gif = glimt::DecodeGif(data, size);
        // Composing a huge logical screen says nothing new and only costs memory.
        if (std::int64_t(gif.ScreenWidth) * gif.ScreenHeight > (1 << 22))
            return 0;
        const int last = int(gif.Frames.size()) - 1;
        (void)glimt::ComposeGifFrames(gif, last < 8 ? last : 8, true);
        (void)glimt::ComposeGifFrames(gif, 0, false);
    } catch (const glimt::Error&) {
    }
    return 0;
}
