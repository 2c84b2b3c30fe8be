// The tool windows of the main window: hosting them as child frames above the work area,
// the View actions that show and hide them, their part of the stored layout, and keeping
// them docked through the docking manager when they are moved or the work area changes.
#include "shell/formMain.h"

#include "editor/KeyState.h"
#include "editor/ToolFrame.h"
#include "editor/formTools.h"
#include "engine/Settings.h"
#include "shell/About.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <algorithm>

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

    // In the program's creation order: the preview window, the tool window, the About box,
    // the colour panel.
    m_frmTools = new TfrmTools(this);
    glimt::SetToolEngine(m_frmTools);
    AddToolWindow(m_frmTools, TDockMngr::SlotTools, Action(QStringLiteral("actnTools")));
    m_frmAbout = new TfrmAbout(this);
}

glimt::TToolFrame* TfrmMain::AddToolWindow(QWidget* window, int dockSlot, QAction* toggle)
{
    if (!window || !IsToolSlot(dockSlot) || m_toolFrames[std::size_t(dockSlot)])
        return nullptr;
    auto* frame = new glimt::TToolFrame(window, std::uint8_t(dockSlot), this);
    frame->hide();
    m_toolFrames[std::size_t(dockSlot)] = frame;
    m_toolToggles[std::size_t(dockSlot)] = toggle;
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
    FitMaximizedDesks();
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
    FitMaximizedDesks();
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
    FitMaximizedDesks();
}

void TfrmMain::FitMaximizedDesks()
{
    QTimer::singleShot(0, this, [this] {
        const QSize area = m_panel1->viewport()->size();
        const QRect target(DockMngr.DockedWidthLeft(), 0, std::max(1, area.width() - DockMngr.DockedWidth()),
                           area.height());
        for (QMdiSubWindow* sub : m_panel1->subWindowList())
            if (sub->isMaximized() && sub->geometry() != target)
                sub->setGeometry(target);
    });
}

namespace {

// Where TOptions keeps each tool window's place (a null size: the window keeps its own).
struct TToolLayout {
    std::uint8_t slot;
    std::int32_t TOptions::*top;
    std::int32_t TOptions::*left;
    std::int32_t TOptions::*height;
    std::int32_t TOptions::*width;
    bool TOptions::*visible;
};

constexpr TToolLayout kToolLayouts[] = {
    {TDockMngr::SlotTools, &TOptions::ToolsTop, &TOptions::ToolsLeft, nullptr, nullptr, &TOptions::ToolsVisible},
    {TDockMngr::SlotColors, &TOptions::ColorsTop, &TOptions::ColorsLeft, nullptr, nullptr, &TOptions::ColorsVisible},
    {TDockMngr::SlotPreview, &TOptions::PrevTop, &TOptions::PrevLeft, &TOptions::PrevHeight, &TOptions::PrevWidth,
     &TOptions::PrevVisible},
    {TDockMngr::SlotExplorer, &TOptions::ExplorerTop, &TOptions::ExplorerLeft, &TOptions::ExplorerHeight,
     &TOptions::ExplorerWidth, &TOptions::ExplorerVisible},
};

} // namespace

void TfrmMain::RestoreToolLayout()
{
    TOptions& o = Options();
    for (const TToolLayout& l : kToolLayouts) {
        glimt::TToolFrame* frame = ToolFrame(l.slot);
        if (!frame)
            continue;
        frame->move(o.*l.left, o.*l.top);
        if (l.height)
            frame->resize(std::max(1, o.*l.width), std::max(1, o.*l.height));
    }
    for (const TToolLayout& l : kToolLayouts) {
        glimt::TToolFrame* frame = ToolFrame(l.slot);
        if (!frame)
            continue;
        if (QAction* toggle = m_toolToggles[l.slot])
            toggle->setChecked(o.*l.visible);
        frame->setVisible(o.*l.visible);
    }
}

void TfrmMain::SaveToolLayout()
{
    TOptions& o = Options();
    for (const TToolLayout& l : kToolLayouts) {
        const glimt::TToolFrame* frame = ToolFrame(l.slot);
        if (!frame)
            continue;
        o.*l.top = frame->y();
        o.*l.left = frame->x();
        if (l.height) {
            o.*l.height = frame->height();
            o.*l.width = frame->width();
        }
        o.*l.visible = !frame->isHidden();
    }
}

void TfrmMain::DetachToolWindows()
{
    m_panel1->removeEventFilter(this);
    for (QMdiSubWindow* sub : m_panel1->subWindowList())
        disconnect(sub, nullptr, this, nullptr);
    for (glimt::TToolFrame* frame : m_toolFrames) {
        if (frame) {
            frame->FormShow = nullptr;
            frame->FormHide = nullptr;
            frame->Moved = nullptr;
        }
    }
}
