#include "editor/Effects.h"

#include "editor/EditorHost.h"
#include "editor/PaletteFit.h"
#include "editor/formDesk.h"
#include "engine/Prompts.h"
#include "engine/myUndo.h"
#include "engine/myadjustments.h"
#include "engine/myselection.h"

#include <array>

namespace glimt {

TEffectTarget ActiveEffectTarget()
{
    TEffectTarget target;
    IEditorHost* host = EditorHost();
    target.Desk = host ? host->ActiveDesk() : nullptr;
    if (!target.Desk)
        return target;
    IToolEngine* tools = ToolEngine();
    tmyselection* selection = tools ? tools->Selection() : nullptr;
    if (selection && !selection->IsEmpty() && selection->DocumentSlot != 0 &&
        selection->DocumentSlot == host->ActiveSlot()) {
        target.Selection = selection;
        target.Image = &selection->Image;
    } else {
        target.Image = target.Desk->CurrentImage();
    }
    return target;
}

void BeginImageChange(TfrmDesk& desk)
{
    // The document window's own choke point, which its strokes and the colour panel use too.
    desk.BeginImageChange();
}

void ChangeEffectTarget(const TEffectTarget& target, const std::function<void(TmyImagePal&)>& operation,
                        bool fitPalette)
{
    if (!target)
        return;
    const BusyGuard busy;
    TmyImagePal& image = *target.Image;
    if (target.OnSelection()) {
        const int width = image.Width(), height = image.Height();
        operation(image);
        target.Selection->OriginalImage = image;
        if (TfrmDesk* desk = target.Desk; desk && desk->ImgSel) {
            // A quarter turn turns the layer with the picture.
            if ((image.Width() != width || image.Height() != height) && !desk->ImgSel->isHidden()) {
                desk->ImgSel->SetCanvasSize(image.Width() * desk->Zoom, image.Height() * desk->Zoom);
                desk->PlaceHandles();
            }
            desk->RefreshSelection();
            if (IEditorHost* host = EditorHost())
                host->DocumentShown(desk);
        }
        return;
    }
    TfrmDesk& desk = *target.Desk;
    BeginImageChange(desk);
    const int width = image.Width(), height = image.Height();
    operation(image);
    if (fitPalette)
        ApplyPaletteAction(image);
    desk.ShowImage(image);
    if (image.Width() != width || image.Height() != height) {
        // A quarter turn: the image list names the image by its size.
        desk.FillImageCombo(false);
        desk.CenterImage();
    }
    if (IEditorHost* host = EditorHost())
        host->DocumentShown(&desk);
}

namespace {

// Answers the palette question itself and hands every other question on.
class TPaletteChangeAnswer : public IPrompts {
public:
    explicit TPaletteChangeAnswer(int choice) : m_choice(choice) {}
    void Message(TMsgKind kind, const QString& text) override { m_next.Message(kind, text); }
    bool Confirm(const QString& text) override { return m_next.Confirm(text); }
    int AskChangePalette() override { return m_choice; }
    int AskImageTooBig() override { return m_next.AskImageTooBig(); }
    bool PickGifFrames(const QString& fileName, int width, int height, int depth) override
    {
        return m_next.PickGifFrames(fileName, width, height, depth);
    }

private:
    int m_choice;
    IPrompts& m_next = Prompts();
};

} // namespace

int EffectPresetIndex(int tag)
{
    // Tags 12..40 in order; each names the preset of the same name ("Shake" is stored after
    // "Shake Less").
    static constexpr std::array<int, 29> presets = {0,  1,  2,  3,  19, 4,  5,  6,  7,  12, 13, 14, 15, 16, 17,
                                                    18, 8,  10, 9,  11, 20, 21, 22, 23, 24, 26, 25, 27, 28};
    return tag >= 12 && tag <= 40 ? presets[std::size_t(tag - 12)] : -1;
}

bool EffectFitsPalette(int tag)
{
    return tag == 0 || tag >= 12;
}

void ApplyEffectTag(int tag, TmyImagePal& image, const TFilterKernel& custom, bool filterOnAlpha)
{
    using namespace TmyAdjustments;
    if (const int preset = EffectPresetIndex(tag); preset >= 0) {
        TmyFilter::ApplyFilterKernel(image, FilterPresets[std::size_t(preset)], filterOnAlpha);
        return;
    }
    switch (tag) {
    case 0: TmyFilter::ApplyFilterKernel(image, custom, filterOnAlpha); break;
    case 1: {
        // Grey never asks about the palette: its palette step loses nothing (every entry
        // turned grey is what its pixels became), so "ask" takes the palette change.
        TPaletteChangeAnswer answer(0);
        const ScopedPrompts scoped(&answer);
        ColorizeImage(image, 0);
        break;
    }
    case 2: InvertImage(image); break;
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8: ColorizeImage(image, tag - 2); break;
    case 9:
    case 10:
    case 11: SwapChannels(image, tag - 8); break;
    case 41: FlipHorizontal(image); break;
    case 42: FlipVertical(image); break;
    case 43: RotateLeft90(image); break;
    case 44: RotateRight90(image); break;
    case 45:
        FlipHorizontal(image);
        FlipVertical(image);
        break;
    case 46: ShiftLeft(image, 1); break;
    case 47: ShiftRight(image, 1); break;
    case 48: ShiftUp(image, 1); break;
    case 49: ShiftDown(image, 1); break;
    case 50: TmyFilter::DropShadow(image); break;
    default: break;
    }
}

} // namespace glimt
