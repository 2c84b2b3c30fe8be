#include "editor/SelectionDrop.h"

#include "editor/EditorHost.h"
#include "editor/MyScroll.h"
#include "editor/ToolEngine.h"
#include "editor/formDesk.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace glimt {

TSelectionDropTarget FindSelectionDropTarget(const TfrmDesk& source, QPoint global)
{
    const auto* frame = qobject_cast<const QMdiSubWindow*>(source.parentWidget());
    const QMdiArea* area = frame ? frame->mdiArea() : nullptr;
    if (!area)
        return {};
    const QWidget* viewport = area->viewport();
    const QPoint p = viewport->mapFromGlobal(global);
    if (!viewport->rect().contains(p))
        return {};
    const QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::StackingOrder);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        const QMdiSubWindow* w = *it;
        if (!w->isVisible() || !w->geometry().contains(p))
            continue;
        auto* desk = qobject_cast<TfrmDesk*>(w->widget());
        if (!desk || desk == &source || desk->Closing || !desk->Image1)
            return {};
        // Only the visible part of the canvas accepts the drop.
        const QWidget* box = desk->ScrollBox1->viewport();
        const QPoint onCanvas = desk->Image1->mapFromGlobal(global);
        if (!desk->Image1->rect().contains(onCanvas) || !box->rect().contains(box->mapFromGlobal(global)))
            return {};
        return {TSelectionDropTarget::Desk, desk, onCanvas};
    }
    return {TSelectionDropTarget::WorkArea, nullptr, {}};
}

void MoveSelectionToDesk(int slot, int X, int Y)
{
    IEditorHost* host = EditorHost();
    IToolEngine* tools = ToolEngine();
    TfrmDesk* target = host ? host->Desk(slot) : nullptr;
    if (!target || !tools || tools->SelectionDocumentSlot() == 0)
        return;
    if (TfrmDesk* holder = host->Desk(tools->SelectionDocumentSlot()))
        holder->HideSelectionHandles();
    target->ActivateDocument();
    tools->AssignSelectionToDocument(slot);
    const int zoom = std::max<int>(1, target->Zoom);
    target->ImgSel->move(target->Image1->pos() + QPoint(X / zoom * zoom, Y / zoom * zoom));
    target->ShowSelectionHandles();
    if (const TmyImagePal* image = tools->SelectionImage())
        target->ResizeSelection(image->Width(), image->Height());
    host->UpdateClipboardActions();
}

bool DropSelectionOnWorkArea()
{
    IEditorHost* host = EditorHost();
    IToolEngine* tools = ToolEngine();
    if (!host || !tools || tools->SelectionDocumentSlot() == 0)
        return false;
    tools->PressToolButton(toolSelection);
    const TmyImagePal* selection = tools->SelectionImage();
    if (!selection)
        return false;
    const TmyImagePal blank(selection->Height(), selection->Width(), selection->BitDepth);
    if (!host->CreateDocumentFromImage(blank))
        return false;
    MoveSelectionToDesk(host->ActiveSlot(), 0, 0);
    return true;
}

} // namespace glimt
