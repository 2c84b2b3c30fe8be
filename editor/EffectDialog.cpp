#include "editor/EffectDialog.h"

#include "editor/FormBuilder.h"
#include "editor/advancedtrackbar.h"
#include "editor/framePreview.h"
#include "engine/Settings.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace glimt {

TEffectDialog::TEffectDialog(QWidget* parent, const char* formName, const QString& caption, const QString& help,
                             bool fitPaletteOnOK)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_fitPaletteOnOK(fitPaletteOnOK)
{
    setObjectName(QString::fromLatin1(formName));
    setWindowTitle(caption);
    setModal(true);

    // The program's header strip across the top, the dialog's own controls, the preview and the
    // buttons; the dialog takes its size from them.
    m_header.Create(this, caption, help, 300);
    Panel3 = m_header.Panel3;
    Image4 = m_header.Image4;
    lblCaption = m_header.lblCaption;
    lblHelp = m_header.lblHelp;
    QVBoxLayout* layout = MakeDialogLayout(this, &m_header);

    m_body = new QWidget(this);
    layout->addWidget(m_body);

    grpPreview = new QGroupBox(QStringLiteral(" Preview "), this);
    grpPreview->setObjectName(QStringLiteral("grpPreview"));
    auto* previewLayout = new QVBoxLayout(grpPreview);
    preview1 = new Tpreview(grpPreview);
    preview1->setMinimumSize(280, 140);
    previewLayout->addWidget(preview1);
    layout->addWidget(grpPreview, 1);

    MakeOkCancelButtons(this, btnOK, btnCancel);
    AddButtonRow(layout, {btnOK, btnCancel});

    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
}

TAdvancedTrackBar* TEffectDialog::AddTrackBar(QGridLayout* grid, int row, const char* name, const QString& label,
                                              int min, int max, int position, const std::function<void()>& onChange)
{
    auto* caption = new QLabel(label, m_body);
    caption->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(name));
    auto* bar = new TAdvancedTrackBar(m_body);
    bar->setObjectName(QString::fromLatin1(name));
    bar->SetRange(min, max);
    bar->SetTickStyle(TAdvancedTrackBar::tsManual);
    bar->SetPosition(position);
    grid->addWidget(caption, row, 0);
    grid->addWidget(bar, row, 1);
    connect(bar, &TAdvancedTrackBar::Change, this, onChange);
    return bar;
}

void TEffectDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TEffectDialog::FormShow()
{
    m_target = ActiveEffectTarget();
    Source = m_target.Image;
    if (Source)
        WorkImage = *Source;
    else
        WorkImage = TmyImagePal(1, 1, 32);
    RenderPreview(WorkImage);
    preview1->CenterPreview();
    Shown();
}

void TEffectDialog::UpdatePreview()
{
    if (!Source)
        return;
    WorkImage = *Source;
    Operation(WorkImage, true);
    RenderPreview(WorkImage);
}

void TEffectDialog::RenderPreview(const TmyImagePal& image)
{
    preview1->SetBoxColor(Options().PrevColor);
    preview1->Render(image, Options().PrevColor);
}

const QImage& TEffectDialog::PreviewPicture() const
{
    return preview1->Image1->Picture;
}

void TEffectDialog::Commit(const std::function<void(TmyImagePal&)>& operation)
{
    if (Source)
        ChangeEffectTarget(m_target, operation, m_fitPaletteOnOK);
    Source = nullptr;
    accept();
}

void TEffectDialog::btnOKClick()
{
    Commit([this](TmyImagePal& image) { Operation(image, false); });
}

void TEffectDialog::btnCancelClick()
{
    Source = nullptr;
    reject();
}

void TEffectDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        btnOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace glimt
