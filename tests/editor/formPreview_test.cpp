#include "editor/formPreview.h"

#include "editor/formDesk.h"
#include "editor/framePreview.h"
#include "engine/Settings.h"
#include "engine/myselection.h"
#include "tests/editor/DeskFakes.h"

#include <QTest>
#include <gtest/gtest.h>

using glimt::test::ScopedEditor;

namespace {

// A tool engine with a real floating selection.
class SelectionTools : public glimt::test::FakeTools {
public:
    tmyselection Floating;
    tmyselection* Selection() override { return &Floating; }
};

// A shown 6x4 document of opaque blue at zoom 5, active in slot 1, with the preview window.
struct PreviewWindowFixture {
    glimt::test::FakeHost host;
    SelectionTools tools;
    TfrmDesk desk;
    TfrmPreview preview;
    TOptions saved = Options();
    PreviewWindowFixture()
    {
        glimt::SetEditorHost(&host);
        glimt::SetToolEngine(&tools);
        Options().PrevColor = 0x00FF00;
        Options().TransparentSelection = false;
        TmyImagePal& image = desk.Icon->AddImage(4, 6, 32);
        image.Fill(TmyPixel::CreateRGBA(0, 0, 255, 255));
        desk.Tag = 1;
        desk.Zoom = 5;
        image.Zoom = 5;
        host.Active = &desk;
        host.Slot = 1;
        desk.FillImageCombo(true);
        desk.ShowImage(image);
        desk.resize(300, 200);
        desk.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&desk));
        desk.CenterImage();
    }
    ~PreviewWindowFixture()
    {
        glimt::SetEditorHost(nullptr);
        glimt::SetToolEngine(nullptr);
        Options() = saved;
    }
    // A floating selection of 2x1 cells: opaque red, then transparent.
    void FloatSelectionAtCell(int x, int y)
    {
        tools.SelectionSlot = 1;
        tools.Floating.Image = TmyImagePal(1, 2, 32);
        tools.Floating.Image.Pixel(0, 0) = TmyPixel::CreateRGBA(255, 0, 0, 255);
        desk.ShowSelectionHandles();
        desk.ImgSel->SetCanvasSize(10, 5);
        desk.ImgSel->move(desk.Image1->pos() + QPoint(x * 5, y * 5));
    }
    QColor Shown(int x, int y) const { return preview.preview1->Image1->Picture.pixelColor(x, y); }
};

} // namespace

TEST(TfrmPreview, ShowsTheImageWithTheShownSelectionStampedInAndNeverChangesIt)
{
    PreviewWindowFixture f;
    const TmyImagePal before = *f.desk.CurrentImage();
    f.preview.ShowPreview(*f.desk.CurrentImage());
    EXPECT_EQ(f.preview.preview1->Image1->size(), QSize(6, 4));
    EXPECT_EQ(f.Shown(2, 1), QColor(0, 0, 254));

    f.FloatSelectionAtCell(2, 1);
    ASSERT_TRUE(f.desk.ImgSel->isVisible());
    f.preview.ShowPreview(*f.desk.CurrentImage());
    EXPECT_EQ(f.Shown(2, 1), QColor(254, 0, 0));
    // Copied as it is without the transparent-selection setting: the hole shows the background.
    EXPECT_EQ(f.Shown(3, 1), QColor(0, 255, 0));
    EXPECT_EQ(f.Shown(1, 1), QColor(0, 0, 254));

    // Moved one cell left and down; with the setting, the hole lets the image show through.
    Options().TransparentSelection = true;
    f.desk.ImgSel->move(f.desk.Image1->pos() + QPoint(5, 10));
    f.preview.ShowPreview(*f.desk.CurrentImage());
    EXPECT_EQ(f.Shown(1, 2), QColor(254, 0, 0));
    EXPECT_EQ(f.Shown(2, 2), QColor(0, 0, 254));
    EXPECT_EQ(f.Shown(2, 1), QColor(0, 0, 254));
    EXPECT_TRUE(f.desk.CurrentImage()->SamePixels(before));

    // A hidden layer is not stamped.
    f.tools.SelectionSlot = 0;
    f.desk.HideSelectionHandles();
    f.preview.ShowPreview(*f.desk.CurrentImage());
    EXPECT_EQ(f.Shown(1, 2), QColor(0, 0, 254));
}

TEST(TfrmPreview, PaintedCellsAreDrawnAgainAsTheDocumentDrawsThem)
{
    PreviewWindowFixture f;
    TmyImagePal& image = *f.desk.CurrentImage();
    f.preview.ShowPreview(image);
    image.Pixel(0, 0) = TmyPixel::CreateRGBA(0, 0, 0, 0);
    image.Pixel(5, 3) = TmyPixel::CreateRGBA(255, 255, 255, 255);
    image.Pixel(4, 3) = TmyPixel::CreateRGBA(255, 255, 255, 255); // outside the rectangle
    f.preview.PaintCells(image, QRect(5, 3, 4, 4)); // cut to the image
    f.preview.PaintCells(image, QRect(0, 0, 1, 1));
    EXPECT_EQ(f.Shown(0, 0), QColor(0, 255, 0));
    EXPECT_EQ(f.Shown(5, 3), QColor(254, 254, 254));
    EXPECT_EQ(f.Shown(4, 3), QColor(0, 0, 254));

    // Indexed images show their colours as they stand.
    TmyImagePal indexed(1, 1, 8);
    indexed.Pixel(0, 0) = TmyPixel::CreateRGBA(255, 255, 255, 255);
    f.preview.PaintCells(indexed, QRect(0, 0, 1, 1));
    EXPECT_EQ(f.Shown(0, 0), QColor(255, 255, 255));
}

TEST(TfrmPreview, ReportsOnlyTheHidingByTheUser)
{
    QWidget main;
    auto* preview = new TfrmPreview(&main);
    preview->setWindowFlags(Qt::Tool);
    int hidden = 0;
    preview->OnHidden = [&] { ++hidden; };
    main.show();
    preview->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(preview));
    main.hide(); // goes with its main window
    EXPECT_EQ(hidden, 0);
    main.show();
    preview->show();
    preview->close();
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(preview->objectName(), QStringLiteral("frmPreview"));
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Preview"));
}
