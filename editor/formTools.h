#pragma once
#include "editor/EditorHost.h"
#include "editor/ToolEngine.h"
#include "engine/myselection.h"

#include <QWidget>
#include <array>
#include <functional>

class QButtonGroup;
class QFrame;
class QToolButton;
class TfrmDesk;
class TfrmText;

namespace glimt {

// The left-button and right-button colours as the tools see them. The colour panel
// implements it; without one the tool window keeps its own pair.
class IPaintColors {
public:
    virtual ~IPaintColors() = default;
    virtual TmyPixel ForeColor() const = 0;
    virtual TmyPixel BackColor() const = 0;
    // The Color Picker took a colour from the image.
    virtual void PickForeColor(const TmyPixel& color) = 0;
    virtual void PickBackColor(const TmyPixel& color) = 0;
};

} // namespace glimt

// The tool window: one button per tool, the option panels of the current tool, and the
// dispatcher that turns the active document's canvas events into tool runs. The tool state and
// the tools themselves live in Engine (no window needed); this form resolves the active
// document once per event and redraws what the tool changed.
class TfrmTools : public QWidget, public glimt::IToolEngine {
    Q_OBJECT
public:
    explicit TfrmTools(QWidget* parent = nullptr);
    ~TfrmTools() override;

    glimt::TToolEngine Engine;

    // Where the colours come from (not owned; null: the window's own pair below).
    void SetPaintColors(glimt::IPaintColors* colors) { m_colors = colors; }
    TmyPixel ForeColor = TmyPixel::CreateRGBA(0, 0, 0, 255);
    TmyPixel BackColor = TmyPixel::CreateRGBA(255, 255, 255, 255);
    // Told about every painted rectangle of cells of `image` (the preview window redraws them).
    std::function<void(const TmyImagePal& image, const QRect& cells)> CellsPainted;
    // Shows the brush outline of `mask` at `zoom` and lets it follow the cursor, or hides it
    // (null mask). Called only while the current tool has an outline, or to hide it.
    std::function<void(const QImage* mask, int zoom)> BrushOutline;
    // Asks for the Text tool's text; false when the user cancelled. Unset: the Text dialog
    // (TextDialog) is shown modally.
    std::function<bool(glimt::TTextChoice& text)> AskText;
    // The Text dialog, made on first use and kept (it remembers the last choice).
    TfrmText* TextDialog();

    // --- IToolEngine -----------------------------------------------------------------------
    std::uint8_t CurrentTool() const override { return Engine.CurrentTool; }
    void DispatchToolEvent(int X, int Y, std::uint8_t button, bool shift, std::uint8_t code) override;
    tmyselection* Selection() override { return &m_selection; }
    void ApplyToolCursor() override;
    void UpdateBrushPreview() override;
    int SelectionDocumentSlot() override;
    // Merges the floating selection into the current image of its document (which need not be
    // the active one), with an undo step, at the cell where its layer lies; nothing when the
    // selection is empty.
    void DropSelection() override;
    const TmyImagePal* SelectionImage() override;
    bool SelectionInFront() override { return m_selection.InFront; }
    void ResizeSelection(int width, int height) override;
    void AssignSelectionToDocument(int slot) override;
    void ShowSelectionLayer(bool force) override;

    // --- floating selection (formTools_Selection.cpp) --------------------------------------
    // Makes the rectangle spanned by two cells of the active document's current image the
    // floating selection and shows its layer there; the image is not changed.
    void LiftSelection(int X1, int Y1, int X2, int Y2);

    // --- tool choice -------------------------------------------------------------------------
    void SelectTool(std::uint8_t tool);
    // Clicks the button of tool 1..18 and sets it down; other values do nothing.
    void PressToolButton(std::uint8_t tool) override;
    // The digit keys 1 to 7 click the size buttons while the size panel shows; true when used.
    bool PressSizeKey(int digit);
    void ShowToolOptions(bool size, bool shape, bool fill, bool direction);
    void SetToolCursor(Qt::CursorShape cursor);
    // Color Eraser, Brush, Opacity, Brighten/Darken and Blur/Sharpen show the brush outline.
    static bool HasBrushOutline(std::uint8_t tool);

    // --- controls (object names are the component names) -------------------------------
    std::array<QToolButton*, glimt::kToolCount> ToolButtons{}; // index = tool number - 1
    QToolButton* btnFlipVert = nullptr;
    QToolButton* btnFlipHoriz = nullptr;
    QToolButton* btnRotateLeft = nullptr;
    QToolButton* btnRotateRight = nullptr;
    QToolButton* btnRight = nullptr;
    QToolButton* btnUp = nullptr;
    QToolButton* btnDown = nullptr;
    QToolButton* btnLeft = nullptr;
    QFrame* Panel1 = nullptr; // brush size
    QFrame* Panel2 = nullptr; // brush shape
    QFrame* Panel3 = nullptr; // fill style
    QFrame* Panel4 = nullptr; // gradient direction
    std::array<QToolButton*, 7> SizeButtons{};
    std::array<QToolButton*, 4> ShapeButtons{};
    std::array<QToolButton*, 3> FillButtons{};
    std::array<QToolButton*, 2> DirectionButtons{};

private:
    void ToolButtonClick(std::uint8_t tool);
    void RedrawCells(TfrmDesk& desk, TmyImagePal& image, const QRect& cells);
    // The Selection, Crop and Text tools around one event (formTools_Selection.cpp): what the
    // engine needs to know, and the window work that its result asks for.
    void FillSelectionContext(glimt::TToolContext& c, TfrmDesk& desk);
    void ApplySelectionResult(TfrmDesk& desk, const glimt::TToolResult& r, std::uint8_t button);
    void TextToolEvent(TfrmDesk& desk, QPoint cell, std::uint8_t button);
    // Places the active window's layer over the selection's Bounds and shows it.
    void ShowLiftedSelection(TfrmDesk& desk);

    tmyselection m_selection;
    TfrmText* m_frmText = nullptr; // owned through Qt parenting
    glimt::IPaintColors* m_colors = nullptr;
};
