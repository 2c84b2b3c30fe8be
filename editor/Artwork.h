#pragma once
#include <QIcon>
#include <QPixmap>
#include <string_view>

namespace glimt {

// The pictures the program draws for itself (none is read from a file): the glyphs of the tool
// window's buttons and the dialogs' header banner.

// The glyph of a button by its kind: the tools ("pencil", "brush", "eraser", "fill", "spray",
// "picker", "zoom", "line", "rect", "roundrect", "ellipse", "gradient", "selection", "crop",
// "text", "opacity", "brighten", "blur"), the commands ("flipvert", "fliphoriz", "rotateleft",
// "rotateright", "left", "up", "down", "right") and the tool options ("size1" to "size7",
// "square", "round", "slash", "backslash", "outline", "outlinefill", "filled", "horizontal",
// "vertical"), the colour panel's "resetcolors" and "swapcolors", and the tool bar's "undo",
// "redo", "cut", "copy", "paste", "filteronalpha", "smooth" and "transsel". Drawn on a
// transparent ground for every size and pixel density asked of it (designed at 16 pixels). An unknown kind gives a null icon.
QIcon ButtonGlyph(std::string_view kind);

// The header banner of the dialogs for a strip `size` logical pixels large on a screen of
// `dpr` device pixels per logical pixel (the pixmap carries that ratio): white where the
// header's texts stand, a decoration at its right end and a line along its bottom.
QPixmap DialogBanner(QSize size, qreal dpr);

} // namespace glimt
