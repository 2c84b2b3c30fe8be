#pragma once
#include "engine/MyFilter.h"

#include <functional>

class TfrmDesk;
class TmyImagePal;
class tmyselection;

// What the effect commands and the effect dialogs share: the choice of the image an effect
// works on, the one road by which a change reaches a document, and the operation behind each
// effect tag. Nothing here opens a window; the host and the tool engine are reached through
// glimt::EditorHost() and glimt::ToolEngine().
namespace glimt {

// The image an effect works on: the floating selection's picture when the selection belongs
// to the active document, else the current image of the active document.
struct TEffectTarget {
    TfrmDesk* Desk = nullptr;          // the active document window; null when none is open
    tmyselection* Selection = nullptr; // set when the target is the floating selection
    TmyImagePal* Image = nullptr;      // what to change; null when there is nothing to change

    explicit operator bool() const { return Image != nullptr; }
    bool OnSelection() const { return Selection != nullptr; }
};

// Resolves the target once, from the installed host and tool engine.
TEffectTarget ActiveEffectTarget();

// The document is about to change its current image: the undo snapshot of that image, the
// document marked unsaved, the host's undo actions refreshed. Every whole-image command goes
// through here before it changes the image.
void BeginImageChange(TfrmDesk& desk);

// Runs `operation` on the target under the busy cursor, with the follow-up of its kind.
// On the floating selection: its first-lifted copy takes the changed pixels (so that a later
// resize keeps the change) and the layer is redrawn; no undo snapshot, the saved state stays.
// On the current image: BeginImageChange first; afterwards, with `fitPalette`, a paletted
// image is fitted back to a palette (ApplyPaletteAction); the canvas is redrawn (and
// re-centred when the size changed) and the tool windows show the image.
void ChangeEffectTarget(const TEffectTarget& target, const std::function<void(TmyImagePal&)>& operation,
                        bool fitPalette);

// The effect tags 1..50 of the main window's effect actions, and 0, the custom kernel.
constexpr int kLastEffectTag = 50;

// The preset kernel index a tag applies (tags 12..40), or -1.
int EffectPresetIndex(int tag);
// Whether the dispatcher fits a paletted image back to a palette after the tag's operation:
// the colour operations 1..11 settle the palette themselves.
bool EffectFitsPalette(int tag);
// Runs the operation of `tag` on `image`; `custom` is the kernel of tag 0. Tags outside
// 0..50 do nothing.
void ApplyEffectTag(int tag, TmyImagePal& image, const TFilterKernel& custom, bool filterOnAlpha);

} // namespace glimt
