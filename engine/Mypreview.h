#pragma once
#include "engine/MyImage.h"
#include "engine/MyPixel.h"

class QImage;

// Drawing images and single pixels into pictures: the preview window, thumbnails, the
// clipboard's bitmap and flattened export all see an image through these routines. A picture
// is a QImage; the widget that shows it repaints itself. Plain routines without state.
namespace TmyPreview {

// One pixel over the preview background (TOptions.PrevColor), blended by its alpha.
// Positions outside the picture are ignored, as are the other pixel routines'.
void DrawBlendedPixel(int x, int y, QImage& picture, const TmyPixel& pixel);
// One pixel as it stands, or the preview background where A = 0.
void DrawPalettePixel(int x, int y, QImage& picture, const TmyPixel& pixel);
// DrawBlendedPixel when Is32Bit, else DrawPalettePixel.
void PreviewPixel(int x, int y, QImage& picture, bool Is32Bit, const TmyPixel& pixel);

// The picture becomes a 24-bit (Format_RGB888) picture of the image's size: transparent pixels
// take the background, other pixels of a 32-bit image are blended over it, other depths show
// their colour with alpha ignored.
void RenderToImage(const TmyImagePal& image, QImage& picture, TColor background);

} // namespace TmyPreview

namespace glimt {

// The whole image magnified `zoom` times over the transparency checkerboard of the settings,
// the checkerboard measured in picture pixels. The picture becomes Format_RGB888 of
// zoom x width by zoom x height. 32-bit images: opaque pixels show their colour, all others
// (A = 0 included) are blended over the board; other depths show the board where A = 0 and
// their colour elsewhere. A zoom below 1 is taken as 1.
void RenderOverCheckerboard(const TmyImagePal& image, QImage& picture, int zoom);

} // namespace glimt
