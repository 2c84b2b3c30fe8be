#pragma once
#include <QImage>
#include <QString>

#include <initializer_list>
#include <utility>

namespace glimt::test {

// A picture as rows of characters, one per pixel: the character of the pixel's colour from
// `legend` (RGB compared, alpha ignored), '?' for any other colour. Rows are joined with '\n',
// so a failure shows the picture.
QString PixelArt(const QImage& image, std::initializer_list<std::pair<QRgb, char>> legend);

} // namespace glimt::test
