// The Edit commands of the main window: undo and redo, the clipboard commands on the floating
// selection, Select All, the selection's size and stacking, the three switches of the tool bar,
// and the 18 tool actions with their letter keys.
#include "shell/formMain.h"

#include "editor/Artwork.h"
#include "editor/formDesk.h"
#include "editor/formTools.h"
#include "engine/Clipboard.h"
#include "engine/PaletteLibrary.h"
#include "engine/Settings.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>

using glimt::TMouseButton;

namespace {

// The tool actions by tool number - 1, with their key (both cases for letters).
struct TToolAction {
    const char* name;
    Qt::Key key;
};
constexpr TToolAction kToolActions[glimt::kToolCount] = {
    {"actselect", Qt::Key_S}, {"actcrop", Qt::Key_C},   {"acttext", Qt::Key_T},       {"acterase", Qt::Key_E},
    {"actfill", Qt::Key_F},   {"actspray", Qt::Key_R},  {"actbrush", Qt::Key_B},      {"actpen", Qt::Key_P},
    {"actline", Qt::Key_L},   {"actrect", Qt::Key_X},   {"actround", Qt::Key_Y},      {"actell", Qt::Key_Z},
    {"actpick", Qt::Key_I},   {"actzoom", Qt::Key_M},   {"actopac", Qt::Key_O},       {"actgrad", Qt::Key_G},
    {"actbright", Qt::Key_BracketLeft},                 {"actblur", Qt::Key_BracketRight},
};

// A key in either case: the plain key, and with Shift for letters.
QList<QKeySequence> BothCases(Qt::Key key)
{
    QList<QKeySequence> keys{QKeySequence(key)};
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        keys.append(QKeySequence(Qt::SHIFT | key));
    return keys;
}

// The floating selection when it belongs to the active document, else null.
tmyselection* ActiveSelection(TfrmMain& main)
{
    TfrmTools* tools = main.Tools();
    tmyselection* s = tools ? tools->Selection() : nullptr;
    if (!s || s->IsEmpty() || main.ActiveSlot() == 0 || s->DocumentSlot != main.ActiveSlot())
        return nullptr;
    return s;
}

void actnUndoExecute(TfrmMain& main, bool redo)
{
    TfrmDesk* desk = main.ActiveDesk();
    TmyImagePal* image = desk ? desk->CurrentImage() : nullptr;
    if (!image)
        return;
    const bool changed = redo ? glimt::RedoCommand(*desk->Undo, *image) : glimt::UndoCommand(*desk->Undo, *image);
    if (!changed)
        return;
    desk->Saved = false;
    main.UpdateUndoActions();
    main.ShowReplacedImage(desk);
    main.UpdateClipboardActions();
    desk->CenterImage();
}

void actnCutExecute(TfrmMain& main, bool keep)
{
    TfrmTools* tools = main.Tools();
    tmyselection* s = ActiveSelection(main);
    if (!s)
        return;
    tools->ClipManager().CopyImage(s->Image);
    if (keep) {
        s->DocumentSlot = std::uint8_t(main.ActiveSlot());
    } else {
        s->ClearRect();
        main.ActiveDesk()->HideSelectionHandles();
    }
    main.UpdateClipboardActions();
}

void actnPasteExecute(TfrmMain& main)
{
    TfrmTools* tools = main.Tools();
    TfrmDesk* desk = main.ActiveDesk();
    if (!tools || !desk || !desk->CurrentImage())
        return;
    tools->DropSelection();
    const TmyImagePal& image = *desk->CurrentImage();
    tmyselection& s = *tools->Selection();
    // A paste asks the clipboard anyway: the window's answer follows what it found.
    main.RefreshClipboardState();
    if (!tools->ClipManager().PasteImage(s.Image, s.OriginalImage, image.Height(), image.Width())) {
        main.UpdateClipboardActions();
        return;
    }
    TPaletteLibrary::ConvertImageDepth(s.Image, 32);
    s.OriginalImage = s.Image;
    tools->PressToolButton(glimt::toolSelection);
    s.SetBounds(0, 0, s.Image.Width(), s.Image.Height());
    s.DocumentSlot = std::uint8_t(main.ActiveSlot());
    s.InFront = true;
    desk->ImgSel->move(desk->Image1->pos());
    desk->ShowSelectionHandles();
    tools->ShowSelectionLayer(false);
    main.UpdateClipboardActions();
}

void actnDelExecute(TfrmMain& main)
{
    TfrmTools* tools = main.Tools();
    TfrmDesk* desk = main.ActiveDesk();
    if (!tools || !desk)
        return;
    tools->Selection()->ClearRect();
    desk->HideSelectionHandles();
    main.DocumentShown(desk);
    main.UpdateClipboardActions();
}

void actSelectAllExecute(TfrmMain& main)
{
    TfrmTools* tools = main.Tools();
    TfrmDesk* desk = main.ActiveDesk();
    if (!tools || !desk || !desk->CurrentImage())
        return;
    tools->DropSelection();
    tools->PressToolButton(glimt::toolSelection);
    // A drag over the whole canvas through its own handlers: the Selection tool lifts it all.
    glimt::TDeskCanvas* canvas = desk->Image1;
    const int w = canvas->width();
    const int h = canvas->height();
    desk->Image1MouseDown(canvas, TMouseButton::Left, glimt::ssLeft, 0, 0);
    desk->Image1MouseMove(canvas, glimt::ssLeft, w, h);
    desk->Image1MouseMove(canvas, glimt::ssLeft, w, h);
    desk->Image1MouseUp(canvas, TMouseButton::Left, glimt::ssLeft, w, h);
}

// Fit To Screen (the image's size, at the canvas's top-left corner) and Original Size (the
// size as first lifted).
void ResizeSelectionExecute(TfrmMain& main, bool fit)
{
    TfrmTools* tools = main.Tools();
    TfrmDesk* desk = main.ActiveDesk();
    const TmyImagePal* image = desk ? desk->CurrentImage() : nullptr;
    if (!tools || !image || desk->ImgSel->isHidden())
        return;
    const tmyselection& s = *tools->Selection();
    if (fit)
        desk->ImgSel->move(desk->Image1->pos());
    desk->ResizeSelection(fit ? image->Width() : s.GetWidth(), fit ? image->Height() : s.GetHeight());
    desk->PlaceHandles();
}

void StackSelectionExecute(TfrmMain& main, bool inFront)
{
    if (TfrmTools* tools = main.Tools()) {
        tools->Selection()->InFront = inFront;
        tools->ShowSelectionLayer(true);
    }
}

void actDropSelectionExecute(TfrmMain& main)
{
    TfrmTools* tools = main.Tools();
    if (tools && !tools->Selection()->IsEmpty()) {
        tools->DropSelection();
        main.UpdateClipboardActions();
    }
}

} // namespace

void TfrmMain::CreateEditActions()
{
    const QString edit = QStringLiteral("Edit");
    QAction* a = AddAction("actnUndo", tr("Undo"), edit, [this] { actnUndoExecute(*this, false); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    a->setIcon(QIcon::fromTheme(QStringLiteral("edit-undo"), glimt::ButtonGlyph("undo")));
    a = AddAction("actnRedo", tr("Redo"), edit, [this] { actnUndoExecute(*this, true); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    a->setIcon(QIcon::fromTheme(QStringLiteral("edit-redo"), glimt::ButtonGlyph("redo")));
    a = AddAction("actnCut", tr("Cut"), edit, [this] { actnCutExecute(*this, false); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    a->setIcon(QIcon::fromTheme(QStringLiteral("edit-cut"), glimt::ButtonGlyph("cut")));
    a = AddAction("actnCopy", tr("Copy"), edit, [this] { actnCutExecute(*this, true); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    a->setIcon(QIcon::fromTheme(QStringLiteral("edit-copy"), glimt::ButtonGlyph("copy")));
    a = AddAction("actnPaste", tr("Paste"), edit, [this] { actnPasteExecute(*this); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    a->setIcon(QIcon::fromTheme(QStringLiteral("edit-paste"), glimt::ButtonGlyph("paste")));
    a = AddAction("actnDel", tr("Delete"), edit, [this] { actnDelExecute(*this); });
    a->setShortcut(QKeySequence(Qt::Key_Delete));
    a = AddAction("actSelectAll", tr("Select All"), edit, [this] { actSelectAllExecute(*this); });
    a->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_A), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A)});
    a = AddAction("actFitToScreen", tr("Fit To Screen"), edit, [this] { ResizeSelectionExecute(*this, true); });
    a->setShortcut(QKeySequence(Qt::Key_Insert));
    a = AddAction("actOriginalSize", tr("Original Size"), edit, [this] { ResizeSelectionExecute(*this, false); });
    a->setShortcut(QKeySequence(Qt::Key_Backspace));
    a = AddAction("actBringToFront", tr("Bring To Front"), edit, [this] { StackSelectionExecute(*this, true); });
    a->setShortcut(QKeySequence(Qt::Key_Home));
    a = AddAction("actSendToBack", tr("Send To Back"), edit, [this] { StackSelectionExecute(*this, false); });
    a->setShortcut(QKeySequence(Qt::Key_End));
    AddAction("actDropSelection", tr("Drop Selection"), QString(), [this] { actDropSelectionExecute(*this); });

    // The switches of the tool bar; each flips a setting that is saved with the others.
    struct Switch {
        const char* name;
        const char* caption;
        const char* hint;
        Qt::Key key;
        bool TOptions::* field;
        bool redrawSelection;
        const char* glyph;
    };
    const Switch switches[] = {
        {"actFilterOnAlpha", QT_TR_NOOP("Use Filter On Alpha"), QT_TR_NOOP("Use filter on alpha chanel (A)"), Qt::Key_A,
         &TOptions::FilterOnAlpha, false, "filteronalpha"},
        {"actSmooth", QT_TR_NOOP("Smooth Edges"), QT_TR_NOOP("Smooth Edges (/)"), Qt::Key_Slash, &TOptions::SmoothEdges,
         false, "smooth"},
        {"actTransSel", QT_TR_NOOP("Transparent Selection"), QT_TR_NOOP("Preserve the transparency of the selection (\\)"),
         Qt::Key_Backslash, &TOptions::TransparentSelection, true, "transsel"},
    };
    for (const Switch& sw : switches) {
        auto field = sw.field;
        const bool redraw = sw.redrawSelection;
        a = AddAction(sw.name, tr(sw.caption), QString(), [this, field, redraw] {
            Options().*field = !(Options().*field);
            if (redraw) {
                if (TfrmTools* tools = Tools())
                    tools->ShowSelectionLayer(true);
            }
        });
        a->setCheckable(true);
        a->setIcon(glimt::ButtonGlyph(sw.glyph));
        a->setToolTip(tr(sw.hint));
        a->setShortcuts(BothCases(sw.key));
    }

    const QString toolCategory = QStringLiteral("Tools");
    for (int i = 0; i < glimt::kToolCount; ++i) {
        const auto tool = std::uint8_t(i + 1);
        a = AddAction(kToolActions[i].name, QString(), toolCategory, [this, tool] {
            if (TfrmTools* tools = Tools())
                tools->PressToolButton(tool);
        });
        a->setShortcuts(BothCases(kToolActions[i].key));
    }

    // The main window watches the clipboard: Paste follows what it holds.
    RefreshClipboardState();
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        RefreshClipboardState();
        UpdateClipboardActions();
    });
}

void TfrmMain::SetClipboard(glimt::IClipboard* clipboard)
{
    m_clipboard = clipboard;
    RefreshClipboardState();
    UpdateClipboardActions();
}

void TfrmMain::RefreshClipboardState()
{
    static glimt::QtClipboard system;
    m_clipboardHasPicture = (m_clipboard ? *m_clipboard : static_cast<glimt::IClipboard&>(system)).HasBitmap();
}

bool TfrmMain::NudgeSelection(int dx, int dy)
{
    TfrmDesk* desk = ActiveDesk();
    if (!desk || !ActiveSelection(*this))
        return false;
    const int zoom = desk->Zoom;
    desk->ImgSelMouseDown(this, TMouseButton::Left, glimt::ssLeft, 0, 0);
    desk->ImgSelMouseMove(this, 0, dx * zoom, dy * zoom);
    desk->ImgSelMouseUp(this, TMouseButton::Left, glimt::ssLeft, 0, 0);
    return true;
}

void TfrmMain::UpdateEditActions()
{
    TfrmDesk* desk = ActiveDesk();
    TfrmTools* tools = Tools();
    const bool layer = desk && tools && !desk->ImgSel->isHidden();
    const bool inFront = tools && tools->Selection()->InFront;
    auto enable = [this](const char* name, bool on) {
        if (QAction* a = Action(QString::fromLatin1(name)))
            a->setEnabled(on);
    };
    enable("actSelectAll", m_activeSlot != 0);
    enable("actFitToScreen", layer);
    enable("actOriginalSize", layer);
    enable("actBringToFront", layer && !inFront);
    enable("actSendToBack", layer && inFront);
    const TOptions& o = Options();
    Action(QStringLiteral("actFilterOnAlpha"))->setChecked(o.FilterOnAlpha);
    Action(QStringLiteral("actSmooth"))->setChecked(o.SmoothEdges);
    Action(QStringLiteral("actTransSel"))->setChecked(o.TransparentSelection);
}

void TfrmMain::DisableToolActions()
{
    for (const TToolAction& t : kToolActions)
        Action(QString::fromLatin1(t.name))->setEnabled(false);
}

void TfrmMain::EnableToolActions()
{
    // The Opacity tool's state belongs to the colour panel (32-bit images only).
    for (const TToolAction& t : kToolActions) {
        if (qstrcmp(t.name, "actopac") != 0)
            Action(QString::fromLatin1(t.name))->setEnabled(true);
    }
}
