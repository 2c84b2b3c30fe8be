#include "editor/SelectionDrop.h"

#include "editor/formDesk.h"
#include "editor/formTools.h"
#include "tests/editor/DeskFakes.h"
#include "tests/support/PixelFixtures.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

using glimt::test::Px;

namespace {

// A main window whose work area is a real MDI area: documents are opened into it, in slots
// from 1, and a new document from an image is marked unsaved.
class MdiHost : public glimt::test::FakeHost {
public:
    QMdiArea area;
    std::vector<TfrmDesk*> desks;
    int created = 0;
    bool full = false; // no further document window can be opened

    MdiHost() { area.resize(800, 600); }
    TfrmDesk* ActiveDesk() override { return Desk(Slot); }
    int DeskCount() override { return int(desks.size()); }
    TfrmDesk* Desk(int slot) override
    {
        return slot >= 1 && slot <= DeskCount() ? desks[std::size_t(slot - 1)] : nullptr;
    }
    bool CreateDocumentFromImage(const TmyImagePal& image) override
    {
        if (full)
            return false;
        ++created;
        Open(image, QPoint(100, 300))->Saved = false;
        return true;
    }
    TfrmDesk* Open(const TmyImagePal& image, QPoint at)
    {
        auto* desk = new TfrmDesk;
        desk->Icon->AddImageCopy(image);
        desk->Tag = DeskCount() + 1;
        desk->Zoom = std::uint8_t(image.Zoom);
        desks.push_back(desk);
        Slot = desk->Tag;
        QMdiSubWindow* sub = area.addSubWindow(desk);
        sub->setGeometry(QRect(at, QSize(300, 250)));
        sub->show();
        desk->FillImageCombo(true);
        desk->ShowImage(*desk->CurrentImage());
        desk->CenterImage();
        return desk;
    }
};

// Two documents side by side in the work area, the first (8 x 6 cells at zoom 4, a red
// square at cells (1, 1)-(3, 2)) active with that square lifted as the floating selection.
struct DragFixture {
    glimt::test::ScopedOptions options;
    MdiHost host;
    TfrmTools tools;
    TfrmDesk* source = nullptr;
    TfrmDesk* other = nullptr;
    DragFixture()
    {
        glimt::SetEditorHost(&host);
        glimt::SetToolEngine(&tools);
        Options().AllowDragAndDrop = true;
        Options().TransparentSelection = false;
        TmyImagePal picture(6, 8, 32);
        picture.Zoom = 4;
        TmyImagePal second = picture;
        second.Fill(Px(0, 0, 255, 255));
        for (int y = 1; y <= 2; ++y)
            for (int x = 1; x <= 3; ++x)
                picture.Pixel(x, y) = Px(255, 0, 0, 255);
        host.area.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host.area));
        source = host.Open(picture, QPoint(0, 0));
        other = host.Open(second, QPoint(420, 0));
        host.Slot = 1;
        tools.PressToolButton(glimt::toolSelection);
        tools.LiftSelection(1, 1, 3, 2);
    }
    ~DragFixture()
    {
        glimt::SetToolEngine(nullptr);
        glimt::SetEditorHost(nullptr);
    }
    // Presses on the layer, moves it one cell and then to screen point `to`.
    void PressAndMoveTo(QPoint to)
    {
        QWidget* layer = source->ImgSel;
        QTest::mousePress(layer, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseMove(layer, QPoint(6, 6));
        MoveTo(to);
    }
    void MoveTo(QPoint to) { QTest::mouseMove(source->ImgSel, source->ImgSel->mapFromGlobal(to)); }
    void ReleaseAt(QPoint to) { QTest::mouseRelease(source->ImgSel, Qt::LeftButton, {}, source->ImgSel->mapFromGlobal(to)); }
    void DragLayerTo(QPoint to)
    {
        PressAndMoveTo(to);
        ReleaseAt(to);
    }
    QPoint WorkAreaPoint(QPoint p) const { return host.area.viewport()->mapToGlobal(p); }
};

} // namespace

TEST(SelectionDrop, DropOnTheWorkAreaMakesAnUnsavedDocumentOfTheSelection)
{
    DragFixture f;
    ASSERT_EQ(f.tools.SelectionDocumentSlot(), 1);
    f.DragLayerTo(f.WorkAreaPoint(QPoint(380, 520)));

    ASSERT_EQ(f.host.created, 1);
    TfrmDesk* made = f.host.ActiveDesk();
    ASSERT_EQ(made, f.host.Desk(3));
    EXPECT_FALSE(made->Saved);
    EXPECT_EQ(f.tools.SelectionDocumentSlot(), 3);
    EXPECT_EQ(f.tools.CurrentTool(), glimt::toolSelection);
    EXPECT_FALSE(f.source->ImgSel->isVisible());
    EXPECT_TRUE(made->ImgSel->isVisible());
    EXPECT_EQ(made->ImgSel->pos(), made->Image1->pos());
    EXPECT_TRUE(f.host.Actions.isEmpty()); // the moved selection is not deleted

    const TmyImagePal& image = *made->CurrentImage();
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(image.Pixel(1, 1), Px(0, 0, 0, 0)); // blank until the selection is merged
    f.tools.DropSelection();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(image.Pixel(x, y), Px(255, 0, 0, 255)) << x << "," << y;
}

TEST(SelectionDrop, DropOnAnotherCanvasMovesTheSelectionToTheCellThere)
{
    DragFixture f;
    const int z = f.other->Zoom;
    const QPoint cell(5, 2);
    const QPoint to = f.other->Image1->mapToGlobal(cell * z + QPoint(1, 1));
    f.PressAndMoveTo(to);
    EXPECT_EQ(f.host.Status, QStringLiteral("(5,2)"));
    EXPECT_EQ(f.source->ImgSel->cursor().shape(), Qt::DragMoveCursor);
    f.ReleaseAt(to);
    EXPECT_EQ(f.source->ImgSel->cursor().shape(), Qt::SizeAllCursor);

    EXPECT_EQ(f.host.created, 0);
    EXPECT_EQ(f.host.Slot, 2);
    EXPECT_EQ(f.tools.SelectionDocumentSlot(), 2);
    EXPECT_TRUE(f.host.Actions.isEmpty());
    EXPECT_TRUE(f.other->ImgSel->isVisible());
    EXPECT_EQ(f.other->ImgSel->pos(), f.other->Image1->pos() + cell * z);
    EXPECT_EQ(f.other->ImgSel->size(), QSize(3 * z, 2 * z));

    f.tools.DropSelection();
    const TmyImagePal& image = *f.other->CurrentImage();
    EXPECT_EQ(image.Pixel(5, 2), Px(255, 0, 0, 255));
    EXPECT_EQ(image.Pixel(7, 3), Px(255, 0, 0, 255));
    EXPECT_EQ(image.Pixel(4, 2), Px(0, 0, 255, 255));
    EXPECT_FALSE(f.other->Saved);
    EXPECT_TRUE(f.source->Saved); // the lift itself changed nothing there
}

TEST(SelectionDrop, DropWhereNothingTakesItPutsTheLayerBack)
{
    DragFixture f;
    const QPoint start = f.source->ImgSel->pos();
    struct Row {
        const char* name;
        QPoint global;
    } rows[] = {
        {"the other window's tool bar", f.other->ToolBar1->mapToGlobal(QPoint(2, 2))},
        {"outside the work area", f.WorkAreaPoint(QPoint(-40, 100))},
        {"the source window's own tool bar", f.source->ToolBar1->mapToGlobal(QPoint(2, 2))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        f.DragLayerTo(row.global);
        EXPECT_EQ(f.host.created, 0);
        EXPECT_EQ(f.tools.SelectionDocumentSlot(), 1);
        EXPECT_EQ(f.source->ImgSel->pos(), start);
        EXPECT_TRUE(f.source->ImgSel->isVisible());
        EXPECT_FALSE(f.source->SelDraggingOut);
    }
}

TEST(SelectionDrop, WithoutDragAndDropTheLayerStaysInItsWindow)
{
    DragFixture f;
    Options().AllowDragAndDrop = false;
    const QPoint start = f.source->ImgSel->pos();
    f.DragLayerTo(f.WorkAreaPoint(QPoint(380, 520)));
    EXPECT_EQ(f.host.created, 0);
    EXPECT_EQ(f.tools.SelectionDocumentSlot(), 1);
    // The small first step inside the box moved it one cell; the drop outside did nothing.
    EXPECT_EQ(f.source->ImgSel->pos(), start + QPoint(4, 4));
}

TEST(SelectionDrop, FindsTheTopmostWindowUnderTheCursor)
{
    DragFixture f;
    // The source window raised over the other one: the covered canvas takes nothing.
    QMdiSubWindow* sourceFrame = qobject_cast<QMdiSubWindow*>(f.source->parentWidget());
    sourceFrame->setGeometry(QRect(QPoint(380, 0), sourceFrame->size()));
    sourceFrame->raise();
    const QPoint covered = f.other->Image1->mapToGlobal(QPoint(10, 10));
    ASSERT_TRUE(sourceFrame->geometry().contains(f.host.area.viewport()->mapFromGlobal(covered)));
    EXPECT_EQ(glimt::FindSelectionDropTarget(*f.source, covered).kind, glimt::TSelectionDropTarget::None);
    sourceFrame->lower();
    const glimt::TSelectionDropTarget t = glimt::FindSelectionDropTarget(*f.source, covered);
    EXPECT_EQ(t.kind, glimt::TSelectionDropTarget::Desk);
    EXPECT_EQ(t.desk, f.other);
    EXPECT_EQ(t.canvasPos, QPoint(10, 10));
    EXPECT_EQ(glimt::FindSelectionDropTarget(*f.source, f.WorkAreaPoint(QPoint(50, 500))).kind,
        glimt::TSelectionDropTarget::WorkArea);
}

TEST(SelectionDrop, ComingBackIntoTheWindowResumesTheMove)
{
    DragFixture f;
    const QPoint start = f.source->ImgSel->pos();
    f.PressAndMoveTo(f.other->ToolBar1->mapToGlobal(QPoint(2, 2)));
    EXPECT_TRUE(f.source->SelDraggingOut);
    EXPECT_EQ(f.source->ImgSel->cursor().shape(), Qt::ForbiddenCursor);
    // Back over the canvas, two cells right of where the press was.
    const QPoint back = f.source->Image1->mapToGlobal(start - f.source->Image1->pos() + QPoint(2 + 8, 2));
    f.MoveTo(back);
    EXPECT_FALSE(f.source->SelDraggingOut);
    f.ReleaseAt(back);
    EXPECT_EQ(f.host.created, 0);
    EXPECT_EQ(f.tools.SelectionDocumentSlot(), 1);
    EXPECT_EQ(f.source->ImgSel->pos(), start + QPoint(8, 0));
}

TEST(SelectionDrop, AWorkAreaWithoutRoomForAWindowKeepsTheSelectionWhereItWas)
{
    DragFixture f;
    f.host.full = true;
    const QPoint start = f.source->ImgSel->pos();
    f.DragLayerTo(f.WorkAreaPoint(QPoint(380, 520)));
    EXPECT_EQ(f.host.DeskCount(), 2);
    EXPECT_EQ(f.tools.SelectionDocumentSlot(), 1);
    EXPECT_TRUE(f.source->ImgSel->isVisible());
    EXPECT_EQ(f.source->ImgSel->pos(), start);
    EXPECT_TRUE(f.source->Saved);
}
