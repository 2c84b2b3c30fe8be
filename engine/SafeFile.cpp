#include "engine/SafeFile.h"

#include "engine/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace glimt {

QByteArray ReadWholeFile(const QString& path, qint64 maxBytes)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot open file \"%1\": %2").arg(path, f.errorString()), path);
    const qint64 size = f.size();
    if (size > maxBytes)
        throw FileError(QStringLiteral("The file \"%1\" is too large").arg(path), path);
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Cannot read file \"%1\": %2").arg(path, f.errorString()), path);
    return bytes;
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    // Write into a temporary beside the target even where the folder's rights would allow
    // writing the file in place: a failure must never leave a half-written file.
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("Cannot create file \"%1\": %2").arg(path, f.errorString()), path);
    if (f.write(bytes) != bytes.size()) {
        const QString why = f.errorString();
        f.cancelWriting();
        throw FileError(QStringLiteral("Cannot write file \"%1\": %2").arg(path, why), path);
    }
    if (!f.commit())
        throw FileError(QStringLiteral("Cannot write file \"%1\": %2").arg(path, f.errorString()), path);
}

} // namespace glimt
