#include "shell/About.h"

#include "editor/DialogParts.h"

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

namespace glimt {

const QString& HomePageAddress()
{
    static const QString address;
    return address;
}

QString MemorySizeText(std::uint64_t totalBytes, const QLocale& locale)
{
    const std::uint64_t kb = totalBytes >> 10;
    const QString digits = kb == 0 ? QString() : locale.toString(qulonglong(kb));
    return digits + QStringLiteral(" KB");
}

QString OsVersionText(const QString& osRelease, const QString& kernelName, const QString& kernelRelease)
{
    QString pretty, name, version;
    for (const QString& line : osRelease.split(QLatin1Char('\n'))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
            && value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        if (key == QLatin1String("PRETTY_NAME"))
            pretty = value;
        else if (key == QLatin1String("NAME"))
            name = value;
        else if (key == QLatin1String("VERSION"))
            version = value;
    }
    if (pretty.isEmpty())
        pretty = (name + QLatin1Char(' ') + version).trimmed();
    const QString kernel = (kernelName + QLatin1Char(' ') + kernelRelease).trimmed();
    if (pretty.isEmpty())
        return kernel;
    return kernel.isEmpty() ? pretty : pretty + QStringLiteral(" (") + kernel + QLatin1Char(')');
}

std::uint64_t TotalPhysicalMemory()
{
    struct sysinfo info {};
    if (sysinfo(&info) != 0)
        return 0;
    return std::uint64_t(info.totalram) * std::uint64_t(info.mem_unit ? info.mem_unit : 1);
}

QString RunningOsVersion()
{
    QString osRelease;
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile f(QString::fromLatin1(path));
        // A small text file; anything longer is not read past its first 64 KB.
        if (f.open(QIODevice::ReadOnly)) {
            osRelease = QString::fromUtf8(f.read(64 * 1024));
            break;
        }
    }
    struct utsname u {};
    if (uname(&u) != 0)
        return OsVersionText(osRelease, QString(), QString());
    return OsVersionText(osRelease, QString::fromLocal8Bit(u.sysname), QString::fromLocal8Bit(u.release));
}

} // namespace glimt

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    // At least the designed 394 x 318, wider for a long system name or translated text.
    QVBoxLayout* outer = glimt::MakeDialogLayout(this, nullptr, QSize(394, 318));
    outer->setContentsMargins(0, 0, 0, 8);

    auto* Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setMinimumHeight(48);
    Panel3->setAutoFillBackground(true);
    QPalette headerPalette = Panel3->palette();
    headerPalette.setColor(QPalette::Window, QColor(0x2b, 0x57, 0x9a));
    headerPalette.setColor(QPalette::WindowText, Qt::white);
    Panel3->setPalette(headerPalette);
    auto* header = new QHBoxLayout(Panel3);
    Image4 = MakeLabel(Panel3, "Image4");
    Image4->setText(QStringLiteral("Glimt"));
    QFont big = Image4->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    Image4->setFont(big);
    header->addWidget(Image4);
    header->addStretch(1);
    QLabel* title = MakeLabel(Panel3, "Label1");
    title->setText(QStringLiteral("About"));
    header->addWidget(title);
    outer->addWidget(Panel3);

    auto* white = new QWidget(this);
    white->setObjectName(QStringLiteral("Panel1"));
    white->setAutoFillBackground(true);
    QPalette whitePalette = white->palette();
    whitePalette.setColor(QPalette::Window, Qt::white);
    white->setPalette(whitePalette);
    auto* texts = new QVBoxLayout(white);
    lblVersion = MakeLabel(white, "lblVersion");
    lblSecond = MakeLabel(white, "lblSecond");
    lblFreeware = MakeLabel(white, "lblFreeware");
    lblHomepage = MakeLabel(white, "lblHomepage");
    lblAddress = MakeLabel(white, "lblAddress");
    QFont bold = lblVersion->font();
    bold.setBold(true);
    lblVersion->setFont(bold);
    for (QLabel* l : {lblVersion, lblSecond, lblFreeware, lblHomepage, lblAddress})
        texts->addWidget(l);
    lblAddress->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(lblAddress, &QLabel::linkActivated, this, [this] {
        // The main window's home-page command opens it.
        if (QWidget* main = parentWidget())
            for (QAction* a : main->actions())
                if (a->objectName() == QLatin1String("actHomepage"))
                    a->trigger();
    });
    texts->addStretch(1);
    outer->addWidget(white, 1);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    outer->addWidget(line);

    auto* bottom = new QGridLayout;
    bottom->setContentsMargins(10, 0, 10, 0);
    lblOS = MakeLabel(this, "lblOS");
    lblMem = MakeLabel(this, "lblMem");
    lblMem->setText(QStringLiteral("Memory Available to Windows:"));
    lblSize = MakeLabel(this, "lblSize");
    btnOK = glimt::MakeDialogButton(this, "btnOK", QStringLiteral("OK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(lblOS, 0, 0, 1, 3);
    // lblSize sits 5 pixels after the end of lblMem, however long its translated text is.
    bottom->addWidget(lblMem, 1, 0);
    bottom->addWidget(lblSize, 1, 1);
    bottom->setHorizontalSpacing(5);
    bottom->setColumnStretch(1, 1);
    bottom->addWidget(btnOK, 1, 2);
    outer->addLayout(bottom);
}

void TfrmAbout::FormShow()
{
    lblVersion->setText(QStringLiteral("Glimt 0.1"));
    lblSecond->setText(QStringLiteral("Icon and cursor editor"));
    lblFreeware->setText(QStringLiteral("This program is free software."));
    const QString& address = glimt::HomePageAddress();
    lblHomepage->setText(address.isEmpty() ? QString() : QStringLiteral("Home page:"));
    lblAddress->setText(address.isEmpty()
                            ? QString()
                            : QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()));
}

void TfrmAbout::FormActivate()
{
    lblSize->setText(glimt::MemorySizeText(glimt::TotalPhysicalMemory(), QLocale()));
    lblOS->setText(glimt::RunningOsVersion());
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    FormShow();
    FormActivate();
    QDialog::showEvent(event);
}
