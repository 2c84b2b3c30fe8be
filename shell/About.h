#pragma once
#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;
class QLocale;
class QPushButton;

namespace glimt {

// The program's home page; empty while it has none.
const QString& HomePageAddress();

// "<total> KB": the physical memory in kilobytes (bytes shifted right by 10) with the digits
// grouped by `locale`'s thousands separator; 0 gives no digits at all.
QString MemorySizeText(std::uint64_t totalBytes, const QLocale& locale);

// The running system in one line, from the contents of os-release (its PRETTY_NAME, else its
// NAME and VERSION) and the kernel's name and release: "Debian GNU/Linux 12 (Linux 6.1.0)".
QString OsVersionText(const QString& osRelease, const QString& kernelName, const QString& kernelRelease);

// The same for this machine (sysinfo, /etc/os-release, uname).
std::uint64_t TotalPhysicalMemory();
QString RunningOsVersion();

} // namespace glimt

// The About box: the program's name and version, a notice line, the home page, the running
// system and the amount of physical memory. Shown modally by Help > About.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    // Component names of the form.
    QLabel* Image4 = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblSecond = nullptr;
    QLabel* lblFreeware = nullptr;
    QLabel* lblHomepage = nullptr;
    QLabel* lblAddress = nullptr;
    QLabel* lblOS = nullptr;
    QLabel* lblMem = nullptr;
    QLabel* lblSize = nullptr;
    QPushButton* btnOK = nullptr;

    // Sets the fixed texts again (whatever a language file gave them) and places lblSize after
    // lblMem.
    void FormShow();
    // Fills in the memory and the system.
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;
};
