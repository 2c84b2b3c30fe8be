#pragma once
#include "editor/ToolEngine.h"

#include <QDialog>
#include <QImage>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The Text tool's dialog: a font, a size, four styles and one line of text, with a preview.
// Created once and reused; the controls keep the last choice between showings.
class TfrmText : public QDialog {
    Q_OBJECT
public:
    explicit TfrmText(QWidget* parent = nullptr);

    // False when the dialog is shown, true after OK.
    bool Accepted = false;

    // Shows the dialog modally; true when the user accepted a usable choice, which is then in
    // `text`.
    bool Execute(glimt::TTextChoice& text);
    // The controls' choice; false when the size box holds no whole number from 1 up.
    bool Choice(glimt::TTextChoice& text) const;

    // The dialog's steps, as the controls run them.
    void FormShow();
    void FillFontList();
    void UpdatePreview();
    // A change of the font, the size or the text, and a click of a style button.
    void cmbfontChange();
    void btnBoldClick();
    void btnOKClick();
    void btnCancelClick();

    // The preview picture shown in Image1 (329 x 57, white, the text centred in black).
    const QImage& Preview() const { return m_preview; }

    // --- controls (object names are the component names) -------------------------------
    QFrame* Panel3 = nullptr;
    QLabel* Image4 = nullptr;
    QLabel* lblCaption = nullptr;
    QLabel* lblHelp = nullptr;
    QFrame* Bevel3 = nullptr;
    QGroupBox* grpText = nullptr;
    QLabel* lblFont = nullptr;
    QComboBox* cmbfont = nullptr;
    QLabel* lblSize = nullptr;
    QComboBox* cmbSize = nullptr;
    QLabel* lblText = nullptr;
    QLineEdit* edtText = nullptr;
    QToolButton* btnBold = nullptr;
    QToolButton* btnItalic = nullptr;
    QToolButton* btnUnderLine = nullptr;
    QToolButton* btnStrike = nullptr;
    QGroupBox* grpPreview = nullptr;
    QLabel* Image1 = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QImage m_preview;
};
