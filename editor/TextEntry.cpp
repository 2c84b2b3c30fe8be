#include "editor/TextEntry.h"

#include "editor/Artwork.h"
#include "editor/Translate.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

namespace {

template <class T>
T* Make(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h)
{
    auto* label = Make<QLabel>(parent, name, x, y, w, h);
    label->setText(text);
    return label;
}

QToolButton* MakeStyleButton(QWidget* parent, const char* name, const QString& glyph, const QString& hint, int x,
    void (QFont::*style)(bool))
{
    auto* b = Make<QToolButton>(parent, name, x, 72, 23, 22);
    b->setText(glyph);
    b->setToolTip(hint);
    b->setCheckable(true);
    b->setAutoRaise(true);
    QFont f = b->font();
    (f.*style)(true);
    b->setFont(f);
    return b;
}

} // namespace

TfrmText::TfrmText(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmText"));
    setWindowTitle(QStringLiteral("Text"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFixedSize(362, 264);

    Panel3 = Make<QFrame>(this, "Panel3", 0, 0, 362, 48);
    Panel3->setAutoFillBackground(true);
    Panel3->setBackgroundRole(QPalette::Base);
    Image4 = Make<QLabel>(Panel3, "Image4", 362 - 48, 0, 48, 48);
    glimt::ShowDialogBanner(Image4, 362);
    lblCaption = MakeLabel(Panel3, "lblCaption", QStringLiteral("Text"), 10, 6, 290, 18);
    QFont bold = lblCaption->font();
    bold.setBold(true);
    lblCaption->setFont(bold);
    lblHelp = MakeLabel(Panel3, "lblHelp", QStringLiteral("Text painting tool"), 20, 24, 280, 18);
    Bevel3 = Make<QFrame>(Panel3, "Bevel3", 0, 46, 362, 2);
    Bevel3->setFrameShape(QFrame::HLine);
    Bevel3->setFrameShadow(QFrame::Sunken);

    grpText = Make<QGroupBox>(this, "grpText", 8, 54, 346, 102);
    grpText->setTitle(QStringLiteral(" Text "));
    lblText = MakeLabel(grpText, "lblText", QStringLiteral("Text"), 8, 20, 40, 22);
    edtText = Make<QLineEdit>(grpText, "edtText", 50, 20, 286, 22);
    lblFont = MakeLabel(grpText, "lblFont", QStringLiteral("Font"), 8, 46, 40, 22);
    cmbfont = Make<QComboBox>(grpText, "cmbfont", 50, 46, 190, 22);
    lblSize = MakeLabel(grpText, "lblSize", QStringLiteral("Size"), 248, 46, 30, 22);
    cmbSize = Make<QComboBox>(grpText, "cmbSize", 280, 46, 56, 22);
    cmbSize->setEditable(true);
    cmbSize->setInsertPolicy(QComboBox::NoInsert);
    cmbSize->setValidator(new QIntValidator(1, 999, cmbSize));
    btnBold = MakeStyleButton(grpText, "btnBold", QStringLiteral("B"), QStringLiteral("Bold"), 50, &QFont::setBold);
    btnItalic = MakeStyleButton(grpText, "btnItalic", QStringLiteral("I"), QStringLiteral("Italic"), 74, &QFont::setItalic);
    btnUnderLine = MakeStyleButton(grpText, "btnUnderLine", QStringLiteral("U"), QStringLiteral("Underline"), 98,
        &QFont::setUnderline);
    btnStrike = MakeStyleButton(grpText, "btnStrike", QStringLiteral("S"), QStringLiteral("Strikethrough"), 122,
        &QFont::setStrikeOut);

    grpPreview = Make<QGroupBox>(this, "grpPreview", 8, 158, 346, 74);
    grpPreview->setTitle(QStringLiteral(" Preview "));
    Image1 = Make<QLabel>(grpPreview, "Image1", 8, 12, 329, 57);

    btnOK = Make<QPushButton>(this, "btnOK", 194, 236, 75, 24);
    btnOK->setText(QStringLiteral("OK"));
    btnOK->setDefault(true);
    btnCancel = Make<QPushButton>(this, "btnCancel", 279, 236, 75, 24);
    btnCancel->setText(QStringLiteral("Cancel"));
    setTabOrder(edtText, cmbfont);
    setTabOrder(cmbfont, cmbSize);

    // FormCreate: the fonts, the first one chosen; sizes 5 to 30, 12 chosen.
    FillFontList();
    if (cmbfont->count() > 0)
        cmbfont->setCurrentIndex(0);
    for (int size = 5; size <= 30; ++size)
        cmbSize->addItem(QString::number(size));
    cmbSize->setCurrentIndex(7);
    UpdatePreview();

    connect(cmbfont, &QComboBox::currentTextChanged, this, &TfrmText::cmbfontChange);
    connect(cmbSize, &QComboBox::currentTextChanged, this, &TfrmText::cmbfontChange);
    connect(edtText, &QLineEdit::textChanged, this, &TfrmText::cmbfontChange);
    connect(edtText, &QLineEdit::returnPressed, this, &TfrmText::btnOKClick);
    for (QToolButton* b : {btnBold, btnItalic, btnUnderLine, btnStrike})
        connect(b, &QToolButton::clicked, this, &TfrmText::btnBoldClick);
    connect(btnOK, &QPushButton::clicked, this, &TfrmText::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmText::btnCancelClick);
    glimt::TranslateForm(this);
}

void TfrmText::FillFontList()
{
    QStringList families = QFontDatabase::families();
    families.removeDuplicates();
    families.sort(Qt::CaseInsensitive);
    cmbfont->clear();
    cmbfont->addItems(families);
}

bool TfrmText::Choice(glimt::TTextChoice& text) const
{
    bool ok = false;
    const int size = cmbSize->currentText().trimmed().toInt(&ok);
    if (!ok || size < 1)
        return false;
    text.FontName = cmbfont->currentText();
    text.Size = size;
    text.Bold = btnBold->isChecked();
    text.Italic = btnItalic->isChecked();
    text.Underline = btnUnderLine->isChecked();
    text.StrikeOut = btnStrike->isChecked();
    text.Text = edtText->text();
    return true;
}

void TfrmText::UpdatePreview()
{
    glimt::TTextChoice text;
    // A size that is no number leaves the last preview standing.
    if (!Choice(text))
        return;
    m_preview = QImage(Image1->size(), QImage::Format_RGB32);
    m_preview.fill(Qt::white);
    QFont font = text.Font();
    font.setStyleStrategy(QFont::PreferDefault);
    const QFontMetrics metrics(font);
    QPainter p(&m_preview);
    p.setFont(font);
    p.setPen(Qt::black);
    const int x = m_preview.width() / 2 - metrics.horizontalAdvance(text.Text) / 2;
    const int y = m_preview.height() / 2 - metrics.height() / 2;
    p.drawText(QPoint(x, y + metrics.ascent()), text.Text);
    p.end();
    Image1->setPixmap(QPixmap::fromImage(m_preview));
}

void TfrmText::cmbfontChange()
{
    UpdatePreview();
}

void TfrmText::btnBoldClick()
{
    UpdatePreview();
}

void TfrmText::FormShow()
{
    Accepted = false;
}

void TfrmText::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmText::btnOKClick()
{
    Accepted = true;
    accept();
}

void TfrmText::btnCancelClick()
{
    reject();
}

bool TfrmText::Execute(glimt::TTextChoice& text)
{
    Accepted = false;
    exec();
    return Accepted && Choice(text);
}
