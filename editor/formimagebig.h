#pragma once
#include "editor/ChoiceDialog.h"

// The image-too-big question of picture import and paste: Choice 0 resizes the picture to the
// target image, 1 crops it. "Use this setting as default" stores the answer in
// TOptions.ClipboardAction, so that it is not asked again.
class TfrmImageBig : public glimt::TChoiceDialog {
    Q_OBJECT
public:
    explicit TfrmImageBig(QWidget* parent = nullptr);

    QRadioButton* rbResize = nullptr;
    QRadioButton* rbCrop = nullptr;
    QPushButton* Button1 = nullptr;

    void rbResizeClick() { RadioClick(); }
    void Button1Click() { OKClick(); }
};
