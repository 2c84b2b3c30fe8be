#pragma once
#include "engine/Errors.h"
#include "engine/MyImage.h"

#include <cstdint>

namespace glimt {

// The largest picture the readers accept: 32768 pixels on a side and 2^28 pixels in all.
constexpr std::int64_t MaxPictureSide = 32768;

// Throws glimt::Error unless width x height is a picture the program may allocate. Every
// picture reader calls this with the sizes from the file before it allocates pixels.
inline void CheckPictureSize(std::int64_t width, std::int64_t height, const char* format)
{
    if (width < 1 || height < 1)
        throw Error(QStringLiteral("The %1 picture has no pixels").arg(QLatin1String(format)));
    if (width > MaxPictureSide || height > MaxPictureSide || width * height > TmyImage::MaxPixels)
        throw Error(QStringLiteral("The %1 picture is too large (%2 x %3)").arg(QLatin1String(format)).arg(width).arg(height));
}

} // namespace glimt
