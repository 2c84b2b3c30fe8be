// What users feel of the tool window's dispatcher on a real document window: a flood fill of a
// 256x256 image, and a brush stroke at zoom 10 with the brush outline following it. Mouse
// events go to the canvas as Qt delivers them, and every event is followed by the repaint it
// asked for (offscreen).
#include "editor/EditorHost.h"
#include "editor/formDesk.h"
#include "editor/formTools.h"
#include "editor/formbrush.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

namespace {

class BenchHost : public glimt::IEditorHost {
public:
    TfrmDesk* Active = nullptr;
    TfrmDesk* ActiveDesk() override { return Active; }
    int DeskCount() override { return Active ? 1 : 0; }
    TfrmDesk* Desk(int) override { return Active; }
    void UpdateUndoActions() override {}
    void UpdateClipboardActions() override {}
    void UpdateImageNavActions() override {}
    void SetStatusText(int, const QString&) override {}
    bool CreateDocumentFromImage(const TmyImagePal&) override { return false; }
    QWidget* MainWidget() override { return nullptr; }
    int ActiveSlot() override { return 1; }
};

// A shown document window with one white size x size image at `zoom`, the tool window as the
// engine and the brush outline connected to it.
struct Editor {
    BenchHost host;
    TfrmTools tools;
    TfrmDesk desk;
    TfrmBrush brush{&desk};
    Editor(int size, int zoom)
    {
        glimt::SetEditorHost(&host);
        glimt::SetToolEngine(&tools);
        glimt::ConnectBrushOutline(tools, brush);
        host.Active = &desk;
        desk.Tag = 1;
        desk.Icon->AddImage(size, size, 32).Fill(TmyPixel::CreateRGBA(255, 255, 255, 255));
        desk.Icon->Current = 0;
        desk.Zoom = std::uint8_t(zoom);
        desk.Icon->Image(0).Zoom = zoom;
        desk.ShowImage(*desk.CurrentImage());
        desk.resize(800, 600);
        desk.show();
        desk.CenterImage();
        QCoreApplication::processEvents();
    }
    ~Editor()
    {
        glimt::SetToolEngine(nullptr);
        glimt::SetEditorHost(nullptr);
    }

    void Send(QEvent::Type type, QPoint cell, Qt::MouseButton button, Qt::MouseButtons held)
    {
        const QPoint p = cell * desk.Zoom + QPoint(desk.Zoom / 2, desk.Zoom / 2);
        QMouseEvent e(type, QPointF(p), QPointF(desk.Image1->mapToGlobal(p)), button, held, Qt::NoModifier);
        QApplication::sendEvent(desk.Image1, &e);
        QCoreApplication::processEvents();
    }
    void Press(QPoint cell) { Send(QEvent::MouseButtonPress, cell, Qt::LeftButton, Qt::LeftButton); }
    void Move(QPoint cell) { Send(QEvent::MouseMove, cell, Qt::NoButton, Qt::LeftButton); }
    void Release(QPoint cell) { Send(QEvent::MouseButtonRelease, cell, Qt::LeftButton, Qt::NoButton); }
};

// One click of the Fill tool on a 256x256 image at its own zoom (2): undo snapshot, fill,
// canvas redraw and repaint. The colours alternate so that every click fills the whole image.
void BM_FillTool256(benchmark::State& state)
{
    Editor e(256, 2);
    e.tools.PressToolButton(glimt::toolFill);
    bool red = true;
    for (auto _ : state) {
        e.tools.ForeColor = red ? TmyPixel::CreateRGBA(255, 0, 0, 255) : TmyPixel::CreateRGBA(0, 0, 255, 255);
        e.Press(QPoint(128, 128));
        e.Release(QPoint(128, 128));
        red = !red;
    }
}
BENCHMARK(BM_FillTool256)->Unit(benchmark::kMillisecond)->UseRealTime();

// A stroke of 200 moves of a size-7 round brush at zoom 10 over a 128x128 image, one or two
// cells per move. The figure "move" is the time per move (wall clock, as the others).
void BM_BrushStroke200Zoom10(benchmark::State& state)
{
    Editor e(128, 10);
    e.tools.PressToolButton(glimt::toolBrush);
    e.tools.Engine.BrushShape = 2;
    e.tools.Engine.BrushSize = 7;
    e.tools.UpdateBrushPreview();
    // The colours alternate so that every stroke changes the cells it passes.
    bool red = true;
    for (auto _ : state) {
        e.tools.ForeColor = red ? TmyPixel::CreateRGBA(255, 0, 0, 255) : TmyPixel::CreateRGBA(0, 0, 255, 255);
        red = !red;
        e.Press(QPoint(10, 10));
        for (int i = 1; i <= 200; ++i)
            e.Move(QPoint(10 + i / 2, 10 + (i % 40 < 20 ? i % 20 : 20 - i % 20)));
        e.Release(QPoint(110, 10));
    }
    state.counters["move"] = benchmark::Counter(double(state.iterations()) * 200,
                                                benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BrushStroke200Zoom10)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
