#pragma once
#include "engine/MyImage.h"
#include "engine/MyPainter.h"

#include <QImage>
#include <QSize>
#include <QString>

// What the colour panel computes, kept apart from its widgets so that tests reach it without a
// window: the pictures it shows (spectrum, favourites, palette grid, swatches), the rules of its
// number edits, its status text, and the two ways it edits a paletted image.
namespace glimt {

// The colour with alpha 255 (palette entries are opaque).
constexpr TmyPixel Opaque(TmyPixel p)
{
    p.A = 255;
    return p;
}

// --- pictures ----------------------------------------------------------------------------
constexpr int kSpectrumSize = 160;
constexpr int kFavoriteColumns = 5;
constexpr int kFavoriteRows = 6;
constexpr int kFavoriteCell = 12;
constexpr int kPaletteColumns = 16;
constexpr int kPaletteCell = 10;

// The 160 x 160 spectrum (Format_RGB32): the hue runs down the rows from red in the top row
// through yellow, green, cyan, blue and magenta back to red in the bottom row; each row runs
// from black at the left edge through the full hue at x = 80 to white at the right edge.
QImage SpectrumPicture();

// The 30 default favourite colours, by cell index (row x 5 + column).
TColor DefaultFavoriteColor(int index);
// The 60 x 72 favourites picture (Format_RGB32) with the defaults, one 12 x 12 cell each.
QImage DefaultFavoritesPicture();
// The favourites picture stored in `path` (a Windows bitmap of 60 x 72). A missing or
// unreadable file, or a bitmap of another size, gives the defaults.
QImage LoadFavoritesFile(const QString& path);
// Writes the favourites picture as a 24-bit Windows bitmap, replacing `path` only once the new
// file is complete. Throws glimt::FileError, leaving the old file as it was.
void SaveFavoritesFile(const QImage& picture, const QString& path);
// Fills cell `index` (0..29) of the favourites picture; other indexes change nothing.
void FillFavoriteCell(QImage& picture, int index, TColor color);

// The palette grid of `count` entries, 16 columns of 10 x 10 cells: ((count - 1) mod 16) x 10
// + 10 wide and ((count - 1) div 16) x 10 + 10 high; empty for no entries.
QSize PaletteGridSize(int count);
QImage PaletteGridPicture(const TmyPalette& palette);
// The entry under grid pixel (x, y), or -1 outside the entries of a grid of `count`.
int PaletteGridIndex(int x, int y, int count);

// A swatch (Format_RGB32) showing `color`: opaque, the colour; otherwise the colour blended
// over the checkerboard, each channel ((255 - A) x checker + A x colour) shr 8. The last row and
// column are left as they are.
void DrawSwatch(QImage& swatch, const TmyPixel& color, const Checkerboard& board);

// --- number edits ----------------------------------------------------------------------------
// The text an edit of range 0..max keeps: only its digits (pasted text may hold others); empty
// becomes "0"; more than three digits or a value above max becomes max.
QString ClampEditText(const QString& text, int max);

// --- status line ----------------------------------------------------------------------------
// "R:%d G:%d B:%d   H:%d S:%d B:%d" with the translated channel labels; a grey's hue shows 0.
QString ColorStatusText(const TmyPixel& color);

// --- paletted images ---------------------------------------------------------------------------
// Both colours put on palette entries. The foreground colour keeps its entry when it equals
// one (entry `selected` when that equals it, else the first equal one); else it becomes entry
// 0. The background colour becomes the last entry unless it equals one. Entries are opaque.
struct TPaletteFit {
    TmyPixel Fore;
    TmyPixel Back;
    int ForeIndex = -1; // the entry the foreground colour is on; -1 for an empty palette
    bool BackMoved = false;
};
TPaletteFit FitColorsToPalette(const TmyPalette& palette, const TmyPixel& fore, const TmyPixel& back, int selected);

// The foreground colour of a paletted image changed from `oldColor` to `newColor` while entry
// `index` was selected: that entry takes the new colour (opaque); when no other entry held the
// old colour, every pixel of the old colour follows it (when several did, the pixels cannot
// tell which entry they belong to and keep their colours). Nothing when the image has no
// palette, no entry is selected (index outside the palette), the colours are equal, or either
// is transparent. Returns true when pixels were rewritten.
bool ReplacePaletteEntry(TmyImagePal& image, int index, const TmyPixel& oldColor, const TmyPixel& newColor);

// Loads the palette file into the image's palette and maps the image's pixels to it. A file
// error is thrown after the mapping (the palette keeps what was read). Images without a palette
// are left alone.
void LoadPaletteInto(TmyImagePal& image, const QString& fileName);

// True when the two images differ in anything a palette edit can change (pixels or palette).
bool PaletteEditChanged(const TmyImagePal& before, const TmyImagePal& after);

} // namespace glimt
