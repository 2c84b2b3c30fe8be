// The document list of the main window: slots, creation and release of document windows,
// the enabled states that depend on the active document, the Window menu and the arrangement
// commands.
#include "shell/formMain.h"

#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "editor/formPreview.h"
#include "editor/framePreview.h"
#include "editor/formTools.h"
#include "engine/Settings.h"
#include "engine/language.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <cmath>

namespace {

// Every action that needs an open document, disabled while none is open.
const QStringList& DocumentActionNames()
{
    static const QStringList names = [] {
        QStringList list = {QStringLiteral("actLast"), QStringLiteral("actnLeft"), QStringLiteral("actnRight"),
                            QStringLiteral("actnUp"), QStringLiteral("actnDown")};
        for (int tag = 1; tag <= 40; ++tag)
            list.append(TfrmMain::EffectActionName(tag));
        list += {QStringLiteral("actn32bit"),     QStringLiteral("actn24bit"),     QStringLiteral("actn8bit"),
                 QStringLiteral("actn4bit"),      QStringLiteral("actn1bit"),      QStringLiteral("actnUndo"),
                 QStringLiteral("actnRedo"),      QStringLiteral("actnCut"),       QStringLiteral("actnCopy"),
                 QStringLiteral("actnPaste"),     QStringLiteral("actnImagetoIco"), QStringLiteral("actnDel"),
                 QStringLiteral("actCustom"),     QStringLiteral("actnSave"),      QStringLiteral("actnSaveAs"),
                 QStringLiteral("actnBrightness"), QStringLiteral("actClose"),     QStringLiteral("actCloseAll"),
                 QStringLiteral("actexport"),     QStringLiteral("actShadow"),     QStringLiteral("actOpacity"),
                 QStringLiteral("ActnHue"),       QStringLiteral("actAdvancedShadow"), QStringLiteral("actFadeout"),
                 QStringLiteral("actnColor"),     QStringLiteral("actnDim"),       QStringLiteral("actnnewimage"),
                 QStringLiteral("actTile"),       QStringLiteral("actTileHoriz"),  QStringLiteral("actTileVert"),
                 QStringLiteral("actCascade"),    QStringLiteral("actndelimage"),  QStringLiteral("actnnext"),
                 QStringLiteral("actnPrev"),      QStringLiteral("actnFlipHoriz"), QStringLiteral("actnFlipVert"),
                 QStringLiteral("actnRotateLeft"), QStringLiteral("actnRotateRight"), QStringLiteral("actnRotate"),
                 QStringLiteral("actRotateFree"), QStringLiteral("actnProp")};
        return list;
    }();
    return names;
}

// Round with halves to the even neighbour.
int RoundEven(double v)
{
    return int(std::nearbyint(v));
}

} // namespace

TfrmDesk* TfrmMain::ActiveDesk()
{
    return Desk(m_activeSlot);
}

TfrmDesk* TfrmMain::Desk(int slot)
{
    return (slot >= 1 && slot <= m_deskCount) ? Desks[std::size_t(slot)] : nullptr;
}

void TfrmMain::SetActiveSlot(int slot)
{
    if (slot >= 0 && slot <= m_deskCount)
        m_activeSlot = slot;
}

QMdiSubWindow* TfrmMain::SubWindowOf(TfrmDesk* desk) const
{
    return desk ? qobject_cast<QMdiSubWindow*>(desk->parentWidget()) : nullptr;
}

void TfrmMain::Panel1SubWindowActivated(QMdiSubWindow* sub)
{
    auto* desk = sub ? qobject_cast<TfrmDesk*>(sub->widget()) : nullptr;
    if (desk && !desk->Closing && desk->Tag >= 1 && desk->Tag <= m_deskCount)
        desk->ActivateDocument();
}

bool TfrmMain::CreateDocumentWindow(const QString& Caption)
{
    bool created = false;
    if (m_deskCount >= MaxDesks) {
        glimt::UserDialogs().Warning(glimt::Msg("msgMaxWindows", "Too many open windows!"));
    } else {
        auto* desk = new TfrmDesk();
        if (Caption == QLatin1String("Untitled")) {
            ++UntitledCount;
            desk->SetUntitled(UntitledCount);
        } else {
            desk->SetFilePath(Caption);
        }
        ++m_deskCount;
        Desks[std::size_t(m_deskCount)] = desk;
        m_activeSlot = m_deskCount;
        desk->Tag = m_deskCount;
        if (desk->CoolBar1)
            desk->CoolBar1->setVisible(Options().LocalToolbarVisible);

        QMdiSubWindow* sub = m_panel1->addSubWindow(desk);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowIcon(QIcon::fromTheme(QStringLiteral("image-x-generic"), style()->standardIcon(QStyle::SP_FileIcon)));
        sub->setMinimumSize(120, 120);
        connect(sub, &QMdiSubWindow::windowStateChanged, this, [this] { FitMaximizedDesks(); });
        sub->resize(645, 580);
        // One cascade step is the window's frame and title height, less 4.
        const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
        const int frame = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
        const int step = std::max(1, title + 2 * frame - 4);
        sub->move(DockMngr.DockedWidthLeft() + step * CascadeIndex, step * CascadeIndex);
        CascadeIndex = CascadeIndex >= 10 ? 0 : std::uint8_t(CascadeIndex + 1);

        EnableDocumentActions();
        BuildWindowMenu();
        created = true;
    }
    if (glimt::IToolEngine* tools = glimt::ToolEngine())
        tools->ApplyToolCursor();
    return created;
}

void TfrmMain::ReleaseDocumentWindow(int slot)
{
    if (slot < 1 || slot > m_deskCount)
        return;
    --m_deskCount;
    // The floating selection keeps the slot of its own window: none once that window is gone,
    // the new slot of a window that moves down.
    tmyselection* selection = Tools() ? Tools()->Selection() : nullptr;
    if (selection && selection->DocumentSlot == slot)
        selection->DocumentSlot = 0;
    for (int i = slot; i <= m_deskCount; ++i) {
        Desks[std::size_t(i)] = Desks[std::size_t(i + 1)];
        if (selection && selection->DocumentSlot == Desks[std::size_t(i)]->Tag)
            selection->DocumentSlot = std::uint8_t(i);
        Desks[std::size_t(i)]->Tag = i;
    }
    Desks[std::size_t(m_deskCount + 1)] = nullptr;
    m_activeSlot = 0;
    if (m_deskCount > 0) {
        TfrmDesk* last = Desks[std::size_t(m_deskCount)];
        if (QMdiSubWindow* sub = SubWindowOf(last))
            m_panel1->setActiveSubWindow(sub);
        last->ActivateDocument();
    } else {
        if (TfrmPreview* preview = PreviewWindow())
            preview->preview1->Clear();
        DisableDocumentActions();
        ShowDocumentColors(nullptr);
    }
    m_activeSlot = m_deskCount;
    BuildWindowMenu();
}

bool TfrmMain::CreateDocumentFromImage(const TmyImagePal& image)
{
    if (!CreateDocumentWindow(QStringLiteral("Untitled")))
        return false;
    TfrmDesk* desk = ActiveDesk();
    desk->Saved = false;
    desk->Icon->AddImageCopy(image);
    desk->Zoom = std::uint8_t(std::clamp(image.Zoom, 1, 10));
    SubWindowOf(desk)->show();
    desk->ShowImage(*desk->CurrentImage());
    DocumentShown(desk);
    desk->FillImageCombo(true);
    desk->CenterImage();
    return true;
}

void TfrmMain::DocumentShown(TfrmDesk* desk)
{
    ShowPreviewOf(desk);
    ShowDocumentColors(desk);
    UpdateOpacityAction();
}

void TfrmMain::DisableDocumentActions()
{
    for (const QString& name : DocumentActionNames()) {
        if (QAction* a = Action(name))
            a->setEnabled(false);
    }
}

void TfrmMain::EnableDocumentActions()
{
    for (const QString& name : DocumentActionNames()) {
        if (name == QLatin1String("actLast") || name == QLatin1String("actnnext") || name == QLatin1String("actnPrev"))
            continue;
        if (QAction* a = Action(name))
            a->setEnabled(true);
    }
    UpdateClipboardActions();
    UpdateUndoActions();
}

void TfrmMain::UpdateImageNavActions()
{
    TfrmDesk* desk = ActiveDesk();
    const TmyIcon* icon = desk ? desk->Icon.get() : nullptr;
    if (QAction* a = Action(QStringLiteral("actnnext")))
        a->setEnabled(icon && icon->Current < icon->Count() - 1);
    if (QAction* a = Action(QStringLiteral("actnPrev")))
        a->setEnabled(icon && icon->Current > 0);
}

void TfrmMain::UpdateUndoActions()
{
    TfrmDesk* desk = ActiveDesk();
    const tmyUndo* undo = desk ? desk->Undo.get() : nullptr;
    if (QAction* a = Action(QStringLiteral("actnUndo")))
        a->setEnabled(undo && undo->CanUndo);
    if (QAction* a = Action(QStringLiteral("actnRedo")))
        a->setEnabled(undo && undo->CanRedo);
}

void TfrmMain::UpdateClipboardActions()
{
    // With no document Paste keeps its state (disabled with the other document actions).
    const bool picture = m_clipboardHasPicture;
    if (QAction* a = Action(QStringLiteral("actnPaste")); a && (!picture || m_deskCount > 0))
        a->setEnabled(picture);
    const tmyselection* s = Tools() ? Tools()->Selection() : nullptr;
    const bool own = s && !s->IsEmpty() && m_activeSlot != 0 && s->DocumentSlot == m_activeSlot;
    for (const char* name : {"actnCopy", "actnDel", "actnCut"}) {
        if (QAction* a = Action(QString::fromLatin1(name)))
            a->setEnabled(own);
    }
    UpdateEditActions();
    UpdateOpacityAction();
}

// ---------------------------------------------------------------------------------------------
// Window menu

void TfrmMain::BuildWindowMenu()
{
    for (QAction* a : m_windowActions) {
        m_windowMenu->removeAction(a);
        a->deleteLater();
    }
    m_windowActions.clear();
    for (int slot = 1; slot <= m_deskCount; ++slot) {
        TfrmDesk* desk = Desks[std::size_t(slot)];
        QString caption = desk->CaptionFileName();
        auto* a = new QAction(caption.replace(QLatin1Char('&'), QStringLiteral("&&")), this);
        a->setData(slot);
        a->setCheckable(true);
        a->setChecked(slot == m_activeSlot);
        connect(a, &QAction::triggered, this, [this, a] {
            RunCommand(nullptr, [&] {
                if (TfrmDesk* d = Desk(a->data().toInt())) {
                    if (QMdiSubWindow* sub = SubWindowOf(d))
                        m_panel1->setActiveSubWindow(sub);
                    d->ActivateDocument();
                }
                BuildWindowMenu();
            });
        });
        m_windowMenu->addAction(a);
        m_windowActions.append(a);
    }
}

// ---------------------------------------------------------------------------------------------
// Arrangement over the work area's client size between the tool windows docked along its left
// and right inner edges; windows are placed in slot order.

namespace {

void Place(QMdiSubWindow* sub, int left, int top, int width, int height)
{
    if (!sub)
        return;
    if (sub->isMaximized() || sub->isMinimized())
        sub->showNormal();
    sub->setGeometry(left, top, width, height);
    sub->raise();
}

// Cells of one side of the tiling: `count` cells over `available` pixels, each at least 120
// wide; when they do not fit, neighbours overlap by the same amount.
struct Span {
    int size;
    int overlap;
};

Span SpanOf(int count, int available)
{
    Span span{available / count, 0};
    if (span.size < 120) {
        span.overlap = count == 1 ? 0 : RoundEven(double(count * 120 - available) / (count - 1));
        span.size = 120;
    }
    return span;
}

} // namespace

void TfrmMain::actTileVertExecute()
{
    const int n = m_deskCount;
    if (n == 0)
        return;
    const QSize area = m_panel1->viewport()->size();
    const int L = DockMngr.DockedWidthLeft();
    const Span w = SpanOf(n, area.width() - DockMngr.DockedWidth());
    for (int k = 1; k <= n; ++k)
        Place(SubWindowOf(Desks[std::size_t(k)]), L + (k - 1) * (w.size - w.overlap), 0, w.size, area.height());
}

void TfrmMain::actTileHorizExecute()
{
    const int n = m_deskCount;
    if (n == 0)
        return;
    const QSize area = m_panel1->viewport()->size();
    const Span h = SpanOf(n, area.height());
    for (int k = 1; k <= n; ++k)
        Place(SubWindowOf(Desks[std::size_t(k)]), DockMngr.DockedWidthLeft(), (k - 1) * (h.size - h.overlap),
              area.width() - DockMngr.DockedWidth(), h.size);
}

void TfrmMain::actTileExecute()
{
    const int n = m_deskCount;
    if (n == 0)
        return;
    const QSize area = m_panel1->viewport()->size();
    const double root = std::sqrt(double(n));
    const int c = RoundEven(root);
    const int r = c + (root > c ? 1 : 0);
    const int L = DockMngr.DockedWidthLeft();
    const Span w = SpanOf(c, area.width() - DockMngr.DockedWidth());
    const Span h = SpanOf(r, area.height());
    int i = 0, j = 0;
    for (int k = 1; k <= n; ++k) {
        Place(SubWindowOf(Desks[std::size_t(k)]), L + j * (w.size - w.overlap), i * (h.size - h.overlap), w.size,
              h.size);
        if (++j == c) {
            j = 0;
            if (++i == r)
                i = 0;
        }
    }
}

void TfrmMain::actCascadeExecute()
{
    if (m_deskCount == 0)
        return;
    auto stepOf = [](QMdiSubWindow* sub) {
        const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
        const int frame = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
        return std::max(1, title + 2 * frame - 4);
    };
    auto advance = [this] { CascadeIndex = CascadeIndex >= 10 ? 0 : std::uint8_t(CascadeIndex + 1); };
    const int L = DockMngr.DockedWidthLeft();
    CascadeIndex = 0;
    for (int slot = 1; slot <= m_deskCount; ++slot) {
        QMdiSubWindow* sub = SubWindowOf(Desks[std::size_t(slot)]);
        if (!sub || slot == m_activeSlot)
            continue;
        const int step = stepOf(sub);
        Place(sub, L + step * CascadeIndex, step * CascadeIndex, 645, 580);
        advance();
    }
    if (QMdiSubWindow* sub = SubWindowOf(ActiveDesk())) {
        const int step = stepOf(sub);
        Place(sub, L + step * CascadeIndex, step * CascadeIndex, 645, 580);
        advance();
    }
}

void TfrmMain::actCloseExecute()
{
    if (QMdiSubWindow* sub = SubWindowOf(ActiveDesk()))
        sub->close();
}

void TfrmMain::actCloseAllExecute()
{
    // Closes the documents only; a Cancel keeps that window, and it is asked again in the
    // next pass.
    const int count = m_deskCount;
    for (int i = 0; i < count && m_deskCount > 0; ++i) {
        if (QMdiSubWindow* sub = SubWindowOf(Desks[1]))
            sub->close();
    }
}

// ---------------------------------------------------------------------------------------------
// Keys the main window sees before the focused control

void TfrmMain::FormKeyPress(int key, const QString& text)
{
    TfrmDesk* desk = ActiveDesk();
    if (m_deskCount == 0 || !desk)
        return;
    if (key == Qt::Key_Escape) {
        if (glimt::IToolEngine* tools = glimt::ToolEngine())
            RunCommand(nullptr, [tools] { tools->DropSelection(); });
    } else if (text.size() == 1 && text.at(0) >= QLatin1Char('1') && text.at(0) <= QLatin1Char('7')) {
        // The digit keys choose the brush size while the tool shows its sizes.
        if (TfrmTools* tools = Tools())
            tools->PressSizeKey(text.at(0).digitValue());
    } else if (text == QLatin1String("+")) {
        if (desk->btnZoomIn && desk->btnZoomIn->isEnabled())
            desk->btnZoomIn->click();
    } else if (text == QLatin1String("-")) {
        if (desk->btnZoomOut && desk->btnZoomOut->isEnabled())
            desk->btnZoomOut->click();
    } else if (text.size() == 1 && text[0] >= QLatin1Char('1') && text[0] <= QLatin1Char('7')) {
        if (m_frmTools)
            m_frmTools->PressSizeKey(text[0].digitValue());
    }
}
