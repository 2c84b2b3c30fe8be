#pragma once
#include "editor/formDesk.h"
#include "editor/formTools.h"
#include "tests/editor/DeskFakes.h"
#include "tests/support/PixelFixtures.h"

#include <QTest>
#include <gtest/gtest.h>

namespace glimt::test {

// The real tool window installed as the engine, and a host whose active document is a shown
// document window with one white w x h image of `depth` bits at `zoom`.
struct ToolEditor {
    FakeHost host;
    TfrmTools tools;
    TfrmDesk desk;
    ToolEditor(int w, int h, int depth, int zoom)
    {
        SetEditorHost(&host);
        SetToolEngine(&tools);
        host.Active = &desk;
        host.Slot = 1;
        desk.Icon->AddImage(h, w, depth).Fill(Px(255, 255, 255, 255));
        ShowDocument(desk, zoom, QSize(400, 300));
    }
    ~ToolEditor()
    {
        SetToolEngine(nullptr);
        SetEditorHost(nullptr);
    }
    ToolEditor(const ToolEditor&) = delete;
    ToolEditor& operator=(const ToolEditor&) = delete;
};

// The canvas pixel at the centre of cell (x, y).
inline QPoint Centre(int x, int y, int zoom)
{
    return QPoint(x * zoom + zoom / 2, y * zoom + zoom / 2);
}

} // namespace glimt::test
