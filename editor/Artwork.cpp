#include "editor/Artwork.h"

#include <QApplication>
#include <QIconEngine>
#include <QStyle>
#include <QStyleOption>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <cmath>
#include <numbers>

namespace glimt {

namespace {

const QColor kInk(40, 40, 48);
const QColor kBlue(52, 110, 210);
const QColor kRed(210, 60, 50);
// The side of one cell of the banner's picture, in logical pixels.
constexpr int kBannerCell = 5;

QPen InkPen(qreal width = 1.0)
{
    QPen pen(kInk, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// A long tool lying from the upper right to the lower left: the painter is turned so that the
// tool's axis runs along x, its working end at negative x.
void TurnDiagonal(QPainter& p)
{
    p.translate(8, 8);
    p.rotate(-45);
}

void Pencil(QPainter& p)
{
    TurnDiagonal(p);
    p.setPen(InkPen(0.8));
    p.setBrush(QColor(245, 200, 60));
    p.drawRect(QRectF(-4, -2, 9, 4));
    p.setBrush(QColor(235, 130, 150));
    p.drawRect(QRectF(5, -2, 3, 4));
    p.setBrush(QColor(240, 215, 170));
    p.drawPolygon(QPolygonF({QPointF(-4, -2), QPointF(-8.5, 0), QPointF(-4, 2)}));
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({QPointF(-6.8, -0.8), QPointF(-8.5, 0), QPointF(-6.8, 0.8)}));
}

void Brush(QPainter& p)
{
    TurnDiagonal(p);
    p.setPen(InkPen(0.8));
    p.setBrush(QColor(160, 100, 50));
    p.drawRoundedRect(QRectF(0, -1.3, 8.5, 2.6), 1.2, 1.2);
    p.setBrush(QColor(190, 190, 200));
    p.drawRect(QRectF(-2.5, -1.8, 2.5, 3.6));
    QPainterPath tuft;
    tuft.moveTo(-2.5, -2);
    tuft.cubicTo(-6, -2.5, -7, -1, -8.5, 0);
    tuft.cubicTo(-7, 1, -6, 2.5, -2.5, 2);
    tuft.closeSubpath();
    p.setBrush(kBlue);
    p.drawPath(tuft);
}

void Eraser(QPainter& p)
{
    p.setPen(QPen(kBlue, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(1.5, 14.5), QPointF(6, 14.5));
    p.translate(8.5, 8);
    p.rotate(-35);
    p.setPen(InkPen(0.8));
    p.setBrush(QColor(240, 240, 245));
    p.drawRect(QRectF(-1, -3, 7, 6));
    p.setBrush(QColor(235, 120, 140));
    p.drawRect(QRectF(-6, -3, 5, 6));
}

void Fill(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    QPainterPath drop;
    drop.moveTo(13.5, 8);
    drop.cubicTo(15.5, 11, 15.5, 14, 13.5, 14);
    drop.cubicTo(11.5, 14, 11.5, 11, 13.5, 8);
    p.drawPath(drop);
    p.translate(7, 9);
    p.rotate(-30);
    p.setPen(InkPen(0.8));
    p.setBrush(QColor(215, 220, 230));
    p.drawPolygon(QPolygonF({QPointF(-5, -3), QPointF(4, -3), QPointF(3, 5), QPointF(-4, 5)}));
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(-5, -4.2, 9, 2.4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-4, -8, 7, 8), 0, 180 * 16);
}

void Spray(QPainter& p)
{
    p.setPen(InkPen(0.8));
    p.setBrush(QColor(200, 205, 215));
    p.drawRoundedRect(QRectF(2, 6.5, 6, 8.5), 1.5, 1.5);
    p.setBrush(kRed);
    p.drawRect(QRectF(3.5, 4, 3, 2.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    constexpr std::array<QPointF, 9> dots = {QPointF(9.5, 3.5), QPointF(11.5, 2), QPointF(12, 5), QPointF(14, 3.5),
                                             QPointF(10.5, 6.5), QPointF(13.5, 7), QPointF(14.5, 1),
                                             QPointF(11.5, 8.5), QPointF(15, 5.5)};
    for (const QPointF& d : dots)
        p.drawEllipse(d, 0.7, 0.7);
}

void Picker(QPainter& p)
{
    TurnDiagonal(p);
    p.setPen(InkPen(0.8));
    p.setBrush(QColor(225, 235, 245));
    p.drawPolygon(QPolygonF({QPointF(-8.5, 0), QPointF(-5, -1.2), QPointF(2, -1.2), QPointF(2, 1.2),
                             QPointF(-5, 1.2)}));
    p.setBrush(kBlue);
    p.drawRect(QRectF(-3, -1.2, 5, 2.4));
    p.setBrush(kInk);
    p.drawRect(QRectF(2, -2.5, 1.5, 5));
    p.drawRoundedRect(QRectF(3.5, -1.8, 4.5, 3.6), 1.8, 1.8);
}

void Zoom(QPainter& p)
{
    p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14.3, 14.3));
    QRadialGradient glass(QPointF(5, 5), 6);
    glass.setColorAt(0, Qt::white);
    glass.setColorAt(1, QColor(170, 205, 240));
    p.setBrush(glass);
    p.setPen(InkPen(1.3));
    p.drawEllipse(QPointF(6.5, 6.5), 4.8, 4.8);
}

void Line(QPainter& p)
{
    p.setPen(InkPen(1.6));
    p.drawLine(QPointF(2.5, 13.5), QPointF(13.5, 2.5));
}

void Rect(QPainter& p)
{
    p.setPen(InkPen(1.3));
    p.drawRect(QRectF(2.5, 3.5, 11, 9));
}

void RoundRect(QPainter& p)
{
    p.setPen(InkPen(1.3));
    p.drawRoundedRect(QRectF(2.5, 3.5, 11, 9), 3, 3);
}

void Ellipse(QPainter& p)
{
    p.setPen(InkPen(1.3));
    p.drawEllipse(QRectF(1.5, 3.5, 13, 9));
}

// A framed rectangle shaded from `from` to white along the line `start` to `end`.
void Shaded(QPainter& p, const QRectF& r, const QColor& from, QPointF start, QPointF end)
{
    QLinearGradient g(start, end);
    g.setColorAt(0, from);
    g.setColorAt(1, Qt::white);
    p.setBrush(g);
    p.setPen(InkPen(0.8));
    p.drawRect(r);
}

void Gradient(QPainter& p)
{
    Shaded(p, QRectF(1.5, 3.5, 13, 9), kBlue, QPointF(2, 0), QPointF(14, 0));
}

void Selection(QPainter& p)
{
    QPen pen(kInk, 1.0, Qt::CustomDashLine);
    pen.setDashPattern({2, 2});
    p.setPen(pen);
    p.drawRect(QRectF(2.5, 3.5, 11, 9));
}

void Crop(QPainter& p)
{
    p.setPen(InkPen(1.6));
    p.drawPolyline(QPolygonF({QPointF(4.5, 1.5), QPointF(4.5, 11.5), QPointF(14.5, 11.5)}));
    p.drawPolyline(QPolygonF({QPointF(1.5, 4.5), QPointF(11.5, 4.5), QPointF(11.5, 14.5)}));
}

void Text(QPainter& p)
{
    p.setPen(InkPen(1.8));
    p.drawPolyline(QPolygonF({QPointF(3, 14), QPointF(8, 2.5), QPointF(13, 14)}));
    p.drawLine(QPointF(5.2, 9.8), QPointF(10.8, 9.8));
}

void Checker(QPainter& p, const QRectF& r)
{
    const qreal cell = r.width() / 3;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            p.fillRect(QRectF(r.left() + cell * x, r.top() + cell * y, cell, cell),
                       (x + y) % 2 ? QColor(200, 200, 200) : Qt::white);
}

void Opacity(QPainter& p)
{
    Checker(p, QRectF(2, 2, 12, 12));
    QLinearGradient g(QPointF(2, 0), QPointF(14, 0));
    g.setColorAt(0, QColor(kBlue.red(), kBlue.green(), kBlue.blue(), 255));
    g.setColorAt(1, QColor(kBlue.red(), kBlue.green(), kBlue.blue(), 0));
    p.fillRect(QRectF(2, 2, 12, 12), g);
    p.setPen(InkPen(0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2, 2, 12, 12));
}

void Brighten(QPainter& p)
{
    p.setPen(InkPen(1.0));
    for (int i = 0; i < 8; ++i) {
        const double a = i * std::numbers::pi / 4;
        p.drawLine(QPointF(8 + 5.2 * std::cos(a), 8 + 5.2 * std::sin(a)),
                   QPointF(8 + 7 * std::cos(a), 8 + 7 * std::sin(a)));
    }
    p.setBrush(QColor(255, 215, 70));
    p.drawEllipse(QPointF(8, 8), 3.8, 3.8);
    p.setBrush(kInk);
    p.drawPie(QRectF(4.2, 4.2, 7.6, 7.6), -90 * 16, 180 * 16);
}

void Blur(QPainter& p)
{
    QPainterPath drop;
    drop.moveTo(8, 1.5);
    drop.cubicTo(12, 7, 13, 9, 13, 10.5);
    drop.cubicTo(13, 13.5, 10.5, 15, 8, 15);
    drop.cubicTo(5.5, 15, 3, 13.5, 3, 10.5);
    drop.cubicTo(3, 9, 4, 7, 8, 1.5);
    QLinearGradient g(QPointF(4, 4), QPointF(12, 14));
    g.setColorAt(0, QColor(200, 225, 250));
    g.setColorAt(1, kBlue);
    p.setBrush(g);
    p.setPen(InkPen(0.8));
    p.drawPath(drop);
}

// A shape and its mirror image across the centre line, for the flip commands.
void Flip(QPainter& p, bool vertical)
{
    if (vertical) {
        p.translate(16, 0);
        p.rotate(90);
    }
    p.setPen(InkPen(0.8));
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({QPointF(6.5, 3), QPointF(6.5, 13), QPointF(1.5, 13)}));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(9.5, 3), QPointF(9.5, 13), QPointF(14.5, 13)}));
    QPen axis(kRed, 1.0, Qt::CustomDashLine);
    axis.setDashPattern({1.5, 1.5});
    p.setPen(axis);
    p.drawLine(QPointF(8, 1), QPointF(8, 15));
}

void Rotate(QPainter& p, bool clockwise)
{
    if (!clockwise) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 10, 10), 200 * 16, -290 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({QPointF(10.5, 3.8), QPointF(15, 5.5), QPointF(13, 9.5)}));
}

// A solid arrow head pointing the way `turns` quarter turns clockwise from the right.
void Arrow(QPainter& p, int turns)
{
    p.translate(8, 8);
    p.rotate(90 * turns);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({QPointF(5, 0), QPointF(-3, -5.5), QPointF(-3, 5.5)}));
}

void BrushSize(QPainter& p, int size)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    const double r = 0.8 + 0.95 * size;
    p.drawEllipse(QPointF(8, 8), r, r);
}

void BrushShape(QPainter& p, int shape)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    switch (shape) {
    case 1: p.drawRect(QRectF(3, 3, 10, 10)); break;
    case 2: p.drawEllipse(QRectF(3, 3, 10, 10)); break;
    default:
        p.setPen(InkPen(2.4));
        if (shape == 3)
            p.drawLine(QPointF(3.5, 12.5), QPointF(12.5, 3.5));
        else
            p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        break;
    }
}

void FillStyle(QPainter& p, int style)
{
    p.setPen(style == 3 ? QPen(Qt::NoPen) : InkPen(1.6));
    p.setBrush(style == 1 ? QBrush(Qt::NoBrush) : QBrush(style == 2 ? QColor(170, 190, 220) : kInk));
    p.drawRect(QRectF(2.5, 3.5, 11, 9));
}

void Direction(QPainter& p, bool vertical)
{
    Shaded(p, QRectF(2.5, 2.5, 11, 11), kInk, QPointF(2, 2), vertical ? QPointF(2, 14) : QPointF(14, 2));
}

// The colour panel's buttons: the default pair (black over white), and the pair swapped.
void ResetColors(QPainter& p)
{
    p.setPen(InkPen(0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 6.5, 8, 8));
    p.setBrush(kInk);
    p.drawRect(QRectF(1.5, 1.5, 8, 8));
}

void SwapColors(QPainter& p)
{
    p.setPen(InkPen(1.3));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 3.5, 20, 20), 90 * 16, 90 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({QPointF(11, 1), QPointF(15, 3.5), QPointF(11, 6.5)}));
    p.drawPolygon(QPolygonF({QPointF(0, 11), QPointF(2.5, 15), QPointF(5.5, 11)}));
}

// The tool bar's commands and switches.
void Undo(QPainter& p, bool redo)
{
    if (redo) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    QPainterPath path;
    path.moveTo(4, 7);
    path.cubicTo(8, 3, 15, 5, 13, 12);
    p.setPen(QPen(kBlue, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({QPointF(1, 4), QPointF(7.5, 3.5), QPointF(4, 10)}));
}

void Cut(QPainter& p)
{
    p.setPen(InkPen(1.3));
    p.drawLine(QPointF(4.5, 1.5), QPointF(10.5, 10));
    p.drawLine(QPointF(11.5, 1.5), QPointF(5.5, 10));
    p.setPen(QPen(kRed, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 12.5), 2.3, 2.3);
    p.drawEllipse(QPointF(11.5, 12.5), 2.3, 2.3);
}

void Page(QPainter& p, const QRectF& r)
{
    p.setPen(InkPen(0.9));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(150, 160, 180), 0.8));
    for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void Copy(QPainter& p)
{
    Page(p, QRectF(1.5, 1.5, 8, 10));
    Page(p, QRectF(6.5, 4.5, 8, 10));
}

void Paste(QPainter& p)
{
    p.setPen(InkPen(0.9));
    p.setBrush(QColor(200, 160, 100));
    p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
    p.setBrush(QColor(190, 190, 200));
    p.drawRect(QRectF(4, 1, 5, 3));
    Page(p, QRectF(6.5, 6.5, 8, 8.5));
}

void FilterOnAlpha(QPainter& p)
{
    Checker(p, QRectF(1, 1, 14, 14));
    QRadialGradient soft(QPointF(8, 8), 6.5);
    soft.setColorAt(0, QColor(kBlue.red(), kBlue.green(), kBlue.blue(), 255));
    soft.setColorAt(1, QColor(kBlue.red(), kBlue.green(), kBlue.blue(), 0));
    p.setPen(Qt::NoPen);
    p.setBrush(soft);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
}

void Smooth(QPainter& p)
{
    p.setPen(QPen(QColor(kInk.red(), kInk.green(), kInk.blue(), 70), 4.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 13), QPointF(13, 3));
    p.setPen(InkPen(1.6));
    p.drawLine(QPointF(3, 13), QPointF(13, 3));
}

void TransparentSelection(QPainter& p)
{
    Checker(p, QRectF(2, 2, 12, 12));
    Selection(p);
}

struct TGlyph {
    std::string_view kind;
    void (*draw)(QPainter&);
};

constexpr TGlyph kGlyphs[] = {
    {"pencil", Pencil},
    {"brush", Brush},
    {"eraser", Eraser},
    {"fill", Fill},
    {"spray", Spray},
    {"picker", Picker},
    {"zoom", Zoom},
    {"line", Line},
    {"rect", Rect},
    {"roundrect", RoundRect},
    {"ellipse", Ellipse},
    {"gradient", Gradient},
    {"selection", Selection},
    {"crop", Crop},
    {"text", Text},
    {"opacity", Opacity},
    {"brighten", Brighten},
    {"blur", Blur},
    {"flipvert", [](QPainter& p) { Flip(p, true); }},
    {"fliphoriz", [](QPainter& p) { Flip(p, false); }},
    {"rotateleft", [](QPainter& p) { Rotate(p, false); }},
    {"rotateright", [](QPainter& p) { Rotate(p, true); }},
    {"right", [](QPainter& p) { Arrow(p, 0); }},
    {"down", [](QPainter& p) { Arrow(p, 1); }},
    {"left", [](QPainter& p) { Arrow(p, 2); }},
    {"up", [](QPainter& p) { Arrow(p, 3); }},
    {"size1", [](QPainter& p) { BrushSize(p, 1); }},
    {"size2", [](QPainter& p) { BrushSize(p, 2); }},
    {"size3", [](QPainter& p) { BrushSize(p, 3); }},
    {"size4", [](QPainter& p) { BrushSize(p, 4); }},
    {"size5", [](QPainter& p) { BrushSize(p, 5); }},
    {"size6", [](QPainter& p) { BrushSize(p, 6); }},
    {"size7", [](QPainter& p) { BrushSize(p, 7); }},
    {"square", [](QPainter& p) { BrushShape(p, 1); }},
    {"round", [](QPainter& p) { BrushShape(p, 2); }},
    {"slash", [](QPainter& p) { BrushShape(p, 3); }},
    {"backslash", [](QPainter& p) { BrushShape(p, 4); }},
    {"outline", [](QPainter& p) { FillStyle(p, 1); }},
    {"outlinefill", [](QPainter& p) { FillStyle(p, 2); }},
    {"filled", [](QPainter& p) { FillStyle(p, 3); }},
    {"horizontal", [](QPainter& p) { Direction(p, false); }},
    {"vertical", [](QPainter& p) { Direction(p, true); }},
    {"undo", [](QPainter& p) { Undo(p, false); }},
    {"redo", [](QPainter& p) { Undo(p, true); }},
    {"cut", Cut},
    {"copy", Copy},
    {"paste", Paste},
    {"filteronalpha", FilterOnAlpha},
    {"smooth", Smooth},
    {"transsel", TransparentSelection},
    {"resetcolors", ResetColors},
    {"swapcolors", SwapColors},
};

// The glyph `side` device pixels square.
QPixmap DrawGlyph(void (*draw)(QPainter&), int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 16.0, side / 16.0);
    draw(p);
    return pixmap;
}

// A glyph drawn afresh for every size and pixel density it is asked for, so that it is as
// sharp on a dense screen as on a plain one.
class TGlyphEngine : public QIconEngine {
public:
    explicit TGlyphEngine(void (*draw)(QPainter&)) : m_draw(draw) {}

    QIconEngine* clone() const override { return new TGlyphEngine(m_draw); }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(16, 16), QSize(32, 32)}; }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    // `size` is in device pixels already; QIcon sets the pixmap's ratio.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal) override
    {
        const QPixmap glyph = DrawGlyph(m_draw, std::max(1, std::min(size.width(), size.height())));
        if (mode != QIcon::Disabled)
            return glyph;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(QIcon::Disabled, glyph, &option);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap glyph = scaledPixmap(rect.size() * dpr, mode, state, dpr);
        glyph.setDevicePixelRatio(dpr);
        painter->drawPixmap(rect.topLeft(), glyph);
    }

private:
    void (*m_draw)(QPainter&);
};

} // namespace

QIcon ButtonGlyph(std::string_view kind)
{
    for (const TGlyph& g : kGlyphs) {
        if (g.kind == kind) {
            return QIcon(new TGlyphEngine(g.draw));
        }
    }
    return {};
}

QPixmap DialogBanner(QSize size, qreal dpr)
{
    const int width = std::max(1, size.width()), height = std::max(1, size.height());
    dpr = std::max(1.0, dpr);
    // Painted in device pixels; the sweep is drawn in logical ones through a scale.
    QImage picture(QSize(width, height) * dpr, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(dpr, dpr);

    // A soft blue sweep under the right end.
    QPainterPath sweep;
    sweep.moveTo(width - 230, height);
    sweep.cubicTo(width - 160, height, width - 150, 0, width - 70, 0);
    sweep.lineTo(width, 0);
    sweep.lineTo(width, height);
    sweep.closeSubpath();
    QLinearGradient blue(QPointF(width - 230, 0), QPointF(width, 0));
    blue.setColorAt(0, QColor(236, 243, 252));
    blue.setColorAt(1, QColor(190, 212, 242));
    p.fillPath(sweep, blue);

    // An 8 x 8 cell picture of a gem, the kind of image the program edits, in whole device
    // pixels so that its cells stay sharp at any density.
    constexpr const char* rows[8] = {
        "..aaaa..", ".abbbba.", "abccccba", "bccddccb", ".bcddcb.", "..bccb..", "...bb...", "........",
    };
    const QColor colours[] = {QColor(120, 170, 235), QColor(60, 110, 210), QColor(40, 80, 180), QColor(230, 240, 255)};
    p.resetTransform();
    p.setRenderHint(QPainter::Antialiasing, false);
    const int cell = std::max(2, int(std::lround(kBannerCell * dpr)));
    const int gap = std::max(1, int(std::lround(dpr)));
    const int left = int(std::lround((width - 56) * dpr)), top = int(std::lround(6 * dpr));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (rows[y][x] != '.')
                p.fillRect(left + x * cell, top + y * cell, cell - gap, cell - gap, colours[rows[y][x] - 'a']);
    p.fillRect(0, picture.height() - gap, picture.width(), gap, QColor(150, 175, 215));
    p.end();
    QPixmap pixmap = QPixmap::fromImage(picture);
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

} // namespace glimt
