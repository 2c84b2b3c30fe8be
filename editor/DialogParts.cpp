#include "editor/DialogParts.h"

#include "editor/Artwork.h"
#include "editor/UserDialogs.h"
#include "engine/Errors.h"

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace glimt {

namespace {

// The room the header's texts leave at the strip's right end for the banner's decoration.
constexpr int kBannerRoom = 64;

// The banner picture of a header strip, drawn for its own size and the screen's pixel density
// whenever either has changed.
class TBannerImage : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        const qreal dpr = devicePixelRatioF();
        if (m_banner.isNull() || m_banner.devicePixelRatio() != dpr || m_banner.deviceIndependentSize().toSize() != size())
            m_banner = DialogBanner(size(), dpr);
        QPainter(this).drawPixmap(0, 0, m_banner);
    }

private:
    QPixmap m_banner;
};

// The strip itself: the banner lies behind its texts and covers it whole; a line a dialog
// adds to the strip (a frame of shape HLine) runs along its bottom edge.
class THeaderStrip : public QFrame {
public:
    explicit THeaderStrip(QWidget* parent) : QFrame(parent) {}
    QLabel* Banner = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QFrame::resizeEvent(event);
        if (Banner) {
            Banner->setGeometry(rect());
            Banner->lower();
        }
        for (QFrame* line : findChildren<QFrame*>(Qt::FindDirectChildrenOnly))
            if (line->frameShape() == QFrame::HLine)
                line->setGeometry(0, height() - 2, width(), 2);
    }
};

} // namespace

void TDialogHeader::Create(QWidget* dialog, const QString& caption, const QString& help, int width)
{
    auto* strip = new THeaderStrip(dialog);
    Panel3 = strip;
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setAutoFillBackground(true);
    QPalette white = Panel3->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    Panel3->setPalette(white);
    Panel3->setMinimumSize(width, 48);
    Panel3->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Image4 = new TBannerImage(Panel3);
    Image4->setObjectName(QStringLiteral("Image4"));
    strip->Banner = Image4;

    auto* outer = new QVBoxLayout(Panel3);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(10, 6, kBannerRoom, 6);
    texts->setSpacing(0);
    outer->addLayout(texts, 1);
    lblCaption = new QLabel(caption, Panel3);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    QFont bold = lblCaption->font();
    bold.setBold(true);
    lblCaption->setFont(bold);
    lblCaption->setMinimumHeight(18);
    texts->addWidget(lblCaption);
    if (!help.isEmpty()) {
        lblHelp = new QLabel(help, Panel3);
        lblHelp->setObjectName(QStringLiteral("lblHelp"));
        lblHelp->setIndent(10);
        lblHelp->setMinimumHeight(18);
        texts->addWidget(lblHelp);
    }
}

void ReportFailures(const std::function<void()>& body)
{
    try {
        body();
    } catch (const Error& e) {
        UserDialogs().Error(e.Text());
    } catch (const std::exception& e) {
        UserDialogs().Error(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        UserDialogs().Error(QCoreApplication::translate("glimt", "An unexpected error stopped the command."));
    }
}

TDialogBanner MakeDialogBanner(QWidget* dialog, int width, const QString& title, const QString& help)
{
    TDialogBanner b;
    b.Create(dialog, title, help, width);
    return b;
}

namespace {

// The outer layout of a dialog: never smaller than the dialog's designed size; what is left
// over goes to the dialog's controls as their stretch factors say.
class TDialogLayout : public QVBoxLayout {
public:
    TDialogLayout(QWidget* dialog, QSize least) : QVBoxLayout(dialog), Least(least) {}
    QSize Least;
    QSize sizeHint() const override { return QVBoxLayout::sizeHint().expandedTo(Least); }
    QSize minimumSize() const override { return QVBoxLayout::minimumSize().expandedTo(Least); }
};

} // namespace

QVBoxLayout* MakeDialogLayout(QDialog* dialog, TDialogHeader* header, QSize least, TDialogSizing sizing)
{
    auto* outer = new TDialogLayout(dialog, least);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->setSizeConstraint(sizing == TDialogSizing::Fixed ? QLayout::SetFixedSize : QLayout::SetMinimumSize);
    if (header && header->Panel3)
        outer->addWidget(header->Panel3);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 8, 8, 8);
    outer->addLayout(body, 1);
    return body;
}

void SetDialogLeastSize(QDialog* dialog, QSize least)
{
    if (auto* layout = dynamic_cast<TDialogLayout*>(dialog->layout())) {
        layout->Least = least;
        layout->invalidate();
    }
}

QHBoxLayout* AddButtonRow(QBoxLayout* layout, std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* w : widgets)
        row->addWidget(w);
    layout->addLayout(row);
    return row;
}

void MakeOkCancel(QDialog* dialog, const std::function<bool()>& ok, QPushButton*& btnOK, QPushButton*& btnCancel)
{
    MakeOkCancelButtons(dialog, btnOK, btnCancel);
    btnOK->setDefault(true);
    QObject::connect(btnOK, &QPushButton::clicked, dialog, [dialog, ok] {
        if (ok())
            dialog->accept();
    });
    QObject::connect(btnCancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

TNumberEdit::TNumberEdit(const QString& text, QWidget* parent, int digits, int least)
    : QLineEdit(text, parent), m_digits(digits), m_least(least)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize TNumberEdit::sizeHint() const
{
    const QSize base = QLineEdit::sizeHint();
    const QFontMetrics fm(font());
    const QMargins margins = textMargins();
    const int frame = hasFrame() ? 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
    const int w = fm.horizontalAdvance(QString(m_digits, QLatin1Char('0'))) + margins.left() + margins.right() + frame + 6;
    // A borderless number is as high as its text.
    const int h = hasFrame() ? base.height() : fm.height() + margins.top() + margins.bottom();
    return {std::max(m_least, w), h};
}

QSize TNumberEdit::minimumSizeHint() const
{
    return sizeHint();
}

TSizeChoice::TSizeChoice(QWidget* group, TSizeControls& controls, int& newWidth, int& newHeight)
    : QObject(group), m_controls(controls), m_width(newWidth), m_height(newHeight)
{
    m_controls.rb16 = Make<QRadioButton>(group, "rb16", QStringLiteral("16 x 16"));
    m_controls.rb24 = Make<QRadioButton>(group, "rb24", QStringLiteral("24 x 24"));
    m_controls.rb32 = Make<QRadioButton>(group, "rb32", QStringLiteral("32 x 32"));
    m_controls.rb48 = Make<QRadioButton>(group, "rb48", QStringLiteral("48 x 48"));
    m_controls.rb256 = Make<QRadioButton>(group, "rb256", QStringLiteral("256 x 256"));
    m_controls.rbCustom = Make<QRadioButton>(group, "rbCustom", QStringLiteral("Custom:"));
    m_controls.lblWidth = Make<QLabel>(group, "lblWidth", QStringLiteral("Width:"));
    m_controls.edtWidth = new TNumberEdit(QStringLiteral("128"), group, 3, 36);
    m_controls.edtWidth->setObjectName(QStringLiteral("edtWidth"));
    m_controls.lblHeight = Make<QLabel>(group, "lblHeight", QStringLiteral("Height:"));
    m_controls.edtHeight = new TNumberEdit(QStringLiteral("128"), group, 3, 36);
    m_controls.edtHeight->setObjectName(QStringLiteral("edtHeight"));
    m_controls.cbSquare = Make<QCheckBox>(group, "cbSquare", QStringLiteral("Square"));

    // Two columns of sizes, then the custom size with its edits in one row.
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(1);
    grid->addWidget(m_controls.rb16, 0, 0);
    grid->addWidget(m_controls.rb48, 0, 1);
    grid->addWidget(m_controls.rb24, 1, 0);
    grid->addWidget(m_controls.rb256, 1, 1);
    grid->addWidget(m_controls.rb32, 2, 0);
    grid->addWidget(m_controls.rbCustom, 3, 0, 1, 2);
    auto* custom = new QHBoxLayout;
    custom->setSpacing(4);
    custom->addWidget(m_controls.lblWidth);
    custom->addWidget(m_controls.edtWidth);
    custom->addSpacing(4);
    custom->addWidget(m_controls.lblHeight);
    custom->addWidget(m_controls.edtHeight);
    custom->addStretch(1);
    grid->addLayout(custom, 4, 0, 1, 2);
    grid->addWidget(m_controls.cbSquare, 5, 0, 1, 2);
    grid->setRowStretch(6, 1);
    m_controls.rb48->setChecked(true);
    m_controls.cbSquare->setChecked(true);

    for (QRadioButton* rb : {m_controls.rb16, m_controls.rb24, m_controls.rb32, m_controls.rb48, m_controls.rb256, m_controls.rbCustom})
        connect(rb, &QRadioButton::clicked, this, &TSizeChoice::RadioClick);
    connect(m_controls.edtWidth, &QLineEdit::textChanged, this, &TSizeChoice::edtWidthChange);
    connect(m_controls.edtHeight, &QLineEdit::textChanged, this, &TSizeChoice::edtHeightChange);
    m_controls.edtWidth->installEventFilter(this);
    m_controls.edtHeight->installEventFilter(this);
    RadioClick();
}

void TSizeChoice::RadioClick()
{
    const bool custom = m_controls.rbCustom->isChecked();
    m_controls.edtWidth->setEnabled(custom);
    m_controls.edtHeight->setEnabled(custom);
    m_controls.cbSquare->setEnabled(custom);
    const struct {
        QRadioButton* button;
        int side;
    } presets[] = {{m_controls.rb16, 16}, {m_controls.rb24, 24}, {m_controls.rb32, 32}, {m_controls.rb48, 48}, {m_controls.rb256, 256}};
    for (const auto& p : presets) {
        if (p.button->isChecked()) {
            m_height = m_width = p.side;
            return;
        }
    }
    if (custom) {
        // An edit without a number leaves that side as it was.
        bool okH = false, okW = false;
        const int h = m_controls.edtHeight->text().toInt(&okH);
        const int w = m_controls.edtWidth->text().toInt(&okW);
        if (okH)
            m_height = h;
        if (okW)
            m_width = w;
    }
}

int TSizeChoice::CorrectSizeEdit(QLineEdit* edit, QLineEdit* other)
{
    const QString text = edit->text();
    if (text.isEmpty())
        return -1;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) {
        UserDialogs().Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
        return -1;
    }
    if (value > 256 || value <= 0) {
        // Setting the corrected text runs this again through the edit's change signal.
        edit->setText(value > 256 ? QStringLiteral("256") : QStringLiteral("1"));
        return -1;
    }
    if (m_controls.cbSquare->isChecked() && other->text() != text)
        other->setText(text);
    return value;
}

void TSizeChoice::edtWidthChange()
{
    const int v = CorrectSizeEdit(m_controls.edtWidth, m_controls.edtHeight);
    if (v > 0)
        m_width = v;
}

void TSizeChoice::edtHeightChange()
{
    const int v = CorrectSizeEdit(m_controls.edtHeight, m_controls.edtWidth);
    if (v > 0)
        m_height = v;
}

bool TSizeChoice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_controls.edtWidth && watched != m_controls.edtHeight)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool digit = text.size() == 1 && text.at(0).isDigit();
        const int k = key->key();
        const bool editing = k == Qt::Key_Backspace || k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Delete
            || k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Return || k == Qt::Key_Enter
            || k == Qt::Key_Escape || k == Qt::Key_Home || k == Qt::Key_End;
        if (!digit && !editing)
            return true;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        static_cast<QLineEdit*>(watched)->selectAll();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace glimt
