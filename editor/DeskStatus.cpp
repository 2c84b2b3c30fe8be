#include "editor/DeskStatus.h"

#include "engine/MyImage.h"
#include "engine/language.h"

#include <cmath>
#include <cstdlib>

namespace glimt {

THsv RgbToHsv(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    const float c[3] = {float(r), float(g), float(b)};
    int lo = 0;
    if (c[1] < c[lo])
        lo = 1;
    if (c[2] < c[lo])
        lo = 2;
    int hi = 0;
    if (c[1] > c[hi])
        hi = 1;
    if (c[2] > c[hi])
        hi = 2;
    const float d = c[hi] - c[lo];
    float h = -1.0f;
    float s = 0.0f;
    float v = c[0];
    if (d != 0.0f) {
        if (hi == 0)
            h = (c[1] - c[2]) / d;
        else if (hi == 1)
            h = (c[2] - c[0]) / d + 2.0f;
        else
            h = (c[0] - c[1]) / d + 4.0f;
        s = d / c[hi];
        v = c[hi];
        h = h * float(1.0 / 6.0);
        if (h < 0.0f)
            h += 1.0f;
    }
    return {int(std::nearbyint(h * 360.0f)), int(std::nearbyint(s * 100.0f)), int(std::nearbyint(v * 100.0f / 255.0f))};
}

namespace {

QString ColorReadout(int x, int y, const TmyImagePal* image)
{
    TmyPixel p;
    if (image && image->Contains(x, y))
        p = image->Pixel(x, y);
    THsv hsv = RgbToHsv(p.R, p.G, p.B);
    if (hsv.H == -360)
        hsv.H = 0;
    return QStringLiteral("(%1,%2)  %3:%4 %5:%6 %7:%8   %9:%10 %11:%12 %13:%14   %15:%16")
        .arg(x).arg(y)
        .arg(Msg("msgRed", "R")).arg(p.R)
        .arg(Msg("msgGreen", "G")).arg(p.G)
        .arg(Msg("msgBlue", "B")).arg(p.B)
        .arg(Msg("msgHue", "H")).arg(hsv.H)
        .arg(Msg("msgSaturation", "S")).arg(hsv.S)
        .arg(Msg("msgBrightness", "B")).arg(hsv.V)
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
