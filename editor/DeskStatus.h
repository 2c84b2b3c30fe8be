#pragma once
#include <QString>
#include <cstdint>

class TmyImagePal;

namespace glimt {

// The status-bar read-out of a tool event: anchor and position in cells, Button 0 or 1 during a
// stroke and 2 without, the tool number, the zoom and the image the colour read-out samples
// (may be null). Labels come from the translator.
QString ToolStatusText(int anchorX, int anchorY, int x, int y, std::uint8_t button, std::uint8_t tool, int zoom,
    const TmyImagePal* image);

} // namespace glimt
