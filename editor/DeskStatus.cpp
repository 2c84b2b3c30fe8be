#include "editor/DeskStatus.h"

#include "engine/MyImage.h"
#include "engine/MyPainter.h"
#include "engine/language.h"

#include <cstdlib>

namespace glimt {

namespace {

QString ColorReadout(int x, int y, const TmyImagePal* image)
{
    TmyPixel p;
    if (image && image->Contains(x, y))
        p = image->Pixel(x, y);
    std::int32_t h = 0, sat = 0, v = 0;
    TmyPainter::RGBToHSV(p.R, p.G, p.B, h, sat, v);
    if (h == -360)
        h = 0;
    return QStringLiteral("(%1,%2)  %3:%4 %5:%6 %7:%8   %9:%10 %11:%12 %13:%14   %15:%16")
        .arg(x).arg(y)
        .arg(Msg("msgRed", "R")).arg(p.R)
        .arg(Msg("msgGreen", "G")).arg(p.G)
        .arg(Msg("msgBlue", "B")).arg(p.B)
        .arg(Msg("msgHue", "H")).arg(h)
        .arg(Msg("msgSaturation", "S")).arg(sat)
        .arg(Msg("msgBrightness", "B")).arg(v)
        .arg(Msg("msgOpacity", "Opacity")).arg(p.A);
}

QString ZoomText(int zoom)
{
    return QString::number(zoom) + QStringLiteral("00%");
}

} // namespace

QString ToolStatusText(int anchorX, int anchorY, int x, int y, std::uint8_t button, std::uint8_t tool, int zoom,
    const TmyImagePal* image)
{
    const QString point = QStringLiteral("(%1,%2)").arg(x).arg(y);
    if (button > 1) {
        if (tool == 13)
            return ColorReadout(x, y, image);
        if (tool == 14)
            return ZoomText(zoom);
        return point;
    }
    switch (tool) {
    case 1: case 2: case 10: case 11: case 12: case 16:
        return QStringLiteral("(%1,%2)-(%3,%4) %5:%6 %7:%8")
            .arg(anchorX).arg(anchorY).arg(x + 1).arg(y + 1)
            .arg(Msg("msgWidth", "W")).arg(std::abs(x - anchorX) + 1)
            .arg(Msg("msgHeight", "H")).arg(std::abs(y - anchorY) + 1);
    case 9:
        return QStringLiteral("(%1,%2)-(%3,%4)").arg(anchorX).arg(anchorY).arg(x).arg(y);
    case 13:
        return ColorReadout(x, y, image);
    case 14:
        return ZoomText(zoom);
    default:
        return point;
    }
}

} // namespace glimt
