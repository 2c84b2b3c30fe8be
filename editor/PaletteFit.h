#pragma once
class TmyImagePal;

namespace glimt {

// Brings a changed image of 1, 4 or 8 bits back to a palette as the settings say: the
// palette-action setting, or the change-palette question when it is 2 (ask). Answer 0
// re-quantizes the image to its own depth with a new palette; any other answer maps every
// pixel to the palette it has. Images of 24 and 32 bits are left alone. Returns true when the
// image was fitted (its pixels or palette may have changed).
bool ApplyPaletteAction(TmyImagePal& image);

// The answer ApplyPaletteAction works with: the palette-action setting, or the change-palette
// question when it is 2 (ask).
int PaletteActionAnswer();
// The fitting of ApplyPaletteAction with that answer already given (any depth below 24).
void FitToPalette(TmyImagePal& image, int answer);

} // namespace glimt
