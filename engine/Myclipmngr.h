#pragma once
#include "engine/Clipboard.h"
#include "engine/MyImage.h"

// The clipboard policy: images go to the clipboard as plain bitmaps over white (no alpha), and
// the last copied image is kept here at 32 bits, so that a paste inside the program gets the
// alpha back while the clipboard still holds that very picture. Pictures of other programs
// bring their own alpha (see PasteImage).
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
    // copy of the result. The image is made 32 bits first. Our own copy comes back with its
    // alpha. A picture of another program keeps the alpha it carries (programs on Linux put
    // real alpha on the clipboard), except that one whose alpha bytes are all 0 comes in
    // opaque, as a bitmap file does: its fourth byte is padding. A picture without an alpha
    // channel comes in opaque. False, with nothing changed, when the clipboard holds no
    // picture or one larger than TmyImage::MaxPixels.
    bool PasteImage(TmyImagePal& image, TmyImagePal& original, int TargetHeight, int TargetWidth);
    // True when the two pictures have the same size and the same colour at every pixel.
    static bool SameAsOwnCopy(const QImage& bitmap, const QImage& graphic);

private:
    glimt::IClipboard& m_clipboard;
};
