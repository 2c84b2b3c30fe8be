#include "shell/formExtract.h"

#include "editor/Translate.h"
#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "engine/MyIcoIO.h"
#include "engine/ShellIcons.h"
#include "engine/language.h"
#include "engine/myextract.h"
#include "engine/myimport.h"
#include "engine/myUndo.h"
#include "shell/formMain.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmExtract::TfrmExtract(TfrmMain* main) : QDialog(main), m_main(main)
{
    setObjectName(QStringLiteral("frmExtract"));
    setWindowTitle(QStringLiteral("Extract"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    Header.Create(this, QStringLiteral("Extract"), QStringLiteral("Extract icon from files"), 341);
    QVBoxLayout* layout = glimt::MakeDialogLayout(this, &Header, QSize(341, 362), glimt::TDialogSizing::Resizable);
    layout->setContentsMargins(0, 0, 0, 0);

    lblNoIcon = new QLabel(QStringLiteral("No icons in the file"), this);
    lblNoIcon->setObjectName(QStringLiteral("lblNoIcon"));
    lblNoIcon->setAlignment(Qt::AlignCenter);
    lblNoIcon->hide();

    Thumbnails = new TThumbail(this);
    Thumbnails->setObjectName(QStringLiteral("Thumbnails"));
    Thumbnails->CanDrag = false;
    Thumbnails->SelectionMode = TSelectMode::smMultiple;
    Thumbnails->SetShowCaption(true);
    Thumbnails->SetThumbnailSize(65);
    Thumbnails->setFrameShape(QFrame::NoFrame);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    btnExtract = glimt::MakeDialogButton(Panel1, "btnExtract", QStringLiteral("Extract"));
    btnCancel = glimt::MakeDialogButton(Panel1, "btnCancel", QStringLiteral("Cancel"));
    auto* buttons = new QVBoxLayout(Panel1);
    buttons->setContentsMargins(10, 8, 10, 8);
    glimt::AddButtonRow(buttons, {btnExtract, btnCancel});

    lblNoIcon->setContentsMargins(0, 8, 0, 4);
    layout->addWidget(lblNoIcon);
    layout->addWidget(Thumbnails, 1);
    layout->addWidget(Panel1);
    resize(QSize(520, 478).expandedTo(sizeHint()));

    connect(btnExtract, &QPushButton::clicked, this, &TfrmExtract::btnExtractClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Thumbnails, &TThumbail::OnItemDblClicked, btnExtract, &QPushButton::click);
    glimt::TranslateForm(this);
}

void TfrmExtract::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmExtract::FormShow()
{
    {
        glimt::BusyGuard busy;
        Thumbnails->LoadExeIcons(FileName);
        m_listed = Thumbnails->ListedIcons();
    }
    const bool any = Thumbnails->Count() > 0;
    btnExtract->setEnabled(any);
    lblNoIcon->setVisible(!any);
    if (any)
        Thumbnails->SelectIndex(0);
}

void TfrmExtract::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (btnExtract->isEnabled())
            btnExtract->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

namespace {

// Fills `icon` with the picture the shell draws for icon `index`: one 32 x 32, 32-bit image.
void FillWithShellIcon(TmyIcon& icon, const QString& fileName, int index)
{
    TmyImagePal& image = icon.AddImage(32, 32, 32);
    icon.Current = 0;
    const QImage picture = glimt::ShellIcon32(fileName, index);
    if (!picture.isNull())
        TmyImport::BitmapToImage({TmyImage::FromQImage(picture), glimt::BitmapAlpha::Straight}, image, 32, 32);
}

} // namespace

void TfrmExtract::btnExtractClick()
{
    if (Thumbnails->SelectedIndices.empty())
        return;
    const std::vector<int> picked = Thumbnails->SelectedIndices;
    hide();
    // Runs from a button's signal: a failure is reported here and ends the extraction.
    glimt::ReportFailures([&] {
        // The file is read once for all picked icons; each group is copied in memory, so no
        // temporary file is left behind whatever happens.
        glimt::TShellIcons shell;
        shell.Load(FileName);
        const glimt::TExeIconFile* module = shell.Module();
        bool first = true;
        TmyIcoIO reader(true);
        for (int p : picked) {
            if (p < 0 || p >= int(m_listed.size()))
                continue;
            const int index = m_listed[std::size_t(p)].Index;
            if (!m_main->CreateDocumentWindow(QStringLiteral("Untitled")))
                break;
            TfrmDesk* desk = m_main->ActiveDesk();
            QByteArray ico;
            GroupExtracted = module && module->IconFile(module->FindGroup(QString::number(index)), ico);
            bool loaded = true;
            if (GroupExtracted) {
                // A damaged group is named after the file it comes from.
                loaded = reader.LoadFromBytes(desk->Icon, ico, FileName) && desk->Icon && desk->Icon->Count() > 0;
            } else {
                if (first) {
                    glimt::UserDialogs().Warning(
                        glimt::Msg("msgNot32Bit", "This is not a 32bit file. Extraction will not be exact!"));
                    first = false;
                }
                FillWithShellIcon(*desk->Icon, FileName, index);
            }
            if (!loaded) {
                m_main->DiscardDocumentWindow(desk);
                break;
            }
            desk->Saved = false;
            m_main->ShowLoadedDocument(desk);
        }
    });
    accept();
}
