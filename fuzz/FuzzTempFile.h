#pragma once
// For readers that only take a path: the input is written to a file of this process's own
// temporary folder (removed when the process ends), so parallel fuzzers never share a file.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace glimt::fuzz {

inline QString WriteTempFile(const QString& name, const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    if (!dir.isValid())
        std::abort();
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}

} // namespace glimt::fuzz
