#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

namespace glimt {

// True when `path` names a regular file (symbolic links followed): not a folder, a FIFO, a
// socket or a device, whose reading could block or never end.
bool IsRegularFile(const QString& path);

// Opens `file` on `path` for reading, refusing anything but a regular file without waiting for
// it (opening a FIFO for reading would block until a writer comes). Throws glimt::FileError.
void OpenRegularFileForReading(QFile& file, const QString& path);

// Reads a whole regular file. Throws glimt::FileError when it cannot be opened or read, is not
// a regular file, or is larger than `maxBytes` (so a reader never allocates more than it is
// prepared to parse).
QByteArray ReadWholeFile(const QString& path, qint64 maxBytes = qint64(1) << 30);

// Replaces (or creates) `path` with `bytes` only once they are completely written and flushed:
// the new content goes to a temporary file in the same folder, which is renamed over the old
// file. On any failure the old file is left exactly as it was and glimt::FileError is thrown.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace glimt
