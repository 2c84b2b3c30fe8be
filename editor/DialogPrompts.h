#pragma once
#include "engine/Prompts.h"

#include <QPointer>

class TfrmChangePal;
class TfrmImageBig;

namespace glimt {

// The core's two questions answered by the program's own dialogs: the change-palette dialog
// and the image-too-big dialog, shown modally. The dialogs are made and owned by the main
// window; until they are handed over (or after they are gone) a question takes its first
// answer, 0. Messages, confirmations and the frame picker are left to the implementation.
class TDialogPrompts : public IPrompts {
public:
    void SetDialogs(TfrmChangePal* changePal, TfrmImageBig* imageBig);

    int AskChangePalette() override;
    int AskImageTooBig() override;

private:
    QPointer<TfrmChangePal> m_changePal;
    QPointer<TfrmImageBig> m_imageBig;
};

} // namespace glimt
