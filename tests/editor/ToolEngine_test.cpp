#include "editor/ToolEngine.h"
#include "engine/PaletteLibrary.h"
#include "engine/Prompts.h"
#include "tests/support/PixelFixtures.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

using glimt::TToolContext;
using glimt::TToolEngine;
using glimt::test::Px;

namespace {

constexpr TmyPixel kWhite = Px(255, 255, 255, 255);
constexpr TmyPixel kBlack = Px(0, 0, 0, 255);
constexpr TmyPixel kRed = Px(255, 0, 0, 255);

// A document as the tool window would resolve it: image, stroke-start copy, canvas, zoom 1.
// Press, Move and Release drive the engine in cells; the stroke-start copy is taken at the
// press and dropped after the release, as the document window does.
struct Doc {
    TmyImagePal image;
    TmyImagePal backup;
    QImage canvas;
    TToolEngine tools;
    TToolContext c;

    explicit Doc(int w, int h, int depth = 32, TmyPixel fill = kWhite) : image(h, w, depth)
    {
        image.Fill(fill);
        canvas = QImage(w, h, QImage::Format_RGB32);
        canvas.fill(0xFF808080u);
        c.Paint.Image = &image;
        c.Paint.ForeColor = kBlack;
        c.Paint.BackColor = kRed;
        c.Canvas = &canvas;
        c.Zoom = 1;
    }
    glimt::TToolResult Send(int x, int y, int button, std::uint8_t code, bool shift = false)
    {
        return tools.Dispatch(c, x * c.Zoom, y * c.Zoom, std::uint8_t(button), shift, code);
    }
    glimt::TToolResult Press(int x, int y, int button = 0)
    {
        backup = image;
        c.Paint.StrokeBackup = &backup;
        return Send(x, y, button, glimt::kCodePress);
    }
    glimt::TToolResult Move(int x, int y, int button = 0, bool shift = false) { return Send(x, y, button, glimt::kCodeMove, shift); }
    glimt::TToolResult Release(int x, int y, int button = 0, bool shift = false, std::uint8_t code = glimt::kCodeRelease)
    {
        auto r = Send(x, y, button, code, shift);
        c.Paint.StrokeBackup = nullptr;
        return r;
    }
    // The cells that are not white, as a picture of rows ('#' painted, '.' white).
    std::vector<std::string> Picture(TmyPixel background = kWhite) const
    {
        std::vector<std::string> rows;
        for (int y = 0; y < image.Height(); ++y) {
            std::string row;
            for (int x = 0; x < image.Width(); ++x)
                row += image.Pixel(x, y) == background ? '.' : '#';
            rows.push_back(row);
        }
        return rows;
    }
};

using Rows = std::vector<std::string>;

TEST(ToolEngine, PencilStrokeOfPressMovesAndReleasePaintsThePath)
{
    Doc d(6, 3);
    d.tools.CurrentTool = glimt::toolPencil;
    d.Press(0, 0);
    d.Move(3, 0);
    d.Move(5, 2);
    d.Release(5, 2);
    EXPECT_EQ(d.Picture(), (Rows{"####..", "....#.", ".....#"}));
    // The right button paints the right colour.
    d.Press(0, 2, 1);
    d.Release(0, 2, 1);
    EXPECT_EQ(d.image.Pixel(0, 2), kRed);
}

TEST(ToolEngine, StrayReleaseOfTheOtherButtonDoesNotEndTheStroke)
{
    Doc d(5, 2);
    d.tools.CurrentTool = glimt::toolLine;
    d.Press(0, 0);
    d.Move(4, 0);
    d.Send(4, 0, 1, glimt::kCodeRelease); // the right button let go in the middle
    d.Send(2, 1, 1, glimt::kCodeMove);
    EXPECT_EQ(d.Picture(), (Rows{".....", "....."})) << "nothing is painted before the stroke's own release";
    d.Release(4, 0);
    EXPECT_EQ(d.Picture(), (Rows{"#####", "....."}));
    // The XOR band was removed: the canvas is back to its grey.
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(d.canvas.pixel(x, 0), 0xFF808080u);
}

TEST(ToolEngine, CanvasPositionsAreClampedAndDividedByTheZoom)
{
    Doc d(4, 2);
    d.c.Zoom = 4;
    d.tools.CurrentTool = glimt::toolPencil;
    d.backup = d.image;
    d.c.Paint.StrokeBackup = &d.backup;
    auto r = d.tools.Dispatch(d.c, 16, 99, 0, false, glimt::kCodePress);
    EXPECT_EQ(r.Cell, QPoint(3, 1));
    r = d.tools.Dispatch(d.c, -5, 5, 0, false, glimt::kCodeMove);
    EXPECT_EQ(r.Cell, QPoint(0, 1));
}

TEST(ToolEngine, ShiftRuleMakesSquaresAndSnapsLines)
{
    struct Case {
        std::uint8_t tool;
        QPoint to, expected;
    } cases[] = {
        {glimt::toolLine, {30, 14}, {30, 10}},
        {glimt::toolLine, {30, 25}, {30, 30}},
        {glimt::toolLine, {12, 30}, {10, 30}},
        {glimt::toolRectangle, {4, 12}, {4, 16}},
        {glimt::toolRectangle, {12, 4}, {16, 4}},
        {glimt::toolPencil, {4, 12}, {4, 12}},
    };
    for (const Case& k : cases) {
        Doc d(40, 40);
        d.tools.CurrentTool = k.tool;
        d.Press(10, 10);
        EXPECT_EQ(d.Move(k.to.x(), k.to.y(), 0, true).Cell, k.expected) << int(k.tool);
    }
}

TEST(ToolEngine, DiagonalBrushStampsASecondTimeOneColumnBack)
{
    // Size 3 "/" from (2, 2) to (5, 2): stamps at 3, 4, 5 and again at 2, 3, 4.
    Doc d(9, 5);
    d.tools.CurrentTool = glimt::toolBrush;
    d.tools.BrushSize = 3;
    d.tools.BrushShape = glimt::kShapeSlash;
    d.backup = d.image;
    d.c.Paint.StrokeBackup = &d.backup;
    d.tools.LastPoint = QPoint(2, 2);
    d.Move(5, 2);
    EXPECT_EQ(d.Picture(), (Rows{".........", "...####..", "..####...", ".####....", "........."}));
    // A move that does not go right puts the second stamps one column to the right.
    Doc e(5, 5);
    e.tools.CurrentTool = glimt::toolBrush;
    e.tools.BrushShape = glimt::kShapeBackslash;
    e.backup = e.image;
    e.c.Paint.StrokeBackup = &e.backup;
    e.tools.LastPoint = QPoint(2, 1);
    e.Move(2, 3);
    EXPECT_EQ(e.Picture(), (Rows{".....", ".....", "..##.", "..##.", "....."}));
}

TEST(ToolEngine, OpacityIgnoresTheRightButton)
{
    Doc d(3, 2);
    d.tools.CurrentTool = glimt::toolOpacity;
    d.c.Paint.ForeColor = Px(0, 0, 0, 100);
    d.Press(1, 1, 1);
    d.Release(1, 1, 1);
    EXPECT_EQ(d.image.Pixel(1, 1), kWhite);
    d.Press(1, 1, 0);
    EXPECT_EQ(d.image.Pixel(1, 1), Px(255, 255, 255, 100));
}

TEST(ToolEngine, FillReplacesTheRegionAndLeavesAFillOfTheSameColourAlone)
{
    Doc d(4, 3);
    d.image.Pixel(1, 0) = kBlack;
    d.image.Pixel(1, 1) = kBlack;
    d.image.Pixel(1, 2) = kBlack;
    d.tools.CurrentTool = glimt::toolFill;
    d.c.Paint.ForeColor = kRed;
    d.Press(3, 1);
    d.Release(3, 1);
    EXPECT_EQ(d.image.Pixel(0, 0), kWhite);
    EXPECT_EQ(d.image.Pixel(2, 0), kRed);
    EXPECT_EQ(d.image.Pixel(3, 2), kRed);
    // A fill whose written colour equals the target ends and changes nothing.
    const TmyPixel before = d.image.Pixel(3, 2);
    auto r = d.Press(3, 2);
    EXPECT_TRUE(r.Cells.isEmpty());
    EXPECT_EQ(d.image.Pixel(3, 2), before);
    // A fully transparent right colour clears to transparent black.
    d.c.Paint.BackColor = Px(9, 9, 9, 0);
    d.Press(0, 0, 1);
    EXPECT_EQ(d.image.Pixel(0, 2), Px(0, 0, 0, 0));
}

TEST(ToolEngine, SprayFollowsTheFixedSequence)
{
    // The generator: Seed := Seed x 134775813 + 1, value := high half of Seed x s.
    TToolEngine g;
    const std::uint32_t expected[] = {0, 0, 6, 1};
    for (std::uint32_t value : expected)
        EXPECT_EQ(g.Random(7), value);
    EXPECT_EQ(g.Seed, 870078620u);

    // Size 1 writes the cell itself once per event.
    Doc one(5, 3);
    one.tools.CurrentTool = glimt::toolSpray;
    one.Press(2, 1);
    EXPECT_EQ(one.Picture(), (Rows{".....", "..#..", "....."}));

    // Size 7: four dots within the 7 x 7 square around the cell, the same in every run.
    auto dots = [] {
        Doc d(20, 12);
        d.tools.CurrentTool = glimt::toolSpray;
        d.tools.BrushSize = 7;
        d.Press(10, 6);
        std::set<std::pair<int, int>> cells;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 20; ++x)
                if (!(d.image.Pixel(x, y) == kWhite)) {
                    EXPECT_TRUE(x >= 7 && x <= 13 && y >= 3 && y <= 9);
                    cells.insert({x, y});
                }
        return cells;
    };
    const auto first = dots();
    EXPECT_GE(first.size(), 1u);
    EXPECT_LE(first.size(), 4u);
    EXPECT_EQ(dots(), first);
}

TEST(ToolEngine, RectangleStylesAndThinShapes)
{
    {
        Doc d(8, 6);
        d.tools.CurrentTool = glimt::toolRectangle;
        d.Press(2, 2);
        d.Move(5, 4);
        d.Release(5, 4);
        EXPECT_EQ(d.Picture(), (Rows{"........", "........", "..####..", "..#..#..", "..####..", "........"}));
    }
    {
        // Fill style 2: outline in the button's colour, the inside in the other colour.
        Doc d(6, 5);
        d.tools.CurrentTool = glimt::toolRectangle;
        d.tools.FillStyle = 2;
        d.Press(4, 3, 1); // drawn from the bottom right, right button
        d.Release(0, 0, 1);
        EXPECT_EQ(d.image.Pixel(0, 0), kRed);
        EXPECT_EQ(d.image.Pixel(4, 3), kRed);
        EXPECT_EQ(d.image.Pixel(2, 1), kBlack);
        EXPECT_EQ(d.image.Pixel(5, 4), kWhite);
    }
    {
        // Fill style 3: filled with the button's colour.
        Doc d(6, 5);
        d.tools.CurrentTool = glimt::toolRoundRect;
        d.tools.FillStyle = 3;
        d.Press(1, 1);
        d.Release(3, 3);
        EXPECT_EQ(d.image.Pixel(2, 2), kBlack);
    }
    {
        // A release in the anchor's column gives a 1 x 3 shape.
        Doc d(5, 6);
        d.tools.CurrentTool = glimt::toolRectangle;
        d.Press(2, 2);
        d.Release(2, 4);
        EXPECT_EQ(d.Picture(), (Rows{".....", ".....", "..#..", "..#..", "..#..", "....."}));
    }
    {
        // A click on one cell paints that cell (2-pixel pen on a 1 x 1 ellipse).
        Doc d(3, 2);
        d.tools.CurrentTool = glimt::toolRectangle;
        d.Press(1, 0);
        d.Release(1, 0);
        EXPECT_EQ(d.Picture(), (Rows{".#.", "..."}));
    }
}

TEST(ToolEngine, ShiftedEllipseIsACircle)
{
    Doc d(12, 9);
    d.tools.CurrentTool = glimt::toolEllipse;
    d.Press(1, 1);
    d.Move(5, 3, 0, true);
    d.Release(5, 3, 0, true);
    const auto rows = d.Picture();
    // 5 x 5 circle from (1, 1): symmetric, touching all four sides of its box.
    for (int y = 1; y <= 5; ++y)
        for (int x = 1; x <= 5; ++x)
            EXPECT_EQ(rows[std::size_t(y)][std::size_t(x)], rows[std::size_t(x)][std::size_t(y)]);
    EXPECT_EQ(rows[1], "..###.......");
    EXPECT_EQ(rows[6], "............");
}

TEST(ToolEngine, EscapeDuringAShapePaintsNothingAndLeavesNoBand)
{
    for (std::uint8_t tool : {glimt::toolLine, glimt::toolRectangle, glimt::toolRoundRect, glimt::toolEllipse, glimt::toolGradient}) {
        Doc d(7, 5);
        const QImage before = d.canvas.copy();
        d.tools.CurrentTool = tool;
        d.Press(1, 1);
        d.Move(5, 3);
        d.Move(6, 4);
        d.Release(6, 4, 0, false, glimt::kCodeCancel);
        EXPECT_EQ(d.Picture(), (Rows{".......", ".......", ".......", ".......", "......."})) << int(tool);
        EXPECT_EQ(d.canvas, before) << int(tool);
    }
}

TEST(ToolEngine, LineWithoutMovePaintsOneStampAtTheAnchor)
{
    Doc d(5, 4);
    d.tools.CurrentTool = glimt::toolLine;
    d.tools.BrushSize = 2;
    d.Press(2, 2);
    d.Release(2, 2);
    EXPECT_EQ(d.Picture(), (Rows{".....", ".##..", ".##..", "....."}));
}

TEST(ToolEngine, GradientRunsFromStartToEndColour)
{
    Doc d(16, 16);
    d.tools.CurrentTool = glimt::toolGradient;
    d.c.Paint.BackColor = kWhite;
    d.c.Paint.ForeColor = kBlack;
    d.image.Fill(Px(0, 0, 0, 0));
    d.Press(0, 0);
    d.Release(15, 15);
    EXPECT_EQ(d.image.Pixel(15, 3), kWhite);
    EXPECT_EQ(d.image.Pixel(0, 9), kBlack);
    EXPECT_EQ(d.image.Pixel(8, 0), Px(136, 136, 136, 255));
    EXPECT_EQ(d.image.Pixel(8, 15), Px(136, 136, 136, 255));

    // Direction 2 by rows, right button: from the right colour at the top.
    Doc e(3, 5);
    e.tools.CurrentTool = glimt::toolGradient;
    e.tools.GradientDirection = 2;
    e.c.Paint.BackColor = Px(200, 0, 0, 255);
    e.c.Paint.ForeColor = Px(0, 0, 100, 255);
    e.Press(2, 4, 1);
    e.Release(0, 0, 1);
    EXPECT_EQ(e.image.Pixel(1, 0), Px(200, 0, 0, 255));
    EXPECT_EQ(e.image.Pixel(1, 2), Px(100, 0, 50, 255));
    EXPECT_EQ(e.image.Pixel(0, 4), Px(0, 0, 100, 255));
}

TEST(ToolEngine, GradientToTransparentKeepsTheHueAndSkipsTheLastColumn)
{
    Doc d(5, 2, 32, Px(0, 0, 0, 0));
    d.tools.CurrentTool = glimt::toolGradient;
    d.c.Paint.ForeColor = Px(0, 0, 255, 255);
    d.c.Paint.BackColor = Px(0, 0, 0, 0);
    d.Press(0, 0);
    d.Release(4, 1);
    EXPECT_EQ(d.image.Pixel(0, 0), Px(0, 0, 255, 255));
    EXPECT_EQ(d.image.Pixel(2, 1).B, 255);
    EXPECT_EQ(d.image.Pixel(2, 1).A, 128);
    EXPECT_EQ(d.image.Pixel(4, 0), Px(0, 0, 0, 0));
}

// Brighten on a 4-bit image: the painted pixels are fitted back to the unchanged palette at
// the release and also when the stroke ends with Escape.
TEST(ToolEngine, BrightenFitsAPalettedImageBackAtReleaseAndAtEscape)
{
    for (std::uint8_t endCode : {glimt::kCodeRelease, glimt::kCodeCancel}) {
        glimt::test::ScopedOptions keep;
        Options().PaletteAction = 1;
        Doc d(4, 3, 4, Px(128, 128, 128, 255));
        const TmyPalette palette = *d.image.Palette;
        d.tools.CurrentTool = glimt::toolBrighten;
        d.tools.BrushSize = 3;
        d.Press(1, 1);
        d.Move(2, 1);
        // Every pass over a cell brightens it by 3 more: (1, 1) lies under both stamps.
        EXPECT_EQ(d.image.Pixel(0, 0), Px(131, 131, 131, 255));
        EXPECT_EQ(d.image.Pixel(1, 1), Px(134, 134, 134, 255));
        auto r = d.Release(2, 1, 0, false, endCode);
        EXPECT_TRUE(r.ImageRefit);
        EXPECT_EQ(*d.image.Palette, palette);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_GE(palette.IndexOf(d.image.Pixel(x, y)), 0) << x << "," << y << " code " << int(endCode);
    }
}

TEST(ToolEngine, BlurOnTrueColourIsNotFitted)
{
    Doc d(3, 2, 32);
    d.tools.CurrentTool = glimt::toolBlur;
    d.Press(1, 1);
    EXPECT_FALSE(d.Release(1, 1).ImageRefit);
}

TEST(ToolEngine, PickerTakesTheColourAndReturnsUnlessShift)
{
    Doc d(3, 2);
    d.image.Pixel(2, 1) = Px(1, 2, 3, 4);
    d.tools.CurrentTool = glimt::toolPicker;
    d.Press(2, 1, 1);
    auto r = d.Release(2, 1, 1);
    EXPECT_TRUE(r.BackColorPicked);
    EXPECT_TRUE(r.ReturnToPreviousTool);
    EXPECT_EQ(d.c.Paint.BackColor, Px(1, 2, 3, 4));
    d.Press(2, 1);
    r = d.Release(2, 1, 0, true);
    EXPECT_TRUE(r.ForeColorPicked);
    EXPECT_FALSE(r.ReturnToPreviousTool);
}

TEST(ToolEngine, ZoomStaysWithinOneToTen)
{
    struct Case {
        int zoom, button, expected;
    } cases[] = {{10, 0, 10}, {9, 0, 10}, {1, 1, 1}, {2, 1, 1}};
    for (const Case& k : cases) {
        Doc d(3, 2);
        d.c.Zoom = k.zoom;
        d.tools.CurrentTool = glimt::toolZoom;
        d.Press(0, 0, k.button);
        d.Release(0, 0, k.button);
        EXPECT_EQ(d.c.Zoom, k.expected);
    }
}

TEST(ToolEngine, ToolKeys)
{
    EXPECT_EQ(glimt::ToolForKey(QChar('P')), glimt::toolPencil);
    EXPECT_EQ(glimt::ToolForKey(QChar('x')), glimt::toolRectangle);
    EXPECT_EQ(glimt::ToolForKey(QChar('[')), glimt::toolBrighten);
    EXPECT_EQ(glimt::ToolForKey(QChar(']')), glimt::toolBlur);
    EXPECT_EQ(glimt::ToolForKey(QChar('q')), glimt::toolNone);
}

} // namespace
