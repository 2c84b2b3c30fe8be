// The View commands that show and hide the bars, the grid and the side bar, the language menu
// with the switch of the whole user interface to another language file, and the Help commands.
#include "shell/formMain.h"

#include "editor/Translate.h"
#include "editor/formDesk.h"
#include "engine/Settings.h"
#include "engine/language.h"
#include "shell/About.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

void TfrmMain::CreateViewActions()
{
    const QString view = QStringLiteral("View");
    auto checkable = [this](const char* name, const QString& caption, const QString& category,
                            const std::function<void()>& handler) {
        QAction* a = AddAction(name, caption, category, handler);
        a->setCheckable(true);
        return a;
    };
    checkable("acttoolbar", tr("Main Toolbar"), view, [this] { ShowBar(m_toolBar, "acttoolbar"); });
    checkable("actnStatusbar", tr("Statusbar"), view, [this] { ShowBar(statusBar(), "actnStatusbar"); });
    checkable("actnWindowToolbar", tr("Local Toolbar"), view, [this] { actnWindowToolbarExecute(); });
    QAction* a = checkable("actnGrid", tr("Grid"), view, [this] { actnGridExecute(); });
    a->setToolTip(tr("Show/Hide Grid"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    a = checkable("actSideBar", tr("Side Bar"), view, [this] { actSideBarExecute(); });
    a->setToolTip(tr("Show/Hide Side Bar"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));

    const QString help = QStringLiteral("Help");
    a = AddAction("actHelp", tr("Glimt Help"), help, [this] { actHelpExecute(); });
    a->setShortcut(QKeySequence(Qt::Key_F1));
    a = AddAction("actHomepage", tr("Glimt Home Page"), help, [this] { actHomepageExecute(); });
    a->setEnabled(!glimt::HomePageAddress().isEmpty());
    AddAction("actnAbout", tr("About..."), help, [this] { actnAboutExecute(); });

    OpenUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

void TfrmMain::RestoreViewLayout()
{
    const TOptions& o = Options();
    Action(QStringLiteral("acttoolbar"))->setChecked(o.ToolbarVisible);
    m_toolBar->setVisible(o.ToolbarVisible);
    Action(QStringLiteral("actnStatusbar"))->setChecked(o.StatusbarVisible);
    statusBar()->setVisible(o.StatusbarVisible);
    Action(QStringLiteral("actnWindowToolbar"))->setChecked(o.LocalToolbarVisible);
    Action(QStringLiteral("actnGrid"))->setChecked(o.GridVisible);
    Action(QStringLiteral("actSideBar"))->setChecked(o.SidebarVisible);
}

void TfrmMain::ShowBar(QWidget* bar, const char* actionName)
{
    const bool visible = Action(QString::fromLatin1(actionName))->isChecked();
    bar->setVisible(visible);
    if (bar == m_toolBar)
        Options().ToolbarVisible = !bar->isHidden();
    else
        Options().StatusbarVisible = !bar->isHidden();
    // The work area takes the bar's room now, not when the layout next runs.
    if (layout())
        layout()->activate();
    FormResize();
    UpdateDocking();
}

void TfrmMain::actnWindowToolbarExecute()
{
    const bool visible = Action(QStringLiteral("actnWindowToolbar"))->isChecked();
    Options().LocalToolbarVisible = visible;
    for (int slot = 1; slot <= m_deskCount; ++slot) {
        TfrmDesk* desk = Desks[std::size_t(slot)];
        if (desk->CoolBar1)
            desk->CoolBar1->setVisible(visible);
        desk->CenterImage();
    }
}

namespace {

// Flips a document-window setting of TOptions, checks its action after it and hands it to
// every open document window.
void ToggleDeskSetting(TfrmMain& main, bool& setting, const char* actionName, void (TfrmDesk::*apply)(bool))
{
    setting = !setting;
    main.Action(QString::fromLatin1(actionName))->setChecked(setting);
    for (int slot = 1; slot <= main.DeskCount(); ++slot)
        (main.Desk(slot)->*apply)(setting);
}

} // namespace

void TfrmMain::actnGridExecute()
{
    ToggleDeskSetting(*this, Options().GridVisible, "actnGrid", &TfrmDesk::SetGrid);
}

void TfrmMain::actSideBarExecute()
{
    ToggleDeskSetting(*this, Options().SidebarVisible, "actSideBar", &TfrmDesk::SetSideBar);
}

// ---------------------------------------------------------------------------------------------
// Languages

void TfrmMain::BuildLanguageMenu()
{
    QMenu* menu = Menu(QStringLiteral("Languages"));
    for (QAction* a : m_languageActions) {
        menu->removeAction(a);
        a->deleteLater();
    }
    m_languageActions.clear();
    for (const QString& caption : glimt::LanguageNames(m_programFolder)) {
        // The caption names the file; an "&" in it is no access key.
        auto* action = new QAction(QString(caption).replace(QLatin1Char('&'), QLatin1String("&&")), this);
        action->setData(caption);
        action->setProperty("category", QStringLiteral("Languages"));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this,
                [this, action] { RunCommand(action, [this, action] { actLanguageExecute(action); }); });
        menu->addAction(action);
        m_languageActions.append(action);
        if (Options().Language == caption)
            actLanguageExecute(action);
    }
}

void TfrmMain::actLanguageExecute(QAction* sender)
{
    for (QAction* a : m_languageActions)
        a->setChecked(false);
    sender->setChecked(true);
    Options().Language = sender->data().toString();
    LoadLanguage();
}

void TfrmMain::LoadLanguage()
{
    Lang().SetFileName(glimt::LanguageFileName(m_programFolder, Options().Language));
    glimt::TranslateForm(this);
    // Windows of their own (dialogs made without a parent) are translated too; those below
    // this window were met above.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && !w->parentWidget() && w->objectName().startsWith(QLatin1String("frm")))
            glimt::TranslateForm(w);
    for (int slot = 1; slot <= m_deskCount; ++slot) {
        TfrmDesk* desk = Desks[std::size_t(slot)];
        glimt::TranslateForm(QStringLiteral("frmCanvas"), desk);
        // An untitled window takes the new language's word for "Untitled", with its number.
        if (desk->FilePath().isEmpty())
            desk->SetUntitled(desk->UntitledNumber());
        desk->FillImageCombo(true);
    }
    TranslateDialogFilters();
    BuildWindowMenu();
}

// ---------------------------------------------------------------------------------------------
// Help

QString TfrmMain::HelpFileName() const
{
    const QDir folder(QDir(m_programFolder).filePath(QStringLiteral("Help")));
    const QString name = Options().Language + QStringLiteral(".chm");
    if (QFileInfo::exists(folder.filePath(name)))
        return folder.filePath(name);
    return folder.filePath(QStringLiteral("english.chm"));
}

void TfrmMain::actHelpExecute()
{
    if (OpenUrl)
        OpenUrl(QUrl::fromLocalFile(HelpFileName()));
}

void TfrmMain::actHomepageExecute()
{
    if (OpenUrl && !glimt::HomePageAddress().isEmpty())
        OpenUrl(QUrl(glimt::HomePageAddress()));
}

void TfrmMain::actnAboutExecute()
{
    if (m_frmAbout)
        m_frmAbout->exec();
}
