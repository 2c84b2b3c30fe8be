#include "editor/formDesk.h"

#include "editor/DeskRender.h"
#include "editor/DeskStatus.h"
#include "editor/EditorHost.h"
#include "editor/KeyState.h"
#include "editor/MyScroll.h"
#include "editor/Translate.h"
#include "editor/UserDialogs.h"
#include "editor/formbrush.h"
#include "editor/thumbnail.h"
#include "engine/Mypreview.h"
#include "engine/Settings.h"
#include "engine/language.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using glimt::EditorHost;
using glimt::TMouseButton;
using glimt::TShiftState;
using glimt::ToolEngine;

namespace glimt {

TDeskCanvas::TDeskCanvas(QWidget* parent)
    : QWidget(parent)
{
    // Not marked as painting opaquely, although it does: Qt then repaints such a widget on its
    // own, over whatever lies above it that is not itself repainted (the brush ring, the
    // windows over a document's window), until the whole window is painted again.
    setMouseTracking(true);
    Bitmap = QImage(0, 0, QImage::Format_RGB32);
}

void TDeskCanvas::SetCanvasSize(int width, int height)
{
    if (Bitmap.width() != width || Bitmap.height() != height)
        Bitmap = QImage(width, height, QImage::Format_RGB32);
    resize(width, height);
}

void TDeskCanvas::Invalidate(const QRect& r)
{
    if (r.isEmpty())
        return;
    ++Invalidations;
    InvalidatedArea += std::int64_t(r.width()) * r.height();
    update(r);
}

void TDeskCanvas::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r.topLeft(), Bitmap, r);
}

namespace {

TShiftState ShiftOf(const QMouseEvent* e)
{
    TShiftState s = 0;
    if (e->modifiers().testFlag(Qt::ShiftModifier))
        s |= ssShift;
    if (e->buttons().testFlag(Qt::LeftButton))
        s |= ssLeft;
    if (e->buttons().testFlag(Qt::RightButton))
        s |= ssRight;
    return s;
}

TMouseButton ButtonOf(Qt::MouseButton b)
{
    if (b == Qt::LeftButton)
        return TMouseButton::Left;
    if (b == Qt::RightButton)
        return TMouseButton::Right;
    return TMouseButton::Middle;
}

} // namespace

void TDeskCanvas::mousePressEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    emit MouseDown(ButtonOf(e->button()), ShiftOf(e), p.x(), p.y());
}

void TDeskCanvas::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    emit MouseMove(ShiftOf(e), p.x(), p.y());
}

void TDeskCanvas::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    emit MouseUp(ButtonOf(e->button()), ShiftOf(e), p.x(), p.y());
}

} // namespace glimt

namespace {

QToolButton* MakeButton(QToolBar* bar, const char* name, const QString& hint, QStyle::StandardPixmap icon, const QString& text)
{
    auto* b = new QToolButton(bar);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setIcon(bar->style()->standardIcon(icon));
    if (b->icon().isNull())
        b->setText(text);
    b->setAutoRaise(true);
    bar->addWidget(b);
    return b;
}

// Tools that change no pixels on a press: Selection, Text, Color Picker, Zoom.
bool ToolPushesUndo(std::uint8_t tool)
{
    return tool != 1 && tool != 3 && tool != 13 && tool != 14;
}

} // namespace

QString ColorDepthName(std::uint8_t depth)
{
    switch (depth) {
    case 1: return glimt::Msg("msg2Col", "2 Colors");
    case 4: return glimt::Msg("msg16Col", "16 Colors");
    case 8: return glimt::Msg("msg256Col", "256 Colors");
    case 24: return glimt::Msg("msgTrueCol", "True Color");
    case 32: return glimt::Msg("msgTrauColAlpha", "True Color+Alpha");
    default: return QString();
    }
}

TfrmDesk::TfrmDesk(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCanvas"));
    FormCreate();
}

TfrmDesk::~TfrmDesk() = default;

void TfrmDesk::FormCreate()
{
    glimt::InstallKeyStateFilter();
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    CoolBar1 = new QWidget(this);
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    auto* coolLayout = new QHBoxLayout(CoolBar1);
    coolLayout->setContentsMargins(0, 0, 0, 0);
    ToolBar1 = new QToolBar(CoolBar1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    coolLayout->addWidget(ToolBar1);
    outer->addWidget(CoolBar1);

    cmbImages = new QComboBox(ToolBar1);
    cmbImages->setObjectName(QStringLiteral("cmbImages"));
    cmbImages->setToolTip(QStringLiteral("Images"));
    cmbImages->setMinimumWidth(161);
    // Wide enough for the longest image format and zoom of the lists, in any font.
    cmbImages->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cmbImages->setMaxVisibleItems(10);
    ToolBar1->addWidget(cmbImages);
    btnNewImage = MakeButton(ToolBar1, "btnNewImage", QStringLiteral("Insert new image"), QStyle::SP_FileIcon, QStringLiteral("+"));
    btnDelImage = MakeButton(ToolBar1, "btnDelImage", QStringLiteral("Delete current image"), QStyle::SP_TrashIcon, QStringLiteral("-"));
    ToolBar1->addSeparator();
    btnZoomOut = MakeButton(ToolBar1, "btnZoomOut", QStringLiteral("Zoom Out"), QStyle::SP_ArrowDown, QStringLiteral("-"));
    cmbZoom = new QComboBox(ToolBar1);
    cmbZoom->setObjectName(QStringLiteral("cmbZoom"));
    cmbZoom->setToolTip(QStringLiteral("Zoom"));
    cmbZoom->setMinimumWidth(58);
    cmbZoom->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ToolBar1->addWidget(cmbZoom);
    btnZoomIn = MakeButton(ToolBar1, "btnZoomIn", QStringLiteral("Zoom In"), QStyle::SP_ArrowUp, QStringLiteral("+"));
    ToolBar1->addSeparator();
    btnGrid = MakeButton(ToolBar1, "btnGrid", QStringLiteral("Show/Hide grid"), QStyle::SP_FileDialogDetailedView, QStringLiteral("#"));
    btnGrid->setCheckable(true);
    btnSideBar = MakeButton(ToolBar1, "btnSideBar", QStringLiteral("Show/Hide Side Bar"), QStyle::SP_FileDialogListView, QStringLiteral("|"));
    btnSideBar->setCheckable(true);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    outer->addLayout(body, 1);

    pnlSideBar = new QWidget(this);
    pnlSideBar->setObjectName(QStringLiteral("pnlSideBar"));
    auto* sideLayout = new QVBoxLayout(pnlSideBar);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    body->addWidget(pnlSideBar);

    ScrollBox1 = new TMyScrollBox(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    body->addWidget(ScrollBox1, 1);
    QWidget* viewport = ScrollBox1->viewport();
    viewport->setBackgroundRole(QPalette::Window);
    viewport->setAutoFillBackground(true);
    viewport->installEventFilter(this);
    viewport->setMouseTracking(true);
    CoolBar1->installEventFilter(this);
    ToolBar1->installEventFilter(this);

    Bevel1 = new QFrame(viewport);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setLineWidth(1);
    Image1 = new glimt::TDeskCanvas(viewport);
    Image1->setObjectName(QStringLiteral("Image1"));

    CreateSelectionLayer(viewport);
    // Tiles dragged out of a thumbnail view may be dropped on the canvas or on the layer.
    for (QWidget* target : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(ImgSel)}) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    pmImages = new QMenu(this);
    pmImages->setObjectName(QStringLiteral("pmImages"));
    // The side bar's menu runs the main window's commands on this document.
    const struct {
        const char* item;
        const char* caption;
        const char* action;
    } items[] = {{"NewImage1", "New Image", "actnnewimage"}, {"DeleteImage1", "Delete Image", "actndelimage"}};
    for (const auto& item : items) {
        QAction* a = pmImages->addAction(QString::fromLatin1(item.caption));
        a->setObjectName(QString::fromLatin1(item.item));
        const QString action = QString::fromLatin1(item.action);
        connect(a, &QAction::triggered, this, [this, action] {
            ActivateDocument();
            if (auto* host = EditorHost())
                host->ExecuteAction(action);
        });
    }

    // 1-4: zoom list, stroke state, empty document and history.
    Zoom = 10;
    for (int i = 1; i <= 10; ++i)
        cmbZoom->addItem(QString::number(i * 100) + QLatin1Char('%'));
    InStroke = false;
    StrokeButton = 2;
    Saved = true;
    cmbZoom->setCurrentIndex(9);
    Closing = false;
    Icon = std::make_unique<TmyIcon>();
    Image1->SetCanvasSize(0, 0);
    HideSelectionHandles();
    Undo = std::make_unique<tmyUndo>();
    SelDragging = false;

    Thumbnails = new TThumbail(pnlSideBar);
    Thumbnails->setObjectName(QStringLiteral("Thumbnails"));
    Thumbnails->CanDrag = false;
    Thumbnails->SelectionMode = TSelectMode::smSingle;
    Thumbnails->SetShowCaption(true);
    Thumbnails->SetThumbnailSize(75);
    Thumbnails->setFrameShape(QFrame::NoFrame);
    Thumbnails->PopupMenu = pmImages;
    Thumbnails->AlwaysSelected = true;
    sideLayout->addWidget(Thumbnails);
    // The side bar widens when the view's scroll bar comes and narrows when it goes.
    Thumbnails->verticalScrollBar()->installEventFilter(this);
    connect(Thumbnails, &TThumbail::OnClick, this, [this] { ActivateDocument(); });
    connect(Thumbnails, &TThumbail::OnItemClicked, this, [this] {
        ActivateDocument();
        if (!Thumbnails->SelectedIndices.empty()) {
            cmbImages->setCurrentIndex(Thumbnails->SelectedIndices.front());
            cmbImagesChange();
        }
    });

    glimt::TranslateForm(QStringLiteral("frmCanvas"), this);
    SetSideBar(Options().SidebarVisible);
    SetGrid(Options().GridVisible);

    connect(Image1, &glimt::TDeskCanvas::MouseDown, this,
        [this](TMouseButton b, TShiftState s, int x, int y) { Image1MouseDown(Image1, b, s, x, y); });
    connect(Image1, &glimt::TDeskCanvas::MouseMove, this,
        [this](TShiftState s, int x, int y) { Image1MouseMove(Image1, s, x, y); });
    connect(Image1, &glimt::TDeskCanvas::MouseUp, this,
        [this](TMouseButton b, TShiftState s, int x, int y) { Image1MouseUp(Image1, b, s, x, y); });
    connect(Timer1, &QTimer::timeout, this, &TfrmDesk::Timer1Timer);
    connect(btnZoomOut, &QToolButton::clicked, this, &TfrmDesk::btnZoomOutClick);
    connect(btnZoomIn, &QToolButton::clicked, this, &TfrmDesk::btnZoomInClick);
    connect(cmbZoom, &QComboBox::activated, this, [this] {
        ActivateDocument();
        cmbZoomChange();
    });
    connect(cmbImages, &QComboBox::activated, this, [this] {
        ActivateDocument();
        cmbImagesChange();
    });
    connect(btnGrid, &QToolButton::clicked, this, [this] {
        ActivateDocument();
        SetGrid(!GridVisible);
    });
    connect(btnSideBar, &QToolButton::clicked, this, [this] {
        ActivateDocument();
        SetSideBar(!pnlSideBar->isVisible());
    });
    connect(btnNewImage, &QToolButton::clicked, this, [this] {
        ActivateDocument();
        if (auto* host = EditorHost())
            host->ExecuteAction(QStringLiteral("actnnewimage"));
    });
    connect(btnDelImage, &QToolButton::clicked, this, [this] {
        ActivateDocument();
        if (auto* host = EditorHost())
            host->ExecuteAction(QStringLiteral("actndelimage"));
    });
    connect(ScrollBox1, &TMyScrollBox::OnScroll, this, [this] {
        CenterImage();
        RefreshSelection();
    });
    UpdateCaption();
}

// --- file path and caption ----------------------------------------------------------------

void TfrmDesk::SetFilePath(const QString& path)
{
    m_filePath = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    if (!m_filePath.isEmpty())
        m_untitledNumber = 0;
    UpdateCaption();
}

void TfrmDesk::SetUntitled(int number)
{
    m_filePath.clear();
    m_untitledNumber = number;
    UpdateCaption();
}

QString TfrmDesk::Caption() const
{
    if (!m_filePath.isEmpty())
        return m_filePath;
    return glimt::Msg("msgUntitled", "Untitled") + QStringLiteral(" - ") + QString::number(m_untitledNumber);
}

QString TfrmDesk::CaptionFileName() const
{
    return m_filePath.isEmpty() ? Caption() : QFileInfo(m_filePath).fileName();
}

void TfrmDesk::UpdateCaption()
{
    setWindowTitle(Caption());
}

TmyImagePal* TfrmDesk::CurrentImage()
{
    return Icon ? Icon->CurrentImage() : nullptr;
}

void TfrmDesk::BeginImageChange()
{
    TmyImagePal* im = CurrentImage();
    if (!im || !Undo)
        return;
    Undo->Push(*im);
    Saved = false;
    if (glimt::IEditorHost* host = EditorHost())
        host->UpdateUndoActions();
}

// --- drawing ----------------------------------------------------------------------------------

void TfrmDesk::ShowImage(const TmyImagePal& image)
{
    const glimt::BusyGuard busy;
    Image1->SetCanvasSize(image.Width() * Zoom, image.Height() * Zoom);
    RenderZoomed(image, Image1);
    DrawGrid();
    UpdateThumbnail();
    cmbZoom->setCurrentIndex(Zoom - 1);
    UpdateZoomButtons();
}

void TfrmDesk::RenderZoomed(const TmyImagePal& image, glimt::TDeskCanvas* target)
{
    const QRect r = glimt::RenderZoomedImage(image, Zoom, glimt::Checkerboard::FromOptions(), target->Bitmap);
    target->Invalidate(r);
}

void TfrmDesk::DrawGrid()
{
    if (!GridVisible || Zoom < 2)
        return;
    Image1->Invalidate(glimt::DrawGridLines(Image1->Bitmap, Zoom, glimt::CurrentGrid()));
}

void TfrmDesk::DrawCellAt(int X, int Y, bool Blended, const TmyPixel& pixel)
{
    if (Blended)
        DrawCellBlended(X, Y, Image1, pixel);
    else
        DrawCellSolid(X, Y, Image1, pixel);
    DrawCellGrid(X, Y);
}

void TfrmDesk::DrawCells(const TmyImagePal& image, const QRect& cells)
{
    const QRect r = cells & QRect(0, 0, image.Width(), image.Height());
    if (r.isEmpty() || !Image1)
        return;
    const bool blended = image.BitDepth >= 24;
    const glimt::Checkerboard checker = glimt::Checkerboard::FromOptions();
    const bool grid = GridVisible && Zoom >= 2;
    const glimt::TGridLook look = glimt::CurrentGrid();
    QImage& bitmap = Image1->Bitmap;
    QRect dirty;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const TmyPixel& p = image.Pixel(x, y);
            dirty |= blended ? glimt::DrawCellBlendedAt(bitmap, x, y, Zoom, checker, p)
                             : glimt::DrawCellSolidAt(bitmap, x, y, Zoom, checker, p);
            if (grid)
                dirty |= glimt::DrawCellGridAt(bitmap, x, y, Zoom, look);
        }
    }
    Image1->Invalidate(dirty);
}

void TfrmDesk::DrawCellBlended(int X, int Y, glimt::TDeskCanvas* target, const TmyPixel& pixel)
{
    target->Invalidate(glimt::DrawCellBlendedAt(target->Bitmap, X, Y, Zoom, glimt::Checkerboard::FromOptions(), pixel));
}

void TfrmDesk::DrawCellSolid(int X, int Y, glimt::TDeskCanvas* target, const TmyPixel& pixel)
{
    target->Invalidate(glimt::DrawCellSolidAt(target->Bitmap, X, Y, Zoom, glimt::Checkerboard::FromOptions(), pixel));
}

void TfrmDesk::DrawCellGrid(int X, int Y)
{
    if (!GridVisible || Zoom < 2)
        return;
    Image1->Invalidate(glimt::DrawCellGridAt(Image1->Bitmap, X, Y, Zoom, glimt::CurrentGrid()));
}

void TfrmDesk::CenterImage()
{
    SizeSideBar();
    const int zoom = std::max<int>(1, Zoom);
    QPoint sel = ImgSel->pos() - Image1->pos();
    sel = QPoint(sel.x() / zoom * zoom, sel.y() / zoom * zoom);

    UpdateScrollRange();
    const QWidget* vp = ScrollBox1->viewport();
    const int left = std::max(0, (vp->width() - Image1->width()) / 2) - ScrollBox1->horizontalScrollBar()->value();
    const int top = std::max(0, (vp->height() - Image1->height()) / 2) - ScrollBox1->verticalScrollBar()->value();
    Image1->move(left, top);
    ImgSel->move(sel + Image1->pos());
    Bevel1->setGeometry(Image1->geometry().adjusted(-1, -1, 1, 1));
    PlaceHandles();
}

void TfrmDesk::SizeSideBar()
{
    if (!Thumbnails)
        return;
    // The tiles and their margin (88 for the 75-pixel tiles), and the thumbnail view's scroll
    // bar beside them while it shows.
    int w = Thumbnails->TileWidth() + 13;
    if (QScrollBar* bar = Thumbnails->verticalScrollBar(); bar->isVisibleTo(Thumbnails))
        w += bar->sizeHint().width();
    pnlSideBar->setFixedWidth(w);
}

void TfrmDesk::UpdateScrollRange()
{
    ScrollBox1->SetContentSize(Image1->size());
}

void TfrmDesk::ActivateDocument()
{
    glimt::IEditorHost* host = EditorHost();
    if (Closing || (host && host->ActiveSlot() == Tag && Tag != 0))
        return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (QMdiArea* area = sub->mdiArea(); area && area->activeSubWindow() != sub)
            area->setActiveSubWindow(sub);
    }
    raise();
    glimt::IToolEngine* tools = ToolEngine();
    if (tools && Tag != 0 && tools->SelectionDocumentSlot() == Tag)
        ShowSelectionHandles();
    else
        HideSelectionHandles();
    if (!host)
        return;
    host->SetActiveSlot(Tag);
    if (Undo)
        host->UpdateUndoActions();
    if (Icon) {
        host->DocumentShown(this);
        host->UpdateImageNavActions();
        host->UpdateClipboardActions();
        if (tools)
            tools->UpdateBrushPreview();
        host->BuildWindowMenu();
    }
    if (pnlSideBar->isVisible() && Thumbnails)
        Thumbnails->setFocus();
}

void TfrmDesk::FillImageCombo(bool RefillThumbnails)
{
    cmbImages->clear();
    if (!Icon)
        return;
    for (int i = 0; i < Icon->Count(); ++i) {
        const TmyImagePal& im = Icon->Image(i);
        cmbImages->addItem(QString::number(im.Width()) + QLatin1Char('x') + QString::number(im.Height()) + QStringLiteral(" - ")
            + ColorDepthName(im.BitDepth));
    }
    cmbImages->setCurrentIndex(Icon->Count() > 0 ? Icon->Current : -1);
    if (RefillThumbnails)
        FillThumbnails();
    else
        UpdateThumbnail();
}

void TfrmDesk::SetGrid(bool Visible)
{
    GridVisible = Visible;
    btnGrid->setChecked(Visible);
    if (TmyImagePal* im = CurrentImage()) {
        if (Visible)
            DrawGrid();
        else
            ShowImage(*im);
    }
    RefreshSelection();
}

void TfrmDesk::SetSideBar(bool Visible)
{
    pnlSideBar->setVisible(Visible);
    btnSideBar->setChecked(Visible);
    CenterImage();
}

void TfrmDesk::UpdateZoomButtons()
{
    btnZoomOut->setEnabled(cmbZoom->currentIndex() > 0);
    btnZoomIn->setEnabled(cmbZoom->currentIndex() < 9);
}

void TfrmDesk::FillThumbnails()
{
    if (!Thumbnails || !Icon)
        return;
    Thumbnails->LoadIconImages(*Icon);
    Thumbnails->SelectIndex(cmbImages->currentIndex());
    CenterImage();
}

void TfrmDesk::UpdateThumbnail()
{
    if (!Thumbnails || Thumbnails->SelectedIndices.empty())
        return;
    const TmyImagePal* im = CurrentImage();
    const int index = Icon ? Icon->Current : -1;
    if (!im || index < 0 || index >= Thumbnails->Count())
        return;
    TThumbnailItem* tile = Thumbnails->Items[std::size_t(index)];
    QImage picture;
    TmyPreview::RenderToImage(*im, picture, 0xFFFFFF);
    tile->SetGraphic(picture);
    tile->SetCaption(glimt::ImageTileCaption(*im));
    tile->update();
}

void TfrmDesk::cmbImagesChange()
{
    glimt::IEditorHost* host = EditorHost();
    TfrmDesk* desk = host && host->ActiveDesk() ? host->ActiveDesk() : this;
    if (desk != this) {
        desk->cmbImagesChange();
        return;
    }
    if (!Icon || Icon->Count() == 0)
        return;
    const int index = cmbImages->currentIndex();
    if (index < 0 || index >= Icon->Count())
        return;
    glimt::IToolEngine* tools = ToolEngine();
    if (tools && Tag != 0 && tools->SelectionDocumentSlot() == Tag)
        tools->DropSelection();
    if (Thumbnails)
        Thumbnails->SelectIndex(index);
    Icon->Current = index;
    TmyImagePal& im = Icon->Image(index);
    Zoom = std::uint8_t(std::clamp<int>(im.Zoom, 1, 10));
    ShowImage(im);
    if (host)
        host->DocumentShown(this);
    Undo->Clear();
    if (host)
        host->UpdateUndoActions();
    CenterImage();
    if (host)
        host->UpdateImageNavActions();
    if (tools)
        tools->UpdateBrushPreview();
}

void TfrmDesk::cmbZoomChange()
{
    const QPoint selCells((ImgSel->x() - Image1->x()) / Zoom, (ImgSel->y() - Image1->y()) / Zoom);
    Zoom = std::uint8_t(cmbZoom->currentIndex() + 1);
    TmyImagePal* im = CurrentImage();
    if (im) {
        im->Zoom = Zoom;
        ShowImage(*im);
    } else {
        UpdateZoomButtons();
    }
    ImgSel->move(selCells * Zoom + Image1->pos());
    CenterImage();
    // A floating selection stays floating on the same cell, drawn at the new cell size.
    if (glimt::IToolEngine* tools = ToolEngine()) {
        tools->ShowSelectionLayer(false);
        tools->UpdateBrushPreview();
    }
    UpdateZoomButtons();
}

void TfrmDesk::btnZoomOutClick()
{
    ActivateDocument();
    if (cmbZoom->currentIndex() > 0) {
        cmbZoom->setCurrentIndex(cmbZoom->currentIndex() - 1);
        cmbZoomChange();
    }
}

void TfrmDesk::btnZoomInClick()
{
    ActivateDocument();
    if (cmbZoom->currentIndex() <= 8) {
        cmbZoom->setCurrentIndex(cmbZoom->currentIndex() + 1);
        cmbZoomChange();
    }
}

// --- mouse strokes ----------------------------------------------------------------------

void TfrmDesk::Image1MouseDown(QObject*, TMouseButton button, TShiftState shift, int X, int Y)
{
    Timer1->start();
    glimt::IEditorHost* host = EditorHost();
    if (host)
        host->DisableToolActions();
    // A second button pressed during a stroke is ignored, also by a cancel already seen.
    if (InStroke)
        return;
    StrokeCancelled = false;
    glimt::KeyState().ForgetEscapeTap();
    ActivateDocument();
    TmyImagePal* im = CurrentImage();
    if (!im)
        return;
    InStroke = true;
    StrokeBackup = std::make_unique<TmyImagePal>(*im);
    const bool shiftHeld = (shift & glimt::ssShift) != 0;
    if (button == TMouseButton::Middle)
        return;
    glimt::IToolEngine* tools = ToolEngine();
    if (!tools || ToolPushesUndo(tools->CurrentTool()))
        BeginImageChange();
    StrokeButton = button == TMouseButton::Left ? 0 : 1;
    if (tools)
        tools->DispatchToolEvent(X, Y, StrokeButton, shiftHeld, 2);
}

void TfrmDesk::Image1MouseMove(QObject* sender, TShiftState shift, int X, int Y)
{
    LastMouse = QPoint(X, Y);
    // The brush outline follows at once instead of at its next tick.
    if (TfrmBrush* brush = frmBrush(); brush && brush->Timer1->isActive())
        brush->FollowCursor(Image1->mapToGlobal(QPoint(X, Y)));
    if ((shift & (glimt::ssLeft | glimt::ssRight)) != 0 || !InStroke) {
        if (glimt::IToolEngine* tools = ToolEngine())
            tools->DispatchToolEvent(X, Y, StrokeButton, (shift & glimt::ssShift) != 0, 1);
    } else {
        Image1MouseUp(sender, TMouseButton(StrokeButton), shift, X, Y);
    }
}

void TfrmDesk::Image1MouseUp(QObject* sender, TMouseButton button, TShiftState shift, int X, int Y)
{
    // Only the release of the button that started the stroke ends it. Another button's
    // release changes nothing: the tool keys stay locked and the timer keeps watching for
    // Escape and Shift until the stroke's own button comes up.
    if (InStroke && std::uint8_t(button) != StrokeButton)
        return;
    if (InStroke && sender == Image1) {
        if (glimt::IToolEngine* tools = ToolEngine())
            tools->DispatchToolEvent(X, Y, StrokeButton, (shift & glimt::ssShift) != 0, StrokeCancelled ? 3 : 0);
    }
    EndStroke();
}

void TfrmDesk::EndStroke()
{
    if (glimt::IEditorHost* host = EditorHost())
        host->EnableToolActions();
    if (InStroke) {
        StrokeButton = 2;
        InStroke = false;
        StrokeBackup.reset();
        UpdateThumbnail();
    }
    Timer1->stop();
}

void TfrmDesk::Timer1Timer()
{
    if (IsEscapeDown()) {
        StrokeCancelled = true;
        Image1MouseUp(Image1, TMouseButton(StrokeButton), 0, 0, 0);
    }
    if (StrokeButton > 1)
        return;
    const TShiftState held = StrokeButton == 0 ? glimt::ssLeft : glimt::ssRight;
    if (IsShiftDown()) {
        ShiftWasDown = true;
        Image1MouseMove(Image1, TShiftState(held | glimt::ssShift), LastMouse.x(), LastMouse.y());
    } else if (ShiftWasDown) {
        ShiftWasDown = false;
        Image1MouseMove(Image1, held, LastMouse.x(), LastMouse.y());
    }
}

void TfrmDesk::ShowToolStatus(int AnchorX, int AnchorY, int X, int Y, std::uint8_t Button, std::uint8_t Tool)
{
    glimt::IEditorHost* host = EditorHost();
    if (!host)
        return;
    host->SetStatusText(0, glimt::ToolStatusText(AnchorX, AnchorY, X, Y, Button, Tool, Zoom, CurrentImage()));
}

// --- closing ----------------------------------------------------------------------------------

bool TfrmDesk::FormCloseQuery()
{
    if (Closing)
        return true;
    ActivateDocument();
    glimt::IEditorHost* host = EditorHost();
    if (!Saved) {
        const glimt::TAnswer answer
            = glimt::UserDialogs().YesNoCancel(glimt::MsgS("msgSave", "Save changes to %s1 ?", CaptionFileName()));
        if (answer == glimt::TAnswer::Cancel) {
            if (host)
                host->CloseRefused();
            return false;
        }
        if (answer == glimt::TAnswer::Yes) {
            if (host)
                host->ExecuteAction(QStringLiteral("actnSave"));
            // A save that was cancelled or failed keeps the window and its document.
            if (!Saved) {
                if (host)
                    host->CloseRefused();
                return false;
            }
        }
    }
    glimt::IToolEngine* tools = ToolEngine();
    if (tools && Tag != 0 && tools->SelectionDocumentSlot() == Tag)
        tools->DropSelection();
    if (TfrmBrush* brush = frmBrush())
        brush->hide();
    Closing = true;
    Undo.reset();
    Icon.reset();
    if (host)
        host->ReleaseDocumentWindow(Tag);
    return true;
}

void TfrmDesk::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void TfrmDesk::Image1DragDrop(const TThumbail& Thumbnails)
{
    glimt::IEditorHost* host = EditorHost();
    if (host && !Closing)
        host->DropThumbnailOnDocument(Thumbnails, this);
}

bool TfrmDesk::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Image1 || watched == ImgSel)
        && TThumbnailDragData::ServeDragEvent(
            event, this, [this](QPoint) { return !Closing; },
            [this](TThumbail& view) { Image1DragDrop(view); }))
        return true;
    if (Thumbnails && watched == Thumbnails->verticalScrollBar()
        && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        SizeSideBar();
    // The canvas is centred in the scroll box's client area, which changes size after the
    // window's own resize (scroll bars coming and going, the side bar's width).
    if (ScrollBox1 && watched == ScrollBox1->viewport() && event->type() == QEvent::Resize)
        CenterImage();
    // Moving over the scroll box outside the canvas empties the read-out.
    if (ScrollBox1 && watched == ScrollBox1->viewport() && event->type() == QEvent::MouseMove) {
        if (glimt::IEditorHost* host = EditorHost())
            host->SetStatusText(0, QString());
    }
    if (event->type() == QEvent::MouseButtonRelease
        && (watched == CoolBar1 || watched == ToolBar1 || (ScrollBox1 && watched == ScrollBox1->viewport())))
        ActivateDocument();
    return QWidget::eventFilter(watched, event);
}

void TfrmDesk::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    CenterImage();
    if (ImgSel->isVisible())
        RefreshSelection();
}

void TfrmDesk::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    ActivateDocument();
}
