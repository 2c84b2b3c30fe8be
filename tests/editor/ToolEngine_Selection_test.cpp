#include "editor/ToolEngine.h"
#include "tests/support/PixelFixtures.h"

#include <QFontDatabase>
#include <gtest/gtest.h>

using glimt::TToolContext;
using glimt::TToolEngine;
using glimt::TToolResult;
using glimt::test::Px;

namespace {

constexpr TmyPixel kClear = Px(0, 0, 0, 0);
constexpr TmyPixel kLeft = Px(10, 20, 30, 255);
constexpr TmyPixel kRight = Px(200, 100, 50, 255);

// A 10 x 10 document at zoom 1 whose pixel (x, y) is (x, y, 7, 255), with a floating selection
// and a canvas for the bands; the stroke-start copy lives from Press to Release.
struct Doc {
    TmyIcon icon;
    TmyImagePal* image;
    TmyImagePal backup;
    QImage canvas;
    tmyselection selection;
    TToolEngine tools;
    TToolContext c;
    int changes = 0;

    explicit Doc(std::uint8_t tool, int w = 10, int h = 10, int depth = 32)
    {
        image = &icon.AddImage(h, w, depth);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image->Pixel(x, y) = Px(x, y, 7, 255);
        canvas = QImage(w, h, QImage::Format_RGB32);
        canvas.fill(0xFF808080u);
        c.Paint.Image = image;
        c.Canvas = &canvas;
        c.Zoom = 1;
        c.Selection = &selection;
        c.Icon = &icon;
        c.Slot = 3;
        c.BeforeImageChange = [this] { ++changes; };
        tools.CurrentTool = tool;
    }
    TToolResult Send(QPoint p, std::uint8_t code, int button = 0)
    {
        return tools.Dispatch(c, p.x(), p.y(), std::uint8_t(button), false, code);
    }
    TToolResult Press(QPoint p, int button = 0)
    {
        backup = *image;
        c.Paint.StrokeBackup = &backup;
        return Send(p, glimt::kCodePress, button);
    }
    TToolResult End(QPoint p, std::uint8_t code = glimt::kCodeRelease, int button = 0)
    {
        TToolResult r = Send(p, code, button);
        c.Paint.StrokeBackup = nullptr;
        return r;
    }
};

} // namespace

TEST(SelectionTool, DragLiftsTheSpannedCellsAndCutsThemUnlessAltIsHeld)
{
    for (const bool alt : {false, true}) {
        SCOPED_TRACE(alt ? "copy with Alt" : "cut");
        Doc d(glimt::toolSelection);
        d.c.AltDown = alt;
        const QImage canvasBefore = d.canvas;
        d.Press({5, 5});
        d.Send({3, 7}, glimt::kCodeMove);
        d.Send({2, 8}, glimt::kCodeMove);
        const TToolResult r = d.End({2, 8});

        EXPECT_TRUE(r.SelectionLifted);
        EXPECT_TRUE(r.ClipboardChanged);
        EXPECT_EQ(d.changes, 1);
        EXPECT_EQ(d.selection.Bounds, (TSelectionRect{2, 5, 6, 9}));
        EXPECT_EQ(d.selection.DocumentSlot, 3);
        ASSERT_EQ(d.selection.Image.Width(), 4);
        ASSERT_EQ(d.selection.Image.Height(), 4);
        EXPECT_EQ(d.selection.Image.Pixel(0, 0), Px(2, 5, 7, 255));
        EXPECT_EQ(d.selection.Image.Pixel(3, 3), Px(5, 8, 7, 255));
        EXPECT_EQ(d.canvas, canvasBefore); // every band drawn was erased again
        EXPECT_EQ(d.image->Pixel(1, 5), Px(1, 5, 7, 255));
        EXPECT_EQ(d.image->Pixel(6, 8), Px(6, 8, 7, 255));
        EXPECT_EQ(d.image->Pixel(2, 9), Px(2, 9, 7, 255));
        for (int y = 5; y < 9; ++y)
            for (int x = 2; x < 6; ++x)
                EXPECT_EQ(d.image->Pixel(x, y), alt ? Px(x, y, 7, 255) : kClear) << x << "," << y;
        EXPECT_EQ(r.Cells, alt ? QRect() : QRect(2, 5, 4, 4));
    }
}

TEST(SelectionTool, ClickWithoutMovingAndEscapeLiftNothing)
{
    {
        Doc d(glimt::toolSelection);
        d.Press({4, 4});
        const TToolResult r = d.End({4, 4});
        EXPECT_FALSE(r.SelectionLifted);
        EXPECT_TRUE(d.tools.BandPending);
        EXPECT_TRUE(d.selection.IsEmpty());
        EXPECT_EQ(d.changes, 0);
    }
    {
        Doc d(glimt::toolSelection);
        const QImage canvasBefore = d.canvas;
        const TmyImagePal imageBefore = *d.image;
        d.Press({1, 1});
        d.Send({6, 4}, glimt::kCodeMove);
        EXPECT_NE(d.canvas, canvasBefore);
        const TToolResult r = d.End({0, 0}, glimt::kCodeCancel);
        EXPECT_FALSE(r.SelectionLifted);
        EXPECT_TRUE(d.selection.IsEmpty());
        EXPECT_EQ(d.canvas, canvasBefore);
        EXPECT_EQ(d.changes, 0);
        EXPECT_TRUE(d.image->SamePixels(imageBefore));
    }
}

TEST(SelectionTool, APressMergesAFloatingSelectionAndTheNextMoveOnlyEndsTheMerge)
{
    Doc d(glimt::toolSelection);
    d.selection.SetBounds(0, 0, 2, 2);
    TToolResult r = d.Press({1, 1}, 1);
    EXPECT_TRUE(r.DropSelection);
    EXPECT_FALSE(r.ReleaseStrokeAndDrop);
    d.End({1, 1}, glimt::kCodeRelease, 1);

    r = d.Press({1, 1});
    EXPECT_TRUE(r.DropSelection);
    EXPECT_TRUE(d.tools.BandPending);
    d.tools.JustDropped = true; // what the merge leaves behind
    d.selection.ClearRect();
    r = d.Send({4, 4}, glimt::kCodeMove);
    EXPECT_TRUE(r.CanvasPixels.isEmpty());
    EXPECT_FALSE(d.tools.JustDropped);
    r = d.Send({5, 5}, glimt::kCodeMove);
    EXPECT_FALSE(r.CanvasPixels.isEmpty());
    r = d.End({5, 5});
    EXPECT_EQ(d.selection.Bounds, (TSelectionRect{1, 1, 6, 6}));
}

TEST(SelectionTool, AMergeThatAsksEndsTheStrokeWithoutABand)
{
    Doc d(glimt::toolSelection);
    d.selection.SetBounds(0, 0, 2, 2);
    d.c.DropNeedsQuestion = true;
    d.tools.BandPending = false;
    const TToolResult r = d.Press({1, 1});
    EXPECT_TRUE(r.ReleaseStrokeAndDrop);
    EXPECT_FALSE(r.DropSelection);
    EXPECT_FALSE(d.tools.BandPending);
}

TEST(CropTool, CropsToTheDraggedCellsAsThirtyTwoBits)
{
    Doc d(glimt::toolCrop, 32, 32, 4);
    d.Press({20, 3}, 1);
    d.Send({5, 18}, glimt::kCodeMove, 1);
    const TToolResult r = d.End({5, 18}, glimt::kCodeRelease, 1);
    EXPECT_TRUE(r.ImageCropped);
    EXPECT_EQ(d.image->Width(), 16);
    EXPECT_EQ(d.image->Height(), 16);
    EXPECT_EQ(d.image->BitDepth, 32);
    EXPECT_FALSE(d.image->Palette.has_value());
}

TEST(CropTool, RefusesFormatsTheIconHoldsAndEscape)
{
    struct Row {
        const char* name;
        int otherDepth; // depth of a second 16 x 16 image; 0 none
        std::uint8_t code;
        bool cropped, refused;
    } rows[] = {
        {"free format", 0, glimt::kCodeRelease, true, false},
        {"same size at the image's depth", 4, glimt::kCodeRelease, false, true},
        {"same size at the 32 bits the crop makes", 32, glimt::kCodeRelease, false, true},
        {"same size at another depth", 8, glimt::kCodeRelease, true, false},
        {"escape", 0, glimt::kCodeCancel, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Doc d(glimt::toolCrop, 32, 32, 4);
        if (row.otherDepth)
            d.icon.AddImage(16, 16, row.otherDepth);
        d.image = &d.icon.Image(0);
        d.c.Paint.Image = d.image;
        const TmyImagePal before = *d.image;
        d.Press({0, 0});
        d.Send({15, 15}, glimt::kCodeMove);
        const TToolResult r = d.End({15, 15}, row.code);
        EXPECT_EQ(r.ImageCropped, row.cropped);
        EXPECT_EQ(r.CropRefused, row.refused);
        if (!row.cropped) {
            EXPECT_TRUE(d.image->SamePixels(before));
            EXPECT_EQ(d.image->BitDepth, 4);
        }
    }
}

TEST(TextTool, AsksOnlyAtTheRelease)
{
    Doc d(glimt::toolText);
    EXPECT_FALSE(d.Press({3, 4}, 1).TextRequested);
    EXPECT_FALSE(d.Send({3, 4}, glimt::kCodeMove, 1).TextRequested);
    const TToolResult r = d.End({6, 2}, glimt::kCodeRelease, 1);
    EXPECT_TRUE(r.TextRequested);
    EXPECT_EQ(r.Cell, QPoint(6, 2));
}

TEST(TextTool, FloatsTheTextInTheButtonsColourCutAt256Columns)
{
    const QStringList fonts = QFontDatabase::families();
    if (fonts.isEmpty())
        GTEST_SKIP() << "no fonts";
    glimt::TTextChoice text;
    text.FontName = fonts.first();
    text.Size = 20;
    text.Text = QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    struct Row {
        int button;
        TmyPixel colour;
    } rows[] = {{0, kLeft}, {1, kRight}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.button);
        tmyselection selection;
        ASSERT_TRUE(glimt::FloatText(selection, text, row.button, kLeft, kRight, false, 4));
        EXPECT_EQ(selection.Image.Width(), 256);
        EXPECT_GT(selection.Image.Height(), 10);
        EXPECT_EQ(selection.Image.BitDepth, 32);
        EXPECT_FALSE(selection.IsEmpty());
        EXPECT_TRUE(selection.InFront);
        EXPECT_EQ(selection.DocumentSlot, 4);
        EXPECT_TRUE(selection.OriginalImage.SamePixels(selection.Image));
        int painted = 0, other = 0;
        for (int y = 0; y < selection.Image.Height(); ++y)
            for (int x = 0; x < selection.Image.Width(); ++x) {
                const TmyPixel& p = selection.Image.Pixel(x, y);
                if (p == row.colour)
                    ++painted;
                else if (p != kClear)
                    ++other;
            }
        EXPECT_GT(painted, 100);
        EXPECT_EQ(other, 0);
    }
    tmyselection untouched;
    text.Text.clear();
    EXPECT_FALSE(glimt::FloatText(untouched, text, 0, kLeft, kRight, false, 4));
    EXPECT_TRUE(untouched.IsEmpty());
}
