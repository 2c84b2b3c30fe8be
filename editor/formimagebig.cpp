#include "editor/formimagebig.h"

#include "engine/Settings.h"

TfrmImageBig::TfrmImageBig(QWidget* parent)
    : TChoiceDialog(parent,
                    {"frmImageBig", "lblMsg", "The image is too big!", "rbResize", "Resize", "rbCrop", "Crop",
                     "Button1"},
                    Options().ClipboardAction)
{
    rbResize = rbFirst;
    rbCrop = rbSecond;
    Button1 = OKButton;
}
