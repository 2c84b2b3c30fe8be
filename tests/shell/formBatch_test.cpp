#include "shell/formBatch.h"

#include "editor/thumbnail.h"
#include "engine/MyIcoIO.h"
#include "engine/MyIcon.h"
#include "engine/PngCodec.h"
#include "shell/formMain.h"
#include "tests/shell/ShellFixtures.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TempFiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

using glimt::test::EnsureApplication;

namespace {

QByteArray IconBytes(int size)
{
    return glimt::test::IconFileOf(1, {glimt::test::DibImage(size, size, 32)});
}

class BatchDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        QDir().mkpath(m_files.Path("out"));
    }

    glimt::test::TempFiles m_files;
    glimt::test::FakeDialogs m_dialogs;
    glimt::ScopedUserDialogs m_install{&m_dialogs};
};

} // namespace

TEST_F(BatchDialogTest, ModesShowTheirControlsAndKeepOnlyTheFilesTheyTake)
{
    TfrmBatch dialog;
    dialog.FormShow();
    EXPECT_TRUE(dialog.rbIconImage->isChecked());
    EXPECT_FALSE(dialog.grpFormats->isHidden());
    EXPECT_TRUE(dialog.cmbOutput->isHidden());
    EXPECT_FALSE(dialog.btnOK->isEnabled());
    int checked = 0;
    for (auto& row : dialog.Formats)
        for (QCheckBox* box : row)
            checked += box->isChecked() ? 1 : 0;
    EXPECT_EQ(checked, 9);
    EXPECT_TRUE(dialog.Formats[0][4]->isChecked()); // cbXP256
    EXPECT_FALSE(dialog.Formats[1][4]->isChecked()); // cb256256
    EXPECT_EQ(dialog.Formats[2][0]->objectName(), QStringLiteral("cb1616"));

    const QString ico = m_files.Write("a.ico", IconBytes(16));
    const QString png = m_files.Write("b.png", glimt::EncodePng(TmyImage(2, 3)));
    const QString txt = m_files.Write("c.txt", "text");
    m_dialogs.OpenResults.push_back(QStringList{ico, png, txt});
    dialog.btnAdd->click();
    EXPECT_EQ(dialog.Files(), QStringList({ico, png}));
    EXPECT_EQ(dialog.lblFileNumber->text(), QStringLiteral("2"));
    EXPECT_TRUE(dialog.btnOK->isEnabled());
    EXPECT_EQ(m_dialogs.Log.back().request.filterIndex, 5);

    // Another mode starts with an empty list.
    dialog.rbImageIcon->click();
    EXPECT_TRUE(dialog.Files().isEmpty());
    EXPECT_TRUE(dialog.grpFormats->isHidden());
    EXPECT_FALSE(dialog.cmbOutput->isHidden());
    dialog.AddFiles({ico, png, txt});
    EXPECT_EQ(dialog.Files(), QStringList{ico});
    dialog.rbResIcon->click();
    EXPECT_TRUE(dialog.cmbOutput->isHidden());
    dialog.AddFiles({ico, png, txt});
    EXPECT_EQ(dialog.Files().size(), 3);
    dialog.lbFiles->item(1)->setSelected(true);
    dialog.btnRemove->click();
    EXPECT_EQ(dialog.Files(), QStringList({ico, txt}));

    // The folder: picked, and never left empty.
    m_dialogs.FolderResults.push_back(m_files.Path("out"));
    dialog.btnBrowse->click();
    EXPECT_EQ(dialog.edtDir->text(), m_files.Path("out"));
    EXPECT_EQ(m_dialogs.Log.back().text, QStringLiteral("Select a directory"));
    dialog.edtDir->clear();
    EXPECT_EQ(dialog.edtDir->text(), QDir::homePath());
}

TEST_F(BatchDialogTest, ARunLogsEachFileThenOkClosesAndClearsTheList)
{
    TfrmBatch dialog;
    dialog.FormShow();
    dialog.rbImageIcon->click();
    dialog.cmbOutput->setCurrentIndex(2);
    dialog.edtDir->setText(m_files.Path("out"));
    dialog.AddFiles({m_files.Write("a.ico", IconBytes(16)), m_files.Write("b.ico", IconBytes(32))});
    dialog.btnOK->click();

    EXPECT_TRUE(QFileInfo::exists(m_files.Path("out/a_16x16-32.png")));
    EXPECT_TRUE(QFileInfo::exists(m_files.Path("out/b_32x32-32.png")));
    EXPECT_FALSE(dialog.reResult->isHidden());
    EXPECT_FALSE(dialog.ProgressBar1->isHidden());
    EXPECT_EQ(dialog.ProgressBar1->value(), 2);
    EXPECT_FALSE(dialog.grpFiles->isEnabled());
    EXPECT_FALSE(dialog.btnCancel->isEnabled());
    EXPECT_EQ(dialog.btnOK->text(), QStringLiteral("Close"));
    EXPECT_TRUE(dialog.StopRequested);
    const QStringList lines = dialog.reResult->toPlainText().split('\n');
    EXPECT_TRUE(lines.contains("2/2- Processing: " + m_files.Path("b.ico") + " ..."));
    EXPECT_TRUE(lines.contains("      Success: " + m_files.Path("out/a_16x16-32.png") + " - File created successfully"));
    EXPECT_EQ(lines.last(), QStringLiteral("Operation completed!"));

    dialog.btnOK->click();
    EXPECT_TRUE(dialog.Files().isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    // The next showing starts idle, keeping mode and format.
    dialog.FormShow();
    EXPECT_TRUE(dialog.reResult->isHidden());
    EXPECT_TRUE(dialog.btnCancel->isEnabled());
    EXPECT_EQ(dialog.btnOK->text(), QStringLiteral("OK"));
    EXPECT_TRUE(dialog.rbImageIcon->isChecked());
    EXPECT_EQ(dialog.cmbOutput->currentText(), QStringLiteral("png"));
}

TEST_F(BatchDialogTest, EscapeIsCancelBeforeARunAndDoesNothingAfterIt)
{
    TfrmBatch dialog;
    dialog.show();
    dialog.rbImageIcon->click();
    dialog.edtDir->setText(m_files.Path("out"));
    const QString icon = m_files.Write("a.ico", IconBytes(16));

    // The close box keeps the list for the next showing; Escape, like Cancel, clears it.
    dialog.AddFiles({icon});
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Files().size(), 1);
    dialog.show();
    QTest::keyClick(dialog.lbFiles, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.Files().isEmpty());

    // After a run Cancel is off, and so is Escape: the log stays until Close.
    dialog.show();
    dialog.AddFiles({icon});
    dialog.btnOK->click();
    ASSERT_EQ(dialog.btnOK->text(), QStringLiteral("Close"));
    QTest::keyClick(dialog.btnOK, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.reResult->isHidden());
    EXPECT_EQ(dialog.Files().size(), 1);
}

TEST_F(BatchDialogTest, AnOutputFolderThatCannotTakeTheFilesIsSaidOnceBeforeTheRun)
{
    const QString notAFolder = m_files.Write("plain.txt", "text");
    const struct {
        const char* name;
        QString folder;
        QString message;
    } rows[] = {
        {"missing", m_files.Path("nowhere"), "The folder " + m_files.Path("nowhere") + " does not exist!"},
        {"a file", notAFolder, "Files cannot be written into " + notAFolder + "!"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        m_dialogs.Log.clear();
        TfrmBatch dialog;
        dialog.show();
        dialog.rbImageIcon->click();
        dialog.edtDir->setText(row.folder);
        dialog.AddFiles({m_files.Write("a.ico", IconBytes(16)), m_files.Write("b.ico", IconBytes(32))});
        dialog.btnOK->click();
        EXPECT_EQ(m_dialogs.Texts(glimt::test::FakeDialogs::Kind::Warning), QStringList{row.message});
        EXPECT_EQ(m_dialogs.BoxCount(), 1);
        // Nothing ran: the dialog waits for another folder, with its list and Cancel.
        EXPECT_TRUE(dialog.reResult->isHidden());
        EXPECT_TRUE(dialog.btnCancel->isEnabled());
        EXPECT_EQ(dialog.btnOK->text(), QStringLiteral("OK"));
        EXPECT_EQ(dialog.Files().size(), 2);
        dialog.edtDir->setText(m_files.Path("out"));
        dialog.btnOK->click();
        EXPECT_EQ(dialog.reResult->toPlainText().split('\n').last(), QStringLiteral("Operation completed!"));
        EXPECT_EQ(m_dialogs.BoxCount(), 1);
    }
}

TEST_F(BatchDialogTest, TheExplorerSelectionPresetsTheListInSelectionOrder)
{
    const QString ico = m_files.Write("a.ico", IconBytes(16));
    const QString png = m_files.Write("b.png", glimt::EncodePng(TmyImage(2, 3)));
    TThumbail view;
    view.AddItem()->SetFileName(ico);
    view.AddItem()->SetFileName(png);
    view.SelectItem(1);
    view.SelectItem(0);
    TfrmBatch dialog;
    dialog.PrepareIconsFromImages(view);
    EXPECT_EQ(dialog.Files(), QStringList({png, ico}));
    dialog.PrepareImagesFromIcons(view);
    EXPECT_TRUE(dialog.rbImageIcon->isChecked());
    EXPECT_EQ(dialog.Files(), QStringList{ico});
}

TEST_F(BatchDialogTest, StopDuringARunEndsItAfterTheFileAndTheDialogCannotBeClosedMeanwhile)
{
    TfrmBatch dialog;
    dialog.show();
    dialog.rbImageIcon->click();
    dialog.edtDir->setText(m_files.Path("out"));
    for (int i = 1; i <= 3; ++i)
        dialog.AddFiles({m_files.Write(QString("i%1.ico").arg(i), IconBytes(16))});
    // Both reach the dialog while the first file is converted: Escape is refused, Stop is not.
    QMetaObject::invokeMethod(&dialog, [&dialog] { dialog.reject(); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(dialog.btnOK, &QPushButton::click, Qt::QueuedConnection);
    dialog.btnOK->click();

    EXPECT_EQ(QDir(m_files.Path("out")).entryList(QDir::Files), QStringList{"i1_16x16-32.bmp"});
    EXPECT_EQ(dialog.reResult->toPlainText().split('\n').last(), QStringLiteral("Operation canceled by user!"));
    EXPECT_FALSE(dialog.reResult->toPlainText().contains("Operation completed!"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.btnOK->text(), QStringLiteral("Close"));
    EXPECT_EQ(dialog.Files().size(), 3);
}
