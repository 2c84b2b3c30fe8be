#include "editor/formTools.h"

#include "editor/Artwork.h"
#include "editor/ToolCursors.h"
#include "editor/formDesk.h"
#include "engine/MyFilter.h"
#include "engine/Settings.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstring>

namespace {

struct TToolInfo {
    const char* button;
    const char* hint;
    const char* glyph;
    const char* picture;
};

// By tool number - 1.
constexpr TToolInfo kTools[glimt::kToolCount] = {
    {"btnSelection", "Selection (S)", "S", "selection"},
    {"btnCrop", "Crop (C)", "C", "crop"},
    {"btnText", "Text (T)", "T", "text"},
    {"btnErase", "Color Eraser (E)", "E", "eraser"},
    {"btnFill", "Fill (F)", "F", "fill"},
    {"btnSpray", "Spray (R)", "R", "spray"},
    {"btnBrush", "Brush (B)", "B", "brush"},
    {"btnPencil", "Pencil (P)", "P", "pencil"},
    {"btnLine", "Line (L)", "L", "line"},
    {"btnRect", "Rectangle (X)", "X", "rect"},
    {"btnRoundRect", "Rounded Rectangle (Y)", "Y", "roundrect"},
    {"btnEllipse", "Ellypse (Z)", "Z", "ellipse"},
    {"btnPick", "Color Picker (I)", "I", "picker"},
    {"btnZoom", "Zoom (M)", "M", "zoom"},
    {"btnOpac", "Opacity (O)", "O", "opacity"},
    {"btnGradient", "Gradient (G)", "G", "gradient"},
    {"btnBrighten", "Brighten/Darken ([)", "[", "brighten"},
    {"btnBlur", "Blur/Sharpen (])", "]", "blur"},
};

const TFilterKernel& PresetNamed(const char* name)
{
    for (int i = 0; i < FilterPresetCount; ++i)
        if (std::strcmp(FilterPresetNames[std::size_t(i)], name) == 0)
            return FilterPresets[std::size_t(i)];
    return FilterPresets[0];
}

TmyPixel FilterCell(const TmyImage& source, int x, int y, bool sharpen, bool onAlpha)
{
    static const TFilterKernel& blur = PresetNamed("Blur");
    static const TFilterKernel& sharp = PresetNamed("Sharpen");
    return TmyFilter::FilterPixel(x, y, source, sharpen ? sharp : blur, onAlpha);
}

// A flat button showing the glyph `picture` (its text stays as the name read out for it).
QToolButton* MakeButton(QWidget* parent, const QString& name, const QString& text, const char* picture,
                        const QString& hint, QSize size)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setIcon(glimt::ButtonGlyph(picture));
    const int side = std::min(16, std::min(size.width(), size.height()) - 4);
    b->setIconSize(QSize(side, side));
    b->setToolTip(hint);
    b->setFixedSize(size);
    b->setAutoRaise(true);
    return b;
}

// An option panel whose buttons form one exclusive group; `onPick` gets the value 1..n.
template <std::size_t N>
QFrame* MakePanel(QWidget* parent, const char* name, const std::array<const char*, N>& buttons,
                  const std::array<const char*, N>& texts, const std::array<const char*, N>& pictures,
                  std::array<QToolButton*, N>& out,
                  std::function<void(int)> onPick)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* group = new QButtonGroup(panel);
    for (std::size_t i = 0; i < N; ++i) {
        QToolButton* b = MakeButton(panel, QString::fromLatin1(buttons[i]), QString::fromLatin1(texts[i]), pictures[i], {},
                                    QSize(24, 14));
        b->setCheckable(true);
        b->setChecked(i == 0);
        group->addButton(b);
        layout->addWidget(b);
        const int value = int(i) + 1;
        QObject::connect(b, &QToolButton::clicked, panel, [onPick, value] { onPick(value); });
        out[i] = b;
    }
    panel->hide();
    return panel;
}

} // namespace

TfrmTools::TfrmTools(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmTools"));
    setWindowTitle(QStringLiteral("Tools"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(2);

    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < glimt::kToolCount; ++i) {
        const TToolInfo& t = kTools[i];
        QToolButton* b = MakeButton(this, QString::fromLatin1(t.button), QString::fromLatin1(t.glyph), t.picture,
                                    QString::fromLatin1(t.hint), QSize(25, 25));
        b->setCheckable(true);
        group->addButton(b);
        grid->addWidget(b, i / 2, i % 2);
        const auto tool = std::uint8_t(i + 1);
        connect(b, &QToolButton::clicked, this, [this, tool] { ToolButtonClick(tool); });
        ToolButtons[std::size_t(i)] = b;
    }
    ToolButtons[glimt::toolPencil - 1]->setChecked(true);
    outer->addLayout(grid);

    struct Action {
        QToolButton** button;
        const char* name;
        const char* hint;
        const char* action;
        const char* picture; // follows the action: btnRight nudges to the left
    };
    const Action actions[] = {
        {&btnFlipVert, "btnFlipVert", "Flip Vertical", "actnFlipVert", "flipvert"},
        {&btnFlipHoriz, "btnFlipHoriz", "Flip Horizontal", "actnFlipHoriz", "fliphoriz"},
        {&btnRotateLeft, "btnRotateLeft", "Rotate Left 90", "actnRotateLeft", "rotateleft"},
        {&btnRotateRight, "btnRotateRight", "Rotate Right 90", "actnRotateRight", "rotateright"},
        {&btnRight, "btnRight", "Left", "actnLeft", "left"},
        {&btnUp, "btnUp", "Up", "actnUp", "up"},
        {&btnDown, "btnDown", "Down", "actnDown", "down"},
        {&btnLeft, "btnLeft", "Right", "actnRight", "right"},
    };
    // Two columns like the tools: flip and rotate in a square, the four nudges in one row.
    auto* actionGrid = new QGridLayout;
    actionGrid->setSpacing(0);
    auto* nudgeRow = new QHBoxLayout;
    nudgeRow->setSpacing(0);
    int n = 0;
    for (const Action& a : actions) {
        const bool nudge = n >= 4;
        *a.button = MakeButton(this, QString::fromLatin1(a.name), QString::fromLatin1(a.hint).left(1), a.picture,
                               QString::fromLatin1(a.hint), nudge ? QSize(12, 13) : QSize(25, 25));
        if (nudge)
            nudgeRow->addWidget(*a.button);
        else
            actionGrid->addWidget(*a.button, n / 2, n % 2);
        const QString action = QString::fromLatin1(a.action);
        connect(*a.button, &QToolButton::clicked, this, [action] {
            if (glimt::IEditorHost* host = glimt::EditorHost())
                host->ExecuteAction(action);
        });
        ++n;
    }
    outer->addLayout(actionGrid);
    nudgeRow->addStretch(1);
    outer->addLayout(nudgeRow);
    outer->addStretch(1);

    Panel1 = MakePanel<7>(this, "Panel1",
                          {"SpeedButton23", "SpeedButton24", "SpeedButton25", "SpeedButton26", "SpeedButton34",
                           "SpeedButton35", "SpeedButton36"},
                          {"1", "2", "3", "4", "5", "6", "7"},
                          {"size1", "size2", "size3", "size4", "size5", "size6", "size7"}, SizeButtons, [this](int v) {
                              Engine.BrushSize = std::uint8_t(v);
                              UpdateBrushPreview();
                          });
    Panel2 = MakePanel<4>(this, "Panel2", {"SpeedButton27", "SpeedButton28", "SpeedButton29", "SpeedButton30"},
                          {"#", "o", "/", "\\"}, {"square", "round", "slash", "backslash"}, ShapeButtons,
                          [this](int v) {
                              Engine.BrushShape = std::uint8_t(v);
                              UpdateBrushPreview();
                          });
    Panel3 = MakePanel<3>(this, "Panel3", {"SpeedButton31", "SpeedButton32", "SpeedButton33"}, {"1", "2", "3"},
                          {"outline", "outlinefill", "filled"}, FillButtons,
                          [this](int v) { Engine.FillStyle = std::uint8_t(v); });
    Panel4 = MakePanel<2>(this, "Panel4", {"SpeedButton41", "SpeedButton42"}, {"-", "|"}, {"horizontal", "vertical"},
                          DirectionButtons,
                          [this](int v) { Engine.GradientDirection = std::uint8_t(v); });
    // The option panels stand side by side at the bottom, each a column of buttons; their
    // place is kept free while they are hidden, so that the window need not grow for them.
    auto* optionArea = new QWidget(this);
    auto* options = new QHBoxLayout(optionArea);
    options->setContentsMargins(0, 0, 0, 0);
    options->setSpacing(2);
    for (QFrame* p : {Panel1, Panel2, Panel3, Panel4}) {
        p->setParent(optionArea);
        options->addWidget(p, 0, Qt::AlignTop);
    }
    options->addStretch(1);
    optionArea->setMinimumHeight(int(SizeButtons.size()) * SizeButtons[0]->height());
    outer->addWidget(optionArea);
}

TfrmTools::~TfrmTools()
{
    if (glimt::ToolEngine() == this)
        glimt::SetToolEngine(nullptr);
}

void TfrmTools::ToolButtonClick(std::uint8_t tool)
{
    if (tool == glimt::toolPicker && Engine.CurrentTool == glimt::toolPicker)
        return; // PreviousTool keeps the tool to return to
    SelectTool(tool);
}

void TfrmTools::SelectTool(std::uint8_t tool)
{
    Engine.SelectTool(tool);
    ApplyToolCursor();
    using namespace glimt;
    switch (tool) {
    case toolColorEraser:
    case toolBrush:
    case toolLine:
    case toolOpacity:
    case toolBrighten:
    case toolBlur: ShowToolOptions(true, true, false, false); break;
    case toolSpray: ShowToolOptions(true, false, false, false); break;
    case toolRectangle:
    case toolRoundRect:
    case toolEllipse: ShowToolOptions(true, false, true, false); break;
    case toolGradient: ShowToolOptions(false, false, false, true); break;
    default: ShowToolOptions(false, false, false, false); break;
    }
}

void TfrmTools::PressToolButton(std::uint8_t tool)
{
    if (tool < 1 || tool > glimt::kToolCount)
        return;
    ToolButtonClick(tool);
    ToolButtons[std::size_t(tool - 1)]->setChecked(true);
}

bool TfrmTools::PressSizeKey(int digit)
{
    if (digit < 1 || digit > 7 || Panel1->isHidden())
        return false;
    SizeButtons[std::size_t(digit - 1)]->click();
    return true;
}

void TfrmTools::ShowToolOptions(bool size, bool shape, bool fill, bool direction)
{
    Panel1->setVisible(size);
    Panel2->setVisible(shape);
    Panel3->setVisible(fill);
    Panel4->setVisible(direction);
}

void TfrmTools::SetToolCursor(std::uint8_t CursorIndex)
{
    const QCursor cursor = glimt::ScreenCursor(CursorIndex);
    glimt::IEditorHost* host = glimt::EditorHost();
    if (!host)
        return;
    for (int slot = 1; slot <= host->DeskCount(); ++slot)
        if (TfrmDesk* desk = host->Desk(slot); desk && desk->Image1)
            desk->Image1->setCursor(cursor);
}

void TfrmTools::ApplyToolCursor()
{
    using namespace glimt;
    const std::uint8_t tool = Engine.CurrentTool;
    if (tool != toolSelection)
        DropSelection();
    SetToolCursor(ToolCursorIndex(tool));
    if (HasBrushOutline(tool))
        UpdateBrushPreview();
    else if (BrushOutline)
        BrushOutline(nullptr, 0);
}

bool TfrmTools::HasBrushOutline(std::uint8_t tool)
{
    using namespace glimt;
    return tool == toolColorEraser || tool == toolBrush || tool == toolOpacity || tool == toolBrighten || tool == toolBlur;
}

void TfrmTools::UpdateBrushPreview()
{
    // Size, shape and zoom changes of the other tools leave the outline off: the tool change
    // that brings it back redraws it from the brush of that moment.
    if (!HasBrushOutline(Engine.CurrentTool))
        return;
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    if (desk && BrushOutline)
        BrushOutline(&Engine.Mask(0), desk->Zoom);
}

void TfrmTools::RedrawCells(TfrmDesk& desk, TmyImagePal& image, const QRect& cells)
{
    const QRect r = cells & QRect(0, 0, image.Width(), image.Height());
    if (r.isEmpty())
        return;
    desk.DrawCells(image, r);
    if (CellsPainted)
        CellsPainted(image, r);
}

void TfrmTools::DispatchToolEvent(int X, int Y, std::uint8_t button, bool shift, std::uint8_t code)
{
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    TmyImagePal* image = desk ? desk->CurrentImage() : nullptr;
    if (!image)
        return;
    glimt::TToolContext c;
    c.Paint.Image = image;
    c.Paint.StrokeBackup = desk->StrokeBackup.get();
    c.Paint.ForeColor = m_colors ? m_colors->ForeColor() : ForeColor;
    c.Paint.BackColor = m_colors ? m_colors->BackColor() : BackColor;
    c.Paint.SmoothEdges = Options().SmoothEdges;
    c.Paint.FilterOnAlpha = Options().FilterOnAlpha;
    c.Paint.CellFilter = FilterCell;
    c.Canvas = desk->Image1 ? &desk->Image1->Bitmap : nullptr;
    c.Zoom = desk->Zoom;
    FillSelectionContext(c, *desk);
    const std::uint8_t tool = Engine.CurrentTool;

    const glimt::TToolResult r = Engine.Dispatch(c, X, Y, button, shift, code);

    if (r.ImageRefit) {
        desk->ShowImage(*image);
        host->DocumentShown(desk);
    } else {
        RedrawCells(*desk, *image, r.Cells);
    }
    if (!r.CanvasPixels.isEmpty() && desk->Image1)
        desk->Image1->Invalidate(r.CanvasPixels);
    ApplySelectionResult(*desk, r, button);
    if (r.ForeColorPicked) {
        if (m_colors)
            m_colors->PickForeColor(c.Paint.ForeColor);
        else
            ForeColor = c.Paint.ForeColor;
    }
    if (r.BackColorPicked) {
        if (m_colors)
            m_colors->PickBackColor(c.Paint.BackColor);
        else
            BackColor = c.Paint.BackColor;
    }
    if (r.ZoomChanged) {
        desk->Zoom = std::uint8_t(c.Zoom);
        image->Zoom = c.Zoom;
        desk->ShowImage(*image);
        desk->CenterImage();
        UpdateBrushPreview();
    }
    if (r.ReturnToPreviousTool)
        PressToolButton(Engine.PreviousTool);
    desk->ShowToolStatus(Engine.AnchorPoint.x(), Engine.AnchorPoint.y(), r.Cell.x(), r.Cell.y(), button, tool);
}
