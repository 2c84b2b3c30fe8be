// The long-lived dialogs, made once with the main window in the program's creation order (as
// its children, so that they are translated with it) and kept for the whole run: the questions
// of the core keep their last answer for the next question.
#include "shell/formMain.h"

#include "editor/formChangepal.h"
#include "editor/formimagebig.h"
#include "shell/formOptions.h"

void TfrmMain::CreateDialogs()
{
    m_frmOptions = new TfrmOptions(this);
    m_frmChangePal = new TfrmChangePal(this);
    m_frmImageBig = new TfrmImageBig(this);
}
