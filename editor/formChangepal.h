#pragma once
#include "editor/ChoiceDialog.h"

// The change-palette question of operations on indexed images: Choice 0 changes the palette to
// fit the new colours, 1 keeps it. "Use this setting as default" stores the answer in
// TOptions.PaletteAction, so that it is not asked again.
class TfrmChangePal : public glimt::TChoiceDialog {
    Q_OBJECT
public:
    explicit TfrmChangePal(QWidget* parent = nullptr);

    QRadioButton* rbChange = nullptr;
    QRadioButton* rbNotChange = nullptr;
    QPushButton* btnOK = nullptr;

    void rbChangeClick() { RadioClick(); }
    void btnOKClick() { OKClick(); }
};
