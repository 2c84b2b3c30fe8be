#include "shell/formOptions.h"

#include "engine/Settings.h"
#include "shell/registryeditor.h"
#include "tests/shell/MainWindowFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {

QColor Rgb(TColor c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

TColor Color(int r, int g, int b)
{
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

// The dialog with the desktop's folders in a temporary folder and a record of the look
// refreshes it asks for.
class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        glimt::test::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        qputenv("XDG_DATA_HOME", QDir(m_dir.path()).absoluteFilePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", QDir(m_dir.path()).absoluteFilePath(QStringLiteral("config")).toLocal8Bit());
        Options() = TOptions();
        m_dlg = std::make_unique<TfrmOptions>();
        m_dlg->ProgramPath = QStringLiteral("/opt/glimt/glimt");
        m_dlg->ApplyLook = [this](bool redrawAll) { m_applied.push_back(redrawAll); };
    }
    void TearDown() override
    {
        m_dlg.reset();
        qputenv("XDG_DATA_HOME", m_data);
        qputenv("XDG_CONFIG_HOME", m_config);
        Options() = TOptions();
    }
    void ChooseGridRow(int row)
    {
        m_dlg->cmbGrid->setCurrentIndex(row);
        m_dlg->cmbGridChange();
    }

    QByteArray m_data = qgetenv("XDG_DATA_HOME");
    QByteArray m_config = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir m_dir;
    std::unique_ptr<TfrmOptions> m_dlg;
    std::vector<bool> m_applied;
};

} // namespace

TEST(DrawCheckerSample, TheTopLeftCellTakesTheSecondColour)
{
    QImage picture(48, 48, QImage::Format_RGB32);
    const TColor c1 = Color(255, 255, 255);
    const TColor c2 = Color(10, 20, 30);
    for (int cell : {4, 8, 16}) {
        SCOPED_TRACE(cell);
        glimt::DrawCheckerSample(picture, cell, c1, c2);
        EXPECT_EQ(picture.pixelColor(0, 0), Rgb(c2));
        EXPECT_EQ(picture.pixelColor(cell - 1, cell - 1), Rgb(c2));
        EXPECT_EQ(picture.pixelColor(cell, 0), Rgb(c1));
        EXPECT_EQ(picture.pixelColor(0, cell), Rgb(c1));
        EXPECT_EQ(picture.pixelColor(cell, cell), Rgb(c2));
        EXPECT_EQ(picture.pixelColor(47, 47), Rgb((47 / cell + 47 / cell) % 2 == 0 ? c2 : c1));
    }
}

TEST_F(OptionsDialogTest, GridPresetsSetTheCustomColoursAndSkipTheBlankRows)
{
    m_dlg->FormShow();
    struct Row {
        int chosen, selected;
        TColor color2, color1;
    } rows[] = {
        {6, 7, Color(255, 206, 206), Color(255, 255, 255)},
        {1, 2, Color(239, 239, 239), Color(255, 255, 255)},
        {5, 5, Color(33, 33, 33), Color(82, 82, 82)},
        {11, 11, Color(231, 206, 255), Color(255, 255, 255)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.chosen);
        ChooseGridRow(r.chosen);
        EXPECT_EQ(m_dlg->cmbGrid->currentIndex(), r.selected);
        EXPECT_EQ(m_dlg->cbColor2->Selected(), r.color2);
        EXPECT_EQ(m_dlg->cbColor1->Selected(), r.color1);
        EXPECT_FALSE(m_dlg->cbColor1->isEnabled());
        EXPECT_EQ(m_dlg->SamplePicture.pixelColor(0, 0), Rgb(r.color2));
    }
    // "Custom" enables the colour boxes and leaves their colours.
    ChooseGridRow(0);
    EXPECT_TRUE(m_dlg->cbColor1->isEnabled());
    EXPECT_TRUE(m_dlg->cbColor2->isEnabled());
    EXPECT_EQ(m_dlg->cbColor2->Selected(), Color(231, 206, 255));
}

TEST_F(OptionsDialogTest, ShowsTheSettingsAndOkWritesThemBack)
{
    TOptions& o = Options();
    o.BKSize = 8;
    o.SelectedIndex = 0;
    o.Color1 = Color(1, 2, 3);
    o.Color2 = Color(4, 5, 6);
    o.GridStyle = 1;
    o.GridColor = Color(0, 0, 128);
    o.PrevColor = Color(9, 9, 9);
    o.PaletteAction = 2;
    o.ClipboardAction = 0;
    o.SmoothEdges = true;
    o.Compress = false;
    m_dlg->FormShow();
    EXPECT_EQ(m_dlg->Actions->currentIndex(), 0);
    EXPECT_EQ(m_dlg->cmbSize->currentIndex(), 1);
    EXPECT_EQ(m_dlg->cbColor1->Selected(), Color(1, 2, 3));
    EXPECT_EQ(m_dlg->cbGridColor->currentText(), QStringLiteral("Navy"));
    EXPECT_TRUE(m_dlg->rbPalPrompt->isChecked());
    EXPECT_TRUE(m_dlg->rbResize->isChecked());
    EXPECT_TRUE(m_dlg->cbSmooth->isChecked());
    EXPECT_FALSE(m_dlg->cbCompress->isChecked());
    EXPECT_EQ(m_dlg->SamplePicture.pixelColor(8, 0), Rgb(Color(1, 2, 3)));

    m_dlg->cmbSize->setCurrentIndex(2);
    m_dlg->cmbSizeChange();
    m_dlg->rbNotChange->setChecked(true);
    m_dlg->rbCrop->setChecked(true);
    m_dlg->cbCompress->setChecked(true);
    m_dlg->cbSmooth->setChecked(false);
    m_dlg->cbPreviewColor->SetSelected(Color(0, 255, 0));
    m_dlg->btnOK->click();
    EXPECT_EQ(o.BKSize, 16);
    EXPECT_EQ(o.PaletteAction, 1);
    EXPECT_EQ(o.ClipboardAction, 1);
    EXPECT_TRUE(o.Compress);
    EXPECT_FALSE(o.SmoothEdges);
    EXPECT_EQ(o.PrevColor, Color(0, 255, 0));
    EXPECT_EQ(o.GridStyle, 1);
    EXPECT_EQ(m_applied, std::vector<bool>{true});
}

TEST_F(OptionsDialogTest, OnlyTheCheckerboardAndGridRedrawTheDocuments)
{
    struct Case {
        const char* name;
        std::function<void(TfrmOptions&)> change;
        bool redraw;
    } cases[] = {
        {"nothing", [](TfrmOptions&) {}, false},
        {"preview colour", [](TfrmOptions& d) { d.cbPreviewColor->SetSelected(0x123456); }, false},
        {"custom row keeping the colours", [](TfrmOptions& d) { d.cmbGrid->setCurrentIndex(0); d.cmbGridChange(); }, false},
        {"cell size", [](TfrmOptions& d) { d.cmbSize->setCurrentIndex(1); d.cmbSizeChange(); }, true},
        {"grid style", [](TfrmOptions& d) { d.cmbStyle->setCurrentIndex(0); }, true},
        {"grid colour", [](TfrmOptions& d) { d.cbGridColor->SetSelected(0x0000FF); }, true},
        {"preset colours", [](TfrmOptions& d) { d.cmbGrid->setCurrentIndex(5); d.cmbGridChange(); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Options() = TOptions();
        m_applied.clear();
        m_dlg->FormShow();
        c.change(*m_dlg);
        m_dlg->btnOK->click();
        EXPECT_EQ(m_applied, std::vector<bool>{c.redraw});
    }
}

TEST_F(OptionsDialogTest, CancelWritesNothingAndEnterOnAnyControlIsOk)
{
    m_dlg->FormShow();
    m_dlg->cbSmooth->setChecked(true);
    m_dlg->btnCancel->click();
    EXPECT_FALSE(Options().SmoothEdges);
    EXPECT_TRUE(m_applied.empty());

    m_dlg->FormShow();
    EXPECT_FALSE(m_dlg->cbSmooth->isChecked());
    m_dlg->cbSmooth->setChecked(true);
    QTest::keyClick(m_dlg->cmbStyle, Qt::Key_Return);
    EXPECT_TRUE(Options().SmoothEdges);
    EXPECT_EQ(m_applied.size(), 1u);
}

TEST_F(OptionsDialogTest, OkSetsTheAssociationAndTheOpenWithEntryAsTicked)
{
    m_dlg->FormShow();
    EXPECT_TRUE(m_dlg->cbAssoc->isEnabled());
    EXPECT_FALSE(m_dlg->cbAssoc->isChecked());
    EXPECT_FALSE(m_dlg->cbContext->isChecked());
    m_dlg->cbAssoc->setChecked(true);
    m_dlg->cbContext->setChecked(true);
    m_dlg->btnOK->click();
    EXPECT_TRUE(glimt::IsIcoAssociated());
    EXPECT_TRUE(glimt::IsContextMenuSet(m_dlg->ProgramPath));

    // The program moved: the entry shows unticked, and OK with the box ticked writes it again.
    m_dlg->ProgramPath = QStringLiteral("/usr/local/bin/glimt");
    m_dlg->FormShow();
    EXPECT_TRUE(m_dlg->cbAssoc->isChecked());
    EXPECT_FALSE(m_dlg->cbContext->isChecked());
    m_dlg->cbContext->setChecked(true);
    m_dlg->cbAssoc->setChecked(false);
    m_dlg->btnOK->click();
    EXPECT_TRUE(glimt::IsContextMenuSet(QStringLiteral("/usr/local/bin/glimt")));
    EXPECT_FALSE(glimt::IsIcoAssociated());
}
