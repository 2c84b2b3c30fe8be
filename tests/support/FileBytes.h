#pragma once
#include <QByteArray>
#include <QString>

namespace glimt::test {

// The whole content of `path`, or empty bytes when it cannot be read.
QByteArray ReadBytes(const QString& path);
// Creates or replaces `path` with `bytes`; false when that fails.
bool WriteBytes(const QString& path, const QByteArray& bytes);
// Makes a FIFO (named pipe) at `path`: a name that opens like a file but whose reading waits
// for a writer that never comes. False when that fails.
bool MakeFifo(const QString& path);

} // namespace glimt::test
