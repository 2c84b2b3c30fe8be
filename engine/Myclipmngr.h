#pragma once
#include "engine/Clipboard.h"
#include "engine/MyImage.h"

// The clipboard policy: images go to the clipboard as plain bitmaps over white (no alpha), and
// the last copied image is kept here at 32 bits, so that a paste inside the program gets the
// alpha back while the clipboard still holds that very picture.
class tmyClipMngr {
public:
    // The last image put on the clipboard; 1 x 1 transparent before the first copy.
    TmyImagePal OwnCopy{1, 1, 32};

    // `clipboard` is not owned and must outlive the manager.
    explicit tmyClipMngr(glimt::IClipboard& clipboard) : m_clipboard(clipboard) {}

    // OwnCopy := the image; the clipboard receives it rendered over white.
    void CopyImage(const TmyImagePal& image);
    // Fills `image` from the clipboard, fitted to TargetHeight x TargetWidth by the placement
    // rules of pictures (crop, resize or ask, TOptions.ClipboardAction), and `original` with a
    // copy of the result. Our own copy comes back with its alpha; any other picture comes in
    // opaque. The image is made 32 bits first. False, with nothing changed, when the clipboard
    // holds no picture or one larger than TmyImage::MaxPixels.
    bool PasteImage(TmyImagePal& image, TmyImagePal& original, int TargetHeight, int TargetWidth);
    // True when the two pictures have the same size and the same colour at every pixel.
    static bool SameAsOwnCopy(const QImage& bitmap, const QImage& graphic);

private:
    glimt::IClipboard& m_clipboard;
};
