// The tool windows of the main window: hosting them as child frames above the work area,
// the View actions that show and hide them, their part of the stored layout, and keeping
// them docked through the docking manager when they are moved or the work area changes.
#include "shell/formMain.h"

#include "editor/KeyState.h"
#include "editor/ToolFrame.h"
#include "editor/formTools.h"
#include "engine/Settings.h"

#include <QAction>
#include <QMdiArea>

namespace {

// The order in which the docking manager re-snaps after the window in a slot was moved: the
// moved window first, then the other tool windows.
constexpr std::uint8_t kSnapOrder[TDockMngr::SlotCount + 1][4] = {
    {}, {}, {2, 4, 3, 5}, {3, 2, 4, 5}, {4, 3, 2, 5}, {5, 2, 3, 4},
};

// Distance a window may lie inside the work area's right and bottom edges at most.
constexpr int kPullBack = 10;

bool IsToolSlot(int slot)
{
    return slot >= TDockMngr::SlotPreview && slot <= TDockMngr::SlotExplorer;
}

} // namespace

void TfrmMain::CreateDockingActions()
{
    QAction* a = AddAction("actnTools", tr("Tools"), QStringLiteral("View"), nullptr);
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T));
}

void TfrmMain::CreateToolWindows()
{
    glimt::InstallKeyStateFilter();
    m_panel1->installEventFilter(this);

    m_frmTools = new TfrmTools(this);
    glimt::SetToolEngine(m_frmTools);
    AddToolWindow(m_frmTools, TDockMngr::SlotTools, Action(QStringLiteral("actnTools")));
}

glimt::TToolFrame* TfrmMain::AddToolWindow(QWidget* window, int dockSlot, QAction* toggle)
{
    if (!window || !IsToolSlot(dockSlot) || m_toolFrames[std::size_t(dockSlot)])
        return nullptr;
    auto* frame = new glimt::TToolFrame(window, std::uint8_t(dockSlot), this);
    frame->hide();
    m_toolFrames[std::size_t(dockSlot)] = frame;
    frame->FormShow = [this, frame] {
        frame->SaveDockRect();
        DockMngr.RegisterWindow(frame->Slot(), &frame->DockRect);
        UpdateDocking();
    };
    frame->FormHide = [this, frame, toggle] {
        // The close box: the View action follows the window.
        if (toggle && toggle->isChecked())
            toggle->trigger();
        DockMngr.UnregisterWindow(frame->Slot());
    };
    frame->Moved = [this, frame] { ToolWindowMoved(frame); };
    if (toggle) {
        toggle->setCheckable(true);
        toggle->setChecked(false);
        m_handlers.insert(toggle->objectName(), [frame, toggle] {
            frame->setVisible(toggle->isChecked());
            if (frame->isVisible())
                frame->raise();
        });
    }
    return frame;
}

glimt::TToolFrame* TfrmMain::ToolFrame(int dockSlot) const
{
    return IsToolSlot(dockSlot) ? m_toolFrames[std::size_t(dockSlot)] : nullptr;
}

void TfrmMain::ToolWindowMoved(glimt::TToolFrame* frame)
{
    frame->SaveDockRect();
    for (std::uint8_t slot : kSnapOrder[frame->Slot()])
        DockMngr.SnapWindow(slot);
    DockMngr.PlaceWindow(frame->Slot(), frame);
    frame->SaveDockRect();
}

void TfrmMain::UpdateWorkArea()
{
    WorkArea.SetMirroredBounds(m_panel1->geometry());
}

void TfrmMain::UpdateDocking()
{
    for (glimt::TToolFrame* frame : m_toolFrames)
        if (frame)
            frame->SaveDockRect();
    UpdateWorkArea();
    DockMngr.RegisterWindow(TDockMngr::SlotWorkArea, &WorkArea);
    for (int slot = TDockMngr::SlotPreview; slot <= TDockMngr::SlotExplorer; ++slot) {
        glimt::TToolFrame* frame = ToolFrame(slot);
        if (frame && !frame->isHidden())
            DockMngr.RegisterWindow(std::uint8_t(slot), &frame->DockRect);
        else
            DockMngr.UnregisterWindow(std::uint8_t(slot));
    }
    for (int slot = TDockMngr::SlotPreview; slot <= TDockMngr::SlotExplorer; ++slot)
        DockMngr.SnapWindow(std::uint8_t(slot));
}

void TfrmMain::FormResize()
{
    UpdateWorkArea();
    constexpr std::uint8_t placeOrder[] = {5, 4, 3, 2};
    for (int pass = 0; pass < 5; ++pass) {
        for (std::uint8_t slot : placeOrder) {
            if (glimt::TToolFrame* frame = ToolFrame(slot)) {
                DockMngr.PlaceWindow(slot, frame);
                frame->SaveDockRect();
            }
        }
    }
    const QRect panel = m_panel1->geometry();
    constexpr std::uint8_t pullOrder[] = {2, 4, 3, 5};
    for (std::uint8_t slot : pullOrder) {
        glimt::TToolFrame* frame = ToolFrame(slot);
        if (!frame)
            continue;
        const QPoint p(std::min(frame->x(), panel.x() + panel.width() - kPullBack),
                       std::min(frame->y(), panel.y() + panel.height() - kPullBack));
        if (p != frame->pos()) {
            frame->move(p);
            frame->SaveDockRect();
        }
    }
}

void TfrmMain::RestoreToolLayout()
{
    const TOptions& o = Options();
    if (glimt::TToolFrame* frame = ToolFrame(TDockMngr::SlotTools)) {
        frame->move(o.ToolsLeft, o.ToolsTop);
        Action(QStringLiteral("actnTools"))->setChecked(o.ToolsVisible);
        frame->setVisible(o.ToolsVisible);
    }
}

void TfrmMain::SaveToolLayout()
{
    TOptions& o = Options();
    if (glimt::TToolFrame* frame = ToolFrame(TDockMngr::SlotTools)) {
        o.ToolsTop = frame->y();
        o.ToolsLeft = frame->x();
        o.ToolsVisible = !frame->isHidden();
    }
}

void TfrmMain::DetachToolWindows()
{
    m_panel1->removeEventFilter(this);
    for (glimt::TToolFrame* frame : m_toolFrames) {
        if (frame) {
            frame->FormShow = nullptr;
            frame->FormHide = nullptr;
            frame->Moved = nullptr;
        }
    }
}
