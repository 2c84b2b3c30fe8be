#include "editor/Translate.h"
#include "tests/support/FileBytes.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

template <class T>
T* Make(QObject* parent, const char* name)
{
    T* w = new T(qobject_cast<QWidget*>(parent));
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// A small form with one widget of each translated kind, and some that are never translated.
struct TestForm {
    QWidget form;
    QLabel* lblName;
    QPushButton* btnOK;
    QPushButton* unnamed;
    QCheckBox* chkGrid;
    QComboBox* cmbStyle;
    QGroupBox* grpBox;
    QTabWidget* tabs;
    QWidget* tabGeneral;
    QSlider* trkZoom;
    QAction* actnOpen;
    QAction* actnSave;
    QWidget* frmSub;
    QLabel* lblSub;
    QLabel* lblAfterSub;

    TestForm()
    {
        form.setObjectName("frmTest");
        form.setWindowTitle("Test");
        form.setToolTip("form hint");
        lblName = Make<QLabel>(&form, "lblName");
        lblName->setText("Name");
        btnOK = Make<QPushButton>(&form, "btnOK");
        btnOK->setText("OK");
        btnOK->setToolTip("Accept");
        unnamed = Make<QPushButton>(&form, "");
        unnamed->setText("Unnamed");
        chkGrid = Make<QCheckBox>(&form, "chkGrid");
        chkGrid->setText("Grid");
        cmbStyle = Make<QComboBox>(&form, "cmbStyle");
        cmbStyle->addItems({"Solid", "Dashed", "Dots"});
        cmbStyle->setCurrentIndex(2);
        grpBox = Make<QGroupBox>(&form, "grpBox");
        grpBox->setTitle("Box");
        tabs = Make<QTabWidget>(&form, "tabs");
        tabGeneral = new QWidget;
        tabGeneral->setObjectName("tabGeneral");
        tabs->addTab(tabGeneral, "General");
        trkZoom = Make<QSlider>(&form, "trkZoom");
        trkZoom->setToolTip("Zoom");
        actnOpen = new QAction("&Open...", &form);
        actnOpen->setObjectName("actnOpen");
        actnSave = new QAction("&Save", &form);
        actnSave->setObjectName("actnSave");
        actnSave->setToolTip("Save the icon");
        frmSub = Make<QWidget>(&form, "frmSub");
        frmSub->setWindowTitle("Sub");
        lblSub = Make<QLabel>(frmSub, "lblSub");
        lblSub->setText("Sub label");
        lblAfterSub = Make<QLabel>(&form, "lblAfter");
        lblAfterSub->setText("After");
    }
};

const QByteArray kGerman =
    "[frmTest]\n"
    "frmTest.Caption=Probe\n"
    "frmTest.Hint=Formhinweis\n"
    "lblName.Caption=Name:\n"
    "btnOK.Caption=Gut\n"
    "btnOK.Hint=Annehmen\n"
    ".Caption=never\n"
    "chkGrid.Caption=\n"
    "cmbStyle.Item0=Voll\n"
    "cmbStyle.Item2=Punkte\n"
    "grpBox.Caption=Kasten\n"
    "tabGeneral.Caption=Allgemein\n"
    "trkZoom.Hint=Vergroesserung\n"
    "actnOpen.Caption=&Oeffnen...\n"
    "actnOpen.Hint=never, the action has no tool tip of its own\n"
    "actnSave.Hint=Speichern\n"
    "lblSub.Caption=wrong section\n"
    "[frmSub]\n"
    "frmSub.Caption=Unterfenster\n"
    "lblSub.Caption=Unterbeschriftung\n"
    "lblAfter.Caption=Danach\n"
    "[frmCanvas]\n"
    "frmTest.Caption=never, the form's own title stays\n"
    "btnOK.Caption=Leinwand\n"
    "[Menu]\n"
    "1-0.Menu=&Datei\n"
    "2-0.Menu=&Zuletzt\n"
    "3-1.Menu=&Bearbeiten\n"
    "4-0.Menu=never, item 0 of list 4 has no sub-menu\n"
    "4-2.Menu=Werkzeugleiste\n";

class Translate : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString path = dir.filePath("Deutsch.lng");
        ASSERT_TRUE(glimt::test::WriteBytes(path, kGerman));
        lang.SetFileName(path);
    }
    QTemporaryDir dir;
    TLanguage lang;
};

} // namespace

TEST_F(Translate, WholeFormByObjectName)
{
    TestForm t;
    glimt::TranslateForm(&t.form, lang);
    EXPECT_EQ(t.form.windowTitle(), "Probe");
    EXPECT_EQ(t.form.toolTip(), "Formhinweis");
    EXPECT_EQ(t.lblName->text(), "Name:");
    EXPECT_EQ(t.btnOK->text(), "Gut");
    EXPECT_EQ(t.btnOK->toolTip(), "Annehmen");
    EXPECT_EQ(t.unnamed->text(), "Unnamed") << "objects without a name are never translated";
    EXPECT_EQ(t.chkGrid->text(), "") << "an empty value blanks the caption";
    EXPECT_EQ(t.cmbStyle->itemText(0), "Voll");
    EXPECT_EQ(t.cmbStyle->itemText(1), "Dashed") << "a missing key keeps the text";
    EXPECT_EQ(t.cmbStyle->itemText(2), "Punkte");
    EXPECT_EQ(t.cmbStyle->currentIndex(), 2);
    EXPECT_EQ(t.grpBox->title(), "Kasten");
    EXPECT_EQ(t.tabs->tabText(0), "Allgemein");
    EXPECT_EQ(t.trkZoom->toolTip(), "Vergroesserung");
    EXPECT_EQ(t.actnOpen->text(), "&Oeffnen...");
    EXPECT_EQ(t.actnOpen->toolTip(), QAction("&Oeffnen...").toolTip()) << "the tool tip follows the text";
    EXPECT_EQ(t.actnSave->toolTip(), "Speichern");
    EXPECT_EQ(t.actnSave->text(), "&Save");
    // A form below the form reads its own section, and so do the siblings met after it.
    EXPECT_EQ(t.frmSub->windowTitle(), "Unterfenster");
    EXPECT_EQ(t.lblSub->text(), "Unterbeschriftung");
    EXPECT_EQ(t.lblAfterSub->text(), "Danach");
}

TEST_F(Translate, FormUnderAGivenSectionKeepsItsTitle)
{
    TestForm t;
    glimt::TranslateForm(QStringLiteral("frmCanvas"), &t.form, lang);
    EXPECT_EQ(t.form.windowTitle(), "Test");
    EXPECT_EQ(t.btnOK->text(), "Leinwand");
    EXPECT_EQ(t.lblName->text(), "Name") << "not in frmCanvas";
}

TEST_F(Translate, WithoutLanguageFileNothingChanges)
{
    TestForm t;
    TLanguage none;
    glimt::TranslateForm(&t.form, none);
    EXPECT_EQ(t.form.windowTitle(), "Test");
    EXPECT_EQ(t.btnOK->text(), "OK");
    EXPECT_EQ(t.cmbStyle->itemText(2), "Dots");
}

// Two top items with sub-menus, the first holding an item with a sub-menu of its own, then a
// tool bar-like list: the lists are numbered 1 (top), 2 (File), 3 (Recent), 4 (Edit), 5 (Tools),
// 6 (the second bar), 7 (its drop-down).
TEST_F(Translate, MenuListsAreNumberedDepthFirst)
{
    QWidget form;
    form.setObjectName("frmMain");
    auto* bar = new QMenuBar(&form);
    QMenu* file = bar->addMenu("&File");
    QMenu* recent = file->addMenu("&Recent");
    recent->addAction("one");
    QMenu* edit = bar->addMenu("&Edit");
    edit->addAction("Undo");
    edit->addSeparator();
    QMenu* tools = edit->addMenu("Tools");
    auto* toolbar = new QWidget(&form);
    toolbar->addAction(new QAction("plain", toolbar));
    QMenu* dropDown = new QMenu("Drop", toolbar);
    toolbar->addAction(dropDown->menuAction());

    auto* manager = new glimt::TActionManager(&form);
    manager->setObjectName("ActionManager1");
    manager->AddActionBar(bar);
    manager->AddActionBar(toolbar);
    glimt::TranslateForm(&form, lang);

    EXPECT_EQ(file->title(), "&Datei");
    EXPECT_EQ(recent->title(), "&Zuletzt");
    EXPECT_EQ(edit->title(), "&Bearbeiten");
    EXPECT_EQ(tools->title(), "Werkzeugleiste") << "separators count as items: Tools is item 2 of list 4";
    EXPECT_EQ(dropDown->title(), "Drop") << "3-1 and 6-1 differ: the second bar's drop-down has no key";
    EXPECT_EQ(lang.MenuCounter, 7);

    // The count restarts with every translation.
    glimt::TranslateActionBars({bar}, lang);
    EXPECT_EQ(lang.MenuCounter, 5);
}
