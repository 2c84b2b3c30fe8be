// Feeds arbitrary bytes to the JPEG decoder, at full size and DCT-scaled: every libjpeg error
// must come back as an exception, never as an exit or a crash.
#include "engine/Errors.h"
#include "engine/JpegCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (int min : {0, 16}) {
        try {
            (void)glimt::DecodeJpeg(data, size, min, min);
        } catch (const glimt::Error&) {
        }
    }
    return 0;
}
