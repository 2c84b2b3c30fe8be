#include "editor/formTools.h"

#include "editor/formDesk.h"
#include "tests/editor/DeskFakes.h"
#include "tests/editor/ToolEditor.h"
#include "tests/support/PixelFixtures.h"

#include <QFrame>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using glimt::test::FakeHost;
using glimt::test::Centre;
using glimt::test::Px;
using Editor = glimt::test::ToolEditor;

namespace {

QToolButton* Button(QWidget& w, const char* name)
{
    auto* b = w.findChild<QToolButton*>(QString::fromLatin1(name));
    EXPECT_NE(b, nullptr) << name;
    return b;
}

TEST(TfrmTools, ToolButtonsShowTheirOptionPanels)
{
    TfrmTools tools;
    tools.show();
    EXPECT_EQ(tools.CurrentTool(), glimt::toolPencil);
    EXPECT_TRUE(Button(tools, "btnPencil")->isChecked());
    struct Case {
        const char* button;
        bool size, shape, fill, direction;
    } cases[] = {
        {"btnBrush", true, true, false, false},   {"btnSpray", true, false, false, false},
        {"btnRect", true, false, true, false},    {"btnGradient", false, false, false, true},
        {"btnFill", false, false, false, false},  {"btnBlur", true, true, false, false},
    };
    for (const Case& k : cases) {
        QTest::mouseClick(Button(tools, k.button), Qt::LeftButton);
        EXPECT_TRUE(Button(tools, k.button)->isChecked()) << k.button;
        EXPECT_EQ(tools.Panel1->isVisible(), k.size) << k.button;
        EXPECT_EQ(tools.Panel2->isVisible(), k.shape) << k.button;
        EXPECT_EQ(tools.Panel3->isVisible(), k.fill) << k.button;
        EXPECT_EQ(tools.Panel4->isVisible(), k.direction) << k.button;
    }
    EXPECT_EQ(tools.Panel1->objectName(), QStringLiteral("Panel1"));
}

TEST(TfrmTools, OptionButtonsAndSizeKeysSetTheBrush)
{
    TfrmTools tools;
    tools.show();
    EXPECT_FALSE(tools.PressSizeKey(5)) << "the size panel is hidden for the pencil";
    tools.PressToolButton(glimt::toolBrush);
    EXPECT_TRUE(tools.PressSizeKey(5));
    EXPECT_EQ(tools.Engine.BrushSize, 5);
    QTest::mouseClick(Button(tools, "SpeedButton36"), Qt::LeftButton);
    EXPECT_EQ(tools.Engine.BrushSize, 7);
    QTest::mouseClick(Button(tools, "SpeedButton30"), Qt::LeftButton);
    EXPECT_EQ(tools.Engine.BrushShape, 4);
    QTest::mouseClick(Button(tools, "SpeedButton33"), Qt::LeftButton);
    EXPECT_EQ(tools.Engine.FillStyle, 3);
    QTest::mouseClick(Button(tools, "SpeedButton42"), Qt::LeftButton);
    EXPECT_EQ(tools.Engine.GradientDirection, 2);
}

TEST(TfrmTools, PickerReturnsToThePreviousToolAndReselectingKeepsIt)
{
    Editor e(3, 2, 32, 4);
    e.desk.CurrentImage()->Pixel(2, 1) = Px(10, 20, 30, 255);
    e.tools.PressToolButton(glimt::toolLine);
    e.tools.PressToolButton(glimt::toolPicker);
    e.tools.PressToolButton(glimt::toolPicker); // already current: PreviousTool stays Line
    EXPECT_EQ(e.tools.Engine.PreviousTool, glimt::toolLine);
    QTest::mousePress(e.desk.Image1, Qt::LeftButton, {}, Centre(2, 1, 4));
    QTest::mouseRelease(e.desk.Image1, Qt::LeftButton, {}, Centre(2, 1, 4));
    EXPECT_EQ(e.tools.ForeColor, Px(10, 20, 30, 255));
    EXPECT_EQ(e.tools.CurrentTool(), glimt::toolLine);
    EXPECT_TRUE(Button(e.tools, "btnLine")->isChecked());
}

TEST(TfrmTools, PencilStrokeOnTheCanvasPaintsTheImageAndTheCanvas)
{
    Editor e(5, 3, 32, 4);
    QRect painted;
    e.tools.CellsPainted = [&](const TmyImagePal&, const QRect& r) { painted |= r; };
    e.tools.ForeColor = Px(255, 0, 0, 255);
    QTest::mousePress(e.desk.Image1, Qt::LeftButton, {}, Centre(0, 0, 4));
    QTest::mouseMove(e.desk.Image1, Centre(4, 2, 4));
    QTest::mouseRelease(e.desk.Image1, Qt::LeftButton, {}, Centre(4, 2, 4));
    const TmyImagePal& img = *e.desk.CurrentImage();
    EXPECT_EQ(img.Pixel(0, 0), Px(255, 0, 0, 255));
    EXPECT_EQ(img.Pixel(2, 1), Px(255, 0, 0, 255));
    EXPECT_EQ(img.Pixel(4, 2), Px(255, 0, 0, 255));
    EXPECT_EQ(img.Pixel(4, 0), Px(255, 255, 255, 255));
    EXPECT_EQ(painted, QRect(0, 0, 5, 3));
    const QRgb shown = e.desk.Image1->Bitmap.pixel(Centre(2, 1, 4));
    EXPECT_GT(qRed(shown), 250);
    EXPECT_EQ(qGreen(shown), 0);
    EXPECT_EQ(e.desk.Undo->Position, 1);
}

TEST(TfrmTools, EveryEventRepaintsOneRectangleOfTheCellsItChanged)
{
    Editor e(32, 32, 32, 10);
    glimt::TDeskCanvas& canvas = *e.desk.Image1;
    e.tools.PressToolButton(glimt::toolBrush);
    e.tools.PressSizeKey(7);
    QTest::mouseClick(Button(e.tools, "SpeedButton28"), Qt::LeftButton); // round
    const auto before = canvas.Invalidations;
    QTest::mousePress(&canvas, Qt::LeftButton, {}, Centre(10, 10, 10));
    EXPECT_EQ(canvas.Invalidations - before, 1);
    for (int x = 11; x <= 20; ++x) {
        SCOPED_TRACE(x);
        const auto count = canvas.Invalidations;
        const auto area = canvas.InvalidatedArea;
        QTest::mouseMove(&canvas, Centre(x, 10, 10));
        EXPECT_EQ(canvas.Invalidations - count, 1);
        // The stamps of a one-cell move span 8 x 7 cells; only what changed is repainted.
        EXPECT_GT(canvas.InvalidatedArea - area, 0);
        EXPECT_LE(canvas.InvalidatedArea - area, 80 * 70);
    }
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, Centre(20, 10, 10));

    e.tools.PressToolButton(glimt::toolFill);
    const auto count = canvas.Invalidations;
    const auto area = canvas.InvalidatedArea;
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, Centre(0, 0, 10));
    EXPECT_EQ(canvas.Invalidations - count, 1);
    EXPECT_EQ(canvas.InvalidatedArea - area, 320 * 320);
}

TEST(TfrmTools, ZoomToolChangesTheWindowAndTheImage)
{
    Editor e(4, 2, 32, 3);
    e.tools.PressToolButton(glimt::toolZoom);
    QTest::mousePress(e.desk.Image1, Qt::LeftButton, {}, Centre(1, 1, 3));
    QTest::mouseRelease(e.desk.Image1, Qt::LeftButton, {}, Centre(1, 1, 3));
    EXPECT_EQ(e.desk.Zoom, 4);
    EXPECT_EQ(e.desk.CurrentImage()->Zoom, 4);
    EXPECT_EQ(e.desk.Image1->Bitmap.width(), 16);
}

TEST(TfrmTools, ActionButtonsRunTheMainWindowsActions)
{
    FakeHost host;
    glimt::SetEditorHost(&host);
    TfrmTools tools;
    tools.show();
    QTest::mouseClick(Button(tools, "btnFlipHoriz"), Qt::LeftButton);
    QTest::mouseClick(Button(tools, "btnRight"), Qt::LeftButton);
    QTest::mouseClick(Button(tools, "btnLeft"), Qt::LeftButton);
    EXPECT_EQ(host.Actions, (QStringList{"actnFlipHoriz", "actnLeft", "actnRight"}));
    glimt::SetEditorHost(nullptr);
}

} // namespace
