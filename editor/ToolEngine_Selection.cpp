// The Selection, Crop and Text tools of the tool engine, and the lift and crop they share.
#include "editor/ToolEngine.h"

#include "editor/MyPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace glimt {

bool LiftRectangle(tmyselection& selection, const TmyImagePal& image, int X1, int Y1, int X2, int Y2)
{
    if (X1 > X2)
        std::swap(X1, X2);
    if (Y1 > Y2)
        std::swap(Y1, Y2);
    tmyselection lifted = selection;
    lifted.SetBounds(X1, Y1, X2 + 1, Y2 + 1);
    if (!lifted.GrabFrom(image))
        return false;
    lifted.InFront = true;
    selection = std::move(lifted);
    return true;
}

TCropResult ApplyCrop(TmyImagePal& image, const TmyIcon* icon, int X1, int Y1, int X2, int Y2)
{
    tmyselection part;
    if (!LiftRectangle(part, image, X1, Y1, X2, Y2))
        return TCropResult::Outside;
    const int w = part.Image.Width();
    const int h = part.Image.Height();
    for (int i = 0; icon && i < icon->Count(); ++i) {
        const TmyImagePal& other = icon->Image(i);
        if (other.Width() != w || other.Height() != h)
            continue;
        if (other.BitDepth == image.BitDepth || (other.BitDepth == 32 && &other != &image))
            return TCropResult::NotUnique;
    }
    const int zoom = image.Zoom;
    image.Assign(part.Image);
    image.Zoom = zoom;
    return TCropResult::Cropped;
}

QRect TToolEngine::Band(TToolContext& c, QPoint to) const
{
    if (!c.Canvas)
        return {};
    return TmyPainter::XorDottedRectangle(*c.Canvas, std::clamp(c.Zoom, 1, 10), AnchorPoint.x(), AnchorPoint.y(),
        to.x(), to.y());
}

void TToolEngine::SelectionToolEvent(TToolContext& c, QPoint cell, int button, std::uint8_t code, TToolResult& r)
{
    const bool floating = c.Selection && !c.Selection->IsEmpty();
    switch (code) {
    case kCodePress:
        if (button != 0) {
            r.DropSelection = floating;
            break;
        }
        AnchorPoint = cell;
        if (floating && c.DropNeedsQuestion) {
            // The merge asks the palette question: the stroke ends first, so that no band
            // follows the mouse once the question is answered.
            r.ReleaseStrokeAndDrop = true;
            break;
        }
        r.DropSelection = floating;
        BandPending = true;
        break;
    case kCodeMove:
        if (button != 0)
            break;
        if (JustDropped) {
            JustDropped = false;
            return;
        }
        if (BandPending)
            BandPending = false;
        else
            r.CanvasPixels |= Band(c, LastPoint);
        r.CanvasPixels |= Band(c, cell);
        break;
    case kCodeRelease: {
        if (button != 0 || BandPending || !c.Selection)
            break;
        if (c.BeforeImageChange)
            c.BeforeImageChange();
        r.CanvasPixels |= Band(c, LastPoint);
        if (!LiftRectangle(*c.Selection, *c.Paint.Image, AnchorPoint.x(), AnchorPoint.y(), LastPoint.x(), LastPoint.y()))
            break;
        c.Selection->DocumentSlot = std::uint8_t(c.Slot);
        r.SelectionLifted = true;
        if (c.AltDown)
            break;
        // Cut: exactly the lifted cells become transparent.
        const TSelectionRect& b = c.Selection->Bounds;
        TPaintContext hole = c.Paint;
        hole.SmoothEdges = false;
        for (int y = b.Top; y < b.Bottom; ++y)
            for (int x = b.Left; x < b.Right; ++x)
                r.Cells |= TmyPainter::PutPixel(hole, x, y, TmyPixel::Create(), kModeNormal);
        break;
    }
    case kCodeCancel:
        if (button == 0 && !BandPending)
            r.CanvasPixels |= Band(c, LastPoint);
        break;
    default: break;
    }
    r.ClipboardChanged = true;
}

void TToolEngine::CropToolEvent(TToolContext& c, QPoint cell, std::uint8_t code, TToolResult& r)
{
    switch (code) {
    case kCodePress:
        AnchorPoint = cell;
        r.CanvasPixels |= Band(c, cell);
        break;
    case kCodeMove:
        r.CanvasPixels |= Band(c, LastPoint);
        r.CanvasPixels |= Band(c, cell);
        break;
    case kCodeRelease: {
        r.CanvasPixels |= Band(c, LastPoint);
        const TCropResult crop = ApplyCrop(*c.Paint.Image, c.Icon, AnchorPoint.x(), AnchorPoint.y(), LastPoint.x(),
            LastPoint.y());
        r.ImageCropped = crop == TCropResult::Cropped;
        r.CropRefused = crop == TCropResult::NotUnique;
        break;
    }
    case kCodeCancel: r.CanvasPixels |= Band(c, LastPoint); break;
    default: break;
    }
}

} // namespace glimt

namespace glimt {

QFont TTextChoice::Font() const
{
    QFont font(FontName);
    // Points to pixels at 96 pixels per inch, rounded half up.
    font.setPixelSize(std::max(1, (Size * 96 + 36) / 72));
    font.setBold(Bold);
    font.setItalic(Italic);
    font.setUnderline(Underline);
    font.setStrikeOut(StrikeOut);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

bool FloatText(tmyselection& selection, const TTextChoice& text, int button, const TmyPixel& foreColor,
    const TmyPixel& backColor, bool smoothEdges, int slot)
{
    const QFont font = text.Font();
    const QFontMetrics metrics(font);
    const int width = std::min(metrics.horizontalAdvance(text.Text), 256);
    const int height = std::min(metrics.height(), 256);
    if (text.Text.isEmpty() || width <= 0 || height <= 0)
        return false;

    QImage mask(256, 256, QImage::Format_RGB32);
    mask.fill(Qt::white);
    {
        QPainter p(&mask);
        p.setFont(font);
        p.setPen(QColor::fromRgb(MaskColor(button)));
        p.drawText(QPoint(0, metrics.ascent()), text.Text);
    }
    selection.Image = TmyImagePal(height, width, 32);
    selection.Image.Palette.reset();
    TPaintContext c;
    c.Selection = &selection.Image;
    c.ForeColor = foreColor;
    c.BackColor = backColor;
    c.SmoothEdges = smoothEdges;
    TmyPainter::StampMaskToSelection(c, 0, 0, mask);
    selection.OriginalImage = selection.Image;
    selection.DocumentSlot = std::uint8_t(slot);
    selection.InFront = true;
    selection.SetBounds(0, 0, 10, 10);
    return true;
}

} // namespace glimt
