#pragma once
#include <QIcon>
#include <QPixmap>
#include <string_view>

class QLabel;

namespace glimt {

// The pictures the program draws for itself (none is read from a file): the glyphs of the tool
// window's buttons and the dialogs' header banner.

// The glyph of a button by its kind: the tools ("pencil", "brush", "eraser", "fill", "spray",
// "picker", "zoom", "line", "rect", "roundrect", "ellipse", "gradient", "selection", "crop",
// "text", "opacity", "brighten", "blur"), the commands ("flipvert", "fliphoriz", "rotateleft",
// "rotateright", "left", "up", "down", "right") and the tool options ("size1" to "size7",
// "square", "round", "slash", "backslash", "outline", "outlinefill", "filled", "horizontal",
// "vertical"), the colour panel's "resetcolors" and "swapcolors", and the tool bar's "undo",
// "redo", "cut", "copy", "paste", "filteronalpha", "smooth" and "transsel". Drawn 16 pixels square (and twice that for dense screens) on a transparent
// ground. An unknown kind gives a null icon.
QIcon ButtonGlyph(std::string_view kind);

// The header banner of the dialogs, 541 x 49: white where the header's texts stand, the
// decoration at its right end. Drawn once.
const QPixmap& DialogBanner();

// Shows the banner in a header's picture `image`, right-aligned across a header strip
// `width` pixels wide and beneath the header's texts.
void ShowDialogBanner(QLabel* image, int width);

} // namespace glimt
