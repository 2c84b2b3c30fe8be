#pragma once
#include "engine/GifCodec.h"
#include "engine/MyImage.h"

namespace glimt {

// Draws frame `frameIndex` of the GIF once, at its own offset, onto `bitmap` (which has the
// logical screen's size), clipped to the logical screen. Every pixel the frame paints (an index
// that is not the transparent one and that its colour table holds) takes the table's colour
// and alpha 255; every other pixel keeps what it had, alpha included. So the bitmap ends up
// opaque exactly where this frame, or anything drawn before, is solid.
void ComposeGifFrame(TmyImage& bitmap, const GifPicture& gif, int frameIndex);

// The picture shown at frame `frameIndex`, on a logical-screen bitmap that starts as
// (0, 0, 0, 0). With `overimpose`, frames 0 to frameIndex are drawn in turn and each earlier
// frame's disposal is applied before the next one is drawn (2 clears its rectangle to
// (0, 0, 0, 0), 3 restores what was there before it); without, only that frame is drawn.
TmyImage ComposeGifFrames(const GifPicture& gif, int frameIndex, bool overimpose);

} // namespace glimt
