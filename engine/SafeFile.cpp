#include "engine/SafeFile.h"

#include "engine/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glimt {

bool IsRegularFile(const QString& path)
{
    struct stat st {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

void OpenRegularFileForReading(QFile& file, const QString& path)
{
    // Opened without blocking, then checked on the opened descriptor itself: a name that is
    // swapped for a FIFO between a check and the open cannot make the open wait.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        throw FileError(QStringLiteral("Cannot open file \"%1\": %2").arg(path, QString::fromLocal8Bit(std::strerror(error))),
                        path);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw FileError(QStringLiteral("Cannot open file \"%1\": not a regular file").arg(path), path);
    }
    // Reads of a regular file never wait, so the non-blocking flag changes nothing from here.
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw FileError(QStringLiteral("Cannot open file \"%1\": %2").arg(path, file.errorString()), path);
    }
}

QByteArray ReadWholeFile(const QString& path, qint64 maxBytes)
{
    QFile f;
    OpenRegularFileForReading(f, path);
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
