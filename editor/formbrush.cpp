#include "editor/formbrush.h"

#include "editor/EditorHost.h"
#include "editor/MyScroll.h"
#include "editor/formDesk.h"
#include "editor/formTools.h"

#include <QCursor>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace {

TfrmBrush* g_frmBrush = nullptr;

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;

// Fills the Zoom x Zoom square of every painted mask cell, offset by (OffsetX, OffsetY).
void DrawMaskAt(QImage& picture, int OffsetX, int OffsetY, const QImage& Mask, int Zoom, QRgb Colour)
{
    const QRect bounds = picture.rect();
    const int rows = std::min(Mask.height(), 255);
    const int cols = std::min(Mask.width(), 255);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (qRed(Mask.pixel(c, r)) != 0)
                continue;
            const QRect cell = QRect(OffsetX + c * Zoom, OffsetY + r * Zoom, Zoom, Zoom) & bounds;
            for (int y = cell.top(); y <= cell.bottom(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
                std::fill(line + cell.left(), line + cell.right() + 1, Colour);
            }
        }
    }
}

} // namespace

namespace glimt {

QImage BrushOutlinePicture(const QImage& mask, int zoom, QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(kWhite);
    if (zoom > 1) {
        for (const QPoint offset : {QPoint(0, 0), QPoint(2, 0), QPoint(0, 2), QPoint(2, 2)})
            DrawMaskAt(picture, offset.x(), offset.y(), mask, zoom, kBlack);
        DrawMaskAt(picture, 1, 1, mask, zoom, kWhite);
    }
    return picture;
}

QRegion OutlineRegion(const QImage& picture)
{
    // Runs of one row never abut and rows come in order, as QRegion::setRects wants them.
    std::vector<QRect> runs;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        int x = 0;
        while (x < picture.width()) {
            if ((line[x] & 0xFFFFFFu) == 0xFFFFFFu) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < picture.width() && (line[x] & 0xFFFFFFu) != 0xFFFFFFu)
                ++x;
            runs.emplace_back(start, y, x - start, 1);
        }
    }
    QRegion region;
    if (!runs.empty())
        region.setRects(runs.data(), int(runs.size()));
    return region;
}

void ConnectBrushOutline(TfrmTools& tools, TfrmBrush& brush)
{
    tools.BrushOutline = [window = QPointer<TfrmBrush>(&brush)](const QImage* mask, int zoom) {
        if (window)
            window->ShowOutline(mask, zoom);
    };
}

TBrushImage::TBrushImage(QWidget* parent) : QWidget(parent)
{
    // The ring picture is mostly transparent: what lies below must be painted first, or the
    // square shows whatever the screen held there before (another document's picture).
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBrushImage::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect r = event->rect() & Picture.rect();
    p.drawImage(r.topLeft(), Picture, r);
}

} // namespace glimt

TfrmBrush* frmBrush()
{
    return g_frmBrush;
}

TfrmBrush::TfrmBrush(QWidget* parent) : QWidget(parent)
{
    g_frmBrush = this;
    setObjectName(QStringLiteral("frmBrush"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(110, 81);
    Image1 = new glimt::TBrushImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 81, 81);
    Image1->Picture = glimt::BrushOutlinePicture(QImage(), 1, Image1->size());
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &TfrmBrush::Timer1Timer);
    hide();
    // Until the first document window, a tick finds nothing to follow.
    Timer1->start();
}

TfrmBrush::~TfrmBrush()
{
    if (g_frmBrush == this)
        g_frmBrush = nullptr;
}

void TfrmBrush::SetBrushShape(const QImage& Mask, int Zoom)
{
    this->Zoom = std::clamp(Zoom, 1, 10);
    HalfWidth = (Mask.width() / 2) * this->Zoom;
    HalfHeight = (Mask.height() / 2) * this->Zoom;
    Image1->Picture = glimt::BrushOutlinePicture(Mask, this->Zoom, Image1->size());
    BuildWindowRegion();
    Image1->update();
}

void TfrmBrush::BuildWindowRegion()
{
    m_region = glimt::OutlineRegion(Image1->Picture).translated(Image1->pos());
    // An empty mask would show the whole window: at zoom 1 there is no ring, so no window.
    if (m_region.isEmpty())
        hide();
    else
        setMask(m_region);
}

void TfrmBrush::ShowOutline(const QImage* mask, int zoom)
{
    if (mask) {
        SetBrushShape(*mask, zoom);
        Timer1->start();
    } else {
        Timer1->stop();
        hide();
    }
}

void TfrmBrush::Timer1Timer()
{
    FollowCursor(QCursor::pos());
}

void TfrmBrush::FollowCursor(QPoint cursor)
{
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    if (!desk || !desk->Image1 || !desk->ScrollBox1)
        return;
    const QWidget* canvas = desk->Image1;
    const QWidget* viewport = desk->ScrollBox1->viewport();
    const QRect visible = QRect(canvas->mapToGlobal(QPoint(0, 0)), canvas->size())
                          & QRect(viewport->mapToGlobal(QPoint(0, 0)), viewport->size());
    // The first column and row of the visible canvas count as outside.
    const bool inside = canvas->isVisible() && cursor.x() > visible.left() && cursor.x() < visible.left() + visible.width()
                        && cursor.y() > visible.top() && cursor.y() < visible.top() + visible.height();
    if (!inside || m_region.isEmpty() || !parentWidget()) {
        hide();
        return;
    }
    const QPoint pixel = canvas->mapFromGlobal(cursor);
    const QPoint cellOrigin((pixel.x() / Zoom) * Zoom, (pixel.y() / Zoom) * Zoom);
    move(parentWidget()->mapFromGlobal(canvas->mapToGlobal(cellOrigin)) - QPoint(HalfWidth + 1, HalfHeight + 1));
    StackOver(canvas);
    if (isHidden())
        show();
}

void TfrmBrush::StackOver(const QWidget* canvas)
{
    const QWidget* holder = canvas;
    while (holder && holder->parentWidget() != parentWidget())
        holder = holder->parentWidget();
    const QObjectList& siblings = parentWidget()->children();
    const qsizetype at = holder ? siblings.indexOf(const_cast<QWidget*>(holder)) : -1;
    if (at < 0) {
        raise();
        return;
    }
    for (qsizetype i = at + 1; i < siblings.size(); ++i) {
        if (siblings[i] == this)
            return; // already right above it
        auto* w = qobject_cast<QWidget*>(siblings[i]);
        if (w && !w->isWindow()) {
            stackUnder(w);
            return;
        }
    }
    raise();
}
