#pragma once
#include "editor/formDesk.h"
#include "engine/MyIcon.h"
#include "engine/myselection.h"
#include "tests/editor/DeskFakes.h"

#include <QApplication>

namespace glimt::test {

// A tool engine with a real floating selection.
class SelectionTools : public FakeTools {
public:
    tmyselection Floating;
    tmyselection* Selection() override { return &Floating; }
};

// One document window in slot 1 holding `image`, with a host and a tool engine installed for
// the effect dialogs to find.
struct EffectDialogEnv {
    FakeHost host;
    SelectionTools tools;
    TfrmDesk desk;

    explicit EffectDialogEnv(const TmyImagePal& image)
    {
        SetEditorHost(&host);
        SetToolEngine(&tools);
        desk.Icon->AddImageCopy(image);
        desk.Icon->Current = 0;
        desk.Tag = 1;
        host.Active = &desk;
        host.Slot = 1;
        desk.ShowImage(*desk.CurrentImage());
    }
    ~EffectDialogEnv()
    {
        desk.Saved = true;
        SetEditorHost(nullptr);
        SetToolEngine(nullptr);
    }
    EffectDialogEnv(const EffectDialogEnv&) = delete;
    EffectDialogEnv& operator=(const EffectDialogEnv&) = delete;

    TmyImagePal& Image() { return *desk.CurrentImage(); }

    // A floating selection of `picture` belonging to the document of `slot`.
    tmyselection& Float(const TmyImagePal& picture, int slot)
    {
        tmyselection& s = tools.Floating;
        s.Image = picture;
        s.OriginalImage = picture;
        s.SetBounds(0, 0, picture.Width(), picture.Height());
        s.DocumentSlot = std::uint8_t(slot);
        return s;
    }
};

// A 3 x 2 picture (3 wide) of distinct colours: opaque, one half-transparent pixel and one
// transparent pixel.
inline TmyImagePal SmallPicture(int depth = 32)
{
    TmyImagePal image(2, 3, depth);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.Pixel(x, y) = TmyPixel::CreateRGBA(std::uint8_t(60 * x + 20), std::uint8_t(100 * y + 30), 90, 255);
    if (depth == 32) {
        image.Pixel(1, 1).A = 128;
        image.Pixel(2, 1) = TmyPixel::CreateRGBA(0, 0, 0, 0);
    }
    return image;
}

} // namespace glimt::test
