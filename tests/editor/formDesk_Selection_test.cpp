#include "editor/formDesk.h"

#include "tests/editor/DeskFakes.h"

#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

using glimt::TMouseButton;
using glimt::test::ScopedEditor;

namespace {

// A shown 16x16 document at zoom 4 whose floating selection (3 x 2 cells of opaque red) lies
// at cell (2, 1).
struct SelectionFixture {
    ScopedEditor editor;
    QWidget main;
    TfrmDesk desk;
    SelectionFixture()
    {
        editor.host.Main = &main;
        editor.tools.SelectionSlot = 1;
        editor.tools.SelectionPicture = TmyImagePal(2, 3, 32);
        editor.tools.SelectionPicture.Fill(TmyPixel::CreateRGBA(255, 0, 0, 255));
        desk.Icon->AddImage(16, 16, 32);
        glimt::test::ShowDocument(desk, 4, QSize(400, 300));
        desk.ShowSelectionHandles();
        desk.ImgSel->SetCanvasSize(12, 8);
        desk.ImgSel->move(desk.Image1->pos() + QPoint(8, 4));
        desk.RefreshSelection();
    }
    QPoint cell() const
    {
        const QPoint d = desk.ImgSel->pos() - desk.Image1->pos();
        return QPoint(d.x() / desk.Zoom, d.y() / desk.Zoom);
    }
};

} // namespace

TEST(TfrmDeskSelection, LayerShowsTheSelectionOverTheImageWithHandles)
{
    SelectionFixture f;
    ASSERT_TRUE(f.desk.ImgSel->isVisible());
    // Drawn over the checkerboard like the canvas: opaque 255 shows as 254.
    EXPECT_EQ(f.desk.ImgSel->Bitmap.pixel(5, 5), qRgb(254, 0, 0));
    // The dotted frame XORs the edge with white on every second pixel.
    EXPECT_EQ(f.desk.ImgSel->Bitmap.pixel(0, 0), qRgb(1, 255, 255));
    EXPECT_EQ(f.desk.ImgSel->Bitmap.pixel(1, 0), qRgb(254, 0, 0));
    EXPECT_EQ(f.desk.rpBottomRight->pos(), f.desk.ImgSel->pos() + QPoint(12 - 4, 8 - 4));
    EXPECT_EQ(f.desk.rpTop->pos(), f.desk.ImgSel->pos() + QPoint(6 - 4, -4));

    f.desk.ShowSelectionStatus();
    EXPECT_EQ(f.editor.host.Status, QStringLiteral("(2,1)-(5,3) W:3 H:2"));

    f.editor.tools.SelectionSlot = 0;
    f.desk.HideSelectionHandles();
    EXPECT_FALSE(f.desk.ImgSel->isVisible());
    EXPECT_EQ(f.desk.ImgSel->size(), QSize(0, 0));
}

TEST(TfrmDeskSelection, ArrowKeyMovesStepOneCell)
{
    SelectionFixture f;
    const int z = f.desk.Zoom;
    struct Step {
        int dx, dy;
        QPoint cell;
    } steps[] = {{z, 0, {3, 1}}, {0, z, {3, 2}}, {-z, 0, {2, 2}}, {0, -z, {2, 1}}};
    for (const Step& s : steps) {
        f.desk.ImgSelMouseDown(&f.main, TMouseButton::Left, 0, 0, 0);
        f.desk.ImgSelMouseMove(&f.main, 0, s.dx, s.dy);
        f.desk.ImgSelMouseUp(&f.main, TMouseButton::Left, 0, 0, 0);
        EXPECT_EQ(f.cell(), s.cell);
    }
    EXPECT_FALSE(f.desk.SelDragging);
    EXPECT_TRUE(f.editor.host.Actions.isEmpty());
}

TEST(TfrmDeskSelection, ZoomKeepsTheLayerOnItsCell)
{
    SelectionFixture f;
    f.desk.cmbZoom->setCurrentIndex(9);
    emit f.desk.cmbZoom->activated(9);
    EXPECT_EQ(f.desk.Zoom, 10);
    EXPECT_EQ(f.cell(), QPoint(2, 1));
}

TEST(TfrmDeskSelection, HandlesResizeWithinOneTo256CellsKeepingTheOppositeEdge)
{
    SelectionFixture f;
    const int z = f.desk.Zoom;
    const int right = f.desk.ImgSel->x() + f.desk.ImgSel->width();

    f.desk.rpBottomRightMouseDown(f.desk.rpLeft);
    f.desk.SelectionResizeStep(f.desk.rpLeft, QPoint(-2 * z, 0)); // two cells wider to the left
    EXPECT_EQ(f.desk.ImgSel->width(), 5 * z);
    EXPECT_EQ(f.desk.ImgSel->x() + f.desk.ImgSel->width(), right);
    f.desk.SelectionResizeStep(f.desk.rpLeft, QPoint(40 * z, 0)); // far past the right edge
    EXPECT_EQ(f.desk.ImgSel->width(), z);
    EXPECT_EQ(f.desk.ImgSel->x() + f.desk.ImgSel->width(), right);
    f.desk.rpBottomRightMouseUp(f.desk.rpLeft);
    EXPECT_EQ(f.editor.tools.Resizes.back(), QSize(1, 2));

    f.desk.rpBottomRightMouseDown(f.desk.rpBottomRight);
    f.desk.SelectionResizeStep(f.desk.rpBottomRight, QPoint(0, 400 * z));
    EXPECT_EQ(f.desk.ImgSel->height(), 257 * z - 1); // the layer's limit; 256 whole cells
    EXPECT_EQ(f.desk.ImgSel->width(), z);
    f.desk.rpBottomRightMouseUp(f.desk.rpBottomRight);
    EXPECT_EQ(f.editor.tools.Resizes.back(), QSize(1, 256));
    EXPECT_FALSE(f.desk.SelResizing);
}
