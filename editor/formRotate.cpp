#include "editor/formRotate.h"

#include "editor/EditorHost.h"
#include "editor/DialogParts.h"
#include "editor/Translate.h"
#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "editor/framePreview.h"
#include "engine/Settings.h"
#include "engine/myadjustments.h"
#include "engine/myselection.h"

#include <QCursor>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

using glimt::Make;

namespace {

// The centre pad: a rounded frame with a cross through its middle.
class TCenterPad : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRect(0, 0, width() - 1, height() - 1), 5, 5);
        p.drawLine(0, height() / 2, width(), height() / 2);
        p.drawLine(width() / 2, 0, width() / 2, height());
    }
};

// The centre pin: a small circle.
class TCenterPin : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(0.5, 0.5, width() - 1, height() - 1));
    }
};

} // namespace

TfrmRotate::TfrmRotate(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRotate"));
    setWindowTitle(QStringLiteral("Free Rotate"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    glimt::TDialogBanner banner =
        glimt::MakeDialogBanner(this, 372, QStringLiteral("Rotate"), QStringLiteral("Rotate the current image"));
    Image4 = banner.Image4;
    lblCaption = banner.lblCaption;
    lblHelp = banner.lblHelp;
    QVBoxLayout* layout = glimt::MakeDialogLayout(this, &banner, QSize(372, 230));
    layout->setContentsMargins(0, 8, 0, 8);

    lblDirection = Make<QLabel>(this, "lblDirection", QStringLiteral("Direction: "));
    rbLeft = Make<QRadioButton>(this, "rbLeft", QStringLiteral("Left"));
    rbRight = Make<QRadioButton>(this, "rbRight", QStringLiteral("Right"));
    rbLeft->setChecked(true);
    lblAngle = Make<QLabel>(this, "lblAngle", QStringLiteral("Angle: "));
    Edit1 = Make<QLineEdit>(this, "Edit1", QStringLiteral("0"));
    Edit1->setMinimumWidth(134);
    SpinButton1 = new QWidget(this);
    SpinButton1->setObjectName(QStringLiteral("SpinButton1"));
    SpinButton1->setFixedSize(16, 22);
    auto* up = new QToolButton(SpinButton1);
    up->setArrowType(Qt::UpArrow);
    up->setGeometry(0, 0, 16, 11);
    auto* down = new QToolButton(SpinButton1);
    down->setArrowType(Qt::DownArrow);
    down->setGeometry(0, 11, 16, 11);

    lblCenter = Make<QLabel>(this, "lblCenter", QStringLiteral("Center"));
    pnlCenter = new QFrame(this);
    pnlCenter->setObjectName(QStringLiteral("pnlCenter"));
    pnlCenter->setFixedSize(150, 74);
    pbCenter = new TCenterPad(pnlCenter);
    pbCenter->setObjectName(QStringLiteral("pbCenter"));
    pbCenter->setGeometry(0, 0, 150, 74);
    spCenter = new TCenterPin(pnlCenter);
    spCenter->setObjectName(QStringLiteral("spCenter"));
    spCenter->setGeometry(0, 0, 13, 13);
    spCenter->setCursor(Qt::SizeAllCursor);
    pbCenter->installEventFilter(this);
    spCenter->installEventFilter(this);

    // The settings in a grid of labels and controls, the preview beside them.
    auto* settings = new QGridLayout;
    settings->setContentsMargins(10, 0, 0, 0);
    settings->addWidget(lblDirection, 0, 0);
    auto* direction = new QHBoxLayout;
    direction->addWidget(rbLeft);
    direction->addWidget(rbRight);
    direction->addStretch(1);
    settings->addLayout(direction, 0, 1);
    settings->addWidget(lblAngle, 1, 0);
    auto* angle = new QHBoxLayout;
    angle->setSpacing(0);
    angle->addWidget(Edit1, 1);
    angle->addWidget(SpinButton1);
    settings->addLayout(angle, 1, 1);
    settings->addWidget(lblCenter, 2, 0, Qt::AlignTop);
    settings->addWidget(pnlCenter, 2, 1);
    settings->setRowStretch(3, 1);

    grpPreview = Make<QGroupBox>(this, "grpPreview", QStringLiteral(" Preview "));
    grpPreview->setMinimumSize(129, 129);
    preview1 = new Tpreview(grpPreview);
    preview1->setMinimumSize(117, 105);
    auto* previewLayout = new QVBoxLayout(grpPreview);
    previewLayout->setContentsMargins(6, previewLayout->contentsMargins().top(), 6, 6);
    previewLayout->addWidget(preview1);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 8, 0);
    body->addLayout(settings, 1);
    body->addWidget(grpPreview);
    layout->addLayout(body, 1);

    auto* Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    layout->addWidget(Bevel1);
    glimt::MakeOkCancel(this, [this] { return btnOKClick(); }, btnOK, btnCancel);
    glimt::AddButtonRow(layout, {btnOK, btnCancel})->setContentsMargins(0, 0, 8, 0);

    CenterDrag = std::make_unique<TMove>(spCenter);
    CenterDrag->Bounds = {0, 0, pbCenter->width(), pbCenter->height()};
    ResetCenterPin();

    connect(rbLeft, &QRadioButton::clicked, this, &TfrmRotate::rbLeftClick);
    connect(rbRight, &QRadioButton::clicked, this, &TfrmRotate::rbLeftClick);
    connect(Edit1, &QLineEdit::textChanged, this, &TfrmRotate::Edit1Change);
    Edit1->installEventFilter(this);
    connect(up, &QToolButton::clicked, this, &TfrmRotate::SpinButton1UpClick);
    connect(down, &QToolButton::clicked, this, &TfrmRotate::SpinButton1DownClick);
    glimt::TranslateForm(this);
}

void TfrmRotate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

TmyImagePal* TfrmRotate::Source(bool* isSelection) const
{
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    if (!desk || !desk->CurrentImage())
        return nullptr;
    glimt::IToolEngine* tools = glimt::ToolEngine();
    tmyselection* s = tools ? tools->Selection() : nullptr;
    const bool own = s && !s->IsEmpty() && s->DocumentSlot == host->ActiveSlot();
    if (isSelection)
        *isSelection = own;
    return own ? &s->Image : desk->CurrentImage();
}

void TfrmRotate::FormShow()
{
    if (const TmyImagePal* source = Source())
        WorkImage.Assign(*source);
    preview1->SetBoxColor(Options().PrevColor);
    rbLeftClick();
    preview1->CenterPreview();
}

bool TfrmRotate::SignedAngle(int& angle) const
{
    bool ok = false;
    angle = Edit1->text().toInt(&ok);
    if (rbLeft->isChecked())
        angle = -angle;
    return ok;
}

void TfrmRotate::rbLeftClick()
{
    const TmyImagePal* source = Source();
    int angle = 0;
    // An empty angle previews nothing until a number is typed.
    if (!source || !SignedAngle(angle))
        return;
    const QPoint c = CenterDrag->CenterToImage(source->Width(), source->Height());
    WorkImage.Assign(*source);
    TmyAdjustments::RotateImage(WorkImage, c.x(), c.y(), angle);
    preview1->Render(WorkImage, Options().PrevColor);
}

bool TfrmRotate::btnOKClick()
{
    bool isSelection = false;
    TmyImagePal* source = Source(&isSelection);
    if (!source)
        return true;
    int angle = 0;
    if (!SignedAngle(angle)) {
        glimt::UserDialogs().Error(QStringLiteral("'%1' is not a valid integer value").arg(Edit1->text()));
        return false;
    }
    const QPoint c = CenterDrag->CenterToImage(source->Width(), source->Height());
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host->ActiveDesk();
    if (isSelection) {
        // Changes of the floating selection are not recorded; its later resizes start from the
        // turned pixels.
        TmyAdjustments::RotateImage(*source, c.x(), c.y(), angle);
        glimt::IToolEngine* tools = glimt::ToolEngine();
        tools->ShowSelectionLayer(false);
        tools->Selection()->OriginalImage = *source;
        return true;
    }
    desk->Undo->Push(*source);
    desk->Saved = false;
    host->UpdateUndoActions();
    TmyAdjustments::RotateImage(*source, c.x(), c.y(), angle);
    host->ApplyPaletteAction(*source);
    desk->ShowImage(*source);
    host->DocumentShown(desk);
    return true;
}

void TfrmRotate::ResetCenterPin()
{
    spCenter->move(pbCenter->width() / 2 - spCenter->width() / 2, pbCenter->height() / 2 - spCenter->height() / 2);
}

void TfrmRotate::Edit1Change()
{
    const QString text = Edit1->text();
    if (text.isEmpty())
        return;
    bool ok = false;
    const int value = text.toInt(&ok);
    // Setting the corrected text runs this again.
    if (!ok || value >= 360 || text.size() > 4) {
        Edit1->setText(QStringLiteral("359"));
        return;
    }
    if (value < 0) {
        Edit1->setText(QStringLiteral("0"));
        return;
    }
    rbLeftClick();
}

void TfrmRotate::SpinButton1UpClick()
{
    Edit1->setText(QString::number(Edit1->text().toInt() + 1));
}

void TfrmRotate::SpinButton1DownClick()
{
    Edit1->setText(QString::number(Edit1->text().toInt() - 1));
}

void TfrmRotate::spCenterMouseDown(Qt::MouseButton button, QPoint cursor)
{
    if (button == Qt::LeftButton) {
        CenterDrag->BeginDrag(cursor);
        rbLeftClick();
    } else if (button == Qt::RightButton) {
        ResetCenterPin();
        rbLeftClick();
    }
}

void TfrmRotate::spCenterMouseMove(Qt::MouseButtons buttons, QPoint cursor)
{
    if (buttons & Qt::LeftButton) {
        CenterDrag->DragTo(cursor);
        rbLeftClick();
    }
}

void TfrmRotate::spCenterMouseUp(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        CenterDrag->EndDrag();
}

void TfrmRotate::pbCenterMouseDown(Qt::MouseButton button, QPoint at, QPoint cursor)
{
    if (button == Qt::LeftButton)
        spCenter->move(at.x() - spCenter->width() / 2, at.y() - spCenter->height() / 2);
    spCenterMouseDown(button, cursor);
}

bool TfrmRotate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool digit = text.size() == 1 && text.at(0).isDigit();
        const int k = key->key();
        const bool editing = k == Qt::Key_Backspace || k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Tab
            || k == Qt::Key_Backtab || k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape;
        return !digit && !editing;
    }
    if (watched != pbCenter && watched != spCenter)
        return QDialog::eventFilter(watched, event);
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (!mouse)
        return QDialog::eventFilter(watched, event);
    const QPoint cursor = mouse->globalPosition().toPoint();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == pbCenter)
            pbCenterMouseDown(mouse->button(), mouse->position().toPoint(), cursor);
        else
            spCenterMouseDown(mouse->button(), cursor);
        return true;
    case QEvent::MouseMove: spCenterMouseMove(mouse->buttons(), cursor); return true;
    case QEvent::MouseButtonRelease: spCenterMouseUp(mouse->button()); return true;
    default: return QDialog::eventFilter(watched, event);
    }
}
