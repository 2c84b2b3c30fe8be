#pragma once
#include "editor/DialogParts.h"
#include "shell/BatchConvert.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTextEdit;
class TThumbail;
class TmyImagePal;

// The batch dialog: a list of files converted in one of three modes into one output folder,
// with a coloured log and a progress bar. The conversion itself is glimt::RunBatch; the dialog
// reads its controls into a job, runs it, and shows what the run reports. Created once and
// reused; the mode, the formats, the folder and the picture format keep their values.
class TfrmBatch : public QDialog, private glimt::IBatchLog {
    Q_OBJECT
public:
    explicit TfrmBatch(QWidget* parent = nullptr);

    // Set by Stop during a run, and once a run has ended (OK then reads "Close").
    bool StopRequested = false;

    // Preset the mode and the list with the selected files of a view (selection order), keeping
    // the files the mode takes.
    void PrepareIconsFromImages(const TThumbail& thumbnails);
    void PrepareImagesFromIcons(const TThumbail& thumbnails);
    // Loads a picture, icon or cursor as a square picture at the image's size; the failure's
    // text, or "" on success.
    static QString LoadImageFile(TmyImagePal& image, const QString& fileName);

    // The job the controls describe.
    glimt::TBatchJob Job() const;
    QStringList Files() const;
    void AddFiles(const QStringList& files);

    // Refused while a run is going on: only Stop ends a run.
    void reject() override;

    void FormShow();
    void btnOKClick();
    void btnCancelClick();
    void rbIconImageClick();
    void rbImageIconClick();
    void rbResIconClick();
    void btnAddClick();
    void btnRemoveClick();
    void btnClearClick();
    void btnBrowseClick();
    void edtDirChange();
    void ShowImageFormats(bool show);
    void ShowOutputFormat(bool show);
    void ShowRunning(bool show);
    void UpdateFileCount();

    glimt::TDialogHeader Header;
    QGroupBox* grpAction = nullptr;
    QRadioButton* rbIconImage = nullptr;
    QRadioButton* rbImageIcon = nullptr;
    QRadioButton* rbResIcon = nullptr;
    QGroupBox* grpFiles = nullptr;
    QListWidget* lbFiles = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnRemove = nullptr;
    QPushButton* btnClear = nullptr;
    QLabel* lblNumber = nullptr;
    QLabel* lblFileNumber = nullptr;
    QGroupBox* grpFormats = nullptr;
    // Rows 32, 8 and 4 bits; columns 16, 24, 32, 48 and 256 pixels.
    QCheckBox* Formats[3][5] = {};
    QGroupBox* grpDir = nullptr;
    QLineEdit* edtDir = nullptr;
    QPushButton* btnBrowse = nullptr;
    QLabel* lblOutput = nullptr;
    QComboBox* cmbOutput = nullptr;
    QFrame* Bevel1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QTextEdit* reResult = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void LogSuccess(const QString& name, const QString& reason) override;
    void LogWarning(const QString& name, const QString& reason) override;
    void LogError(const QString& name, const QString& reason) override;
    void LogProcessing(const QString& counter, const QString& file) override;
    void LogMessage(const QString& text) override;
    void StepProgress() override;
    void ProcessMessages() override;
    bool ShouldStop() override { return StopRequested; }
    void AddLine(const QString& text, const QColor& color);
    void SetMode(QRadioButton* mode);
    void Prepare(QRadioButton* mode, const TThumbail& thumbnails);

    glimt::TBatchMode m_mode = glimt::TBatchMode::IconsFromImages;
    QString m_filter;
    int m_filterIndex = 0;
    bool m_running = false;
};
