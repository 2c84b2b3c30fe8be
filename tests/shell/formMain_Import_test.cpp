#include "shell/formMain.h"

#include "editor/formDesk.h"
#include "editor/formFrames.h"
#include "editor/formNew.h"
#include "editor/thumbnail.h"
#include "engine/GifCodec.h"
#include "engine/MyIcoIO.h"
#include "engine/PngCodec.h"
#include "engine/Settings.h"
#include "engine/myimport.h"
#include "shell/ShellPrompts.h"
#include "shell/formExtract.h"
#include "tests/shell/ShellFixtures.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TempFiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <gtest/gtest.h>

using glimt::TAnswer;
using glimt::test::DibImage;
using glimt::test::EntryFor;
using glimt::test::ExeBuilder;
using glimt::test::FakeDialogs;
using glimt::test::GroupResource;
using glimt::test::ModalAnswers;
using Kind = glimt::test::FakeDialogs::Kind;

namespace {

const TmyPixel Red = TmyPixel::CreateRGBA(255, 0, 0, 255);
const TmyPixel Green = TmyPixel::CreateRGBA(0, 255, 0, 255);
const TmyPixel Blue = TmyPixel::CreateRGBA(0, 0, 255, 255);

// A 3 x 2 picture: red, except green at (0, 0) and blue at (2, 1).
TmyImage Picture3x2()
{
    TmyImage image(2, 3);
    image.Fill(Red);
    image.Pixel(0, 0) = Green;
    image.Pixel(2, 1) = Blue;
    return image;
}

// A GIF of full-screen frames sharing one colour table (red, green, blue, key), index 3
// transparent in every frame.
QByteArray AnimatedGif(int width, int height, const std::vector<std::vector<std::uint8_t>>& frames)
{
    const std::vector<TmyPixel> colors = {Red, Green, Blue, TmyPixel::CreateRGBA(255, 255, 255, 255)};
    QByteArray out;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        QByteArray one = glimt::EncodeGif(width, height, frames[i], colors, 3);
        one.chop(1); // the trailer
        // Header, screen descriptor and the global table of 4 entries come once.
        out += i == 0 ? one : one.mid(13 + 3 * 4);
    }
    return out + char(0x3B);
}

// A module of `groups` icon groups, group k holding one 16 x 16 4-bit image (seed k + 1),
// and, when `bigGroupAt` >= 0, a group of 51 images inserted at that position.
QByteArray Module(int groups, int bigGroupAt = -1)
{
    ExeBuilder builder;
    std::uint16_t id = 1;
    for (int k = 0, made = 0; made < groups; ++k) {
        if (k == bigGroupAt) {
            std::vector<glimt::test::GroupEntry> entries;
            const QByteArray image = DibImage(16, 16, 4, 99);
            builder.AddIcon(id, image);
            for (int i = 0; i < 51; ++i)
                entries.push_back(EntryFor(image, id));
            ++id;
            builder.AddGroup(std::uint16_t(100 + k), GroupResource(entries));
            continue;
        }
        const QByteArray image = DibImage(16, 16, 4, std::uint8_t(made + 1));
        builder.AddIcon(id, image);
        builder.AddGroup(std::uint16_t(100 + k), GroupResource({EntryFor(image, id)}));
        ++id;
        ++made;
    }
    return builder.Build(ExeBuilder::Format::Pe32);
}

class ImportTest : public glimt::test::MainWindowFixture {
protected:
    // Plans an answer of the new-image dialog: OK with that format, or Cancel.
    void AnswerNewImage(bool ok, int width = 3, int height = 2, int depth = 32)
    {
        m_modals.Then([this] { return m_main->NewImageDialog(); },
                      [ok, width, height, depth](QWidget* w) {
                          auto* dialog = static_cast<TfrmNewImage*>(w);
                          dialog->NewWidth = width;
                          dialog->NewHeight = height;
                          dialog->NewDepth = depth;
                          (ok ? dialog->btnOK : dialog->btnCancel)->click();
                      });
    }

    // Plans an answer of the frame picker: the tiles selected in that order, then OK (or Cancel
    // for an empty list).
    void AnswerFrames(std::vector<int> tiles, bool overimpose = true)
    {
        // The picker is answered once its tiles are there (it loads them while shown).
        m_modals.Then([]() -> QWidget* {
                          TfrmFrames* dialog = glimt::FramesDialog();
                          return dialog->Thumbnails->Count() > 0 ? dialog : nullptr;
                      },
                      [tiles, overimpose](QWidget* w) {
                          auto* dialog = static_cast<TfrmFrames*>(w);
                          if (dialog->cbOverimpose->isChecked() != overimpose)
                              dialog->cbOverimpose->click();
                          if (tiles.empty()) {
                              dialog->btnCancel->click();
                              return;
                          }
                          dialog->Thumbnails->ClearSelection();
                          for (int t : tiles)
                              dialog->Thumbnails->SelectItem(t);
                          dialog->btnOK->click();
                      });
    }

    void Trigger(const char* action)
    {
        QAction* a = m_main->Action(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }

    static TmyImagePal& Image0(TfrmDesk* desk) { return desk->Icon->Image(0); }

    glimt::test::TempFiles m_files;
};

} // namespace

TEST_F(ImportTest, APictureBecomesAnUnsavedDocumentOfTheChosenFormat)
{
    const QString png = m_files.Write(QStringLiteral("a.png"), glimt::EncodePng(Picture3x2()));
    AnswerNewImage(true, 3, 2, 32);
    EXPECT_TRUE(m_main->OpenDocumentFile(png));
    ASSERT_EQ(m_main->DeskCount(), 1);
    TfrmDesk* desk = m_main->ActiveDesk();
    EXPECT_TRUE(desk->parentWidget()->isVisible());
    EXPECT_FALSE(desk->Saved);
    EXPECT_TRUE(desk->FilePath().isEmpty());
    ASSERT_EQ(desk->Icon->Count(), 1);
    EXPECT_TRUE(Image0(desk).SamePixels(Picture3x2()));
    EXPECT_TRUE(m_main->NewImageDialog()->SourceGroupShown());
    EXPECT_EQ(m_dialogs.BoxCount(), 0);

    // At 1 bit the picture is reduced to the image's own two colours.
    AnswerNewImage(true, 3, 2, 1);
    EXPECT_TRUE(m_main->OpenDocumentFile(png));
    ASSERT_EQ(m_main->DeskCount(), 2);
    const TmyImagePal& mono = Image0(m_main->ActiveDesk());
    EXPECT_EQ(mono.BitDepth, 1);
    ASSERT_TRUE(mono.Palette.has_value());
    EXPECT_EQ(mono.Palette->Count(), 2);
}

TEST_F(ImportTest, ImportingSeveralPicturesAsksForEachAndCancelOrDamageLeavesNoWindow)
{
    const QString a = m_files.Write(QStringLiteral("a.png"), glimt::EncodePng(Picture3x2()));
    const QString damaged = m_files.Write(QStringLiteral("b.png"), glimt::EncodePng(Picture3x2()).left(40));
    const QString c = m_files.Write(QStringLiteral("c.png"), glimt::EncodePng(Picture3x2()));
    const QString d = m_files.Write(QStringLiteral("d.png"), glimt::EncodePng(Picture3x2()));
    m_dialogs.OpenResults.push_back(QStringList{a, damaged, c, d});
    AnswerNewImage(true);
    AnswerNewImage(true);
    AnswerNewImage(false);
    AnswerNewImage(true, 16, 16, 8);
    Trigger("actnImportBMP");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // A damaged picture and a cancelled question cost no window and do not stop the list.
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList{QStringLiteral("Invalid png file!")});
    ASSERT_EQ(m_main->DeskCount(), 2);
    EXPECT_EQ(Image0(m_main->Desk(1)).Width(), 3);
    EXPECT_EQ(Image0(m_main->Desk(2)).Width(), 16);
    EXPECT_EQ(Image0(m_main->Desk(2)).BitDepth, 8);
    ASSERT_FALSE(m_dialogs.Log.empty());
    EXPECT_EQ(m_dialogs.Log.front().request.filterIndex, 5);
    EXPECT_TRUE(m_dialogs.Log.front().request.picturePreview);
}

TEST_F(ImportTest, AGifOpensTheChosenFramesAndNeverLeavesAnEmptyWindow)
{
    const std::vector<std::uint8_t> all(6, 0), oneGreen = {1, 3, 3, 3, 3, 3}, oneBlue = {3, 3, 3, 3, 3, 2};
    const QString gif = m_files.Write(QStringLiteral("a.gif"), AnimatedGif(3, 2, {all, oneGreen, oneBlue}));

    // Frames 2 and then 0, over-imposed: the document of frame 2 comes first and holds all
    // three frames drawn over one another.
    AnswerNewImage(true, 3, 2, 32);
    AnswerFrames({2, 0});
    EXPECT_TRUE(m_main->OpenDocumentFile(gif));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(m_main->DeskCount(), 2);
    EXPECT_TRUE(Image0(m_main->Desk(1)).SamePixels(Picture3x2()));
    TmyImage red(2, 3);
    red.Fill(Red);
    EXPECT_TRUE(Image0(m_main->Desk(2)).SamePixels(red));
    for (int slot = 1; slot <= 2; ++slot) {
        EXPECT_TRUE(m_main->Desk(slot)->parentWidget()->isVisible());
        EXPECT_FALSE(m_main->Desk(slot)->Saved);
    }
    // The window made for the format question used number 1, and numbers never go back.
    EXPECT_EQ(m_main->Desk(1)->UntitledNumber(), 2);
    EXPECT_EQ(m_main->Desk(2)->UntitledNumber(), 3);

    // Without over-imposing, a frame that is transparent but for one pixel stays so.
    AnswerNewImage(true, 3, 2, 32);
    AnswerFrames({1}, false);
    EXPECT_TRUE(m_main->OpenDocumentFile(gif));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(m_main->DeskCount(), 3);
    const TmyImagePal& alone = Image0(m_main->Desk(3));
    EXPECT_EQ(alone.Pixel(0, 0), Green);
    EXPECT_EQ(alone.Pixel(1, 0).A, 0);

    // Cancel in the picker opens nothing and leaves no window behind.
    AnswerNewImage(true, 3, 2, 32);
    AnswerFrames({});
    EXPECT_TRUE(m_main->OpenDocumentFile(gif));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_main->DeskCount(), 3);
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
}

TEST_F(ImportTest, ADamagedGifWarnsWithoutOpeningThePicker)
{
    const QString gif = m_files.Write(QStringLiteral("bad.gif"), QByteArray("GIF89a\x03\x00\x02\x00", 10));
    AnswerNewImage(true, 3, 2, 32);
    EXPECT_TRUE(m_main->OpenDocumentFile(gif));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_main->DeskCount(), 0);
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList{QStringLiteral("Invalid gif file!")});
}

TEST_F(ImportTest, ExportWritesTheChosenFormatAndRefusesOtherExtensions)
{
    // The action is disabled without a document; its handler still refuses.
    EXPECT_FALSE(m_main->Action(QStringLiteral("actexport"))->isEnabled());
    m_main->actexportExecute();
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList{QStringLiteral("No image is selected!")});
    m_dialogs.Log.clear();

    TmyImagePal image(2, 3, 32);
    static_cast<TmyImage&>(image) = Picture3x2();
    ASSERT_TRUE(m_main->CreateDocumentFromImage(image));
    m_main->updateActions();

    // No extension: the chosen filter's is added.
    m_dialogs.SaveResults.push_back(m_files.Path(QStringLiteral("pic")));
    m_dialogs.SaveFilterIndices.push_back(2);
    Trigger("actexport");
    const QByteArray png = [&] {
        QFile f(m_files.Path(QStringLiteral("pic.png")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(png.isEmpty());
    EXPECT_TRUE(glimt::DecodePng(reinterpret_cast<const std::uint8_t*>(png.constData()), std::size_t(png.size()))
                    .SamePixels(Picture3x2()));
    // The dialog comes back with the format chosen last.
    m_dialogs.SaveResults.push_back(std::nullopt);
    Trigger("actexport");
    EXPECT_EQ(m_dialogs.Log.back().request.filterIndex, 2);

    // ".jpeg" is no export format: asked about overwriting first, then refused, file kept.
    const QString jpeg = m_files.Write(QStringLiteral("pic.jpeg"), "old");
    m_dialogs.SaveResults.push_back(jpeg);
    m_dialogs.Answers.push_back(TAnswer::Yes);
    Trigger("actexport");
    EXPECT_EQ(m_dialogs.Texts(Kind::YesNo), QStringList{QStringLiteral("pic.jpeg already exists! Overwrite?")});
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList{QStringLiteral("Invalid file type!")});
    QFile kept(jpeg);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old"));

    // No to the overwrite question writes nothing.
    m_dialogs.SaveResults.push_back(m_files.Path(QStringLiteral("pic.png")));
    m_dialogs.Answers.push_back(TAnswer::No);
    QFile::remove(m_files.Path(QStringLiteral("pic.png")));
    m_files.Write(QStringLiteral("pic.png"), "keep");
    Trigger("actexport");
    QFile again(m_files.Path(QStringLiteral("pic.png")));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("keep"));
}

TEST_F(ImportTest, ExtractMakesOneDocumentPerPickedGroupWithAllItsImages)
{
    // Groups 0, 1, 2 of one image each, a group of 51 images between 0 and 1 that is not
    // listed: tiles 0..2 stand for the groups around it.
    const QString dll = m_files.Write(QStringLiteral("lib.dll"), Module(3, 1));
    TfrmExtract* dialog = m_main->ExtractDialog();
    dialog->FileName = dll;
    dialog->FormShow();
    ASSERT_EQ(dialog->Thumbnails->Count(), 3);
    EXPECT_TRUE(dialog->btnExtract->isEnabled());
    EXPECT_EQ(dialog->Thumbnails->SelectedIndices, std::vector<int>{0});

    dialog->Thumbnails->ClearSelection();
    dialog->Thumbnails->SelectItem(2);
    dialog->Thumbnails->SelectItem(0);
    dialog->btnExtract->click();
    ASSERT_EQ(m_main->DeskCount(), 2);
    EXPECT_EQ(m_dialogs.BoxCount(), 0);
    EXPECT_TRUE(dialog->GroupExtracted);
    // Each document holds its group's image as stored: seeds 3 and 1, in the picked order.
    for (int slot = 1; slot <= 2; ++slot) {
        TfrmDesk* desk = m_main->Desk(slot);
        EXPECT_FALSE(desk->Saved);
        EXPECT_TRUE(desk->FilePath().isEmpty());
        EXPECT_TRUE(desk->parentWidget()->isVisible());
        ASSERT_EQ(desk->Icon->Count(), 1);
        EXPECT_EQ(desk->Icon->Current, 0);
        EXPECT_EQ(Image0(desk).BitDepth, 4);
    }
    std::unique_ptr<TmyIcon> third, first;
    ASSERT_TRUE(TmyIcoIO(false).LoadFromBytes(third, glimt::test::IconFileOf(1, {DibImage(16, 16, 4, 3)})));
    ASSERT_TRUE(TmyIcoIO(false).LoadFromBytes(first, glimt::test::IconFileOf(1, {DibImage(16, 16, 4, 1)})));
    EXPECT_TRUE(Image0(m_main->Desk(1)).SamePixels(third->Image(0)));
    EXPECT_TRUE(Image0(m_main->Desk(2)).SamePixels(first->Image(0)));
    // Nothing is left in the data folder.
    EXPECT_FALSE(QFileInfo::exists(m_main->DataFolderPath() + QStringLiteral("/tmp.tmp")));
}

TEST_F(ImportTest, ExtractFallsBackToTheShellPictureWarningOnceAndAFileWithoutIconsSaysSo)
{
    // An animated cursor: the shell draws its frames but it holds no icon group.
    const QByteArray frame = glimt::test::IconFileOf(2, {DibImage(32, 32, 4, 5)});
    const QByteArray ani = glimt::test::AnimatedCursorOf({frame, frame});
    const QString path = m_files.Write(QStringLiteral("a.ani"), ani);

    // Through the open road: the dialog is modal; a double-click extracts the whole selection.
    m_modals.Then([this]() -> QWidget* {
                      TfrmExtract* dialog = m_main->ExtractDialog();
                      return dialog->Thumbnails->Count() > 0 ? dialog : nullptr;
                  },
                  [](QWidget* w) {
                      auto* dialog = static_cast<TfrmExtract*>(w);
                      dialog->Thumbnails->SelectItem(1);
                      emit dialog->Thumbnails->OnItemDblClicked(dialog->Thumbnails);
                  });
    EXPECT_TRUE(m_main->OpenDocumentFile(path));
    ASSERT_EQ(m_main->DeskCount(), 2);
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning),
              QStringList{QStringLiteral("This is not a 32bit file. Extraction will not be exact!")});
    EXPECT_FALSE(m_main->ExtractDialog()->GroupExtracted);
    for (int slot = 1; slot <= 2; ++slot) {
        const TmyImagePal& image = Image0(m_main->Desk(slot));
        EXPECT_EQ(image.Width(), 32);
        EXPECT_EQ(image.Height(), 32);
        EXPECT_EQ(image.BitDepth, 32);
        EXPECT_EQ(image.Pixel(0, 0).A, 255);
    }

    // A file with no icons.
    TfrmExtract* dialog = m_main->ExtractDialog();
    dialog->FileName = m_files.Write(QStringLiteral("plain.exe"), QByteArray(100, 'x'));
    dialog->FormShow();
    EXPECT_EQ(dialog->Thumbnails->Count(), 0);
    EXPECT_FALSE(dialog->btnExtract->isEnabled());
    EXPECT_FALSE(dialog->lblNoIcon->isHidden());
    dialog->btnExtract->click();
    EXPECT_EQ(m_main->DeskCount(), 2);
}

TEST_F(ImportTest, ExtractStopsAtTheTwentiethWindowKeepingTheDocumentsMade)
{
    for (int i = 0; i < 19; ++i)
        ASSERT_TRUE(m_main->CreateDocumentFromImage(TmyImagePal(2, 3, 32)));
    TfrmExtract* dialog = m_main->ExtractDialog();
    dialog->FileName = m_files.Write(QStringLiteral("lib.dll"), Module(3));
    dialog->FormShow();
    for (int t = 1; t < 3; ++t)
        dialog->Thumbnails->SelectItem(t);
    dialog->btnExtract->click();
    EXPECT_EQ(m_main->DeskCount(), 20);
    EXPECT_EQ(m_dialogs.Texts(Kind::Warning), QStringList{QStringLiteral("Too many open windows!")});
}

TEST_F(ImportTest, CaptureMakesAnUntitledDocumentOfTheChosenFormat)
{
    AnswerNewImage(true, 32, 32, 4);
    m_modals.Then([] { return QApplication::activeModalWidget(); },
                  [](QWidget* w) {
                      EXPECT_EQ(w->objectName(), QStringLiteral("frmCapture"));
                      EXPECT_EQ(w->size(), QSize(32, 32));
                      EXPECT_FALSE(w->mask().contains(QPoint(5, 5)));
                      EXPECT_TRUE(w->mask().contains(QPoint(31, 31)));
                      static_cast<QDialog*>(w)->accept();
                  });
    Trigger("actnCapture");
    ASSERT_EQ(m_main->DeskCount(), 1);
    TfrmDesk* desk = m_main->ActiveDesk();
    EXPECT_FALSE(desk->Saved);
    EXPECT_TRUE(desk->parentWidget()->isVisible());
    const TmyImagePal& image = Image0(desk);
    EXPECT_EQ(image.Width(), 32);
    EXPECT_EQ(image.BitDepth, 4);
    EXPECT_EQ(image.Pixel(0, 0).A, 255);
    EXPECT_FALSE(m_main->isMinimized());
}

// A session that refuses to be read gives no picture: an error, and no document of black
// pixels.
TEST_F(ImportTest, CaptureOfAScreenThatGivesNoPictureIsAnError)
{
    struct RefusingScreen {
        glimt::ScreenGrabber previous = glimt::SetScreenGrabber([](int, int, int, int) { return QImage(); });
        ~RefusingScreen() { glimt::SetScreenGrabber(previous); }
    } refusing;
    AnswerNewImage(true, 32, 32, 4);
    m_modals.Then([] { return QApplication::activeModalWidget(); },
                  [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    Trigger("actnCapture");
    EXPECT_EQ(m_main->DeskCount(), 0);
    EXPECT_EQ(m_dialogs.Texts(Kind::Error), QStringList{QStringLiteral("The screen could not be captured!")});
    EXPECT_FALSE(m_main->isMinimized());
}
