#include "editor/DialogParts.h"

#include "editor/UserDialogs.h"
#include "engine/Errors.h"

#include <QFrame>
#include <QLabel>

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
    Image4->setGeometry(width - 48, 0, 48, 48);
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
    }
}

} // namespace glimt
