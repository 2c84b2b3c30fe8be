#include "tests/support/PixelArt.h"

namespace glimt::test {

QString PixelArt(const QImage& image, std::initializer_list<std::pair<QRgb, char>> legend)
{
    QString out;
    for (int y = 0; y < image.height(); ++y) {
        if (y > 0)
            out += QLatin1Char('\n');
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) & 0xFFFFFFu;
            char c = '?';
            for (const auto& [color, ch] : legend)
                if ((color & 0xFFFFFFu) == p)
                    c = ch;
            out += QLatin1Char(c);
        }
    }
    return out;
}

} // namespace glimt::test
