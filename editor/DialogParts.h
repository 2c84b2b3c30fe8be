#pragma once
#include "editor/FormBuilder.h"

#include <QLineEdit>
#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

class QCheckBox;
class QDialog;
class QPushButton;
class QFrame;
class QLabel;
class QBoxLayout;
class QHBoxLayout;
class QVBoxLayout;
class QRadioButton;

namespace glimt {

// The white strip at the top of the program's dialogs: a bold title with a line of help below
// it, the banner picture behind them, its decoration at the right end. Object names "Panel3",
// "Image4", "lblCaption", "lblHelp".
struct TDialogHeader {
    QFrame* Panel3 = nullptr;
    QLabel* Image4 = nullptr;
    QLabel* lblCaption = nullptr;
    QLabel* lblHelp = nullptr;

    // Makes the strip in `dialog`: at least `width` pixels wide (the dialog's designed width)
    // and 48 high, wider and higher when its texts or its font ask for it. Without `help`
    // there is no lblHelp and the title stands in the middle of the strip. The banner is drawn
    // for the strip's size and the screen's pixel density.
    void Create(QWidget* dialog, const QString& caption, const QString& help, int width);
};

// Runs `body`; a failure that leaves it is shown in an error box instead of leaving the
// command, button handler, dialog step or event that ran it (and with it Qt's event loop).
void ReportFailures(const std::function<void()>& body);

// The header strip as the size dialogs make it in one call.
using TDialogBanner = TDialogHeader;
TDialogBanner MakeDialogBanner(QWidget* dialog, int width, const QString& title, const QString& help);

// How a dialog sizes itself.
enum class TDialogSizing {
    Fixed,    // always the size its contents ask for; the user does not resize it
    Resizable // at least the size its contents ask for; the user may make it larger
};

// Lays `dialog` out from the top: the header strip (when given) across the whole width, then
// the dialog's own controls in the returned layout, which keeps the usual margins around
// them. The dialog takes its size from its contents, so that it grows with its texts (a
// translation) and its font, and is never smaller than `least` (its designed client size).
QVBoxLayout* MakeDialogLayout(QDialog* dialog, TDialogHeader* header, QSize least = {},
                              TDialogSizing sizing = TDialogSizing::Fixed);
// A new designed size for a dialog laid out by MakeDialogLayout (for one that shows or hides
// a part of itself).
void SetDialogLeastSize(QDialog* dialog, QSize least);

// A row that holds `widgets` at its right end, added to `layout`.
QHBoxLayout* AddButtonRow(QBoxLayout* layout, std::initializer_list<QWidget*> widgets);

// The OK and Cancel buttons of a dialog, at least 75 x 25 each (the caller places them):
// Enter anywhere presses OK, which closes the dialog when `ok` returns true; Cancel and
// Escape close it unchanged.
void MakeOkCancel(QDialog* dialog, const std::function<bool()>& ok, QPushButton*& btnOK, QPushButton*& btnCancel);

// A line edit for a number of up to `digits` characters: as wide as they are in its own font,
// and never narrower than `least` pixels (the designed width); without a frame, as high as
// its text.
class TNumberEdit : public QLineEdit {
public:
    TNumberEdit(const QString& text, QWidget* parent, int digits = 3, int least = 0);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int m_digits;
    int m_least;
};

// The controls of the size choice, by their component names.
struct TSizeControls {
    QRadioButton* rb16 = nullptr;
    QRadioButton* rb24 = nullptr;
    QRadioButton* rb32 = nullptr;
    QRadioButton* rb48 = nullptr;
    QRadioButton* rb256 = nullptr;
    QRadioButton* rbCustom = nullptr;
    QLabel* lblWidth = nullptr;
    QLineEdit* edtWidth = nullptr;
    QLabel* lblHeight = nullptr;
    QLineEdit* edtHeight = nullptr;
    QCheckBox* cbSquare = nullptr;
};

// The size choice of the new-image and dimension dialogs: five square standard sizes and a
// custom width and height of 1 to 256 cells, kept square when asked. The controls are made as
// children of `group` into `controls`, in a layout of the group's own, and write the chosen size into the owner's two fields;
// the owner's fields must outlive this object.
class TSizeChoice : public QObject {
public:
    TSizeChoice(QWidget* group, TSizeControls& controls, int& newWidth, int& newHeight);

    // Any of the six radio buttons: the edits are usable only for the custom size; the size
    // follows the checked button (for the custom size, the edits that hold a number).
    void RadioClick();
    void edtWidthChange();
    void edtHeightChange();

protected:
    // The edits take only digits and editing keys, and select their whole text on a click.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Corrects the edit into 1..256 and copies it into the other edit when square; returns the
    // value, or -1 when the text is empty, not a number, or was just corrected.
    int CorrectSizeEdit(QLineEdit* edit, QLineEdit* other);

    TSizeControls& m_controls;
    int& m_width;
    int& m_height;
};

} // namespace glimt
