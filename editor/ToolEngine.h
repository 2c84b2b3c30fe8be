#pragma once
#include "editor/BrushMask.h"
#include "editor/MyPainter.h"
#include "engine/MyIcon.h"
#include "engine/myselection.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>

// The tool engine without its window: the state every tool shares (current tool, brush,
// fill style, gradient direction, the points of the running stroke, the spray's generator)
// and the routines of the painting tools. The tool window fills a TToolContext from the
// active document once per mouse event and redraws what the result names; nothing here
// reaches for a window.
namespace glimt {

// Tool numbers.
enum TTool : std::uint8_t {
    toolNone = 0,
    toolSelection = 1,
    toolCrop = 2,
    toolText = 3,
    toolColorEraser = 4,
    toolFill = 5,
    toolSpray = 6,
    toolBrush = 7,
    toolPencil = 8,
    toolLine = 9,
    toolRectangle = 10,
    toolRoundRect = 11,
    toolEllipse = 12,
    toolPicker = 13,
    toolZoom = 14,
    toolOpacity = 15,
    toolGradient = 16,
    toolBrighten = 17,
    toolBlur = 18,
};
constexpr int kToolCount = 18;

// Event codes of DispatchToolEvent.
constexpr std::uint8_t kCodeRelease = 0;
constexpr std::uint8_t kCodeMove = 1;
constexpr std::uint8_t kCodePress = 2;
constexpr std::uint8_t kCodeCancel = 3;

// What one event works on, resolved by the caller from the active document.
struct TToolContext {
    // Image, stroke-start copy, the two colours and the painting settings. The colours may be
    // changed by the Color Picker (see TToolResult).
    TPaintContext Paint;
    // The document window's canvas for the rubber bands (may be null: no previews).
    QImage* Canvas = nullptr;
    // Screen pixels per cell, 1..10; the Zoom tool changes it (see TToolResult).
    int Zoom = 1;

    // --- for the Selection, Crop and Text tools ------------------------------------------
    // The floating selection (null: the Selection tool lifts nothing).
    tmyselection* Selection = nullptr;
    // The active document's icon (the Crop tool keeps its formats unique; null: no check).
    const TmyIcon* Icon = nullptr;
    // Slot of the active document, the owner of a lifted selection.
    int Slot = 0;
    // Alt held: the Selection tool copies instead of cutting.
    bool AltDown = false;
    // Merging the floating selection would ask the palette question.
    bool DropNeedsQuestion = false;
    // About to change the current image outside the press's undo step: pushes the undo
    // snapshot and marks the document unsaved (may be empty).
    std::function<void()> BeforeImageChange;
};

// What an event changed, for the caller to redraw and hand on.
struct TToolResult {
    QRect Cells;             // image cells written
    QRect CanvasPixels;      // canvas pixels changed by a rubber band
    bool ImageRefit = false; // the image was fitted back to a palette: redraw it whole
    bool ForeColorPicked = false;
    bool BackColorPicked = false;
    bool ZoomChanged = false;
    bool ReturnToPreviousTool = false;
    QPoint Cell;             // the event's cell after the Shift rule
    bool Ran = false;        // a tool routine ran
    // Selection, Crop and Text tools; the caller acts on these in this order.
    bool ReleaseStrokeAndDrop = false; // end the stroke without a tool event, then merge the
                                       // floating selection in its own document
    bool DropSelection = false;        // merge the floating selection
    bool SelectionLifted = false;      // Selection holds a new lift of the current image: show it
    bool ImageCropped = false;         // the current image was replaced by a part of it
    bool CropRefused = false;          // the icon already holds the cropped format
    bool TextRequested = false;        // ask for a text and float it at Cell
    bool ClipboardChanged = false;     // refresh the clipboard actions
};

class TToolEngine {
public:
    std::uint8_t CurrentTool = toolPencil;
    std::uint8_t PreviousTool = toolPencil;
    std::uint8_t BrushSize = 1;         // 1..7
    std::uint8_t BrushShape = 1;        // 1 square, 2 round, 3 "/", 4 "\"
    std::uint8_t GradientDirection = 1; // 1 left to right, 2 top to bottom
    std::uint8_t FillStyle = 1;         // 1 outline, 2 outline and other colour inside, 3 filled
    QPoint LastPoint;
    QPoint AnchorPoint;
    // The spray's generator: starts at 0 and is never re-seeded.
    std::uint32_t Seed = 0;
    // Selection tool: set at its left press, cleared by the first band drawn; while set, no
    // band is on the canvas.
    bool BandPending = false;
    // Set when a floating selection was merged; the Selection tool's next left move only
    // clears it.
    bool JustDropped = false;

    const TBrushMasks& Masks() const { return m_masks; }
    const QImage& Mask(int button) const { return m_masks.Mask(button, BrushShape, BrushSize); }

    // PreviousTool := CurrentTool; CurrentTool := tool.
    void SelectTool(std::uint8_t tool);

    // One mouse event: X, Y in canvas pixels (clamped to the canvas of the context's image at
    // its zoom), button 0 left, 1 right, 2 none; code 2 press, 1 move, 0 release, 3 cancel.
    // Runs the current tool for the left and right button; while a stroke runs, events of the
    // other button are ignored, so a stray release does not end the stroke.
    TToolResult Dispatch(TToolContext& c, int X, int Y, std::uint8_t button, bool shift, std::uint8_t code);

    // The next value 0..s-1 of the spray's generator.
    std::uint32_t Random(std::uint32_t s);

    // Paints the shape spanned by two cells through a mask: kind 0 rectangle, 1 rounded
    // rectangle, 2 ellipse, in the brush size and fill style.
    QRect DrawShapeMask(const TPaintContext& c, int X1, int Y1, int X2, int Y2, int button, int kind) const;
    // A linear gradient from the start colour (the button's) to the end colour over the
    // rectangle spanned by two cells; direction 1 by columns, 2 by rows.
    static QRect FillGradient(const TPaintContext& c, int X1, int Y1, int X2, int Y2, int button, int direction);

private:
    void RunTool(TToolContext& c, QPoint cell, int button, std::uint8_t code, bool shift, TToolResult& r);
    void MaskTool(TToolContext& c, QPoint cell, int button, std::uint8_t code, TToolResult& r);
    void ShapeTool(TToolContext& c, QPoint cell, int button, std::uint8_t code, TToolResult& r);
    QRect Preview(TToolContext& c, QPoint to) const;
    QRect StampAt(const TPaintContext& c, int x, int y, int button) const;
    // Tools 1, 2 and 3 (ToolEngine_Selection.cpp).
    void SelectionToolEvent(TToolContext& c, QPoint cell, int button, std::uint8_t code, TToolResult& r);
    void CropToolEvent(TToolContext& c, QPoint cell, std::uint8_t code, TToolResult& r);
    QRect Band(TToolContext& c, QPoint to) const;

    TBrushMasks m_masks;
    int m_strokeButton = 2; // button of the running stroke; 2 none
};

// Lifts the rectangle spanned by two cells (in any order) of `image` into `selection`, in front,
// cut to the image; false (selection unchanged) when none of it lies inside.
bool LiftRectangle(tmyselection& selection, const TmyImagePal& image, int X1, int Y1, int X2, int Y2);
// Crops `image`, the current image of `icon`, to the rectangle spanned by two cells (cut to
// the image); the result has 32 bits per pixel and no palette. Refused, with the image
// unchanged, when the icon already holds an image of the new size at the image's depth, or
// another image of the new size at 32 bits (the format the crop makes); `icon` may be null.
enum class TCropResult { Cropped, NotUnique, Outside };
TCropResult ApplyCrop(TmyImagePal& image, const TmyIcon* icon, int X1, int Y1, int X2, int Y2);

// What the Text tool writes: the font, its size in points, the styles and one line of text.
struct TTextChoice {
    QString FontName;
    int Size = 12;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    QString Text;
    // The font at a screen resolution of 96 pixels per inch, drawn without anti-aliasing (the
    // selection's soft edges come from the painting settings instead).
    QFont Font() const;
};

// Makes `text` the floating selection: its image (32 bits, no palette) is the text's extent,
// at most 256 x 256 cells, painted in the left colour (button 0) or the right colour (button
// 1) through a text mask, with soft edges when `smoothEdges`; in front, owned by `slot`.
// False, with the selection unchanged, when the text has no extent (an empty line).
bool FloatText(tmyselection& selection, const TTextChoice& text, int button, const TmyPixel& foreColor,
    const TmyPixel& backColor, bool smoothEdges, int slot);

// The tool of a key of the keyboard (letters in either case, "[" and "]"); 0 for others.
std::uint8_t ToolForKey(QChar key);

} // namespace glimt
