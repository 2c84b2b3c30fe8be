#pragma once
#include "engine/GifCodec.h"
#include "engine/MyImage.h"

#include <functional>
#include <vector>

namespace glimt {

// Which pixels of the logical screen a picture of it is made of: picture pixel (i, j) shows
// screen pixel (Columns[i], Rows[j]). Both lists ascend. The whole screen, or a sample of it
// for a small picture (a thumbnail), so that a picture costs what it shows and not what the
// screen measures.
struct GifSampling {
    std::vector<int> Columns;
    std::vector<int> Rows;
    // Every pixel of the screen.
    static GifSampling Whole(const GifPicture& gif);
    // At most `side` pixels on the longer side, the screen's proportions kept; the whole screen
    // when it is no larger. Each picture pixel shows the screen pixel at its centre.
    static GifSampling Fitting(const GifPicture& gif, int side);
};

// Plays a GIF's frames onto one picture of the sampled screen that starts as (0, 0, 0, 0), as a
// viewer shows them: a frame is drawn, and before the next one its disposal is applied. Beside
// the picture it keeps only, for a frame that restores what lay under it, that part of the
// picture. The frame picker's tiles and the documents it makes both come from here, so a tile
// shows what its frame imports.
class GifComposer {
public:
    GifComposer(const GifPicture& gif, GifSampling sampling);

    // Draws frame `frame` once, at its own offset: every pixel it paints (an index that is not
    // the transparent one and that its colour table holds) takes the table's colour with alpha
    // 255; every other pixel keeps what it had. `thenDispose`: Dispose(frame) may follow, so a
    // frame that restores keeps what lies under it (false for the last frame of a picture).
    // Throws std::out_of_range for a frame the GIF does not have.
    void Draw(int frame, bool thenDispose = true);
    // The disposal of frame `frame` (the one drawn last): 2 clears its rectangle to
    // (0, 0, 0, 0), 3 puts back what lay there before it was drawn; others keep the picture.
    void Dispose(int frame);
    // Back to (0, 0, 0, 0) everywhere.
    void Clear();
    const TmyImage& Picture() const { return m_picture; }
    TmyImage TakePicture() { return std::move(m_picture); }

private:
    // The picture columns and rows that frame `f` covers: [i0, i1) x [j0, j1).
    struct Span {
        int i0, i1, j0, j1;
    };
    Span Covered(const GifFrame& f) const;

    const GifPicture& m_gif;
    GifSampling m_sampling;
    TmyImage m_picture;
    TmyImage m_under;        // the part under the last frame drawn, when it restores
    int m_underFrame = -1;   // which frame m_under belongs to
};

// Draws frame `frameIndex` of the GIF onto `bitmap` (which has the logical screen's size), as
// GifComposer::Draw does.
void ComposeGifFrame(TmyImage& bitmap, const GifPicture& gif, int frameIndex);

// The picture shown at frame `frameIndex`: with `overimpose`, frames 0 to frameIndex are drawn
// in turn with each earlier frame's disposal applied before the next one; without, only that
// frame is drawn.
TmyImage ComposeGifFrames(const GifPicture& gif, int frameIndex, bool overimpose, const GifSampling& sampling);
TmyImage ComposeGifFrames(const GifPicture& gif, int frameIndex, bool overimpose);

// The pictures of every frame in order, in one pass over the frames: `shown`(k, picture) gets
// what ComposeGifFrames(gif, k, overimpose, sampling) gives.
void ForEachGifFrame(const GifPicture& gif, bool overimpose, const GifSampling& sampling,
                     const std::function<void(int frame, const TmyImage& picture)>& shown);

} // namespace glimt
