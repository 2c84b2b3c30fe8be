// The dialogs through which the core asks its questions, made once with the main window (as
// its children, so that they are translated with it) and kept for the whole run: each keeps
// its last answer for the next question.
#include "shell/formMain.h"

#include "editor/formChangepal.h"
#include "editor/formimagebig.h"

void TfrmMain::CreatePromptDialogs()
{
    m_frmChangePal = new TfrmChangePal(this);
    m_frmImageBig = new TfrmImageBig(this);
}
