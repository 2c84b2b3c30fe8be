#include "editor/TextEntry.h"

#include "editor/DialogParts.h"
#include "editor/Translate.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <class T>
T* Make(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = Make<QLabel>(parent, name);
    label->setText(text);
    return label;
}

QToolButton* MakeStyleButton(QWidget* parent, const char* name, const QString& glyph, const QString& hint,
    void (QFont::*style)(bool))
{
    auto* b = Make<QToolButton>(parent, name);
    b->setText(glyph);
    b->setToolTip(hint);
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setMinimumSize(23, 22);
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
    glimt::TDialogHeader header;
    header.Create(this, QStringLiteral("Text"), QStringLiteral("Text painting tool"), 362);
    Panel3 = header.Panel3;
    Image4 = header.Image4;
    lblCaption = header.lblCaption;
    lblHelp = header.lblHelp;
    Bevel3 = Make<QFrame>(Panel3, "Bevel3");
    Bevel3->setFrameShape(QFrame::HLine);
    Bevel3->setFrameShadow(QFrame::Sunken);
    QVBoxLayout* layout = glimt::MakeDialogLayout(this, &header, QSize(362, 264));

    grpText = Make<QGroupBox>(this, "grpText");
    grpText->setTitle(QStringLiteral(" Text "));
    lblText = MakeLabel(grpText, "lblText", QStringLiteral("Text"));
    edtText = Make<QLineEdit>(grpText, "edtText");
    lblFont = MakeLabel(grpText, "lblFont", QStringLiteral("Font"));
    cmbfont = Make<QComboBox>(grpText, "cmbfont");
    cmbfont->setMinimumWidth(190);
    // Wide enough for every font name, so that the chosen one reads whole.
    cmbfont->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblSize = MakeLabel(grpText, "lblSize", QStringLiteral("Size"));
    cmbSize = Make<QComboBox>(grpText, "cmbSize");
    cmbSize->setMinimumWidth(56);
    cmbSize->setEditable(true);
    cmbSize->setInsertPolicy(QComboBox::NoInsert);
    cmbSize->setValidator(new QIntValidator(1, 999, cmbSize));
    btnBold = MakeStyleButton(grpText, "btnBold", QStringLiteral("B"), QStringLiteral("Bold"), &QFont::setBold);
    btnItalic = MakeStyleButton(grpText, "btnItalic", QStringLiteral("I"), QStringLiteral("Italic"), &QFont::setItalic);
    btnUnderLine = MakeStyleButton(grpText, "btnUnderLine", QStringLiteral("U"), QStringLiteral("Underline"),
        &QFont::setUnderline);
    btnStrike = MakeStyleButton(grpText, "btnStrike", QStringLiteral("S"), QStringLiteral("Strikethrough"),
        &QFont::setStrikeOut);
    auto* grid = new QGridLayout(grpText);
    grid->addWidget(lblText, 0, 0);
    grid->addWidget(edtText, 0, 1, 1, 3);
    grid->addWidget(lblFont, 1, 0);
    grid->addWidget(cmbfont, 1, 1);
    grid->addWidget(lblSize, 1, 2);
    grid->addWidget(cmbSize, 1, 3);
    auto* styles = new QHBoxLayout;
    styles->setSpacing(1);
    for (QToolButton* b : {btnBold, btnItalic, btnUnderLine, btnStrike})
        styles->addWidget(b);
    styles->addStretch(1);
    grid->addLayout(styles, 2, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    layout->addWidget(grpText);

    grpPreview = Make<QGroupBox>(this, "grpPreview");
    grpPreview->setTitle(QStringLiteral(" Preview "));
    Image1 = Make<QLabel>(grpPreview, "Image1");
    Image1->setFixedSize(329, 57);
    auto* preview = new QVBoxLayout(grpPreview);
    preview->addWidget(Image1, 0, Qt::AlignCenter);
    layout->addWidget(grpPreview);

    btnOK = Make<QPushButton>(this, "btnOK");
    btnOK->setText(QStringLiteral("OK"));
    btnOK->setDefault(true);
    btnCancel = Make<QPushButton>(this, "btnCancel");
    btnCancel->setText(QStringLiteral("Cancel"));
    for (QPushButton* b : {btnOK, btnCancel})
        b->setMinimumSize(75, 24);
    glimt::AddButtonRow(layout, {btnOK, btnCancel});
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
