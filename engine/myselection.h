#pragma once
#include "engine/MyImage.h"

#include <cstdint>

// A rectangle in image pixels; right and bottom are exclusive. Empty when Right <= Left or
// Bottom <= Top.
struct TSelectionRect {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const TSelectionRect&, const TSelectionRect&) = default;
};

// The floating selection: pixels lifted out of an image, kept as first lifted (OriginalImage)
// and as shown and stamped (Image, a resized copy after ResizeTo), with its rectangle, whether
// it floats in front of or behind the image, and the document it belongs to. Both images are
// 32 bits without a palette.
class tmyselection {
public:
    bool InFront = true;
    TmyImagePal OriginalImage{1, 1, 32};
    TmyImagePal Image{1, 1, 32};
    TSelectionRect Bounds;
    // Slot (1-20) of the document window the selection belongs to; kept by the editor.
    std::uint8_t DocumentSlot = 0;

    void SetBounds(int left, int top, int right, int bottom) { Bounds = {left, top, right, bottom}; }
    void ClearRect() { Bounds = {}; }
    bool IsEmpty() const { return Bounds.Right <= Bounds.Left || Bounds.Bottom <= Bounds.Top; }

    // The size of the pixels as first lifted.
    int GetWidth() const { return OriginalImage.Width(); }
    int GetHeight() const { return OriginalImage.Height(); }

    // Lifts the Bounds rectangle (corners in either order) out of an image; the image is not
    // changed. The rectangle is first cut to the image and Bounds becomes the part kept; when
    // nothing of it lies inside the image, nothing changes and the result is false.
    bool GrabFrom(const TmyImagePal& image);
    // Image := OriginalImage resized to Width x Height. Every resize starts from the pixels as
    // first lifted, so repeated resizing loses nothing.
    void ResizeTo(int width, int height);
    // Writes Image into an image with its top-left corner at (X, Y); what falls outside the
    // image is skipped. In front, the selection is laid over the image (composited when
    // TOptions.TransparentSelection is set, else copied as it is); behind, the image is laid
    // over the selection. Below 32 bits the result's alpha becomes 0 (A <= 128) or 255, and
    // transparent results are 0, 0, 0, 0. The selection's own pixels never change, since a
    // drag stamps the same selection again and again.
    void StampInto(int X, int Y, TmyImagePal& image) const;
};
