#include "editor/ChoiceDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace glimt {

namespace {

template <class T>
T* Make(QWidget* parent, const char* name, const char* text)
{
    auto* widget = new T(QString::fromUtf8(text), parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TChoiceDialog::TChoiceDialog(QWidget* parent, const TChoiceNames& names, std::uint8_t& setting)
    : QDialog(parent)
    , m_setting(setting)
{
    setObjectName(QLatin1String(names.formName));
    setWindowTitle(QStringLiteral("Warning"));
    // A title bar without any of its buttons: there is no way out but OK.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    lblMsg = Make<QLabel>(this, names.message, names.messageText);
    rbFirst = Make<QRadioButton>(this, names.firstName, names.firstText);
    rbSecond = Make<QRadioButton>(this, names.secondName, names.secondText);
    cbDefault = Make<QCheckBox>(this, "cbDefault", "Use this setting as default");
    OKButton = Make<QPushButton>(this, names.okName, "OK");
    OKButton->setDefault(true);
    rbFirst->setChecked(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(lblMsg);
    layout->addSpacing(6);
    layout->addWidget(rbFirst);
    layout->addWidget(rbSecond);
    layout->addSpacing(6);
    layout->addWidget(cbDefault);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(rbFirst, &QRadioButton::clicked, this, &TChoiceDialog::RadioClick);
    connect(rbSecond, &QRadioButton::clicked, this, &TChoiceDialog::RadioClick);
    connect(OKButton, &QPushButton::clicked, this, &TChoiceDialog::OKClick);
    Choice = 0;
}

int TChoiceDialog::Ask()
{
    exec();
    return Choice;
}

void TChoiceDialog::RadioClick()
{
    if (rbFirst->isChecked())
        Choice = 0;
    else if (rbSecond->isChecked())
        Choice = 1;
}

void TChoiceDialog::OKClick()
{
    if (cbDefault->isChecked())
        m_setting = Choice;
    accept();
}

void TChoiceDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OKButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TChoiceDialog::reject()
{
}

} // namespace glimt
