// Options > Preferences: the command that shows the preferences dialog, and the refresh of the
// look after it.
#include "shell/formMain.h"

#include "editor/EditorHost.h"
#include "editor/formDesk.h"
#include "shell/formOptions.h"

#include <QAction>

void TfrmMain::CreateOptionsActions()
{
    QAction* a = AddAction("actPreferences", tr("Preferences..."), QStringLiteral("Options"), [this] {
        m_frmOptions->exec();
    });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
}

void TfrmMain::RedrawDocuments()
{
    glimt::IToolEngine* tools = glimt::ToolEngine();
    for (int slot = 1; slot <= m_deskCount; ++slot) {
        TfrmDesk* desk = Desks[std::size_t(slot)];
        if (TmyImagePal* image = desk ? desk->CurrentImage() : nullptr) {
            desk->ShowImage(*image);
            if (tools && tools->SelectionDocumentSlot() == slot)
                desk->RefreshSelection();
        }
    }
}
