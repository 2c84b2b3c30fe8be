#include "editor/formChangepal.h"

#include "engine/Settings.h"

TfrmChangePal::TfrmChangePal(QWidget* parent)
    : TChoiceDialog(parent,
                    {"frmChangePal", "lblMsg", "The palette is about to be changed !", "rbChange",
                     "Change the palette (Better image quality)", "rbNotChange", "Don't change the palette",
                     "btnOK"},
                    Options().PaletteAction)
{
    rbChange = rbFirst;
    rbNotChange = rbSecond;
    btnOK = OKButton;
}
