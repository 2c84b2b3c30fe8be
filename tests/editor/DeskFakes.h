#pragma once
#include "editor/EditorHost.h"
#include "editor/KeyState.h"
#include "editor/formDesk.h"

#include <QMouseEvent>
#include <QSize>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace glimt::test {

// A main window that records what the document windows ask of it. The active desk is set by
// the test; ExecuteAction runs a handler the test may supply.
class FakeHost : public IEditorHost {
public:
    TfrmDesk* Active = nullptr;
    int Slot = 0;
    QStringList Actions;
    std::function<void(const QString&)> OnAction;
    std::vector<int> Released;
    int Refused = 0;
    int UndoUpdates = 0;
    QString Status;

    TfrmDesk* ActiveDesk() override { return Active; }
    int DeskCount() override { return Active ? 1 : 0; }
    TfrmDesk* Desk(int) override { return Active; }
    void UpdateUndoActions() override { ++UndoUpdates; }
    void UpdateClipboardActions() override {}
    void UpdateImageNavActions() override {}
    void SetStatusText(int, const QString& text) override { Status = text; }
    bool CreateDocumentFromImage(const TmyImagePal&) override { return false; }
    QWidget* Main = nullptr;
    QWidget* MainWidget() override { return Main; }
    int ActiveSlot() override { return Slot; }
    void SetActiveSlot(int slot) override { Slot = slot; }
    void ExecuteAction(const QString& name) override
    {
        Actions << name;
        if (OnAction)
            OnAction(name);
    }
    void ReleaseDocumentWindow(int slot) override { Released.push_back(slot); }
    void CloseRefused() override { ++Refused; }
    // The tool keys (the main window's tool actions), locked while a stroke runs.
    bool ToolActionsEnabled = true;
    void DisableToolActions() override { ToolActionsEnabled = false; }
    void EnableToolActions() override { ToolActionsEnabled = true; }
    // Preview redraws asked for, and how many of them came while the active document showed
    // its floating-selection layer (the preview stamps the selection in only then).
    int PreviewsShown = 0;
    int PreviewsWithLayer = 0;
    void ShowPreview(TfrmDesk* desk) override
    {
        ++PreviewsShown;
        if (desk && desk == Active && desk->ImgSel && desk->ImgSel->isVisible())
            ++PreviewsWithLayer;
    }
};

// The keyboard as a test sets it: the modifiers held and whether Escape is down.
class FakeKeys : public IKeyState {
public:
    Qt::KeyboardModifiers Held;
    bool Escape = false;
    Qt::KeyboardModifiers Modifiers() override { return Held; }
    bool EscapeDown() override { return Escape; }
};

// A tool engine that records every event it receives, with the state of the document window
// at that moment.
class FakeTools : public IToolEngine {
public:
    struct Event {
        int x, y;
        std::uint8_t button;
        bool shift;
        std::uint8_t code;
        bool hadBackup; // the stroke-start copy existed when the event arrived
    };
    std::uint8_t Tool = 8;
    TfrmDesk* Desk = nullptr;
    std::vector<Event> Events;
    // The floating selection as the document window sees it.
    int SelectionSlot = 0;
    TmyImagePal SelectionPicture{1, 1, 32};
    bool InFront = true;
    std::vector<QSize> Resizes;

    std::uint8_t CurrentTool() const override { return Tool; }
    void DispatchToolEvent(int X, int Y, std::uint8_t button, bool shift, std::uint8_t code) override
    {
        Events.push_back({X, Y, button, shift, code, Desk && Desk->StrokeBackup != nullptr});
    }
    tmyselection* Selection() override { return nullptr; }
    void ApplyToolCursor() override {}
    void UpdateBrushPreview() override {}
    int SelectionDocumentSlot() override { return SelectionSlot; }
    const TmyImagePal* SelectionImage() override { return SelectionSlot ? &SelectionPicture : nullptr; }
    bool SelectionInFront() override { return InFront; }
    void ResizeSelection(int w, int h) override { Resizes.push_back(QSize(w, h)); }
};

// A widget outside the document window: a release that the canvas never sees (the button came
// up elsewhere) is sent here, so that QTest's record of the buttons held, which every later
// test's mouse events carry, is back to none when the test ends.
class Elsewhere : public QWidget {
protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
};

// Shows `desk` as a window of `size` with its first image current at `zoom` (slot 1), the
// canvas centred.
inline void ShowDocument(TfrmDesk& desk, int zoom, QSize size)
{
    desk.Icon->Current = 0;
    desk.Tag = 1;
    desk.Zoom = std::uint8_t(zoom);
    desk.Icon->Image(0).Zoom = zoom;
    desk.FillImageCombo(true);
    desk.ShowImage(*desk.CurrentImage());
    desk.resize(size);
    desk.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&desk));
    desk.CenterImage();
}

// Installs a host and a tool engine for one test and removes them afterwards.
struct ScopedEditor {
    FakeHost host;
    FakeTools tools;
    ScopedEditor()
    {
        SetEditorHost(&host);
        SetToolEngine(&tools);
    }
    ~ScopedEditor()
    {
        SetEditorHost(nullptr);
        SetToolEngine(nullptr);
    }
    ScopedEditor(const ScopedEditor&) = delete;
    ScopedEditor& operator=(const ScopedEditor&) = delete;
};

} // namespace glimt::test
