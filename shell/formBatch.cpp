#include "shell/formBatch.h"

#include "editor/DialogParts.h"
#include "editor/Translate.h"
#include "editor/UserDialogs.h"
#include "editor/thumbnail.h"
#include "engine/Settings.h"
#include "engine/language.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QVBoxLayout>

using glimt::Make;
using glimt::Msg;

namespace {

// The output folder a new dialog offers, and the one an emptied edit falls back to.
QString DefaultFolder()
{
    return QDir::homePath();
}

constexpr int ClientWidth = 607;

} // namespace

TfrmBatch::TfrmBatch(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBatch"));
    setWindowTitle(QStringLiteral("Batch Process"));
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::MSWindowsFixedSizeDialogHint);

    Header.Create(this, QStringLiteral("Batch Process"), QStringLiteral("Process multiple images/icons"), ClientWidth);
    QVBoxLayout* layout = glimt::MakeDialogLayout(this, &Header, QSize(ClientWidth, 456));

    // The four groups, one below the other; the log of a run lies over them.
    auto* groups = new QWidget(this);
    auto* groupsLayout = new QVBoxLayout(groups);
    groupsLayout->setContentsMargins(0, 0, 0, 0);

    grpAction = Make<QGroupBox>(groups, "grpAction", QStringLiteral(" Action to perform "));
    auto* action = new QHBoxLayout(grpAction);
    rbIconImage = Make<QRadioButton>(grpAction, "rbIconImage", QStringLiteral("Create icons from Images"));
    rbImageIcon = Make<QRadioButton>(grpAction, "rbImageIcon", QStringLiteral("Create images from icons"));
    rbResIcon = Make<QRadioButton>(grpAction, "rbResIcon", QStringLiteral("Extract icons from resources"));
    for (QRadioButton* rb : {rbIconImage, rbImageIcon, rbResIcon})
        action->addWidget(rb, 1);
    rbIconImage->setChecked(true);
    groupsLayout->addWidget(grpAction);

    grpFiles = Make<QGroupBox>(groups, "grpFiles", QStringLiteral(" Files to process "));
    auto* files = new QHBoxLayout(grpFiles);
    lbFiles = new QListWidget(grpFiles);
    lbFiles->setObjectName(QStringLiteral("lbFiles"));
    lbFiles->setMinimumSize(470, 120);
    lbFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    files->addWidget(lbFiles, 1);
    auto* fileButtons = new QVBoxLayout;
    btnAdd = Make<QPushButton>(grpFiles, "btnAdd", QStringLiteral("Add..."));
    btnRemove = Make<QPushButton>(grpFiles, "btnRemove", QStringLiteral("Remove"));
    btnClear = Make<QPushButton>(grpFiles, "btnClear", QStringLiteral("Clear"));
    for (QPushButton* b : {btnAdd, btnRemove, btnClear}) {
        b->setMinimumSize(90, 25);
        fileButtons->addWidget(b);
    }
    fileButtons->addStretch(1);
    lblNumber = Make<QLabel>(grpFiles, "lblNumber", QStringLiteral("File Number"));
    lblFileNumber = Make<QLabel>(grpFiles, "lblFileNumber", QStringLiteral("0"));
    fileButtons->addWidget(lblNumber);
    fileButtons->addWidget(lblFileNumber);
    files->addLayout(fileButtons);
    groupsLayout->addWidget(grpFiles, 1);

    grpFormats = Make<QGroupBox>(groups, "grpFormats", QStringLiteral(" Image formats "));
    auto* formats = new QGridLayout(grpFormats);
    formats->setVerticalSpacing(2);
    static const char* const rowLabels[3][2] = {{"lblXP", "XP Colors"}, {"lbl256", "256 Colors"}, {"lbl16", "16 Colors"}};
    static const char* const columns[5] = {"16 x 16", "24 x 24", "32 x 32", "48 x 48", "256 x 256"};
    static const char* const boxNames[3][5] = {{"cbXP16", "cbXP24", "cbXP32", "cbXP48", "cbXP256"},
                                               {"cb25616", "cb25624", "cb25632", "cb25648", "cb256256"},
                                               {"cb1616", "cb1624", "cb1632", "cb1648", "cb16256"}};
    static const bool checked[3][5] = {{true, false, true, true, true}, {true, false, true, true, false},
                                       {true, false, true, false, false}};
    for (int row = 0; row < 3; ++row) {
        auto* label = Make<QLabel>(grpFormats, rowLabels[row][0], QString::fromLatin1(rowLabels[row][1]));
        label->setMinimumWidth(100);
        formats->addWidget(label, row, 0);
        for (int col = 0; col < 5; ++col) {
            Formats[row][col] = Make<QCheckBox>(grpFormats, boxNames[row][col], QString::fromLatin1(columns[col]));
            Formats[row][col]->setChecked(checked[row][col]);
            formats->addWidget(Formats[row][col], row, col + 1);
        }
    }
    groupsLayout->addWidget(grpFormats);

    grpDir = Make<QGroupBox>(groups, "grpDir", QStringLiteral(" Output directory "));
    auto* dir = new QHBoxLayout(grpDir);
    edtDir = Make<QLineEdit>(grpDir, "edtDir", DefaultFolder());
    btnBrowse = Make<QPushButton>(grpDir, "btnBrowse", QStringLiteral("Browse..."));
    btnBrowse->setMinimumSize(80, 26);
    lblOutput = Make<QLabel>(grpDir, "lblOutput", QStringLiteral("File format"));
    cmbOutput = new QComboBox(grpDir);
    cmbOutput->setObjectName(QStringLiteral("cmbOutput"));
    cmbOutput->setMinimumWidth(80);
    cmbOutput->addItems({QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("png"), QStringLiteral("gif")});
    cmbOutput->setCurrentIndex(0);
    dir->addWidget(edtDir, 1);
    dir->addWidget(btnBrowse);
    dir->addSpacing(6);
    dir->addWidget(lblOutput);
    dir->addWidget(cmbOutput);
    groupsLayout->addWidget(grpDir);

    reResult = new QTextEdit(this);
    reResult->setObjectName(QStringLiteral("reResult"));
    reResult->setReadOnly(true);
    reResult->setLineWrapMode(QTextEdit::NoWrap);
    reResult->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reResult->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reResult->hide();
    auto* stack = new QGridLayout;
    stack->addWidget(groups, 0, 0);
    stack->addWidget(reResult, 0, 0);
    layout->addLayout(stack, 1);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    layout->addWidget(Bevel1);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFixedWidth(400);
    ProgressBar1->hide();
    glimt::MakeOkCancelButtons(this, btnOK, btnCancel);
    glimt::AddButtonRow(layout, {btnOK, btnCancel})->insertWidget(0, ProgressBar1);

    connect(rbIconImage, &QRadioButton::clicked, this, &TfrmBatch::rbIconImageClick);
    connect(rbImageIcon, &QRadioButton::clicked, this, &TfrmBatch::rbImageIconClick);
    connect(rbResIcon, &QRadioButton::clicked, this, &TfrmBatch::rbResIconClick);
    connect(btnAdd, &QPushButton::clicked, this, &TfrmBatch::btnAddClick);
    connect(btnRemove, &QPushButton::clicked, this, &TfrmBatch::btnRemoveClick);
    connect(btnClear, &QPushButton::clicked, this, &TfrmBatch::btnClearClick);
    connect(btnBrowse, &QPushButton::clicked, this, &TfrmBatch::btnBrowseClick);
    connect(edtDir, &QLineEdit::textChanged, this, &TfrmBatch::edtDirChange);
    connect(btnOK, &QPushButton::clicked, this, &TfrmBatch::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmBatch::btnCancelClick);

    rbIconImageClick();
    glimt::TranslateForm(this);
}

// ---------------------------------------------------------------------------------------------
// Layout

void TfrmBatch::ShowImageFormats(bool show)
{
    grpFormats->setVisible(show);
    glimt::SetDialogLeastSize(this, QSize(ClientWidth, show ? 456 : 360));
}

void TfrmBatch::ShowOutputFormat(bool show)
{
    lblOutput->setVisible(show);
    cmbOutput->setVisible(show);
}

void TfrmBatch::ShowRunning(bool show)
{
    reResult->setVisible(show);
    ProgressBar1->setVisible(show);
    if (show) {
        reResult->raise();
        reResult->clear();
    }
    for (QGroupBox* g : {grpAction, grpFiles, grpFormats, grpDir})
        g->setEnabled(!show);
}

void TfrmBatch::UpdateFileCount()
{
    lblFileNumber->setText(QString::number(lbFiles->count()));
    btnOK->setEnabled(lbFiles->count() > 0);
}

// ---------------------------------------------------------------------------------------------
// Showing and the buttons

void TfrmBatch::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmBatch::FormShow()
{
    btnCancel->setEnabled(true);
    UpdateFileCount();
    ShowRunning(false);
    StopRequested = false;
    btnOK->setText(Msg("msgOK", "OK"));
}

void TfrmBatch::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (btnOK->isEnabled())
            btnOK->click();
        return;
    }
    // Escape is Cancel: before a run it clears the list and closes; once Cancel is off (from
    // the first OK on) it does nothing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (btnCancel->isEnabled())
            btnCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// A run in progress ends only by Stop: Escape and the close box wait for it.
void TfrmBatch::reject()
{
    if (!m_running)
        QDialog::reject();
}

void TfrmBatch::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmBatch::btnOKClick()
{
    if (lbFiles->count() == 0)
        return;
    // A folder that cannot take the files is said once, before anything runs.
    if (reResult->isHidden()) {
        if (const QString problem = glimt::OutputFolderProblem(edtDir->text()); !problem.isEmpty()) {
            glimt::UserDialogs().Warning(problem);
            return;
        }
    }
    btnCancel->setEnabled(false);
    if (!reResult->isHidden()) {
        if (!StopRequested) {
            StopRequested = true;
            return;
        }
        btnClearClick();
        accept();
        return;
    }
    ShowRunning(true);
    ProgressBar1->setRange(0, lbFiles->count());
    ProgressBar1->setValue(0);
    btnOK->setText(Msg("msgStop", "Stop"));
    m_running = true;
    struct Running {
        bool& flag;
        ~Running() { flag = false; }
    } running{m_running};
    glimt::RunBatch(Job(), *this);
    if (StopRequested)
        LogMessage(Msg("msgCancelled", "Operation canceled by user!"));
    else
        StopRequested = true;
    btnOK->setText(Msg("msgClose", "Close"));
}

void TfrmBatch::btnCancelClick()
{
    btnClearClick();
    QDialog::reject();
}

// ---------------------------------------------------------------------------------------------
// Modes and the list

void TfrmBatch::SetMode(QRadioButton* mode)
{
    if (!mode->isChecked())
        mode->setChecked(true);
    btnClearClick();
    if (mode == rbIconImage) {
        m_mode = glimt::TBatchMode::IconsFromImages;
        m_filter = QStringLiteral("Bitmaps (*.bmp);;Jpg (*.jpg *.jpeg);;Portable Network Graphic (*.png);;"
                                  "Graphics Interchange Format (*.gif);;Windows Icons (*.ico);;"
                                  "All Formats (*.bmp *.jpg *.jpeg *.png *.gif *.ico)");
        m_filterIndex = 5;
        ShowImageFormats(true);
        ShowOutputFormat(false);
    } else if (mode == rbImageIcon) {
        m_mode = glimt::TBatchMode::ImagesFromIcons;
        m_filter = QStringLiteral("Windows Icons (*.ico)");
        m_filterIndex = 0;
        ShowImageFormats(false);
        ShowOutputFormat(true);
    } else {
        m_mode = glimt::TBatchMode::ExtractFromResources;
        m_filter = QStringLiteral("Any file (*)");
        m_filterIndex = 0;
        ShowImageFormats(false);
        ShowOutputFormat(false);
    }
}

void TfrmBatch::rbIconImageClick()
{
    SetMode(rbIconImage);
}

void TfrmBatch::rbImageIconClick()
{
    SetMode(rbImageIcon);
}

void TfrmBatch::rbResIconClick()
{
    SetMode(rbResIcon);
}

void TfrmBatch::AddFiles(const QStringList& files)
{
    for (const QString& f : files) {
        if (glimt::FileFitsMode(m_mode, f))
            lbFiles->addItem(f);
    }
    UpdateFileCount();
}

QStringList TfrmBatch::Files() const
{
    QStringList files;
    for (int i = 0; i < lbFiles->count(); ++i)
        files.append(lbFiles->item(i)->text());
    return files;
}

void TfrmBatch::btnAddClick()
{
    glimt::TFileRequest request;
    request.title = tr("Open");
    request.filter = m_filter;
    request.filterIndex = m_filterIndex;
    QStringList files;
    if (glimt::UserDialogs().OpenFileNames(request, true, files))
        AddFiles(files);
}

void TfrmBatch::btnRemoveClick()
{
    for (QListWidgetItem* item : lbFiles->selectedItems())
        delete item;
    UpdateFileCount();
}

void TfrmBatch::btnClearClick()
{
    lbFiles->clear();
    UpdateFileCount();
}

void TfrmBatch::btnBrowseClick()
{
    glimt::TFileRequest request;
    request.title = Msg("msgDirSelect", "Select a directory");
    request.directory = edtDir->text();
    QString folder;
    if (glimt::UserDialogs().FolderName(request, folder))
        edtDir->setText(folder);
}

void TfrmBatch::edtDirChange()
{
    if (edtDir->text().isEmpty())
        edtDir->setText(DefaultFolder());
}

void TfrmBatch::Prepare(QRadioButton* mode, const TThumbail& thumbnails)
{
    if (!mode->isChecked())
        SetMode(mode);
    QStringList files;
    for (int i : thumbnails.SelectedIndices) {
        if (i >= 0 && i < thumbnails.Count())
            files.append(thumbnails.Items[std::size_t(i)]->FileName);
    }
    AddFiles(files);
}

void TfrmBatch::PrepareIconsFromImages(const TThumbail& thumbnails)
{
    Prepare(rbIconImage, thumbnails);
}

void TfrmBatch::PrepareImagesFromIcons(const TThumbail& thumbnails)
{
    Prepare(rbImageIcon, thumbnails);
}

QString TfrmBatch::LoadImageFile(TmyImagePal& image, const QString& fileName)
{
    return glimt::LoadImageFile(image, fileName);
}

glimt::TBatchJob TfrmBatch::Job() const
{
    glimt::TBatchJob job;
    job.Mode = m_mode;
    job.Files = Files();
    job.OutputFolder = edtDir->text();
    job.OutputExtension = QLatin1Char('.') + cmbOutput->currentText();
    bool checked[3][5];
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 5; ++col)
            checked[row][col] = Formats[row][col]->isChecked();
    job.Formats = glimt::CheckedFormats(checked);
    job.Compress = Options().Compress;
    return job;
}

// ---------------------------------------------------------------------------------------------
// The log

void TfrmBatch::AddLine(const QString& text, const QColor& color)
{
    QTextCursor cursor(reResult->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(color);
    if (!reResult->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(text, format);
    reResult->setTextCursor(cursor);
    reResult->ensureCursorVisible();
}

void TfrmBatch::LogSuccess(const QString& name, const QString& reason)
{
    AddLine(QStringLiteral("      ") + Msg("msgSuccess", "Success: ") + name + QStringLiteral(" - ") + reason,
            palette().color(QPalette::WindowText));
}

void TfrmBatch::LogWarning(const QString& name, const QString& reason)
{
    AddLine(QStringLiteral("      ") + Msg("msgWarning", "Warning: ") + name + QStringLiteral(" - ") + reason, Qt::blue);
}

void TfrmBatch::LogError(const QString& name, const QString& reason)
{
    AddLine(QStringLiteral("      ") + Msg("msgError", "Error: ") + name + QStringLiteral(" - ") + reason, Qt::red);
}

void TfrmBatch::LogProcessing(const QString& counter, const QString& file)
{
    AddLine(QString(), palette().color(QPalette::WindowText));
    AddLine(counter + Msg("msgProcessing", "- Processing: ") + file + QStringLiteral(" ..."),
            palette().color(QPalette::WindowText));
}

void TfrmBatch::LogMessage(const QString& text)
{
    AddLine(QString(), Qt::blue);
    AddLine(text, Qt::blue);
}

void TfrmBatch::StepProgress()
{
    ProgressBar1->setValue(ProgressBar1->value() + 1);
}

void TfrmBatch::ProcessMessages()
{
    QCoreApplication::processEvents();
}
