#pragma once
#include <QString>
#include <cstdint>

class TmyImagePal;

namespace glimt {

// H, S, V of a colour: hue in degrees (-360 for grey), saturation and value in percent.
struct THsv {
    int H = 0;
    int S = 0;
    int V = 0;
};
THsv RgbToHsv(std::uint8_t r, std::uint8_t g, std::uint8_t b);

// The status-bar read-out of a tool event: anchor and position in cells, Button 0 or 1 during a
// stroke and 2 without, the tool number, the zoom and the image the colour read-out samples
// (may be null). Labels come from the translator.
QString ToolStatusText(int anchorX, int anchorY, int x, int y, std::uint8_t button, std::uint8_t tool, int zoom,
    const TmyImagePal* image);

} // namespace glimt
