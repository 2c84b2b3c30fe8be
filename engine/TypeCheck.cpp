#include "engine/TypeCheck.h"

#include "engine/Errors.h"
#include "engine/SafeFile.h"

#include <QDir>
#include <QFile>
#include <cstring>

TImageFileType DetectImageFileTypeOf(const QByteArray& head)
{
    unsigned char b[12] = {};
    std::memcpy(b, head.constData(), std::size_t(std::min<qsizetype>(head.size(), 12)));
    if (b[0] == 0 && b[1] == 0 && b[2] == 1 && b[3] == 0)
        return iftIco;
    if (b[0] == 0 && b[1] == 0 && b[2] == 2 && b[3] == 0)
        return iftCur;
    if (std::memcmp(b, "RIFF", 4) == 0 && std::memcmp(b + 8, "ACON", 4) == 0)
        return iftAni;
    if (b[0] == 'B' && b[1] == 'M')
        return iftBmp;
    if (b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF)
        return iftJpeg;
    if (b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G')
        return iftPng;
    if (b[0] == 'G' && b[1] == 'I' && b[2] == 'F')
        return iftGif;
    return iftUnknown;
}

TImageFileType DetectImageFileType(const QString& fileName)
{
    QFile f;
    glimt::OpenRegularFileForReading(f, fileName);
    return DetectImageFileTypeOf(f.read(12));
}

TImageFileKind ImageFileKindOf(TImageFileType type)
{
    switch (type) {
    case iftIco:
    case iftCur: return ifkIcon;
    case iftBmp:
    case iftJpeg:
    case iftPng:
    case iftGif: return ifkImage;
    default: return ifkOther;
    }
}

TImageFileKind ImageFileKind(const QString& fileName)
{
    return ImageFileKindOf(DetectImageFileType(fileName));
}

void GetAppDataFolder(QString& path)
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) {
        path = QDir::cleanPath(xdg);
        return;
    }
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty())
        path = QDir::cleanPath(home + QStringLiteral("/.config"));
}

namespace glimt {

QString DataFolder()
{
    QString appData;
    GetAppDataFolder(appData);
    return appData.isEmpty() ? QString() : appData + QStringLiteral("/Glimt");
}

} // namespace glimt
