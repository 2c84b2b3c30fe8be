#include "editor/ToolEngine.h"

#include "editor/Line.h"
#include "editor/PaletteFit.h"
#include "editor/ShapeRaster.h"
#include "engine/myUndo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace glimt {

namespace {

bool IsBandTool(int tool)
{
    return tool == toolSelection || tool == toolCrop || tool == toolLine || tool == toolRectangle ||
           tool == toolRoundRect || tool == toolEllipse || tool == toolGradient;
}

bool IsDiagonal(int shape)
{
    return shape == kShapeSlash || shape == kShapeBackslash;
}

// Squares, circles and 45-degree lines: the shorter leg takes the longer leg's length on its
// own side (ties go to the negative side); the Line tool snaps nearly flat lines to the axes.
QPoint ShiftRule(QPoint cell, QPoint anchor, bool lineTool)
{
    const int dx = std::abs(cell.x() - anchor.x());
    const int dy = std::abs(cell.y() - anchor.y());
    QPoint out = cell;
    if (dx < dy)
        out.setX(cell.x() > anchor.x() ? anchor.x() + dy : anchor.x() - dy);
    else
        out.setY(cell.y() > anchor.y() ? anchor.y() + dx : anchor.y() - dx);
    if (lineTool) {
        if (dx / 3 > dy)
            out.setY(anchor.y());
        if (dy / 3 > dx)
            out.setX(anchor.x());
    }
    return out;
}

// The cells from `from` (excluded) to `to` (included).
std::vector<QPoint> Segment(QPoint from, QPoint to)
{
    Tline line;
    line.X1 = from.x();
    line.Y1 = from.y();
    line.X2 = to.x();
    line.Y2 = to.y();
    line.Rasterize();
    return std::move(line.Points);
}

} // namespace

void TToolEngine::SelectTool(std::uint8_t tool)
{
    PreviousTool = CurrentTool;
    CurrentTool = tool;
}

std::uint32_t TToolEngine::Random(std::uint32_t s)
{
    Seed = Seed * 134775813u + 1u;
    return std::uint32_t((std::uint64_t(Seed) * s) >> 32);
}

TToolResult TToolEngine::Dispatch(TToolContext& c, int X, int Y, std::uint8_t button, bool shift, std::uint8_t code)
{
    TToolResult r;
    if (!c.Paint.Image)
        return r;
    const int zoom = std::clamp(c.Zoom, 1, 10);
    const int W = c.Paint.Image->Width() * zoom;
    const int H = c.Paint.Image->Height() * zoom;
    X = std::max(std::min(X, W - 1), 0);
    Y = std::max(std::min(Y, H - 1), 0);
    QPoint cell(X / zoom, Y / zoom);
    if (IsBandTool(CurrentTool) && (code == kCodeRelease || code == kCodeMove) && shift)
        cell = ShiftRule(cell, AnchorPoint, CurrentTool == toolLine);
    r.Cell = cell;
    if (button > 1)
        return r;
    // A stroke belongs to the button that started it.
    if (code == kCodePress)
        m_strokeButton = button;
    else if (m_strokeButton <= 1 && button != m_strokeButton)
        return r;
    if (code == kCodePress)
        LastPoint = cell;
    RunTool(c, cell, button, code, shift, r);
    r.Ran = true;
    if (code == kCodeMove)
        LastPoint = cell;
    if (code == kCodeRelease || code == kCodeCancel)
        m_strokeButton = 2;
    return r;
}

QRect TToolEngine::StampAt(const TPaintContext& c, int x, int y, int button) const
{
    const int h = BrushSize / 2;
    const QImage& mask = Mask(button);
    switch (CurrentTool) {
    case toolColorEraser: return TmyPainter::ReplaceColorMask(c, x - h, y - h, mask);
    case toolBrush: return TmyPainter::StampMask(c, x - h, y - h, mask);
    case toolOpacity: return TmyPainter::OpacityMask(c, x - h, y - h, mask);
    case toolBrighten: return TmyPainter::BrightenMask(c, x - h, y - h, mask);
    case toolBlur: return TmyPainter::BlurMask(c, x - h, y - h, mask);
    default: return {};
    }
}

void TToolEngine::MaskTool(TToolContext& c, QPoint cell, int button, std::uint8_t code, TToolResult& r)
{
    if (CurrentTool == toolOpacity && button != 0)
        return;
    if (code == kCodePress) {
        r.Cells |= StampAt(c.Paint, cell.x(), cell.y(), button);
    } else if (code == kCodeMove) {
        for (const QPoint& p : Segment(LastPoint, cell)) {
            r.Cells |= StampAt(c.Paint, p.x(), p.y(), button);
            if (IsDiagonal(BrushShape))
                r.Cells |= StampAt(c.Paint, p.x() > LastPoint.x() ? p.x() - 1 : p.x() + 1, p.y(), button);
        }
    } else if (CurrentTool == toolBrighten || CurrentTool == toolBlur) {
        // Release and Escape alike: the painted colours go back to the palette.
        if (ApplyPaletteAction(*c.Paint.Image))
            r.ImageRefit = true;
    }
}

QRect TToolEngine::Preview(TToolContext& c, QPoint to) const
{
    if (!c.Canvas)
        return {};
    const int z = std::clamp(c.Zoom, 1, 10);
    const QPoint a = AnchorPoint;
    switch (CurrentTool) {
    case toolLine: return TmyPainter::XorLine(*c.Canvas, z, a.x(), a.y(), to.x(), to.y());
    case toolRoundRect: return TmyPainter::XorRoundRect(*c.Canvas, z, a.x(), a.y(), to.x(), to.y());
    case toolEllipse: return TmyPainter::XorEllipse(*c.Canvas, z, a.x(), a.y(), to.x(), to.y());
    default: return TmyPainter::XorRectangle(*c.Canvas, z, a.x(), a.y(), to.x(), to.y());
    }
}

void TToolEngine::ShapeTool(TToolContext& c, QPoint cell, int button, std::uint8_t code, TToolResult& r)
{
    if (code == kCodePress) {
        AnchorPoint = cell;
        r.CanvasPixels |= Preview(c, cell);
        return;
    }
    if (code == kCodeMove) {
        r.CanvasPixels |= Preview(c, LastPoint);
        r.CanvasPixels |= Preview(c, cell);
        return;
    }
    r.CanvasPixels |= Preview(c, LastPoint);
    if (code == kCodeCancel)
        return;
    const TPaintContext& p = c.Paint;
    const int s = BrushSize;
    switch (CurrentTool) {
    case toolLine: {
        const QImage& mask = Mask(button);
        for (const QPoint& q : Segment(AnchorPoint, LastPoint)) {
            r.Cells |= TmyPainter::StampMask(p, q.x() - s / 2, q.y() - s / 2, mask);
            if (IsDiagonal(BrushShape))
                r.Cells |= TmyPainter::StampMask(p, q.x() - s / 2 - 1, q.y() - s / 2, mask);
        }
        r.Cells |= TmyPainter::StampMask(p, AnchorPoint.x() - s / 2, AnchorPoint.y() - s / 2, mask);
        break;
    }
    case toolRectangle:
    case toolRoundRect: {
        const bool thin = cell.x() == AnchorPoint.x() || cell.y() == AnchorPoint.y();
        const int kind = thin ? 2 : (CurrentTool == toolRectangle ? 0 : 1);
        r.Cells |= DrawShapeMask(p, AnchorPoint.x(), AnchorPoint.y(), cell.x(), cell.y(), button, kind);
        break;
    }
    case toolEllipse:
        r.Cells |= DrawShapeMask(p, AnchorPoint.x(), AnchorPoint.y(), cell.x(), cell.y(), button, 2);
        break;
    case toolGradient:
        r.Cells |= FillGradient(p, AnchorPoint.x(), AnchorPoint.y(), cell.x(), cell.y(), button, GradientDirection);
        if (ApplyPaletteAction(*p.Image))
            r.ImageRefit = true;
        break;
    default: break;
    }
}

QRect TToolEngine::DrawShapeMask(const TPaintContext& c, int X1, int Y1, int X2, int Y2, int button, int kind) const
{
    glimt::IncludeEndCell(X1, Y1, X2, Y2);
    const int W = std::abs(X2 - X1);
    const int H = std::abs(Y2 - Y1);
    QImage mask(W + 6, H + 6, QImage::Format_RGB32);
    mask.fill(0xFFFFFFFFu);
    const QRgb pen = MaskColor(button);
    const QRgb other = MaskColor(button == 0 ? 1 : 0);
    std::optional<QRgb> brush;
    if (FillStyle == 2)
        brush = other;
    else if (FillStyle == 3)
        brush = pen;
    TShapeSpec spec;
    spec.Left = 3;
    spec.Top = 3;
    spec.Right = W + 3;
    spec.Bottom = H + 3;
    spec.Kind = kind == 0 ? TShapeKind::Rectangle : kind == 1 ? TShapeKind::RoundRect : TShapeKind::Ellipse;
    spec.CornerWidth = W / 3;
    spec.CornerHeight = W / 3;
    spec.PenWidth = (W == 1 && H == 1 && BrushSize == 1) ? 2 : BrushSize;
    DrawShape(mask, spec, pen, brush);
    return TmyPainter::StampMask(c, std::min(X1, X2) - 3, std::min(Y1, Y2) - 3, mask);
}

QRect TToolEngine::FillGradient(const TPaintContext& c, int X1, int Y1, int X2, int Y2, int button, int direction)
{
    if (X1 > X2)
        std::swap(X1, X2);
    if (Y1 > Y2)
        std::swap(Y1, Y2);
    TmyPixel start = button == 0 ? c.ForeColor : c.BackColor;
    TmyPixel end = button == 0 ? c.BackColor : c.ForeColor;
    if (start.A == 0)
        start = TmyPixel::CreateRGBA(end.R, end.G, end.B, 0);
    if (end.A == 0)
        end = TmyPixel::CreateRGBA(start.R, start.G, start.B, 0);
    const int extent = direction == 1 ? X2 - X1 : Y2 - Y1;
    const double n = extent == 0 ? 1.0 : double(extent);
    double step[4] = {0, 0, 0, 0};
    if (extent != 0) {
        step[0] = (double(start.R) - end.R) / n;
        step[1] = (double(start.G) - end.G) / n;
        step[2] = (double(start.B) - end.B) / n;
        step[3] = (double(start.A) - end.A) / n;
    }
    double sum[4] = {double(end.R), double(end.G), double(end.B), double(end.A)};
    TmyPixel colour = end;
    auto channel = [](double v) { return std::uint8_t(std::clamp(std::nearbyint(v), 0.0, 255.0)); };
    QRect dirty;
    const int from = direction == 1 ? X2 : Y2;
    const int to = direction == 1 ? X1 : Y1;
    for (int k = from; k >= to; --k) {
        if (colour.A != 0) {
            if (direction == 1)
                for (int y = Y1; y <= Y2; ++y)
                    dirty |= TmyPainter::PutPixel(c, k, y, colour, kModeNormal);
            else
                for (int x = X1; x <= X2; ++x)
                    dirty |= TmyPainter::PutPixel(c, x, k, colour, kModeNormal);
        }
        for (int i = 0; i < 4; ++i)
            sum[i] += step[i];
        colour = TmyPixel::CreateRGBA(channel(sum[0]), channel(sum[1]), channel(sum[2]), channel(sum[3]));
    }
    return dirty;
}

void TToolEngine::RunTool(TToolContext& c, QPoint cell, int button, std::uint8_t code, bool shift, TToolResult& r)
{
    TPaintContext& p = c.Paint;
    const TmyPixel& colour = button == 0 ? p.ForeColor : p.BackColor;
    switch (CurrentTool) {
    case toolSelection: SelectionToolEvent(c, cell, button, code, r); break;
    case toolCrop: CropToolEvent(c, cell, code, r); break;
    case toolText: r.TextRequested = code == kCodeRelease; break;
    case toolColorEraser:
    case toolBrush:
    case toolOpacity:
    case toolBrighten:
    case toolBlur: MaskTool(c, cell, button, code, r); break;
    case toolPencil:
        if (code == kCodePress) {
            r.Cells |= TmyPainter::PutPixel(p, cell.x(), cell.y(), colour, kModeNormal);
        } else if (code == kCodeMove) {
            for (const QPoint& q : Segment(LastPoint, cell))
                r.Cells |= TmyPainter::PutPixel(p, q.x(), q.y(), colour, kModeNormal);
        }
        break;
    case toolSpray:
        if (code == kCodePress || code == kCodeMove) {
            const int s = BrushSize;
            for (int dot = 0; dot < s - s / 2; ++dot) {
                const int x = std::min(cell.x() - s / 2 + int(Random(std::uint32_t(s))), 255);
                const int y = std::min(cell.y() - s / 2 + int(Random(std::uint32_t(s))), 255);
                r.Cells |= TmyPainter::PutPixel(p, x, y, colour, kModeNormal);
            }
        }
        break;
    case toolFill:
        if (code == kCodePress) {
            BusyGuard busy;
            TmyPixel fill = colour;
            if (fill.A == 0)
                fill = TmyPixel::CreateRGBA(0, 0, 0, 0);
            const TmyPixel target = TmyPainter::GetPixelCopy(p, cell.x(), cell.y());
            TmyPainter::CompositePixel(fill, target, false);
            r.Cells |= TmyPainter::FloodFill(p, cell.x(), cell.y(), fill, target);
        }
        break;
    case toolPicker:
        if (code == kCodeRelease) {
            const TmyPixel picked = TmyPainter::GetPixelCopy(p, cell.x(), cell.y());
            if (button == 0) {
                p.ForeColor = picked;
                r.ForeColorPicked = true;
            } else {
                p.BackColor = picked;
                r.BackColorPicked = true;
            }
            r.ReturnToPreviousTool = !shift;
        }
        break;
    case toolZoom:
        if (code == kCodeRelease) {
            if (button == 0 && c.Zoom < 10) {
                ++c.Zoom;
                r.ZoomChanged = true;
            } else if (button == 1 && c.Zoom >= 2) {
                --c.Zoom;
                r.ZoomChanged = true;
            }
        }
        break;
    case toolLine:
    case toolRectangle:
    case toolRoundRect:
    case toolEllipse:
    case toolGradient: ShapeTool(c, cell, button, code, r); break;
    default: break;
    }
}

std::uint8_t ToolForKey(QChar key)
{
    switch (key.toLower().unicode()) {
    case 's': return toolSelection;
    case 'c': return toolCrop;
    case 't': return toolText;
    case 'e': return toolColorEraser;
    case 'f': return toolFill;
    case 'r': return toolSpray;
    case 'b': return toolBrush;
    case 'p': return toolPencil;
    case 'l': return toolLine;
    case 'x': return toolRectangle;
    case 'y': return toolRoundRect;
    case 'z': return toolEllipse;
    case 'i': return toolPicker;
    case 'm': return toolZoom;
    case 'o': return toolOpacity;
    case 'g': return toolGradient;
    case '[': return toolBrighten;
    case ']': return toolBlur;
    default: return toolNone;
    }
}

} // namespace glimt
