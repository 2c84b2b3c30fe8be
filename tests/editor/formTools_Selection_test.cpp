#include "editor/formTools.h"

#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "engine/Prompts.h"
#include "tests/editor/DeskFakes.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakePrompts.h"
#include "tests/support/PixelFixtures.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

using glimt::test::FakeHost;
using glimt::test::Px;

namespace {

constexpr TmyPixel kClear = Px(0, 0, 0, 0);
constexpr TmyPixel kOffPalette = Px(3, 250, 7, 255);

// The tool window as the engine and one shown document (zoom 4) whose pixel (x, y) is
// (x * 10, y * 10, 7, 255), active in slot 1.
struct Editor {
    glimt::test::ScopedOptions options;
    glimt::test::FakeDialogs dialogs;
    glimt::ScopedUserDialogs installDialogs{&dialogs};
    glimt::test::AnswerPrompts prompts;
    glimt::ScopedPrompts installPrompts{&prompts};
    FakeHost host;
    TfrmTools tools;
    TfrmDesk desk;
    explicit Editor(int w, int h, int depth = 32)
    {
        Options().TransparentSelection = false;
        glimt::SetEditorHost(&host);
        glimt::SetToolEngine(&tools);
        host.Active = &desk;
        host.Slot = 1;
        TmyImagePal& image = desk.Icon->AddImage(h, w, depth);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.Pixel(x, y) = Px(x * 10, y * 10, 7, 255);
        glimt::test::ShowDocument(desk, 4, QSize(400, 300));
    }
    ~Editor()
    {
        glimt::SetToolEngine(nullptr);
        glimt::SetEditorHost(nullptr);
    }
    TmyImagePal& Image() { return *desk.CurrentImage(); }
    static QPoint At(int x, int y) { return QPoint(x * 4 + 1, y * 4 + 1); }
    void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(desk.Image1, button, {}, At(from.x(), from.y()));
        QTest::mouseMove(desk.Image1, At(to.x(), to.y()));
        QTest::mouseRelease(desk.Image1, button, {}, At(to.x(), to.y()));
    }
    // A floating 2 x 2 selection of one colour over cell (1, 1) of the document.
    void Float(const TmyPixel& colour)
    {
        tmyselection& s = *tools.Selection();
        s.Image = TmyImagePal(2, 2, 32);
        s.Image.Fill(colour);
        s.OriginalImage = s.Image;
        s.SetBounds(0, 0, 2, 2);
        s.DocumentSlot = 1;
        desk.ImgSel->move(desk.Image1->pos() + QPoint(4, 4));
        tools.ShowSelectionLayer(true);
        desk.ShowSelectionHandles();
    }
};

} // namespace

TEST(TfrmToolsSelection, SelectionStrokeCutsAndAnotherToolMergesWhereTheLayerLies)
{
    Editor e(6, 4);
    e.tools.PressToolButton(glimt::toolSelection);
    e.Drag({1, 1}, {3, 2});

    EXPECT_EQ(e.tools.SelectionDocumentSlot(), 1);
    ASSERT_TRUE(e.desk.ImgSel->isVisible());
    EXPECT_EQ(e.desk.ImgSel->geometry(), QRect(e.desk.Image1->pos() + QPoint(4, 4), QSize(12, 8)));
    EXPECT_EQ(e.desk.Undo->Position, 1);
    EXPECT_FALSE(e.desk.Saved);
    EXPECT_EQ(e.Image().Pixel(2, 1), kClear);
    EXPECT_EQ(e.Image().Pixel(4, 1), Px(40, 10, 7, 255));

    // Moved one cell right by hand, then merged by choosing the pencil.
    e.desk.ImgSel->move(e.desk.ImgSel->pos() + QPoint(4, 0));
    e.tools.PressToolButton(glimt::toolPencil);
    EXPECT_EQ(e.tools.SelectionDocumentSlot(), 0);
    EXPECT_FALSE(e.desk.ImgSel->isVisible());
    EXPECT_EQ(e.desk.Undo->Position, 2);
    EXPECT_EQ(e.Image().Pixel(1, 1), kClear);
    EXPECT_EQ(e.Image().Pixel(2, 1), Px(10, 10, 7, 255));
    EXPECT_EQ(e.Image().Pixel(4, 2), Px(30, 20, 7, 255));
    EXPECT_TRUE(e.tools.Engine.JustDropped);
}

TEST(TfrmToolsSelection, MergingIntoEightBitsFitsThePaletteAsSetOrAsked)
{
    struct Row {
        const char* name;
        int setting, answer;
        bool asked, exact;
    } rows[] = {
        {"keep the palette", 1, 0, false, false},
        {"new palette", 0, 1, false, true},
        {"asked, keep", 2, 1, true, false},
        {"asked, new", 2, 0, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Editor e(4, 4, 8);
        Options().PaletteAction = std::uint8_t(row.setting);
        e.prompts.answer = row.answer;
        e.tools.PressToolButton(glimt::toolSelection);
        e.Float(kOffPalette);
        e.tools.DropSelection();
        EXPECT_EQ(e.prompts.asked, row.asked ? 1 : 0);
        const TmyPixel merged = e.Image().Pixel(1, 1);
        EXPECT_EQ(merged == kOffPalette, row.exact) << merged;
        ASSERT_TRUE(e.Image().Palette.has_value());
        EXPECT_TRUE(e.Image().Palette->IndexOf(merged) >= 0);
    }
}

TEST(TfrmToolsSelection, AskingMergeAtASelectionPressReleasesTheStrokeFirst)
{
    Editor e(4, 4, 8);
    Options().PaletteAction = 2;
    e.tools.PressToolButton(glimt::toolSelection);
    e.Float(kOffPalette);
    QTest::mousePress(e.desk.Image1, Qt::LeftButton, {}, Editor::At(0, 0));
    EXPECT_EQ(e.prompts.asked, 1);
    EXPECT_EQ(e.desk.StrokeButton, 2);
    const QImage shown = e.desk.Image1->Bitmap;
    QTest::mouseMove(e.desk.Image1, Editor::At(3, 3));
    QTest::mouseRelease(e.desk.Image1, Qt::LeftButton, {}, Editor::At(3, 3));
    EXPECT_EQ(e.desk.Image1->Bitmap, shown); // no band followed the mouse
    EXPECT_EQ(e.tools.SelectionDocumentSlot(), 0);
    EXPECT_EQ(e.prompts.asked, 1);
}

TEST(TfrmToolsSelection, TextToolFloatsTheAnsweredTextAtTheReleaseCell)
{
    if (QFontDatabase::families().isEmpty())
        GTEST_SKIP() << "no fonts";
    Editor e(40, 20);
    e.tools.ForeColor = Px(250, 0, 0, 255);
    e.tools.PressToolButton(glimt::toolText);
    int asked = 0;
    bool accept = false;
    e.tools.AskText = [&](glimt::TTextChoice& text) {
        ++asked;
        text.FontName = QFontDatabase::families().first();
        text.Size = 10;
        text.Text = QStringLiteral("Hi");
        return accept;
    };
    e.Drag({2, 1}, {2, 1});
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(e.tools.SelectionDocumentSlot(), 0);

    accept = true;
    e.Drag({5, 3}, {5, 3});
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(e.tools.SelectionDocumentSlot(), 1);
    EXPECT_EQ(e.desk.Undo->Position, 0); // the text is not in the image yet
    EXPECT_EQ(e.desk.ImgSel->pos(), e.desk.Image1->pos() + QPoint(20, 12));
    EXPECT_TRUE(e.desk.ImgSel->isVisible());
    EXPECT_GT(e.host.PreviewsWithLayer, 0) << "the preview shows the new text at once";
    const TmyImagePal& text = *e.tools.SelectionImage();
    EXPECT_EQ(e.desk.ImgSel->size(), QSize(text.Width() * 4, text.Height() * 4));

    e.tools.PressToolButton(glimt::toolPencil);
    EXPECT_EQ(e.desk.Undo->Position, 1);
    int red = 0;
    for (int y = 0; y < e.Image().Height(); ++y)
        for (int x = 0; x < e.Image().Width(); ++x)
            red += e.Image().Pixel(x, y) == Px(250, 0, 0, 255) ? 1 : 0;
    EXPECT_GT(red, 5);
}

TEST(TfrmToolsSelection, CropToTheWholeImageIsRefusedAndAPartCrops)
{
    Editor e(6, 4, 8);
    e.tools.PressToolButton(glimt::toolCrop);
    e.Drag({0, 0}, {5, 3}); // 6 x 4 at 8 bits: the image itself
    EXPECT_EQ(e.dialogs.Texts(glimt::test::FakeDialogs::Kind::Warning),
        QStringList{QStringLiteral("There is already an image with this format in the icon!")});
    EXPECT_EQ(e.Image().Width(), 6);
    EXPECT_EQ(e.Image().BitDepth, 8);

    e.Drag({4, 3}, {1, 1}, Qt::RightButton);
    EXPECT_EQ(e.Image().Width(), 4);
    EXPECT_EQ(e.Image().Height(), 3);
    EXPECT_EQ(e.Image().BitDepth, 32);
    EXPECT_EQ(e.desk.Image1->size(), QSize(16, 12));
    EXPECT_EQ(e.desk.Undo->Position, 2); // one snapshot per press
}

TEST(TfrmToolsSelection, ZoomRedrawsAFloatingSelectionAtTheNewCellSizeAndKeepsItFloating)
{
    // Lifted with the Selection tool, and floating while the Text tool is current (a new text).
    for (const std::uint8_t tool : {glimt::toolSelection, glimt::toolText}) {
        SCOPED_TRACE(int(tool));
        Editor e(8, 6);
        e.tools.PressToolButton(tool);
        e.tools.LiftSelection(2, 1, 4, 2); // 3 x 2 cells at (2, 1)
        ASSERT_EQ(e.tools.SelectionDocumentSlot(), 1);
        ASSERT_EQ(e.desk.ImgSel->size(), QSize(12, 8));
        const TmyImagePal before = e.Image();
        // The layer's pixels are drawn over the checkerboard: an opaque channel c shows as c - 1
        // or c (inside its cells, away from the dotted frame).
        const auto shows = [](QRgb shown, const TmyPixel& p) {
            return std::abs(qRed(shown) - p.R) <= 1 && std::abs(qGreen(shown) - p.G) <= 1 && std::abs(qBlue(shown) - p.B) <= 1;
        };
        for (const int zoom : {10, 2, 7}) {
            SCOPED_TRACE(zoom);
            e.desk.cmbZoom->setCurrentIndex(zoom - 1);
            emit e.desk.cmbZoom->activated(zoom - 1);
            ASSERT_EQ(e.desk.Zoom, zoom);
            EXPECT_EQ(e.tools.SelectionDocumentSlot(), 1) << "still floating";
            EXPECT_TRUE(e.desk.ImgSel->isVisible());
            EXPECT_EQ(e.desk.ImgSel->size(), QSize(3 * zoom, 2 * zoom));
            EXPECT_EQ(e.desk.ImgSel->pos(), e.desk.Image1->pos() + QPoint(2, 1) * zoom);
            // The layer shows the lifted pixel (2, 1) in its top-left cell, (4, 2) in its last.
            EXPECT_TRUE(shows(e.desk.ImgSel->Bitmap.pixel(zoom / 2, zoom / 2), Px(20, 10, 7, 255)));
            EXPECT_TRUE(shows(e.desk.ImgSel->Bitmap.pixel(3 * zoom - 1 - zoom / 2, 2 * zoom - 1 - zoom / 2), Px(40, 20, 7, 255)));
        }
        EXPECT_EQ(e.desk.Undo->Position, 0) << "nothing merged";
        EXPECT_TRUE(e.Image().SamePixels(before));
    }
}

TEST(TfrmToolsSelection, ThePreviewFollowsALiftAtOnce)
{
    Editor e(8, 6);
    e.tools.PressToolButton(glimt::toolSelection);
    e.Drag({1, 1}, {3, 2});
    ASSERT_EQ(e.tools.SelectionDocumentSlot(), 1);
    EXPECT_GT(e.host.PreviewsWithLayer, 0) << "the preview was redrawn with the lifted layer showing";
}
