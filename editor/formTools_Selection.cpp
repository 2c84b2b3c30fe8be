// The tool window's services around the floating selection: lifting, merging, showing and
// resampling it, and handing it to another document.
#include "editor/formTools.h"

#include "editor/KeyState.h"
#include "editor/PaletteFit.h"
#include "editor/TextEntry.h"
#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "engine/Settings.h"
#include "engine/language.h"

namespace {

// The cell of the current image under the top-left corner of a window's selection layer.
QPoint LayerCell(const TfrmDesk& desk)
{
    const int zoom = std::max<int>(1, desk.Zoom);
    const QPoint d = desk.ImgSel->pos() - desk.Image1->pos();
    return QPoint(d.x() / zoom, d.y() / zoom);
}

} // namespace

int TfrmTools::SelectionDocumentSlot()
{
    return m_selection.IsEmpty() ? 0 : m_selection.DocumentSlot;
}

const TmyImagePal* TfrmTools::SelectionImage()
{
    return m_selection.IsEmpty() ? nullptr : &m_selection.Image;
}

void TfrmTools::AssignSelectionToDocument(int slot)
{
    m_selection.DocumentSlot = std::uint8_t(slot);
    m_selection.InFront = true;
}

void TfrmTools::ResizeSelection(int width, int height)
{
    if (m_selection.IsEmpty())
        return;
    m_selection.ResizeTo(width, height);
    ShowSelectionLayer(true);
}

void TfrmTools::ShowSelectionLayer(bool force)
{
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    TmyImagePal* image = desk ? desk->CurrentImage() : nullptr;
    if (!image || m_selection.IsEmpty() || (!force && !desk->ImgSel->isVisible()))
        return;
    const int zoom = std::max<int>(1, desk->Zoom);
    desk->ImgSel->SetCanvasSize(m_selection.Image.Width() * zoom, m_selection.Image.Height() * zoom);
    desk->RenderSelection(*image, m_selection.Image, m_selection.InFront, false, desk->ImgSel);
}

void TfrmTools::LiftSelection(int X1, int Y1, int X2, int Y2)
{
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    TmyImagePal* image = desk ? desk->CurrentImage() : nullptr;
    if (!image || !glimt::LiftRectangle(m_selection, *image, X1, Y1, X2, Y2))
        return;
    m_selection.DocumentSlot = std::uint8_t(desk->Tag);
    ShowLiftedSelection(*desk);
}

void TfrmTools::ShowLiftedSelection(TfrmDesk& desk)
{
    const int zoom = std::max<int>(1, desk.Zoom);
    desk.ImgSel->move(desk.Image1->pos() + QPoint(m_selection.Bounds.Left, m_selection.Bounds.Top) * zoom);
    // Shown before it is drawn, so that the preview drawn with it stamps it in.
    desk.ShowSelectionHandles();
    ShowSelectionLayer(true);
}

TfrmText* TfrmTools::TextDialog()
{
    if (!m_frmText) {
        glimt::IEditorHost* host = glimt::EditorHost();
        m_frmText = new TfrmText(host && host->MainWidget() ? host->MainWidget() : this);
    }
    return m_frmText;
}

void TfrmTools::FillSelectionContext(glimt::TToolContext& c, TfrmDesk& desk)
{
    c.Selection = &m_selection;
    c.Icon = desk.Icon.get();
    c.Slot = desk.Tag;
    c.AltDown = IsAltDown();
    c.BeforeImageChange = [&desk, image = c.Paint.Image] {
        if (desk.Undo)
            desk.Undo->Push(*image);
        desk.Saved = false;
        if (glimt::IEditorHost* host = glimt::EditorHost())
            host->UpdateUndoActions();
    };
    // A merge needs the palette question when the selection's own document is below 24 bits
    // with another palette than the selection's and the settings say to ask.
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* owner = host && !m_selection.IsEmpty() ? host->Desk(m_selection.DocumentSlot) : nullptr;
    const TmyImagePal* target = owner ? owner->CurrentImage() : nullptr;
    c.DropNeedsQuestion = target && target->BitDepth < 24 && Options().PaletteAction == 2
        && (!m_selection.Image.Palette || !target->Palette || *m_selection.Image.Palette != *target->Palette);
}

void TfrmTools::ApplySelectionResult(TfrmDesk& desk, const glimt::TToolResult& r, std::uint8_t button)
{
    glimt::IEditorHost* host = glimt::EditorHost();
    if (r.ReleaseStrokeAndDrop) {
        desk.EndStroke();
        if (TfrmDesk* owner = host ? host->Desk(m_selection.DocumentSlot) : nullptr)
            owner->ActivateDocument();
        DropSelection();
    }
    if (r.DropSelection)
        DropSelection();
    if (r.SelectionLifted)
        ShowLiftedSelection(desk);
    if (r.ImageCropped) {
        TmyImagePal* image = desk.CurrentImage();
        desk.ShowImage(*image);
        if (host)
            host->DocumentShown(&desk);
        desk.CenterImage();
        desk.FillImageCombo(true);
    }
    if (r.CropRefused)
        glimt::UserDialogs().Warning(glimt::Msg("msgNotUnique", "There is already an image with this format in the icon!"));
    if (r.TextRequested)
        TextToolEvent(desk, r.Cell, button);
    if (r.ClipboardChanged && host)
        host->UpdateClipboardActions();
}

void TfrmTools::TextToolEvent(TfrmDesk& desk, QPoint cell, std::uint8_t button)
{
    glimt::TTextChoice text;
    const bool accepted = AskText ? AskText(text) : TextDialog()->Execute(text);
    if (!accepted || text.Text.isEmpty())
        return;
    DropSelection();
    const TmyPixel fore = m_colors ? m_colors->ForeColor() : ForeColor;
    const TmyPixel back = m_colors ? m_colors->BackColor() : BackColor;
    if (!glimt::FloatText(m_selection, text, button, fore, back, Options().SmoothEdges, desk.Tag))
        return;
    const int zoom = std::max<int>(1, desk.Zoom);
    desk.ImgSel->move(desk.Image1->pos() + cell * zoom);
    desk.ShowSelectionHandles();
    ShowSelectionLayer(true);
    if (glimt::IEditorHost* host = glimt::EditorHost())
        host->UpdateClipboardActions();
}

void TfrmTools::DropSelection()
{
    if (m_selection.IsEmpty())
        return;
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->Desk(m_selection.DocumentSlot) : nullptr;
    TmyImagePal* image = desk ? desk->CurrentImage() : nullptr;
    if (!image) {
        // The document it belonged to is gone: nothing to merge into.
        m_selection.ClearRect();
        return;
    }
    if (desk->Undo)
        desk->Undo->Push(*image);
    desk->Saved = false;
    host->UpdateUndoActions();

    // Below 24 bits the merged colours go back to a palette; the question, when the settings
    // ask it, comes before the image changes.
    bool requantize = false;
    const bool paletted = image->BitDepth < 24;
    if (paletted && (!m_selection.Image.Palette || !image->Palette || *m_selection.Image.Palette != *image->Palette))
        requantize = glimt::PaletteActionAnswer() == 0;

    const QPoint cell = LayerCell(*desk);
    m_selection.StampInto(cell.x(), cell.y(), *image);
    m_selection.ClearRect();
    desk->HideSelectionHandles();
    if (paletted)
        glimt::FitToPalette(*image, requantize ? 0 : 1);
    desk->ShowImage(*image);
    desk->UpdateThumbnail();
    host->DocumentShown(desk);
    Engine.JustDropped = true;
}
