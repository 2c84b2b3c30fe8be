// The document window's floating-selection layer: showing, drawing, moving and resizing it.
#include "editor/formDesk.h"

#include "editor/DeskRender.h"
#include "editor/EditorHost.h"
#include "editor/MyScroll.h"
#include "editor/SelectionDrop.h"
#include "engine/MyPainter.h"
#include "engine/Settings.h"
#include "engine/language.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QPalette>

using glimt::EditorHost;
using glimt::TMouseButton;
using glimt::TShiftState;
using glimt::ToolEngine;

namespace {

constexpr int kHandleSize = 9;

QImage HandlePicture(const QColor& face)
{
    QImage img(kHandleSize, kHandleSize, QImage::Format_RGB32);
    img.fill(face);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(0.5, 0.5, kHandleSize - 1, kHandleSize - 1));
    return img;
}

// The screen position of a layer event: where the mouse is for the layer's own events, the
// screen cursor for the main window's arrow-key moves.
QPoint CursorOf(QObject* sender, int X, int Y)
{
    if (auto* layer = qobject_cast<QWidget*>(sender); layer && layer->objectName() == QLatin1String("ImgSel"))
        return layer->mapToGlobal(QPoint(X, Y));
    return QCursor::pos();
}

bool OnLeftEdge(const QString& name)
{
    return name == QLatin1String("rpLeft") || name == QLatin1String("rpTopLeft") || name == QLatin1String("rpBottomLeft");
}

bool OnTopEdge(const QString& name)
{
    return name == QLatin1String("rpTop") || name == QLatin1String("rpTopLeft") || name == QLatin1String("rpTopRight");
}

bool OnRightEdge(const QString& name)
{
    return name == QLatin1String("rpRight") || name == QLatin1String("rpTopRight") || name == QLatin1String("rpBottomRight");
}

bool OnBottomEdge(const QString& name)
{
    return name == QLatin1String("rpBottom") || name == QLatin1String("rpBottomLeft") || name == QLatin1String("rpBottomRight");
}

} // namespace

void TfrmDesk::CreateSelectionLayer(QWidget* viewport)
{
    ImgSel = new glimt::TDeskCanvas(viewport);
    ImgSel->setObjectName(QStringLiteral("ImgSel"));
    ImgSel->setCursor(Qt::SizeAllCursor);
    connect(ImgSel, &glimt::TDeskCanvas::MouseDown, this,
        [this](TMouseButton b, TShiftState s, int x, int y) { ImgSelMouseDown(ImgSel, b, s, x, y); });
    connect(ImgSel, &glimt::TDeskCanvas::MouseMove, this,
        [this](TShiftState s, int x, int y) { ImgSelMouseMove(ImgSel, s, x, y); });
    connect(ImgSel, &glimt::TDeskCanvas::MouseUp, this,
        [this](TMouseButton b, TShiftState s, int x, int y) { ImgSelMouseUp(ImgSel, b, s, x, y); });

    const QImage picture = HandlePicture(palette().color(QPalette::Window));
    const struct {
        QWidget** field;
        const char* name;
        Qt::CursorShape cursor;
    } handles[] = {
        {&rpTop, "rpTop", Qt::SizeVerCursor}, {&rpLeft, "rpLeft", Qt::SizeHorCursor},
        {&rpBottom, "rpBottom", Qt::SizeVerCursor}, {&rpRight, "rpRight", Qt::SizeHorCursor},
        {&rpTopLeft, "rpTopLeft", Qt::SizeFDiagCursor}, {&rpTopRight, "rpTopRight", Qt::SizeBDiagCursor},
        {&rpBottomLeft, "rpBottomLeft", Qt::SizeBDiagCursor}, {&rpBottomRight, "rpBottomRight", Qt::SizeFDiagCursor},
    };
    for (const auto& h : handles) {
        auto* handle = new glimt::TDeskCanvas(viewport);
        handle->setObjectName(QLatin1String(h.name));
        handle->SetCanvasSize(kHandleSize, kHandleSize);
        handle->Bitmap = picture;
        handle->setCursor(h.cursor);
        connect(handle, &glimt::TDeskCanvas::MouseDown, this, [this, handle] { rpBottomRightMouseDown(handle); });
        connect(handle, &glimt::TDeskCanvas::MouseMove, this, [this, handle] { rpBottomRightMouseMove(handle); });
        connect(handle, &glimt::TDeskCanvas::MouseUp, this, [this, handle] { rpBottomRightMouseUp(handle); });
        *h.field = handle;
    }
}

void TfrmDesk::ShowSelectionHandles()
{
    glimt::IToolEngine* tools = ToolEngine();
    if (!tools || tools->SelectionDocumentSlot() == 0)
        return;
    for (QWidget* w : {static_cast<QWidget*>(ImgSel), rpTop, rpLeft, rpBottom, rpRight, rpTopLeft, rpTopRight, rpBottomLeft, rpBottomRight}) {
        w->show();
        w->raise();
    }
}

void TfrmDesk::HideSelectionHandles()
{
    for (QWidget* w : {static_cast<QWidget*>(ImgSel), rpTop, rpLeft, rpBottom, rpRight, rpTopLeft, rpTopRight, rpBottomLeft, rpBottomRight})
        w->hide();
    ImgSel->SetCanvasSize(0, 0);
}

void TfrmDesk::PlaceHandles()
{
    const int a = rpTopLeft->width() / 2;
    const QRect r = ImgSel->geometry();
    const int l = r.x(), t = r.y(), w = r.width(), h = r.height();
    rpTopLeft->move(l - a, t - a);
    rpTopRight->move(l + w - a, t - a);
    rpBottomLeft->move(l - a, t + h - a);
    rpBottomRight->move(l + w - a, t + h - a);
    rpTop->move(l + w / 2 - a, t - a);
    rpBottom->move(l + w / 2 - a, t + h - a);
    rpLeft->move(l - a, t + h / 2 - a);
    rpRight->move(l + w - a, t + h / 2 - a);
}

void TfrmDesk::RefreshSelection()
{
    if (!ImgSel->isVisible())
        return;
    TmyImagePal* image = CurrentImage();
    glimt::IToolEngine* tools = ToolEngine();
    const TmyImagePal* selection = tools ? tools->SelectionImage() : nullptr;
    if (image && selection)
        RenderSelection(*image, *selection, tools->SelectionInFront(), false, ImgSel);
}

void TfrmDesk::RenderSelection(const TmyImagePal& image, const TmyImagePal& selection, bool inFront, bool Dragging,
    glimt::TDeskCanvas* target)
{
    const QPoint o = Dragging ? SelDropOrigin : target->pos();
    QImage& bmp = target->Bitmap;
    if (bmp.size() != target->size())
        target->SetCanvasSize(target->width(), target->height());
    const QWidget* vp = ScrollBox1->viewport();
    const int zoom = std::max<int>(1, Zoom);
    const QRgb face = palette().color(QPalette::Button).rgb();
    const glimt::Checkerboard board = glimt::Checkerboard::FromOptions();
    const bool composite = Options().TransparentSelection || !inFront;
    const int rows = std::min(bmp.height(), vp->height() - o.y());
    const int cols = std::min(bmp.width(), vp->width() - o.x());
    const QRect canvas(Image1->pos(), Image1->size());
    for (int r = std::max(0, -o.y()); r < rows; ++r) {
        auto* line = reinterpret_cast<QRgb*>(bmp.scanLine(r));
        for (int e = std::max(0, -o.x()); e < cols; ++e) {
            const int g = o.x() + e - canvas.x();
            const int h = o.y() + r - canvas.y();
            if (g < 0 || h < 0 || g >= canvas.width() || h >= canvas.height()) {
                line[e] = face;
                continue;
            }
            const int sx = std::min(e / zoom, selection.Width() - 1);
            const int sy = std::min(r / zoom, selection.Height() - 1);
            const int ix = std::min(g / zoom, image.Width() - 1);
            const int iy = std::min(h / zoom, image.Height() - 1);
            const TmyPixel& s = selection.Pixel(sx, sy);
            const TmyPixel& i = image.Pixel(ix, iy);
            TmyPixel upper = inFront ? s : i;
            const TmyPixel& lower = inFront ? i : s;
            if (composite)
                TmyPainter::CompositePixel(upper, lower, true);
            const TColor c = board.ColorAt(g, h);
            const std::uint8_t a = std::uint8_t(255 - upper.A);
            line[e] = qRgb(TmyPainter::LerpChannel(std::uint8_t(c & 0xFF), upper.R, a),
                TmyPainter::LerpChannel(std::uint8_t((c >> 8) & 0xFF), upper.G, a),
                TmyPainter::LerpChannel(std::uint8_t((c >> 16) & 0xFF), upper.B, a));
        }
    }
    DrawSelectionGrid(canvas.x() - o.x(), canvas.x() + canvas.width() - o.x(), canvas.y() + canvas.height() - o.y(),
        canvas.y() - o.y());
    DrawSelectionFrame();
    PlaceHandles();
    target->update();
    // A drag redraws the preview itself once the layer has moved.
    if (!Dragging) {
        if (glimt::IEditorHost* host = EditorHost())
            host->ShowPreview(this);
    }
}

void TfrmDesk::DrawSelectionGrid(int X0, int X1, int Y1, int Y0)
{
    QImage& bmp = ImgSel->Bitmap;
    X0 = std::max(X0, 0);
    Y0 = std::max(Y0, 0);
    X1 = std::min(X1, bmp.width());
    Y1 = std::min(Y1, bmp.height());
    if (!GridVisible || Zoom < 2 || X0 >= X1 || Y0 >= Y1)
        return;
    const int style = Options().GridStyle;
    // The solid style draws in pure red over a selection, not in the grid colour.
    const QRgb color = glimt::ToRgb32(style == 0 ? TColor(255) : Options().GridColor);
    auto put = [&](int x, int y) { reinterpret_cast<QRgb*>(bmp.scanLine(y))[x] = color; };
    for (int y = Y0; y < Y1; ++y) {
        const bool gridRow = (y - Y0) % Zoom == 0;
        for (int x = X0; x < X1; ++x) {
            const bool gridCol = (x - X0) % Zoom == 0;
            bool on = false;
            if (style == 0)
                on = gridRow || gridCol;
            else if (style == 1)
                on = (gridRow && (x - X0) % 2 == 0) || (gridCol && (y - Y0) % 2 == 0);
            else
                on = gridRow && gridCol;
            if (on)
                put(x, y);
        }
    }
}

void TfrmDesk::DrawSelectionFrame()
{
    QImage& bmp = ImgSel->Bitmap;
    if (bmp.isNull())
        return;
    // A dotted white line XORed onto the layer's edge pixels.
    const QRgb white = 0x00FFFFFF;
    auto flip = [&](int x, int y) {
        if ((x + y) % 2 == 0) {
            QRgb& px = reinterpret_cast<QRgb*>(bmp.scanLine(y))[x];
            px = (px ^ white) | 0xFF000000u;
        }
    };
    const int w = bmp.width();
    const int h = bmp.height();
    for (int x = 0; x < w; ++x) {
        flip(x, 0);
        if (h > 1)
            flip(x, h - 1);
    }
    for (int y = 1; y + 1 < h; ++y) {
        flip(0, y);
        if (w > 1)
            flip(w - 1, y);
    }
}

void TfrmDesk::ResizeSelection(int W, int H)
{
    if (glimt::IToolEngine* tools = ToolEngine())
        tools->ResizeSelection(W, H);
}

void TfrmDesk::ShowSelectionStatus()
{
    glimt::IEditorHost* host = EditorHost();
    if (!host)
        return;
    const int zoom = std::max<int>(1, Zoom);
    const int L = (ImgSel->x() - Image1->x()) / zoom;
    const int T = (ImgSel->y() - Image1->y()) / zoom;
    const int W = ImgSel->width() / zoom;
    const int H = ImgSel->height() / zoom;
    host->SetStatusText(0, QStringLiteral("(%1,%2)-(%3,%4) %5:%6 %7:%8")
                               .arg(L).arg(T).arg(L + W).arg(T + H)
                               .arg(glimt::Msg("msgWidth", "W")).arg(W)
                               .arg(glimt::Msg("msgHeight", "H")).arg(H));
}

void TfrmDesk::ImgSelMouseDown(QObject* sender, TMouseButton button, TShiftState, int X, int Y)
{
    ActivateDocument();
    glimt::IEditorHost* host = EditorHost();
    if (host)
        host->DisableToolActions();
    SelOffset = ImgSel->pos() - Image1->pos();
    if (button == TMouseButton::Left) {
        SelDragging = true;
        SelDraggingOut = false;
        SelDragStart = ImgSel->pos();
        LastCursor = CursorOf(sender, X, Y);
    } else if (button == TMouseButton::Right && host) {
        host->ExecuteAction(QStringLiteral("actDropSelection"));
    }
}

void TfrmDesk::ImgSelMouseMove(QObject* sender, TShiftState, int X, int Y)
{
    ShowSelectionStatus();
    glimt::IEditorHost* host = EditorHost();
    const bool fromMain = host && sender && sender == host->MainWidget();
    if (!SelDragging && !fromMain)
        return;
    if (fromMain) {
        // An arrow-key move: the step is (X, Y) from wherever the cursor is.
        LastCursor = QCursor::pos();
        SelectionDragStep(LastCursor + QPoint(X, Y), false);
    } else {
        SelectionDragStep(CursorOf(sender, X, Y), true);
    }
}

void TfrmDesk::SelectionDragStep(QPoint cursor, bool fromMouse)
{
    const QRect box(ScrollBox1->mapToGlobal(QPoint(0, 0)), ScrollBox1->size());
    // With drag and drop switched off the layer stops at the scroll box's edge; with it on,
    // leaving the box turns the move into a drag that may end on another document or on the
    // work area, and coming back resumes the ordinary move.
    if (fromMouse && !box.contains(cursor)) {
        if (!Options().AllowDragAndDrop)
            return;
        SelDraggingOut = true;
    } else if (fromMouse && SelDraggingOut) {
        SelDraggingOut = false;
        ImgSel->setCursor(Qt::SizeAllCursor);
    }
    SelOffset += cursor - LastCursor;
    const int zoom = std::max<int>(1, Zoom);
    const QPoint snapped(SelOffset.x() / zoom * zoom, SelOffset.y() / zoom * zoom);
    SelDropOrigin = Image1->pos() + snapped;
    if (SelDropOrigin != ImgSel->pos()) {
        TmyImagePal* image = CurrentImage();
        glimt::IToolEngine* tools = ToolEngine();
        const TmyImagePal* selection = tools ? tools->SelectionImage() : nullptr;
        if (image && selection)
            RenderSelection(*image, *selection, tools->SelectionInFront(), true, ImgSel);
    }
    ImgSel->move(SelDropOrigin);
    PlaceHandles();
    ScrollBox1->viewport()->update();
    if (glimt::IEditorHost* host = EditorHost())
        host->ShowPreview(this);
    LastCursor = cursor;
    if (SelDraggingOut)
        SelectionDragOver(cursor);
}

void TfrmDesk::ImgSelMouseUp(QObject* sender, TMouseButton button, TShiftState, int X, int Y)
{
    SelDragging = false;
    const bool draggedOut = SelDraggingOut && button == TMouseButton::Left;
    SelDraggingOut = false;
    ImgSel->setCursor(Qt::SizeAllCursor);
    glimt::IEditorHost* host = EditorHost();
    if (!host)
        return;
    host->EnableToolActions();
    // A selection that went to another document is not this window's to delete any more.
    if (draggedOut && SelectionDragDrop(CursorOf(sender, X, Y)))
        return;
    if (button == TMouseButton::Left && ImgSel->width() <= 0)
        host->ExecuteAction(QStringLiteral("actnDel"));
}

void TfrmDesk::SelectionDragOver(QPoint cursor)
{
    const glimt::TSelectionDropTarget target = glimt::FindSelectionDropTarget(*this, cursor);
    ImgSel->setCursor(target.kind == glimt::TSelectionDropTarget::None ? Qt::ForbiddenCursor : Qt::DragMoveCursor);
    if (target.kind == glimt::TSelectionDropTarget::Desk) {
        const int zoom = std::max<int>(1, target.desk->Zoom);
        if (glimt::IEditorHost* host = EditorHost())
            host->SetStatusText(0, QStringLiteral("(%1,%2)").arg(target.canvasPos.x() / zoom).arg(target.canvasPos.y() / zoom));
    }
}

bool TfrmDesk::SelectionDragDrop(QPoint cursor)
{
    const glimt::TSelectionDropTarget target = glimt::FindSelectionDropTarget(*this, cursor);
    bool taken = false;
    if (target.kind == glimt::TSelectionDropTarget::Desk) {
        glimt::MoveSelectionToDesk(target.desk->Tag, target.canvasPos.x(), target.canvasPos.y());
        taken = true;
    } else if (target.kind == glimt::TSelectionDropTarget::WorkArea) {
        taken = glimt::DropSelectionOnWorkArea();
    }
    if (!taken && ImgSel->isVisible()) {
        // A drag that found no taker leaves the layer where it was.
        SelOffset = SelDragStart - Image1->pos();
        ImgSel->move(SelDragStart);
        RefreshSelection();
        ScrollBox1->viewport()->update();
    }
    return taken;
}

void TfrmDesk::rpBottomRightMouseDown(QWidget*)
{
    SelResizing = true;
    LastCursor = QCursor::pos();
    SelSize = QSize(ImgSel->width() + Zoom - 1, ImgSel->height() + Zoom - 1);
    // The floating selection is 1 to 256 cells in each direction.
    ImgSel->setMinimumSize(Zoom, Zoom);
    ImgSel->setMaximumSize(Zoom * 257 - 1, Zoom * 257 - 1);
}

void TfrmDesk::rpBottomRightMouseMove(QWidget* handle)
{
    ShowSelectionStatus();
    if (!SelResizing)
        return;
    const QPoint c = QCursor::pos();
    const QPoint d = c - LastCursor;
    LastCursor = c;
    SelectionResizeStep(handle, d);
}

void TfrmDesk::SelectionResizeStep(QWidget* handle, QPoint delta)
{
    const QString name = handle->objectName();
    if (OnRightEdge(name))
        SelSize.rwidth() += delta.x();
    if (OnLeftEdge(name))
        SelSize.rwidth() -= delta.x();
    if (OnBottomEdge(name))
        SelSize.rheight() += delta.y();
    if (OnTopEdge(name))
        SelSize.rheight() -= delta.y();
    const int zoom = std::max<int>(1, Zoom);
    auto constrain = [&](int v) { return std::clamp(v, ImgSel->minimumWidth(), ImgSel->maximumWidth()); };
    const int oldW = ImgSel->width();
    const int oldH = ImgSel->height();
    int w = oldW;
    int h = oldH;
    if (SelSize.width() / zoom * zoom != oldW)
        w = constrain(SelSize.width() / zoom * zoom);
    if (SelSize.height() / zoom * zoom != oldH)
        h = std::clamp(SelSize.height() / zoom * zoom, ImgSel->minimumHeight(), ImgSel->maximumHeight());
    QPoint pos = ImgSel->pos();
    // Handles on the left or top edge keep the opposite edge in place.
    if (OnLeftEdge(name) && w != oldW)
        pos.rx() += (oldW - w) / zoom * zoom;
    if (OnTopEdge(name) && h != oldH)
        pos.ry() += (oldH - h) / zoom * zoom;
    ImgSel->move(pos);
    ImgSel->SetCanvasSize(w, h);
    PlaceHandles();
    // Redraws the layer, and with it the preview.
    ResizeSelection(w / zoom, h / zoom);
}

void TfrmDesk::rpBottomRightMouseUp(QWidget*)
{
    SelResizing = false;
    ImgSel->setMinimumSize(0, 0);
    ImgSel->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}
