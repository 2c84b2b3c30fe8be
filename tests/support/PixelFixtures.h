#pragma once
#include "engine/MyImage.h"
#include "engine/MyPixel.h"
#include "engine/Settings.h"

#include <algorithm>
#include <ostream>
#include <stdexcept>
#include <vector>

// Readable pixels in test failures.
inline std::ostream& operator<<(std::ostream& os, const TmyPixel& p)
{
    return os << "(" << int(p.R) << ", " << int(p.G) << ", " << int(p.B) << ", " << int(p.A) << ")";
}

namespace glimt::test {

constexpr TmyPixel Px(int r, int g, int b, int a)
{
    return TmyPixel::CreateRGBA(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), std::uint8_t(a));
}

// A width x height image of the given depth whose pixels are listed row by row from the top.
inline TmyImagePal MakeImage(int width, int height, int depth, const std::vector<TmyPixel>& rows)
{
    if (rows.size() != std::size_t(width) * std::size_t(height))
        throw std::invalid_argument("pixel list does not match the size");
    TmyImagePal image(height, width, depth);
    std::copy(rows.begin(), rows.end(), image.Data());
    return image;
}

// Restores every setting when the test ends.
class ScopedOptions {
public:
    ScopedOptions() : m_saved(Options()) {}
    ~ScopedOptions() { Options() = m_saved; }
    ScopedOptions(const ScopedOptions&) = delete;
    ScopedOptions& operator=(const ScopedOptions&) = delete;

private:
    TOptions m_saved;
};

} // namespace glimt::test
