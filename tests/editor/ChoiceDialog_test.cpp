#include "editor/ChoiceDialog.h"

#include "editor/DialogPrompts.h"
#include "editor/formChangepal.h"
#include "editor/formimagebig.h"
#include "engine/Settings.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Both questions, each with the setting that its check box writes.
struct Question {
    const char* name;
    std::function<std::unique_ptr<glimt::TChoiceDialog>()> make;
    std::uint8_t TOptions::*setting;
};

const Question Questions[] = {
    {"image too big", [] { return std::make_unique<TfrmImageBig>(); }, &TOptions::ClipboardAction},
    {"change palette", [] { return std::make_unique<TfrmChangePal>(); }, &TOptions::PaletteAction},
};

struct OptionsGuard {
    TOptions saved = Options();
    ~OptionsGuard() { Options() = saved; }
};

} // namespace

TEST(TChoiceDialog, AnswerCarriesOverAndTheCheckBoxMakesItTheDefault)
{
    for (const Question& q : Questions) {
        SCOPED_TRACE(q.name);
        OptionsGuard guard;
        Options().*q.setting = 2;
        auto dlg = q.make();
        EXPECT_EQ(dlg->Choice, 0);
        EXPECT_TRUE(dlg->rbFirst->isChecked());

        // The second answer without the check box answers only this time.
        dlg->open();
        dlg->rbSecond->click();
        EXPECT_EQ(dlg->Choice, 1);
        dlg->OKButton->click();
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(dlg->result(), QDialog::Accepted);
        EXPECT_EQ(Options().*q.setting, 2);

        // The next question starts from that answer; ticked, it becomes the setting.
        dlg->open();
        EXPECT_TRUE(dlg->rbSecond->isChecked());
        EXPECT_EQ(dlg->Choice, 1);
        dlg->cbDefault->click();
        dlg->OKButton->click();
        EXPECT_EQ(Options().*q.setting, 1);

        // Back to the first answer, still ticked.
        dlg->open();
        dlg->rbFirst->click();
        EXPECT_EQ(dlg->Choice, 0);
        dlg->OKButton->click();
        EXPECT_EQ(Options().*q.setting, 0);
    }
}

TEST(TChoiceDialog, OnlyOkOrEnterEndsTheQuestion)
{
    for (const Question& q : Questions) {
        SCOPED_TRACE(q.name);
        OptionsGuard guard;
        auto dlg = q.make();
        EXPECT_FALSE(dlg->windowFlags() & Qt::WindowCloseButtonHint);
        dlg->open();
        QTest::keyClick(dlg.get(), Qt::Key_Escape);
        EXPECT_TRUE(dlg->isVisible());
        dlg->close();
        EXPECT_TRUE(dlg->isVisible());

        // Enter on any control is OK, with the radios as they are.
        dlg->rbSecond->click();
        dlg->cbDefault->click();
        QTest::keyClick(dlg->rbSecond, Qt::Key_Return);
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(Options().*q.setting, 1);
    }
}

TEST(TChoiceDialog, ControlsCarryTheirComponentNamesAndTexts)
{
    TfrmImageBig big;
    EXPECT_EQ(big.objectName(), QStringLiteral("frmImageBig"));
    EXPECT_EQ(big.windowTitle(), QStringLiteral("Warning"));
    EXPECT_EQ(big.findChild<QLabel*>(QStringLiteral("lblMsg"))->text(), QStringLiteral("The image is too big!"));
    EXPECT_EQ(big.findChild<QRadioButton*>(QStringLiteral("rbCrop")), big.rbCrop);
    EXPECT_EQ(big.rbCrop->text(), QStringLiteral("Crop"));
    EXPECT_EQ(big.findChild<QPushButton*>(QStringLiteral("Button1")), big.Button1);

    TfrmChangePal pal;
    EXPECT_EQ(pal.objectName(), QStringLiteral("frmChangePal"));
    EXPECT_EQ(pal.findChild<QRadioButton*>(QStringLiteral("rbNotChange"))->text(),
              QStringLiteral("Don't change the palette"));
    EXPECT_EQ(pal.findChild<QRadioButton*>(QStringLiteral("rbChange")), pal.rbChange);
    EXPECT_EQ(pal.findChild<QCheckBox*>(QStringLiteral("cbDefault"))->text(),
              QStringLiteral("Use this setting as default"));
    EXPECT_EQ(pal.findChild<QPushButton*>(QStringLiteral("btnOK")), pal.btnOK);
}

// A prompt sink whose messages are not under test.
class PromptsUnderTest : public glimt::TDialogPrompts {
public:
    void Message(glimt::TMsgKind, const QString&) override {}
    bool Confirm(const QString&) override { return false; }
    bool PickGifFrames(const QString&, int, int, int) override { return false; }
};

TEST(TDialogPrompts, WithoutItsDialogsTheQuestionsTakeTheFirstAnswer)
{
    PromptsUnderTest prompts;
    EXPECT_EQ(prompts.AskChangePalette(), 0);
    EXPECT_EQ(prompts.AskImageTooBig(), 0);
    {
        auto pal = std::make_unique<TfrmChangePal>();
        auto big = std::make_unique<TfrmImageBig>();
        prompts.SetDialogs(pal.get(), big.get());
    }
    // Dialogs that are gone are not shown.
    EXPECT_EQ(prompts.AskChangePalette(), 0);
    EXPECT_EQ(prompts.AskImageTooBig(), 0);
}
