#include "shell/formMain.h"

#include "editor/formTools.h"
#include "editor/formbrush.h"

#include <QTimer>

// The brush window lives in the main window, over the work area, and is reused for the whole
// run. The tool window shows and hides it through its BrushOutline hook.
void TfrmMain::CreateBrushWindow()
{
    m_frmBrush = new TfrmBrush(this);
    if (m_frmTools)
        glimt::ConnectBrushOutline(*m_frmTools, *m_frmBrush);
}

void TfrmMain::StopBrushWindow()
{
    if (m_frmBrush)
        m_frmBrush->Timer1->stop();
}
