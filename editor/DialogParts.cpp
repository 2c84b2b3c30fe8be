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
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace glimt {

void TDialogHeader::Create(QWidget* dialog, const QString& caption, const QString& help, int width)
{
    Panel3 = new QFrame(dialog);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setAutoFillBackground(true);
    QPalette white = Panel3->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel3->setPalette(white);
    Image4 = new QLabel(Panel3);
    Image4->setObjectName(QStringLiteral("Image4"));
    lblCaption = new QLabel(caption, Panel3);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    QFont bold = lblCaption->font();
    bold.setBold(true);
    lblCaption->setFont(bold);
    lblHelp = new QLabel(help, Panel3);
    lblHelp->setObjectName(QStringLiteral("lblHelp"));
    Place(width);
}

void TDialogHeader::Place(int width)
{
    Panel3->setGeometry(0, 0, width, 48);
    ShowDialogBanner(Image4, width);
    lblCaption->setGeometry(10, 6, std::max(10, width - 70), 18);
    lblHelp->setGeometry(20, 24, std::max(10, width - 80), 18);
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

void MakeOkCancel(QDialog* dialog, int x, int y, const std::function<bool()>& ok, QPushButton*& btnOK,
    QPushButton*& btnCancel)
{
    btnOK = Make<QPushButton>(dialog, "btnOK", QStringLiteral("OK"), x, y, 75, 25);
    btnCancel = Make<QPushButton>(dialog, "btnCancel", QStringLiteral("Cancel"), x + 83, y, 75, 25);
    btnOK->setDefault(true);
    QObject::connect(btnOK, &QPushButton::clicked, dialog, [dialog, ok] {
        if (ok())
            dialog->accept();
    });
    QObject::connect(btnCancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

TSizeChoice::TSizeChoice(QWidget* group, TSizeControls& controls, int& newWidth, int& newHeight)
    : QObject(group), m_controls(controls), m_width(newWidth), m_height(newHeight)
{
    m_controls.rb16 = Make<QRadioButton>(group, "rb16", QStringLiteral("16 x 16"), 10, 20, 80, 20);
    m_controls.rb24 = Make<QRadioButton>(group, "rb24", QStringLiteral("24 x 24"), 10, 41, 80, 20);
    m_controls.rb32 = Make<QRadioButton>(group, "rb32", QStringLiteral("32 x 32"), 10, 62, 80, 20);
    m_controls.rb48 = Make<QRadioButton>(group, "rb48", QStringLiteral("48 x 48"), 95, 20, 80, 20);
    m_controls.rb256 = Make<QRadioButton>(group, "rb256", QStringLiteral("256 x 256"), 95, 41, 85, 20);
    m_controls.rbCustom = Make<QRadioButton>(group, "rbCustom", QStringLiteral("Custom:"), 10, 84, 160, 20);
    m_controls.lblWidth = Make<QLabel>(group, "lblWidth", QStringLiteral("Width:"), 10, 106, 45, 22);
    m_controls.edtWidth = Make<QLineEdit>(group, "edtWidth", QStringLiteral("128"), 55, 106, 36, 22);
    m_controls.lblHeight = Make<QLabel>(group, "lblHeight", QStringLiteral("Height:"), 96, 106, 45, 22);
    m_controls.edtHeight = Make<QLineEdit>(group, "edtHeight", QStringLiteral("128"), 140, 106, 36, 22);
    m_controls.cbSquare = Make<QCheckBox>(group, "cbSquare", QStringLiteral("Square"), 10, 130, 120, 20);
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
