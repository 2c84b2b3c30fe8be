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

TfrmExtract::TfrmExtract(TfrmMain* main) : QDialog(main), m_main(main)
{
    setObjectName(QStringLiteral("frmExtract"));
    setWindowTitle(QStringLiteral("Extract"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setMinimumSize(341, 362);
    resize(520, 478);

    Header.Create(this, QStringLiteral("Extract"), QStringLiteral("Extract icon from files"), width());

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
    btnExtract = new QPushButton(QStringLiteral("Extract"), Panel1);
    btnExtract->setObjectName(QStringLiteral("btnExtract"));
    btnExtract->setAutoDefault(false);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), Panel1);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);

    connect(btnExtract, &QPushButton::clicked, this, &TfrmExtract::btnExtractClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Thumbnails, &TThumbail::OnItemDblClicked, btnExtract, &QPushButton::click);
    LayoutControls();
    glimt::TranslateForm(this);
}

void TfrmExtract::LayoutControls()
{
    const int w = width(), h = height();
    Header.Place(w);
    lblNoIcon->setGeometry(0, 56, w, 20);
    const int top = lblNoIcon->isVisible() ? 80 : 48;
    Thumbnails->setGeometry(0, top, w, std::max(10, h - top - 44));
    Panel1->setGeometry(0, h - 44, w, 44);
    btnExtract->setGeometry(w - 180, 9, 80, 26);
    btnCancel->setGeometry(w - 90, 9, 80, 26);
}

void TfrmExtract::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayoutControls();
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
    LayoutControls();
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
