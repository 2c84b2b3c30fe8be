#pragma once
#include "engine/MyImage.h"

// Colour-depth change and palette mapping of images. Plain routines without state.
class TPaletteLibrary {
public:
    // Every pixel := the nearest colour of the image's own palette (alpha kept). An image
    // without a palette is left as it is.
    static void MapToOwnPalette(TmyImagePal& image);
    // The same with a given palette; the image's own palette is not touched.
    static void MapToPalette(TmyImagePal& image, const TmyPalette& palette);
    // Changes the image in place to 1, 4 or 8 bits (octree palette, pixels mapped to it) or to
    // 24 or 32 bits (no palette, alpha settled), and sets BitDepth. Throws
    // std::invalid_argument for any other depth, leaving the image unchanged.
    static void ConvertImageDepth(TmyImagePal& image, int bits);
};
