#pragma once
#include "editor/DialogParts.h"
#include "editor/thumbnail.h"

#include <QDialog>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class TfrmMain;

// The extract dialog: lists the icons of an executable, library, icon library or animated
// cursor as thumbnails and turns each picked icon into a new untitled document. An icon group
// is copied exactly, with all its images; where the file holds no group that can be copied,
// the 32 x 32 picture the shell draws is taken instead, after one warning. Created once by
// the main window and reused; the caller sets FileName before showing it.
class TfrmExtract : public QDialog {
    Q_OBJECT
public:
    explicit TfrmExtract(TfrmMain* main);

    QString FileName;
    TThumbail* Thumbnails = nullptr;
    // Whether the last icon was copied as its whole group.
    bool GroupExtracted = false;

    // Lists the icons of FileName; the first starts selected.
    void FormShow();
    // Makes a document of every selected icon, in the order of selection; closes the dialog.
    void btnExtractClick();

    glimt::TDialogHeader Header;
    QLabel* lblNoIcon = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* btnExtract = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TfrmMain* m_main;
    // The icon each tile stands for, as listed.
    std::vector<glimt::TListedIcon> m_listed;
};
