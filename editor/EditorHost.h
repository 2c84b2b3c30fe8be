#pragma once
#include <QString>
#include <cstdint>

class QWidget;
class TfrmDesk;
class TThumbail;
class TmyImagePal;
class tmyselection;

namespace glimt {

// What the editor's windows and tools may ask of the main window. The shell's main window
// implements it; editor code never includes shell headers. Tests install fakes.
class IEditorHost {
public:
    virtual ~IEditorHost() = default;
    // The active document window (Desks[ActiveSlot]), or null when none is open.
    virtual TfrmDesk* ActiveDesk() = 0;
    // Open document windows are numbered 1..DeskCount().
    virtual int DeskCount() = 0;
    virtual TfrmDesk* Desk(int slot) = 0;
    virtual void UpdateUndoActions() = 0;
    virtual void UpdateClipboardActions() = 0;
    virtual void UpdateImageNavActions() = 0;
    // Text of a panel of the main window's status bar.
    virtual void SetStatusText(int panel, const QString& text) = 0;
    // Opens a new "Untitled" document whose first image is a copy of `image`; false when no
    // further document window can be opened (the host reports that itself).
    virtual bool CreateDocumentFromImage(const TmyImagePal& image) = 0;
    // A new, still hidden document window made the active one; false (after the message) when
    // no further window can be opened. `Caption` is a file path, or exactly "Untitled".
    virtual bool CreateDocumentWindow(const QString& Caption) { (void)Caption; return false; }
    // The main window, as parent for dialogs; may be null in tests.
    virtual QWidget* MainWidget() = 0;

    // Slot (1..20) of the active document window, 0 when none.
    virtual int ActiveSlot() { return 0; }
    // Records the document window of `slot` as the active one.
    virtual void SetActiveSlot(int slot) { (void)slot; }
    // Runs the main window's action of that object name ("actnSave", "actnnewimage",
    // "actndelimage", "actDropSelection", "actnDel") through its command wrapper.
    virtual void ExecuteAction(const QString& actionName) { (void)actionName; }
    // The document window of `slot` has agreed to close and leaves its slot.
    virtual void ReleaseDocumentWindow(int slot) { (void)slot; }
    // A document window refused to close (Cancel on its save question): a running Close All
    // or shut-down stops.
    virtual void CloseRefused() {}
    // The tool actions are disabled while a mouse button is down on a canvas.
    virtual void DisableToolActions() {}
    virtual void EnableToolActions() {}
    virtual void BuildWindowMenu() {}
    // A document window became active, or its current image changed as a whole: the tool
    // windows (preview, colour panel, brush preview) show `desk`'s current image.
    virtual void DocumentShown(TfrmDesk* desk) { (void)desk; }
    // The preview window shows `desk`'s current image again (with its floating selection), when
    // `desk` is the active document.
    virtual void ShowPreview(TfrmDesk* desk) { (void)desk; }
    // Tiles of a view (the explorer's) dropped on the canvas of `Desk`: the first selected
    // file becomes a floating selection there.
    virtual void DropThumbnailOnDocument(const TThumbail& Thumbnails, TfrmDesk* Desk)
    {
        (void)Thumbnails;
        (void)Desk;
    }
    // Fits a changed image of 1, 4 or 8 bits back to a palette as TOptions.PaletteAction says
    // (a new palette, the present one, or the question); other depths are left alone.
    virtual void ApplyPaletteAction(TmyImagePal& image);
};

// The tool engine as the document window sees it. The tool window implements it.
class IToolEngine {
public:
    virtual ~IToolEngine() = default;
    // The current tool number (1..18, 0 none).
    virtual std::uint8_t CurrentTool() const = 0;
    // One mouse event of the active document's canvas: X, Y in canvas pixels; Button 0 left,
    // 1 right, 2 none; Code 2 press, 1 move, 0 release, 3 release after Escape.
    virtual void DispatchToolEvent(int X, int Y, std::uint8_t button, bool shift, std::uint8_t code) = 0;
    // The single floating selection (never null while the engine exists).
    virtual tmyselection* Selection() = 0;
    // Re-applies the current tool's cursor and brush outline (after a document window opens,
    // or the zoom or the active document changes).
    virtual void ApplyToolCursor() = 0;
    virtual void UpdateBrushPreview() = 0;

    // Slot of the document the floating selection belongs to; 0 when it is empty.
    virtual int SelectionDocumentSlot() { return 0; }
    // Merges the floating selection into its document's image.
    virtual void DropSelection() {}
    // The floating selection's shown image and whether it lies in front of the image; null
    // when there is no selection.
    virtual const TmyImagePal* SelectionImage() { return nullptr; }
    virtual bool SelectionInFront() { return true; }
    // Resamples the floating selection to width x height cells from its pixels as first lifted
    // and redraws the selection layer.
    virtual void ResizeSelection(int width, int height) { (void)width; (void)height; }
    // The floating selection now belongs to the document of `slot` and floats in front of it.
    virtual void AssignSelectionToDocument(int slot) { (void)slot; }
    // Sizes the active document's selection layer to the selection image at its zoom and
    // redraws it, when the layer shows or `force` is set.
    virtual void ShowSelectionLayer(bool force) { (void)force; }
    // Chooses tool 1..18 as a click of its button does and holds the button down.
    virtual void PressToolButton(std::uint8_t tool) { (void)tool; }
};

// The installed host and tool engine (null until installed). Not owned.
IEditorHost* EditorHost();
void SetEditorHost(IEditorHost* host);
IToolEngine* ToolEngine();
void SetToolEngine(IToolEngine* engine);

} // namespace glimt
