#include "shell/formMain.h"

#include "editor/formDesk.h"
#include "editor/formFilter.h"
#include "editor/formTools.h"
#include "engine/Prompts.h"
#include "engine/Settings.h"
#include "engine/language.h"
#include "shell/MenuAccessKeys.h"
#include "tests/support/FakeDialogs.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

void EnsureApplication()
{
    if (!qApp) {
        static int argc = 1;
        static char name[] = "glimt_shell_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

// Counts the palette questions and answers them with `Answer`.
class CountingPrompts : public glimt::SilentPrompts {
public:
    int Asked = 0;
    int Answer = 1;
    int AskChangePalette() override
    {
        ++Asked;
        return Answer;
    }
};

// A 3 x 2 picture (width 3, height 2) of distinct opaque colours.
TmyImagePal Picture(int width = 3, int height = 2, int depth = 32)
{
    TmyImagePal image(height, width, depth);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Pixel(x, y) = TmyPixel::CreateRGBA(std::uint8_t(40 * x + 10), std::uint8_t(90 * y + 5), 200, 255);
    return image;
}

TmyImagePal Inverted(TmyImagePal image)
{
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            TmyPixel& p = image.Pixel(x, y);
            p.SetRGB(std::uint8_t(255 - p.R), std::uint8_t(255 - p.G), std::uint8_t(255 - p.B));
        }
    return image;
}

class EffectsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        Options() = TOptions();
        m_main = std::make_unique<TfrmMain>();
        m_tools = std::make_unique<TfrmTools>();
        glimt::SetToolEngine(m_tools.get());
    }

    void TearDown() override
    {
        glimt::SetToolEngine(nullptr);
        for (int slot = 1; slot <= m_main->DeskCount(); ++slot)
            m_main->Desk(slot)->Saved = true;
        m_main.reset();
        m_tools.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Options() = TOptions();
    }

    TfrmDesk* Open(const TmyImagePal& image)
    {
        EXPECT_TRUE(m_main->CreateDocumentFromImage(image));
        TfrmDesk* desk = m_main->ActiveDesk();
        desk->Saved = true;
        return desk;
    }

    QAction* ActionOf(const char* name) const
    {
        QAction* a = m_main->Action(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }

    void Trigger(const char* name)
    {
        if (QAction* a = ActionOf(name))
            a->trigger();
    }

    // A floating selection of `picture` belonging to the document in `slot`.
    tmyselection& Float(const TmyImagePal& picture, int slot)
    {
        tmyselection& s = *m_tools->Selection();
        s.Image = picture;
        s.OriginalImage = picture;
        s.SetBounds(0, 0, picture.Width(), picture.Height());
        s.DocumentSlot = std::uint8_t(slot);
        return s;
    }

    static QStringList Names(const QMenu* menu)
    {
        QStringList names;
        for (const QAction* a : menu->actions())
            names << (a->isSeparator() ? QStringLiteral("-") : a->menu() ? a->menu()->objectName() : a->objectName());
        return names;
    }

    glimt::test::FakeDialogs m_dialogs;
    glimt::ScopedUserDialogs m_installDialogs{&m_dialogs};
    CountingPrompts m_prompts;
    glimt::ScopedPrompts m_installPrompts{&m_prompts};
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<TfrmTools> m_tools;
};

} // namespace

TEST_F(EffectsTest, EveryTagHasItsActionAndTheEffectMenuIsBuiltFromThem)
{
    for (int tag = 1; tag <= 50; ++tag) {
        const QString name = TfrmMain::EffectActionName(tag);
        QAction* a = m_main->Action(name);
        ASSERT_NE(a, nullptr) << tag;
        EXPECT_EQ(a->data().toInt(), tag) << name.toStdString();
        EXPECT_FALSE(a->isEnabled()) << name.toStdString(); // no document yet
    }
    EXPECT_TRUE(TfrmMain::EffectActionName(0).isEmpty());
    EXPECT_TRUE(TfrmMain::EffectActionName(51).isEmpty());
    EXPECT_EQ(ActionOf("actBlurMore")->text(), QStringLiteral("Blure More"));
    EXPECT_EQ(ActionOf("actBlurMotion")->text(), QStringLiteral("Motion Blur "));
    EXPECT_EQ(ActionOf("actnRotateLeft")->text(), QString::fromUtf8("Rotate Left 90\u00b0"));
    EXPECT_EQ(ActionOf("actShake")->property("category").toString(), QStringLiteral("Effect"));
    EXPECT_EQ(ActionOf("actnLeft")->property("category").toString(), QString());

    QAction* last = ActionOf("actLast");
    EXPECT_EQ(last->text(), QStringLiteral("Last Effect (None)"));
    EXPECT_EQ(last->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_FALSE(last->isEnabled());

    const QStringList effect = Names(m_main->Menu(QStringLiteral("Effect")));
    const QStringList head = {"actLast", "-", "mnuColor", "mnuEmboss", "mnuBlur", "mnuSharpen", "mnuEdges",
                              "actGlow", "actWaggle", "actPattern", "actPaintDark", "actPaintBright", "actShake",
                              "actShakeLess", "actPale", "actScene", "actShadow", "-"};
    EXPECT_EQ(effect.mid(0, head.size()), head);
    EXPECT_EQ(Names(m_main->Menu(QStringLiteral("Color"))),
              (QStringList{"actnGrayscale", "actnInvert", "-", "actnRed", "actnGreen", "actnBlue", "actnYellow",
                           "actnCyan", "actnMagenta", "-", "actnRedGreen", "actnRedBlue", "actnBreenBlue"}));
    EXPECT_EQ(Names(m_main->Menu(QStringLiteral("Sharpen"))),
              (QStringList{"actSharpen", "actSharpenLess", "actSharpenMore", "actSharpenDir"}));
    EXPECT_EQ(Names(m_main->Menu(QStringLiteral("Edges"))).size(), 7);
    // The quarter turns and flips sit in the Image menu's Rotate/Flip submenu; the arrows in no menu.
    const QStringList rotate = Names(m_main->Menu(QStringLiteral("Rotate/Flip")));
    EXPECT_TRUE(rotate.contains(QStringLiteral("actnRotateLeft")));
    EXPECT_TRUE(rotate.contains(QStringLiteral("actnFlipVert")));
    for (const char* menu : {"Effect", "Image", "Color", "Blur", "Rotate/Flip"})
        EXPECT_FALSE(Names(m_main->Menu(QString::fromLatin1(menu))).contains(QStringLiteral("actnLeft"))) << menu;
}

TEST_F(EffectsTest, AnEffectOnTheImageTakesAnUndoStepAndBecomesTheLastEffect)
{
    const TmyImagePal original = Picture();
    TfrmDesk* desk = Open(original);
    EXPECT_TRUE(ActionOf("actnInvert")->isEnabled());
    Trigger("actnInvert");

    EXPECT_TRUE(desk->CurrentImage()->SamePixels(Inverted(original)));
    EXPECT_FALSE(desk->Saved);
    ASSERT_EQ(desk->Undo->Count(), 1);
    EXPECT_TRUE(desk->Undo->Snapshot(1)->SamePixels(original));
    EXPECT_TRUE(desk->Undo->CanUndo);

    QAction* last = ActionOf("actLast");
    EXPECT_TRUE(last->isEnabled());
    EXPECT_EQ(last->text(), QStringLiteral("Last Effect (Invert)"));
    EXPECT_EQ(m_main->LastEffect, ActionOf("actnInvert"));

    // Last Effect repeats it with another undo step, and keeps its caption.
    last->trigger();
    EXPECT_TRUE(desk->CurrentImage()->SamePixels(original));
    EXPECT_EQ(desk->Undo->Count(), 2);
    EXPECT_EQ(last->text(), QStringLiteral("Last Effect (Invert)"));
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

TEST_F(EffectsTest, TheSelectionOfTheActiveDocumentTakesTheEffectWithoutAnUndoStep)
{
    const TmyImagePal original = Picture();
    TfrmDesk* desk = Open(original);
    const TmyImagePal picture = Picture(2, 2);
    tmyselection& s = Float(picture, m_main->ActiveSlot());

    Trigger("actnInvert");
    EXPECT_TRUE(s.Image.SamePixels(Inverted(picture)));
    // A later resize of the selection starts from the changed pixels.
    EXPECT_TRUE(s.OriginalImage.SamePixels(s.Image));
    EXPECT_TRUE(desk->CurrentImage()->SamePixels(original));
    EXPECT_EQ(desk->Undo->Count(), 0);
    EXPECT_TRUE(desk->Saved);

    // A quarter turn turns the selection's picture and its layer only.
    s.Image = Picture(3, 2);
    desk->ImgSel->SetCanvasSize(3 * desk->Zoom, 2 * desk->Zoom);
    desk->ImgSel->show();
    ASSERT_FALSE(desk->ImgSel->isHidden());
    Trigger("actnRotateLeft");
    EXPECT_EQ(s.Image.Width(), 2);
    EXPECT_EQ(s.Image.Height(), 3);
    EXPECT_EQ(desk->ImgSel->size(), QSize(2 * desk->Zoom, 3 * desk->Zoom));
    EXPECT_EQ(desk->CurrentImage()->Width(), 3);
    EXPECT_EQ(desk->Undo->Count(), 0);
}

TEST_F(EffectsTest, ASelectionOfAnotherDocumentLeavesTheEffectToTheActiveImage)
{
    Open(Picture());
    const int firstSlot = m_main->ActiveSlot();
    const TmyImagePal original = Picture(4, 3);
    TfrmDesk* second = Open(original);
    const TmyImagePal picture = Picture(2, 2);
    tmyselection& s = Float(picture, firstSlot);

    Trigger("actnInvert");
    EXPECT_TRUE(s.Image.SamePixels(picture));
    EXPECT_TRUE(second->CurrentImage()->SamePixels(Inverted(original)));
    EXPECT_EQ(second->Undo->Count(), 1);
}

TEST_F(EffectsTest, QuarterTurnsAndShiftsChangeTheImageAsAWhole)
{
    TmyImagePal wide(16, 32, 32);
    wide.Fill(TmyPixel::CreateRGBA(1, 2, 3, 255));
    TfrmDesk* desk = Open(wide);
    Trigger("actnRotateLeft");
    EXPECT_EQ(desk->CurrentImage()->Width(), 16);
    EXPECT_EQ(desk->CurrentImage()->Height(), 32);
    // The canvas and the image list follow the turned size.
    EXPECT_EQ(desk->Image1->width(), 16 * desk->Zoom);
    EXPECT_EQ(desk->Image1->height(), 32 * desk->Zoom);
    EXPECT_TRUE(desk->cmbImages->currentText().startsWith(QStringLiteral("16x32 - ")))
        << desk->cmbImages->currentText().toStdString();
    EXPECT_EQ(desk->cmbImages->count(), 1);

    // Without a selection the arrows shift the image one pixel, with an undo step each.
    const TmyImagePal before = Picture();
    TfrmDesk* other = Open(before);
    Trigger("actnLeft");
    const TmyImagePal& after = *other->CurrentImage();
    EXPECT_EQ(after.Pixel(0, 1), before.Pixel(1, 1));
    EXPECT_EQ(after.Pixel(2, 0), TmyPixel::CreateRGBA(0, 0, 0, 0));
    EXPECT_EQ(other->Undo->Count(), 1);
    EXPECT_EQ(m_main->LastEffect, ActionOf("actnLeft"));
}

TEST_F(EffectsTest, APalettedImageIsFittedBackAsTheSettingsSay)
{
    const TmyImagePal source = [] {
        TmyImagePal image(4, 5, 8);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x)
                image.Pixel(x, y) = image.Palette->Colors[std::size_t((x * 37 + y * 101) % 256)];
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x)
                image.Pixel(x, y).A = 255;
        return image;
    }();
    auto inPalette = [](const TmyImagePal& im) {
        for (int y = 0; y < im.Height(); ++y)
            for (int x = 0; x < im.Width(); ++x) {
                const TmyPixel p = im.Pixel(x, y);
                bool found = false;
                for (const TmyPixel& e : im.Palette->Colors)
                    found = found || (e.R == p.R && e.G == p.G && e.B == p.B);
                if (!found)
                    return false;
            }
        return true;
    };

    // Keep: the palette stays and the blurred pixels are mapped to it.
    Options().PaletteAction = 1;
    TfrmDesk* keep = Open(source);
    Trigger("actBlurNormal");
    EXPECT_EQ(keep->CurrentImage()->Palette->Colors, source.Palette->Colors);
    EXPECT_TRUE(inPalette(*keep->CurrentImage()));
    EXPECT_FALSE(keep->CurrentImage()->SamePixels(source));

    // Change: a new palette is built from the blurred pixels.
    Options().PaletteAction = 0;
    TfrmDesk* change = Open(source);
    Trigger("actBlurNormal");
    EXPECT_NE(change->CurrentImage()->Palette->Colors, source.Palette->Colors);
    EXPECT_TRUE(inPalette(*change->CurrentImage()));

    // Ask: the question comes on each run; the colour operations ask only in their own
    // palette step, never a second time from the dispatcher.
    Options().PaletteAction = 2;
    Open(source);
    Trigger("actBlurNormal");
    Trigger("actBlurNormal");
    EXPECT_EQ(m_prompts.Asked, 2);
    Trigger("actnInvert");
    EXPECT_EQ(m_prompts.Asked, 3);
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

TEST_F(EffectsTest, GrayscaleNeverAsksAboutThePaletteAndGreysIt)
{
    TmyImagePal source(2, 3, 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            source.Pixel(x, y) = source.Palette->Colors[std::size_t(x + 3 * y + 1)];
            source.Pixel(x, y).A = 255;
        }
    auto grey = [](const TmyPixel& p) {
        const auto l = std::uint8_t((30 * p.R + 59 * p.G + 11 * p.B) / 100);
        return TmyPixel::CreateRGBA(l, l, l, p.A);
    };
    for (const int action : {0, 2}) {
        SCOPED_TRACE(action);
        Options().PaletteAction = action;
        m_prompts.Asked = 0;
        TfrmDesk* desk = Open(source);
        Trigger("actnGrayscale");
        EXPECT_EQ(m_prompts.Asked, 0);
        // The palette turns grey with the pixels: nothing is lost to a nearest colour.
        const TmyImagePal& image = *desk->CurrentImage();
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(image.Pixel(x, y), grey(source.Pixel(x, y))) << x << "," << y;
        EXPECT_EQ(image.Palette->Colors[1], grey(source.Palette->Colors[1]));
    }
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

TEST_F(EffectsTest, TheCustomFilterBecomesTheLastEffectAndIsAppliedAgainWithoutItsDialog)
{
    const TmyImagePal original = Picture(4, 3);
    TfrmDesk* desk = Open(original);
    TfrmFilter* dialog = m_main->CustomFilterDialog();
    ASSERT_EQ(dialog, m_main->CustomFilterDialog());
    EXPECT_EQ(ActionOf("actCustom")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(ActionOf("actCustom")->data().toInt(), 0);
    EXPECT_EQ(Names(m_main->Menu(QStringLiteral("Effect"))).last(), QStringLiteral("actCustom"));

    dialog->show();
    dialog->cmbSample->setCurrentIndex(5); // "Blur"
    dialog->btnOK->click();
    EXPECT_EQ(m_main->LastEffect, ActionOf("actCustom"));
    EXPECT_EQ(ActionOf("actLast")->text(), QStringLiteral("Last Effect (Custom Filter)"));
    EXPECT_EQ(desk->Undo->Count(), 1);

    TmyImagePal twice = original;
    TmyFilter::ApplyFilterKernel(twice, FilterPresets[4], Options().FilterOnAlpha);
    TmyFilter::ApplyFilterKernel(twice, FilterPresets[4], Options().FilterOnAlpha);
    Trigger("actLast");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(desk->Undo->Count(), 2);
    EXPECT_TRUE(desk->CurrentImage()->SamePixels(twice));

    // A box emptied since then stops Last Effect before anything changes.
    dialog->Edits[3]->setText(QString());
    Trigger("actLast");
    EXPECT_EQ(desk->Undo->Count(), 2);
    EXPECT_TRUE(desk->CurrentImage()->SamePixels(twice));
    EXPECT_EQ(m_dialogs.Count(glimt::test::FakeDialogs::Kind::Error), 1);
}

TEST_F(EffectsTest, TheDialogActionsSitInTheImageMenuWithTheirShortcuts)
{
    const struct {
        const char* name;
        QKeyCombination key;
    } rows[] = {{"actnBrightness", Qt::CTRL | Qt::Key_B}, {"ActnHue", Qt::CTRL | Qt::Key_H},
                {"actnColor", Qt::CTRL | Qt::Key_J},      {"actOpacity", Qt::CTRL | Qt::Key_Q},
                {"actFadeout", Qt::CTRL | Qt::Key_U},     {"actAdvancedShadow", Qt::CTRL | Qt::Key_W}};
    const QStringList image = Names(m_main->Menu(QStringLiteral("Image")));
    for (const auto& r : rows) {
        QAction* a = ActionOf(r.name);
        EXPECT_EQ(a->shortcut(), QKeySequence(r.key)) << r.name;
        EXPECT_FALSE(a->isEnabled()) << r.name;
        EXPECT_TRUE(image.contains(QString::fromLatin1(r.name))) << r.name;
    }
    // Opacity applies only to a 32-bit image or a floating selection, and follows them as the
    // document list, the active document and its depth change.
    TfrmDesk* flat = Open(Picture(3, 2, 24));
    EXPECT_FALSE(ActionOf("actOpacity")->isEnabled());
    Trigger("actn32bit");
    EXPECT_TRUE(ActionOf("actOpacity")->isEnabled());
    Trigger("actn24bit");
    EXPECT_FALSE(ActionOf("actOpacity")->isEnabled());
    TfrmDesk* deep = Open(Picture(3, 2, 32));
    EXPECT_TRUE(ActionOf("actOpacity")->isEnabled());
    flat->ActivateDocument();
    EXPECT_FALSE(ActionOf("actOpacity")->isEnabled());
    // A selection floating on any document enables it.
    Float(Picture(2, 2), deep->Tag);
    m_main->UpdateClipboardActions();
    EXPECT_TRUE(ActionOf("actOpacity")->isEnabled());
}

TEST_F(EffectsTest, NoTwoActionsShareAShortcutNorTwoMenusAnAccessKey)
{
    QHash<QString, QString> owner;
    for (const QAction* a : m_main->findChildren<QAction*>()) {
        for (const QKeySequence& key : a->shortcuts()) {
            const QString text = key.toString();
            EXPECT_FALSE(owner.contains(text)) << text.toStdString() << ": " << owner.value(text).toStdString()
                                               << " and " << a->objectName().toStdString();
            owner.insert(text, a->objectName());
        }
    }
    EXPECT_EQ(owner.value(QStringLiteral("Ctrl+Q")), QStringLiteral("actOpacity"));
    EXPECT_EQ(owner.value(QStringLiteral("Ctrl+W")), QStringLiteral("actAdvancedShadow"));

    // The menu bar's access keys: no two menus share one, and the only ones a command takes
    // too are the window commands' Alt keys, which run the command while it is enabled.
    const QHash<QString, QString> shared = {{QStringLiteral("Alt+V"), QStringLiteral("actTileVert")},
                                            {QStringLiteral("Alt+C"), QStringLiteral("actCascade")},
                                            {QStringLiteral("Alt+H"), QStringLiteral("actTileHoriz")}};
    QHash<QString, QString> menus;
    for (QAction* menu : m_main->menuBar()->actions()) {
        const QString text = QKeySequence::mnemonic(menu->text()).toString();
        EXPECT_FALSE(text.isEmpty()) << menu->text().toStdString();
        EXPECT_FALSE(menus.contains(text)) << text.toStdString() << ": " << menus.value(text).toStdString() << " and "
                                           << menu->text().toStdString();
        menus.insert(text, menu->text());
        EXPECT_EQ(owner.value(text), shared.value(text)) << text.toStdString();
        EXPECT_EQ(m_main->AccessKeys()->MenuFor(QKeySequence(text)), menu);
    }
    EXPECT_EQ(menus.size(), 9);
    EXPECT_EQ(owner.value(QStringLiteral("Alt+T")), QStringLiteral("actTile"));
}

TEST_F(EffectsTest, AnEffectDialogMadeAfterTheLanguageWasLoadedTakesItsTexts)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Deutsch.lng"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[frmFilter]\nfrmFilter.Caption=Eigener Filter\nbtnTest.Caption=Probe\nlblCaption.Caption=Filter\n"
                "[MSG]\nmsgLastEffect=Letzter Effekt: %s1\n");
    }
    Lang().SetFileName(path);
    TfrmFilter* dialog = m_main->CustomFilterDialog();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Eigener Filter"));
    EXPECT_EQ(dialog->btnTest->text(), QStringLiteral("Probe"));
    EXPECT_EQ(dialog->lblCaption->text(), QStringLiteral("Filter"));

    Open(Picture());
    Trigger("actnInvert");
    EXPECT_EQ(ActionOf("actLast")->text(), QStringLiteral("Letzter Effekt: Invert"));
    Lang().SetFileName(QString());
}
