#include "editor/formColors.h"

#include "editor/ColorPanel.h"
#include "editor/MyScroll.h"
#include "editor/ToolCursors.h"
#include "editor/Translate.h"
#include "editor/formDesk.h"
#include "editor/formTools.h"
#include "tests/editor/DeskFakes.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/PixelFixtures.h"
#include "tests/support/TempFiles.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>

using glimt::test::FakeDialogs;
using glimt::test::FakeHost;
using glimt::test::Px;

namespace {

// The panel with a host whose active document is `desk` (empty until Open).
struct Panel {
    glimt::test::ScopedOptions options;
    FakeHost host;
    FakeDialogs dialogs;
    glimt::ScopedUserDialogs installDialogs{&dialogs};
    TfrmDesk desk;
    TfrmColors colors{QString()};

    Panel()
    {
        glimt::SetEditorHost(&host);
        colors.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&colors));
    }
    ~Panel() { glimt::SetEditorHost(nullptr); }

    // A document of one image, made current and shown as the document window does it.
    TmyImagePal& Open(int width, int height, int depth, TmyPixel fill = Px(255, 0, 0, 255))
    {
        TmyImagePal& image = desk.Icon->AddImage(height, width, depth);
        image.Fill(fill);
        desk.Icon->Current = 0;
        desk.Tag = 1;
        host.Active = &desk;
        host.Slot = 1;
        desk.ShowImage(image);
        colors.ShowPalette(image.Palette ? &*image.Palette : nullptr);
        colors.SetColorDepth(std::uint8_t(depth));
        return image;
    }

    TmyScroll* Slider(int n) { return colors.ScrollBars[std::size_t(n - 1)]; }
    QLineEdit* Edit(int n) { return colors.Edits[std::size_t(n - 1)]; }
    QString Text(int n) { return Edit(n)->text(); }

    // Retypes an edit's whole text with the keyboard.
    void Type(int n, const char* keys)
    {
        Edit(n)->setFocus();
        Edit(n)->selectAll();
        QTest::keyClick(Edit(n), Qt::Key_Backspace);
        QTest::keyClicks(Edit(n), QString::fromLatin1(keys));
    }

    // One drag of a slider: button down on its thumb, the new position, button up.
    void Drag(int n, int position)
    {
        TmyScroll* s = Slider(n);
        QTest::mousePress(s->Thumb(), Qt::LeftButton, {}, QPoint(2, 2));
        s->DragTimer()->stop();
        s->SetPosition(position);
        QTest::mouseRelease(s->Thumb(), Qt::LeftButton, {}, QPoint(2, 2));
    }

    void Click(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(w, button, {}, at);
        QTest::mouseRelease(w, button, {}, at);
    }

    // Centre of palette grid cell `index`.
    static QPoint Cell(int index) { return QPoint((index % 16) * 10 + 5, (index / 16) * 10 + 5); }
};

TEST(TfrmColors, ControlsCarryTheirComponentNamesAndStartInRgbMode)
{
    Panel p;
    for (const char* name : {"Image1", "Image2", "Image3", "Image4", "Image5", "Image6", "Panel4", "Panel8", "Panel9",
                             "btnResetColor", "btnTwistColor", "btnRGB", "btnHSB", "btnLoadPal", "btnSavePal",
                             "Scrollbar1", "ScrollBar2", "Scrollbar3", "Scrollbar4", "Scrollbar5", "Scrollbar6",
                             "Scrollbar7", "Edit1", "Edit7"})
        EXPECT_NE(p.colors.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(p.colors.objectName(), QStringLiteral("frmColors"));
    EXPECT_EQ(p.colors.sizeHint().expandedTo(p.colors.minimumSize()), QSize(165, 365)) << "its designed size in the desktop's font";
    EXPECT_FALSE(p.colors.Panel4->isVisible());
    p.colors.btnHSB->click();
    EXPECT_TRUE(p.colors.Panel4->isVisible());
    EXPECT_TRUE(p.Slider(4)->isVisible()) << "the opacity row shows in both modes";
    p.colors.btnRGB->click();
    EXPECT_FALSE(p.colors.Panel4->isVisible());
}

TEST(TfrmColors, HintsOfPicturesAndSlidersAreTranslated)
{
    Panel p;
    glimt::test::TempFiles files;
    const QString path = files.Write(QStringLiteral("Deutsch.lng"),
        "[frmColors]\nfrmColors.Caption=Farben\nImage3.Hint=Vordergrundfarbe\nScrollbar5.Hint=Farbton\n"
        "btnLoadPal.Hint=Palette laden\n");
    TLanguage lang;
    lang.SetFileName(path);
    glimt::TranslateForm(&p.colors, lang);
    EXPECT_EQ(p.colors.windowTitle(), QStringLiteral("Farben"));
    EXPECT_EQ(p.colors.Image3->toolTip(), QStringLiteral("Vordergrundfarbe"));
    EXPECT_EQ(p.Slider(5)->toolTip(), QStringLiteral("Farbton"));
    EXPECT_EQ(p.colors.btnLoadPal->toolTip(), QStringLiteral("Palette laden"));
    EXPECT_EQ(p.colors.Image4->toolTip(), QStringLiteral("Background Color")) << "kept where the file has none";
}

TEST(TfrmColors, RgbAndHsbSlidersFollowEachOther)
{
    Panel p;
    p.Open(3, 2, 32);
    p.Slider(1)->SetPosition(200);
    EXPECT_EQ(p.colors.ForeColor().R, 200);
    EXPECT_EQ(p.Text(1), QStringLiteral("200"));
    EXPECT_EQ(p.Slider(5)->Position(), 0);
    EXPECT_EQ(p.Slider(6)->Position(), 100);
    EXPECT_EQ(p.Slider(7)->Position(), 78);
    EXPECT_EQ(p.Text(7), QStringLiteral("78"));

    p.Slider(5)->SetPosition(120);
    EXPECT_EQ(p.Text(5), QStringLiteral("120"));
    EXPECT_EQ(p.colors.ForeColor(), Px(0, 199, 0, p.colors.ForeColor().A));
    EXPECT_EQ(p.Text(1), QStringLiteral("0"));
    EXPECT_EQ(p.Text(2), QStringLiteral("199"));
    EXPECT_EQ(p.Slider(5)->Position(), 120) << "setting RGB from HSB does not feed back";

    p.Slider(3)->SetPosition(199);
    p.Slider(1)->SetPosition(199);
    EXPECT_EQ(p.Text(5), QStringLiteral("0")) << "a grey's hue reads 0";
    EXPECT_EQ(p.Text(6), QStringLiteral("0"));
}

TEST(TfrmColors, EditsKeepDigitsWithinTheSliderRange)
{
    Panel p;
    p.Open(3, 2, 32);
    struct Row {
        int edit;
        const char* typed;
        const char* shown;
        int position;
    } rows[] = {
        {5, "400", "359", 359}, {6, "150", "100", 100}, {1, "", "0", 0},
        {2, "a1b7", "17", 17},  {7, "55", "55", 55},    {4, "999", "255", 255},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        p.Type(r.edit, r.typed);
        EXPECT_EQ(p.Text(r.edit), QString::fromLatin1(r.shown));
        EXPECT_EQ(p.Slider(r.edit)->Position(), r.position);
    }
    p.Edit(3)->setText(QStringLiteral("x9")); // pasted, past the key filter
    EXPECT_EQ(p.Text(3), QStringLiteral("9"));
    EXPECT_EQ(p.colors.ForeColor().B, 9);
}

TEST(TfrmColors, BelowThirtyTwoBitsTheOpacitySliderHidesAndTransparencyStays)
{
    Panel p;
    p.Open(3, 2, 24);
    EXPECT_TRUE(p.Slider(4)->isHidden());
    EXPECT_TRUE(p.Edit(4)->isHidden());
    p.Click(p.colors.Image2, QPoint(5, 5)); // transparent fore colour
    ASSERT_EQ(p.colors.ForeColor().A, 0);
    p.Slider(1)->SetPosition(90);
    EXPECT_EQ(p.colors.ForeColor(), Px(90, 0, 0, 0)) << "the red slider keeps a transparent colour transparent";
    p.Click(p.colors.Image1, QPoint(80, 0));
    EXPECT_EQ(p.colors.ForeColor(), Px(255, 0, 0, 255)) << "the spectrum makes it opaque";

    p.colors.SetColorDepth(32);
    EXPECT_FALSE(p.Slider(4)->isHidden());
    p.Slider(4)->SetPosition(77);
    EXPECT_EQ(p.colors.ForeColor().A, 77);
}

TEST(TfrmColors, SpectrumLeftChoosesTheForeColourAndOtherButtonsTheBackColour)
{
    Panel p;
    p.Open(3, 2, 32);
    p.Slider(4)->SetPosition(0);
    p.Click(p.colors.Image1, QPoint(0, 30), Qt::RightButton);
    EXPECT_EQ(p.colors.BackColor(), Px(0, 0, 0, 255)) << "opacity 0 gives an opaque background";
    p.Slider(4)->SetPosition(100);
    p.Click(p.colors.Image1, QPoint(159, 30), Qt::MiddleButton);
    EXPECT_EQ(p.colors.BackColor(), Px(255, 255, 255, 100));
    p.Click(p.colors.Image1, QPoint(80, 0));
    EXPECT_EQ(p.colors.ForeColor().R, 255);
    EXPECT_EQ(p.Text(1), QStringLiteral("255"));
    EXPECT_EQ(p.Text(6), QStringLiteral("100"));
}

TEST(TfrmColors, TransparentStripClearsTheHsbValuesAndThePaletteSelection)
{
    Panel p;
    p.Open(3, 2, 4);
    p.Click(p.colors.Image6, Panel::Cell(9));
    ASSERT_EQ(p.colors.SelectedPaletteIndex(), 9);
    ASSERT_TRUE(p.colors.Panel8->isVisible());
    p.Click(p.colors.Image2, QPoint(10, 3));
    EXPECT_EQ(p.colors.ForeColor(), Px(0, 0, 0, 0));
    EXPECT_EQ(p.Text(5), QStringLiteral("0"));
    EXPECT_EQ(p.Text(6), QStringLiteral("0"));
    EXPECT_EQ(p.Text(7), QStringLiteral("0"));
    EXPECT_FALSE(p.colors.Panel8->isVisible());
    EXPECT_EQ(p.colors.SelectedPaletteIndex(), -1);
    p.Click(p.colors.Image2, QPoint(10, 3), Qt::RightButton);
    EXPECT_EQ(p.colors.BackColor(), Px(0, 0, 0, 0));
}

TEST(TfrmColors, SixteenColoursReplaceTheSpectrumAndTakeBothColours)
{
    Panel p;
    p.colors.SetForeColor(Px(1, 2, 3, 255));
    p.colors.SetBackColor(Px(4, 5, 6, 128));
    p.Open(3, 2, 4);
    EXPECT_TRUE(p.colors.Image6->isVisible());
    EXPECT_FALSE(p.colors.Image1->isVisible());
    EXPECT_FALSE(p.colors.Image5->isVisible());
    EXPECT_TRUE(p.colors.btnLoadPal->isVisible());
    EXPECT_EQ(p.colors.Image6->size(), QSize(160, 10));
    EXPECT_EQ(p.colors.ForeColor(), Px(0, 0, 0, 255)) << "entry 0";
    EXPECT_EQ(p.colors.BackColor(), Px(255, 255, 255, 255)) << "entry 15";
    EXPECT_EQ(p.colors.SelectedPaletteIndex(), 0);
    EXPECT_EQ(p.colors.Panel8->pos(), p.colors.Image6->pos() - QPoint(2, 2));

    p.colors.ShowPalette(nullptr);
    EXPECT_FALSE(p.colors.Image6->isVisible());
    EXPECT_FALSE(p.colors.Panel8->isVisible());
    EXPECT_TRUE(p.colors.Image1->isVisible());
    EXPECT_FALSE(p.colors.btnSavePal->isVisible());
}

TEST(TfrmColors, PaletteGridLeftChoosesTheForeColourAndOtherButtonsTheBackColour)
{
    Panel p;
    const TmyImagePal& image = p.Open(4, 3, 8);
    p.Click(p.colors.Image6, Panel::Cell(19));
    EXPECT_EQ(p.colors.ForeColor(), image.Palette->Colors[19]);
    EXPECT_EQ(p.colors.Panel8->pos(), p.colors.Image6->pos() + QPoint(30 - 2, 10 - 2));
    EXPECT_EQ(p.colors.Panel8->Color(), image.Palette->Colors[19].GetColor());
    p.Click(p.colors.Image6, Panel::Cell(200), Qt::RightButton);
    EXPECT_EQ(p.colors.BackColor(), image.Palette->Colors[200]);
    EXPECT_EQ(p.colors.SelectedPaletteIndex(), 19);
}

TEST(TfrmColors, FavouritesChooseTheCellThatThenFollowsTheForeColour)
{
    Panel p;
    p.Open(3, 2, 32);
    p.Click(p.colors.Image5, QPoint(2 * 12 + 3, 12 + 3)); // cell 7
    EXPECT_EQ(p.colors.GetFavoriteIndex(), 7);
    EXPECT_EQ(p.colors.ForeColor(), Px(255, 121, 75, 255));
    EXPECT_EQ(p.colors.Panel9->pos(), p.colors.Image5->pos() + QPoint(24 - 2, 12 - 2));
    p.Slider(2)->SetPosition(10);
    EXPECT_EQ(p.colors.FavoritesPicture().pixel(2 * 12 + 6, 12 + 6), qRgb(255, 10, 75))
        << "the selected favourite shows the fore colour";
    p.colors.SetFavoriteIndex(29);
    EXPECT_EQ(p.colors.GetFavoriteIndex(), 29);
    p.colors.SetFavoriteIndex(400);
    EXPECT_EQ(p.colors.GetFavoriteIndex(), 0) << "a position outside the grid selects the first cell";
}

TEST(TfrmColors, FavouriteFrameTakesOnlyTheRightButtonWithTheOpacityAsItIs)
{
    Panel p;
    p.Open(3, 2, 32);
    p.Slider(4)->SetPosition(0);
    p.colors.SetBackColor(Px(9, 9, 9, 9));
    const TmyPixel fore = p.colors.ForeColor();
    p.Click(p.colors.Panel9, QPoint(8, 8));
    EXPECT_EQ(p.colors.BackColor(), Px(9, 9, 9, 9)) << "the left button does nothing";
    EXPECT_EQ(p.colors.ForeColor(), fore);
    p.Click(p.colors.Panel9, QPoint(8, 8), Qt::RightButton);
    EXPECT_EQ(p.colors.BackColor(), TmyPixel::CreateColor(p.colors.Panel9->Color())) << "alpha 0 from the slider";
}

TEST(TfrmColors, ResetAndSwap)
{
    Panel p;
    p.Open(3, 2, 32);
    p.colors.SetForeColor(Px(1, 2, 3, 4));
    p.colors.SetBackColor(Px(5, 6, 7, 8));
    p.colors.btnTwistColor->click();
    EXPECT_EQ(p.colors.ForeColor(), Px(5, 6, 7, 8));
    EXPECT_EQ(p.colors.BackColor(), Px(1, 2, 3, 4));
    EXPECT_EQ(p.Text(4), QStringLiteral("8"));
    p.colors.btnResetColor->click();
    EXPECT_EQ(p.colors.ForeColor(), Px(0, 0, 0, 255));
    EXPECT_EQ(p.colors.BackColor(), Px(0, 0, 0, 0));
    EXPECT_EQ(p.Text(4), QStringLiteral("255"));
}

TEST(TfrmColors, SwatchesShowTheColoursOverTheCheckerboard)
{
    Panel p;
    p.Open(3, 2, 32);
    p.colors.SetForeColor(Px(10, 20, 30, 255));
    p.colors.SetBackColor(Px(0, 0, 0, 0));
    p.colors.RedrawSwatches();
    EXPECT_EQ(p.colors.Image3->Picture.pixel(20, 20), qRgb(10, 20, 30));
    Options().Color1 = 0x0000FF;
    Options().Color2 = 0x00FF00;
    p.colors.RedrawSwatches();
    EXPECT_EQ(p.colors.Image4->Picture.pixel(0, 0), qRgb(0, 254, 0));
    EXPECT_EQ(p.colors.Image4->Picture.pixel(4, 0), qRgb(254, 0, 0));
    EXPECT_EQ(p.colors.Image2->Picture.pixel(4, 0), qRgb(255, 0, 0)) << "the strip redraws too";
}

TEST(TfrmColors, MouseMovesShowTheColourInTheStatusBar)
{
    Panel p;
    p.Open(3, 2, 32);
    QTest::mouseMove(p.colors.Image2, QPoint(5, 5));
    EXPECT_EQ(p.host.Status, QStringLiteral("R:0 G:0 B:0   H:0 S:0 B:0"));
    QTest::mouseMove(p.colors.Image1, QPoint(80, 0));
    EXPECT_EQ(p.host.Status, QStringLiteral("R:255 G:0 B:0   H:0 S:100 B:100"));
}

// --- palette edits ---------------------------------------------------------------------------

TEST(TfrmColors, EditingAPaletteColourPushesOneSnapshotAndMarksTheDocumentUnsaved)
{
    Panel p;
    TmyImagePal& image = p.Open(3, 2, 4); // red pixels, red is entry 8
    p.Click(p.colors.Image6, Panel::Cell(8));
    ASSERT_EQ(p.colors.ForeColor(), Px(255, 0, 0, 255));
    ASSERT_TRUE(p.desk.Saved);
    const int updates = p.host.UndoUpdates;

    p.Drag(2, 100); // red becomes orange
    EXPECT_EQ(image.Palette->Colors[8], Px(255, 100, 0, 255));
    EXPECT_EQ(image.Pixel(2, 1), Px(255, 100, 0, 255)) << "the only red entry takes its pixels along";
    EXPECT_EQ(p.desk.Undo->Count(), 1);
    EXPECT_EQ(p.desk.Undo->Snapshot(1)->Pixel(2, 1), Px(255, 0, 0, 255)) << "the snapshot holds the image before";
    EXPECT_FALSE(p.desk.Saved);
    EXPECT_GT(p.host.UndoUpdates, updates);
    EXPECT_EQ(p.colors.Image6->Picture.pixel(Panel::Cell(8)), qRgb(255, 100, 0)) << "the grid shows the new entry";

    p.desk.Saved = true;
    p.Drag(2, 100); // no change
    EXPECT_EQ(p.desk.Undo->Count(), 1);
    EXPECT_TRUE(p.desk.Saved);

    p.dialogs.ColorResults.push_back(0xC80000); // (0, 0, 200), through the fore swatch
    p.colors.Image3Click();
    EXPECT_EQ(image.Palette->Colors[8], Px(0, 0, 200, 255));
    EXPECT_EQ(image.Pixel(0, 0), Px(0, 0, 200, 255));
    EXPECT_EQ(p.desk.Undo->Count(), 2);
    EXPECT_FALSE(p.desk.Saved);

    p.desk.Saved = true;
    p.Edit(3)->setFocus();
    p.Edit(3)->selectAll();
    QTest::keyClick(p.Edit(3), Qt::Key_7); // one key, one edit
    EXPECT_EQ(image.Palette->Colors[8], Px(0, 0, 7, 255));
    EXPECT_EQ(image.Pixel(0, 0), Px(0, 0, 7, 255));
    EXPECT_EQ(p.desk.Undo->Count(), 3);
    EXPECT_FALSE(p.desk.Saved);
    QTest::keyClick(p.Edit(3), Qt::Key_Q); // dropped by the key filter: nothing changes
    EXPECT_EQ(p.desk.Undo->Count(), 3);
}

TEST(TfrmColors, PaletteReplacementActsOnTheSelectedEntryAndNeedsOne)
{
    Panel p;
    TmyImagePal& image = p.Open(3, 2, 4);
    p.colors.HighlightPaletteIndex(3);
    p.colors.Panel8->move(p.colors.Image6->pos() - QPoint(2, 2)); // the frame's place plays no part
    p.colors.ReplacePaletteColor(image.Palette->Colors[3], Px(1, 2, 3, 255));
    EXPECT_EQ(image.Palette->Colors[3], Px(1, 2, 3, 255));
    EXPECT_EQ(image.Palette->Colors[0], Px(0, 0, 0, 255));
    EXPECT_EQ(p.desk.Undo->Count(), 1);

    p.Click(p.colors.Image2, QPoint(3, 3)); // no entry selected
    const TmyPalette before = *image.Palette;
    p.colors.SetForeColor(Px(255, 0, 0, 255));
    p.colors.ReplacePaletteColor(Px(255, 0, 0, 255), Px(0, 255, 255, 255));
    EXPECT_EQ(*image.Palette, before);
    EXPECT_EQ(image.Pixel(0, 0), Px(255, 0, 0, 255));
    EXPECT_EQ(p.desk.Undo->Count(), 1);
}

TEST(TfrmColors, BackColourFromTheDialogGoesToTheNearestPaletteEntry)
{
    Panel p;
    p.Open(3, 2, 4);
    p.dialogs.ColorResults.push_back(0x0A0AFA); // (250, 10, 10)
    p.colors.Image4Click();
    EXPECT_EQ(p.colors.BackColor(), Px(255, 0, 0, 255));
    ASSERT_EQ(p.dialogs.ColorStarts.size(), 1u);
    EXPECT_EQ(p.dialogs.ColorStarts[0], 0xFFFFFFu) << "the dialog starts from the present colour";

    p.colors.ShowPalette(nullptr);
    TfrmDesk other;
    other.Icon->AddImage(2, 2, 32);
    p.host.Active = &other;
    p.colors.SetColorDepth(32);
    p.Slider(4)->SetPosition(0);
    p.dialogs.ColorResults.push_back(0x0A0AFA);
    p.colors.Image4Click();
    EXPECT_EQ(p.colors.BackColor(), Px(250, 10, 10, 255)) << "no palette: the colour as chosen";
    p.dialogs.ColorResults.push_back(std::nullopt);
    p.colors.Image4Click();
    EXPECT_EQ(p.colors.BackColor(), Px(250, 10, 10, 255)) << "Cancel changes nothing";
}

TEST(TfrmColors, LoadPalettePushesOneSnapshotOnlyWhenTheImageChanges)
{
    Panel p;
    glimt::test::TempFiles files;
    TmyImagePal& image = p.Open(3, 2, 4);
    QByteArray act(768, char(255));
    act[0] = char(200);
    act[1] = act[2] = 0;
    const QString path = files.Write(QStringLiteral("dark.act"), act);

    p.dialogs.OpenResults.push_back(QStringList{path});
    p.colors.btnLoadPalClick();
    ASSERT_EQ(p.dialogs.Count(FakeDialogs::Kind::Open), 1);
    EXPECT_EQ(p.dialogs.Log.back().request.filterIndex, 2) << "all supported palette files";
    EXPECT_EQ(image.Palette->Colors[0], Px(200, 0, 0, 255));
    EXPECT_EQ(image.Pixel(0, 0), Px(200, 0, 0, 255));
    EXPECT_EQ(p.desk.Undo->Count(), 1);
    EXPECT_FALSE(p.desk.Saved);
    EXPECT_EQ(p.colors.Image6->Picture.pixel(Panel::Cell(0)), qRgb(200, 0, 0));

    p.desk.Saved = true;
    p.dialogs.OpenResults.push_back(QStringList{path});
    p.colors.btnLoadPalClick();
    EXPECT_EQ(p.desk.Undo->Count(), 1) << "the same palette again changes nothing";
    EXPECT_TRUE(p.desk.Saved);

    p.dialogs.OpenResults.push_back(std::nullopt);
    p.colors.btnLoadPalClick();
    p.dialogs.OpenResults.push_back(QStringList{files.Path(QStringLiteral("gone.pal"))});
    p.colors.btnLoadPalClick();
    EXPECT_EQ(p.desk.Undo->Count(), 1);
    EXPECT_TRUE(p.desk.Saved);
    EXPECT_EQ(p.dialogs.Count(FakeDialogs::Kind::Error), 1) << "the file error is reported";
}

TEST(TfrmColors, SavePaletteWritesTheCurrentImagesPalette)
{
    Panel p;
    glimt::test::TempFiles files;
    p.Open(3, 2, 4);
    p.dialogs.SaveResults.push_back(files.Path(QStringLiteral("mine")));
    p.colors.btnSavePalClick();
    QFile pal(files.Path(QStringLiteral("mine.pal")));
    ASSERT_TRUE(pal.open(QIODevice::ReadOnly)) << "the default extension is added";
    EXPECT_EQ(pal.size(), 88);
    pal.close();
    TmyPalette back(16);
    back.Colors.assign(16, Px(9, 9, 9, 255));
    back.LoadFromFile(files.Path(QStringLiteral("mine.pal")));
    EXPECT_EQ(back, TmyPalette(16));
}

// --- with the tool window ----------------------------------------------------------------

TEST(TfrmColors, OpacityToolGivesWayToTheGradientBelowThirtyTwoBits)
{
    Panel p;
    TfrmTools tools;
    glimt::SetToolEngine(&tools);
    p.Open(3, 2, 32);
    tools.PressToolButton(glimt::toolOpacity);
    p.colors.SetColorDepth(8);
    EXPECT_EQ(tools.CurrentTool(), glimt::toolGradient);
    EXPECT_TRUE(tools.ToolButtons[glimt::toolGradient - 1]->isChecked());
    EXPECT_FALSE(tools.ToolButtons[glimt::toolOpacity - 1]->isEnabled());
    p.colors.SetColorDepth(32);
    EXPECT_TRUE(tools.ToolButtons[glimt::toolOpacity - 1]->isEnabled());
    EXPECT_EQ(tools.CurrentTool(), glimt::toolGradient);
    glimt::SetToolEngine(nullptr);
}

TEST(TfrmColors, ToolsPaintWithThePanelsColoursAndThePickerSetsThem)
{
    Panel p;
    TfrmTools tools;
    glimt::SetToolEngine(&tools);
    tools.SetPaintColors(&p.colors);
    TmyImagePal& image = p.Open(3, 2, 8, Px(255, 255, 255, 255));
    p.desk.Zoom = 4;
    p.desk.ShowImage(image);
    p.desk.resize(300, 200);
    p.desk.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.desk));
    p.desk.CenterImage();
    p.Click(p.colors.Image6, Panel::Cell(7)); // fore := entry 7
    p.Click(p.colors.Image6, Panel::Cell(40), Qt::RightButton);
    QTest::mousePress(p.desk.Image1, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(p.desk.Image1, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mousePress(p.desk.Image1, Qt::RightButton, {}, QPoint(6, 6));
    QTest::mouseRelease(p.desk.Image1, Qt::RightButton, {}, QPoint(6, 6));
    EXPECT_EQ(image.Pixel(0, 0), image.Palette->Colors[7]);
    EXPECT_EQ(image.Pixel(1, 1), image.Palette->Colors[40]);

    tools.PressToolButton(glimt::toolPicker);
    QTest::mousePress(p.desk.Image1, Qt::LeftButton, {}, QPoint(6, 6));
    QTest::mouseRelease(p.desk.Image1, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(p.colors.ForeColor(), image.Palette->Colors[40]);
    EXPECT_EQ(p.colors.SelectedPaletteIndex(), 40) << "the grid selects the picked entry";
    EXPECT_EQ(p.Text(1), QString::number(image.Palette->Colors[40].R));
    tools.SetPaintColors(nullptr);
    glimt::SetToolEngine(nullptr);
}

// --- the fore colour stays on the palette ------------------------------------------------

// Every way of moving a slider on a paletted image is one edit of the selected entry: the
// entry and its pixels take the new colour, so what the fore colour paints is what is saved.
TEST(TfrmColors, EveryWayOfMovingASliderRewritesTheSelectedEntry)
{
    const TmyPixel entry1 = TmyPalette(16).Colors[1];
    struct Row {
        const char* name;
        int slider;
        std::function<void(Panel&, TmyScroll&)> act;
    } rows[] = {
        {"click on the red bar", 1, [](Panel& p, TmyScroll& s) { p.Click(&s, QPoint(s.width() / 2, 5)); }},
        {"click on the hue bar", 5, [](Panel& p, TmyScroll& s) { p.Click(&s, QPoint(s.width() / 2, 5)); }},
        {"wheel on the green slider", 2, [](Panel&, TmyScroll& s) {
             QWheelEvent notch(QPointF(5, 5), s.mapToGlobal(QPointF(5, 5)), {}, QPoint(0, 120), Qt::NoButton, {},
                               Qt::NoScrollPhase, false);
             QApplication::sendEvent(&s, &notch);
         }},
        {"key on the blue slider", 3, [](Panel&, TmyScroll& s) { QTest::keyClick(&s, Qt::Key_End); }},
        {"key on the brightness slider", 7, [](Panel&, TmyScroll& s) { QTest::keyClick(&s, Qt::Key_PageDown); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Panel p;
        TmyImagePal& image = p.Open(3, 2, 4, entry1);
        p.Click(p.colors.Image6, Panel::Cell(1));
        ASSERT_EQ(p.colors.ForeColor(), entry1);
        if (row.slider >= 5)
            p.colors.btnHSB->click();
        TmyScroll& slider = *p.Slider(row.slider);
        slider.setFocus();
        row.act(p, slider);
        const TmyPixel fore = p.colors.ForeColor();
        EXPECT_NE(fore, entry1) << "the slider moved";
        EXPECT_EQ(image.Palette->Colors[1], fore);
        EXPECT_EQ(image.Pixel(2, 1), fore) << "the entry's pixels follow";
        EXPECT_EQ(p.colors.SelectedPaletteIndex(), 1);
        EXPECT_EQ(p.desk.Undo->Count(), 1);
    }
}

TEST(TfrmColors, TypingHueThenSaturationOnAPalettedImageKeepsTheTypedHue)
{
    Panel p;
    TmyImagePal& image = p.Open(3, 2, 4);
    p.Click(p.colors.Image6, Panel::Cell(7)); // a grey
    p.colors.btnHSB->click();
    p.Type(5, "400");
    ASSERT_EQ(p.Text(5), QStringLiteral("359"));
    p.Type(6, "1");
    EXPECT_EQ(p.Text(5), QStringLiteral("359")) << "the palette rewrite does not recompute the hue";
    EXPECT_EQ(p.Slider(5)->Position(), 359);
    EXPECT_EQ(p.Text(6), QStringLiteral("1"));
    EXPECT_EQ(image.Palette->Colors[7], p.colors.ForeColor()) << "the entry took the typed colour";
}

TEST(TfrmColors, WithoutASelectedEntryTheForeColourGoesToTheNearestEntry)
{
    Panel p;
    TmyImagePal& image = p.Open(3, 2, 4);
    const TmyPalette palette = *image.Palette;
    const TmyPixel red = Px(255, 0, 0, 255);
    ASSERT_GE(palette.IndexOf(red), 0);

    p.Click(p.colors.Image2, QPoint(3, 3)); // transparent: no entry selected
    p.dialogs.ColorResults.push_back(0x0A0AFA); // (250, 10, 10), through the fore swatch
    p.colors.Image3Click();
    EXPECT_EQ(p.colors.ForeColor(), red);
    EXPECT_EQ(p.colors.SelectedPaletteIndex(), palette.IndexOf(red));
    EXPECT_EQ(*image.Palette, palette) << "no entry was rewritten";
    EXPECT_EQ(p.desk.Undo->Count(), 0);

    // Reset to black, an entry of the palette: that entry is selected, and the next edit of
    // the colour rewrites it.
    p.Click(p.colors.Image2, QPoint(3, 3));
    p.colors.btnResetColorClick();
    EXPECT_EQ(p.colors.ForeColor(), Px(0, 0, 0, 255));
    EXPECT_EQ(p.colors.SelectedPaletteIndex(), 0);
    p.Drag(3, 90);
    EXPECT_EQ(image.Palette->Colors[0], Px(0, 0, 90, 255));
    EXPECT_EQ(p.desk.Undo->Count(), 1);

    image.Palette->Colors[0] = Px(20, 20, 20, 255); // no black entry left
    p.Click(p.colors.Image2, QPoint(3, 3));
    p.colors.btnResetColorClick();
    EXPECT_EQ(p.colors.ForeColor(), Px(20, 20, 20, 255));
    EXPECT_EQ(p.colors.SelectedPaletteIndex(), 0);
    EXPECT_EQ(p.Text(1), QStringLiteral("20"));
    EXPECT_EQ(p.desk.Undo->Count(), 1) << "no entry was rewritten by the reset";
}

TEST(TfrmColors, SwappingMovesThePaletteSelectionWithTheColour)
{
    Panel p;
    TmyImagePal& image = p.Open(3, 2, 4);
    const TmyPalette palette = *image.Palette;
    p.Click(p.colors.Image6, Panel::Cell(3));
    p.Click(p.colors.Image6, Panel::Cell(12), Qt::RightButton);
    p.colors.btnTwistColorClick();
    EXPECT_EQ(p.colors.ForeColor(), palette.Colors[12]);
    EXPECT_EQ(p.colors.SelectedPaletteIndex(), 12);
    p.Drag(1, 77);
    EXPECT_EQ(image.Palette->Colors[3], palette.Colors[3]) << "the entry the colour left is kept";
    EXPECT_EQ(image.Palette->Colors[12], p.colors.ForeColor());
}

TEST(TfrmColors, PicturesThatChooseColoursShowThePickersCursor)
{
    Panel p;
    const QCursor picker = glimt::ScreenCursor(glimt::ToolCursorIndex(glimt::toolPicker));
    p.colors.ApplyPickerCursor();
    for (const QWidget* w : {static_cast<QWidget*>(p.colors.Image1), static_cast<QWidget*>(p.colors.Image6),
                             static_cast<QWidget*>(p.colors.Image2)}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(w->cursor().shape(), picker.shape());
        EXPECT_EQ(w->cursor().hotSpot(), picker.hotSpot());
    }
}

} // namespace
