#include "shell/formMain.h"

#include "editor/formProperties.h"

#include <QAction>

void TfrmMain::CreatePropertiesActions()
{
    QAction* a = AddAction("actnProp", tr("Properties..."), QStringLiteral("View"), [this] { actnPropExecute(); });
    a->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Return));
}

TfrmProperties* TfrmMain::PropertiesDialog()
{
    if (!m_frmProperties)
        m_frmProperties = new TfrmProperties(this);
    return m_frmProperties;
}

void TfrmMain::actnPropExecute()
{
    TfrmDesk* desk = ActiveDesk();
    if (!desk)
        return;
    TfrmProperties* dialog = PropertiesDialog();
    dialog->ShowFor(desk);
    dialog->exec();
    dialog->ShowFor(nullptr);
}
