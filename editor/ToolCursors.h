#pragma once
#include <QCursor>
#include <QPixmap>
#include <cstdint>

namespace glimt {

// The program's table of numbered cursors. LoadToolCursors fills numbers 5 to 24 with the
// tool cursors from the program's resources ("ZOOM" 5, "PENCIL" 6, "PICK" 7, "ERASE" 8,
// "BRUSH" 9, "FLOOD" 10, "SPRAY" 11, "TEXT" 12, "SELECT" 13, "CROP" 14, "LINE" 15, "RECT" 16,
// "ROUNDRECT" 17, "ELLIPSE" 18, "TRANS" 19, "BD" 20, "BS" 21, "GRAD" 22, "HAND1" 23,
// "HAND2" 24); the tool engine picks them by number.
// They are made for the pixel density of the screens (the tool cursors are 32 x 32 drawings).
void LoadToolCursors();
bool ToolCursorsLoaded();

// The cursor of `index`. Before LoadToolCursors, and for numbers it does not fill, a standard
// shape of the same kind (cross hair, pointing hand, text beam, open and closed hand).
QCursor ScreenCursor(std::uint8_t index);

// The picture of cursor `index` (5 to 24) for a screen of `dpr` device pixels per logical
// pixel: the drawing with each of its pixels a block of whole screen pixels, so that it stays
// sharp. Null for other numbers.
QPixmap ToolCursorPicture(std::uint8_t index, qreal dpr);

// The cursor number of tool 1..18 (0 for other values).
std::uint8_t ToolCursorIndex(std::uint8_t tool);

} // namespace glimt
