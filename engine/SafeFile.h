#pragma once
#include <QByteArray>
#include <QString>

namespace glimt {

// Reads a whole file. Throws glimt::FileError when it cannot be opened or read, or when it is
// larger than `maxBytes` (so a reader never allocates more than it is prepared to parse).
QByteArray ReadWholeFile(const QString& path, qint64 maxBytes = qint64(1) << 30);

// Replaces (or creates) `path` with `bytes` only once they are completely written and flushed:
// the new content goes to a temporary file in the same folder, which is renamed over the old
// file. On any failure the old file is left exactly as it was and glimt::FileError is thrown.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace glimt
