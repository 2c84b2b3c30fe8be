// Feeds arbitrary bytes to the bitmap reader: it must refuse or decode, never crash.
#include "engine/BmpCodec.h"
#include "engine/Errors.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const glimt::BmpPicture picture = glimt::DecodeBmp(data, size);
        (void)picture;
    } catch (const glimt::Error&) {
    }
    return 0;
}
