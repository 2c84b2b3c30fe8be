#include "editor/DialogPrompts.h"

#include "editor/formChangepal.h"
#include "editor/formimagebig.h"

namespace glimt {

void TDialogPrompts::SetDialogs(TfrmChangePal* changePal, TfrmImageBig* imageBig)
{
    m_changePal = changePal;
    m_imageBig = imageBig;
}

int TDialogPrompts::AskChangePalette()
{
    return m_changePal ? m_changePal->Ask() : 0;
}

int TDialogPrompts::AskImageTooBig()
{
    return m_imageBig ? m_imageBig->Ask() : 0;
}

} // namespace glimt
