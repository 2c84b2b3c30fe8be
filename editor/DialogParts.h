#pragma once
#include "editor/FormBuilder.h"

#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

class QCheckBox;
class QDialog;
class QPushButton;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace glimt {

// The white strip at the top of the program's dialogs: the banner picture at the right, a bold
// title and a line of help below it. Object names "Panel3", "Image4", "lblCaption", "lblHelp".
struct TDialogHeader {
    QFrame* Panel3 = nullptr;
    QLabel* Image4 = nullptr;
    QLabel* lblCaption = nullptr;
    QLabel* lblHelp = nullptr;

    // Makes the strip in `dialog`, `width` pixels wide.
    void Create(QWidget* dialog, const QString& caption, const QString& help, int width);
    // Stretches the strip to a new dialog width.
    void Place(int width);
};

// Runs `body`; a failure that leaves it is shown in an error box instead of leaving the
// command, button handler, dialog step or event that ran it (and with it Qt's event loop).
void ReportFailures(const std::function<void()>& body);



// The header strip as the size dialogs make it in one call.
using TDialogBanner = TDialogHeader;
TDialogBanner MakeDialogBanner(QWidget* dialog, int width, const QString& title, const QString& help);

// The OK and Cancel buttons of a dialog at (x, y), 75 x 25 each: Enter anywhere presses OK,
// which closes the dialog when `ok` returns true; Cancel and Escape close it unchanged.
void MakeOkCancel(QDialog* dialog, int x, int y, const std::function<bool()>& ok, QPushButton*& btnOK,
    QPushButton*& btnCancel);

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
// children of `group` into `controls`, and write the chosen size into the owner's two fields;
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
