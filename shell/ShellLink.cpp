#include "shell/ShellLink.h"

#include "engine/ByteReader.h"
#include "engine/Errors.h"
#include "engine/SafeFile.h"

#include <QDir>
#include <QFileInfo>

namespace glimt {

namespace {

constexpr std::uint32_t HeaderSize = 0x4C;
constexpr std::uint8_t LinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                        0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum : std::uint32_t {
    HasLinkTargetIDList = 0x01,
    HasLinkInfo = 0x02,
    HasName = 0x04,
    HasRelativePath = 0x08,
    IsUnicode = 0x80,
};
constexpr std::uint32_t VolumeIDAndLocalBasePath = 0x01;

// A link file larger than this is not a link.
constexpr qint64 MaxLinkBytes = qint64(1) << 20;

QString WindowsToLocalSeparators(QString path)
{
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// A zero-terminated string of single-byte characters starting at `offset`; false when no
// terminator lies inside [offset, end).
bool ReadAnsiZ(const QByteArray& bytes, std::uint64_t offset, std::uint64_t end, QString& out)
{
    if (offset >= end || end > std::uint64_t(bytes.size()))
        return false;
    for (std::uint64_t i = offset; i < end; ++i) {
        if (bytes[qsizetype(i)] == '\0') {
            out = QString::fromLatin1(bytes.constData() + offset, qsizetype(i - offset));
            return true;
        }
    }
    return false;
}

// One counted string of the string-data section.
bool ReadCountedString(ByteReader& r, bool unicode, QString& out)
{
    const std::uint16_t count = r.U16();
    const std::uint64_t bytes = std::uint64_t(count) * (unicode ? 2 : 1);
    const std::uint8_t* p = r.Bytes(bytes);
    if (!p)
        return false;
    if (unicode) {
        out.resize(count);
        for (std::uint16_t i = 0; i < count; ++i)
            out[i] = QChar(char16_t(p[2 * i] | (p[2 * i + 1] << 8)));
    } else {
        out = QString::fromLatin1(reinterpret_cast<const char*>(p), count);
    }
    return true;
}

} // namespace

bool ReadShellLink(const QByteArray& bytes, ShellLinkTarget& target)
{
    target = ShellLinkTarget();
    ByteReader r(bytes);
    if (r.U32() != HeaderSize)
        return false;
    std::uint8_t clsid[16] = {};
    if (!r.Read(clsid, sizeof clsid) || std::memcmp(clsid, LinkClsid, sizeof clsid) != 0)
        return false;
    const std::uint32_t flags = r.U32();
    if (!r.Seek(HeaderSize))
        return false;

    if (flags & HasLinkTargetIDList) {
        const std::uint16_t idListSize = r.U16();
        if (!r.Skip(idListSize))
            return false;
    }

    if (flags & HasLinkInfo) {
        const std::uint64_t start = r.Pos();
        const std::uint32_t infoSize = r.U32();
        const std::uint32_t infoHeaderSize = r.U32();
        const std::uint32_t infoFlags = r.U32();
        r.U32(); // volume id offset
        const std::uint32_t localBasePathOffset = r.U32();
        if (!r.Ok() || infoSize < 28 || infoHeaderSize < 28 || infoHeaderSize > infoSize
            || !r.InRange(start, infoSize))
            return false;
        const std::uint64_t end = start + infoSize;
        if (infoFlags & VolumeIDAndLocalBasePath) {
            QString base;
            if (localBasePathOffset < infoHeaderSize
                || !ReadAnsiZ(bytes, start + localBasePathOffset, end, base))
                return false;
            target.LocalBasePath = WindowsToLocalSeparators(base);
        }
        if (!r.Seek(end))
            return false;
    }

    const bool unicode = flags & IsUnicode;
    QString text;
    if ((flags & HasName) && !ReadCountedString(r, unicode, text))
        return false;
    if (flags & HasRelativePath) {
        if (!ReadCountedString(r, unicode, text))
            return false;
        target.RelativePath = WindowsToLocalSeparators(text);
    }
    return !target.RelativePath.isEmpty() || !target.LocalBasePath.isEmpty();
}

QString ResolveShortcutPath(const QString& linkPath)
{
    const QFileInfo link(linkPath);
    if (link.isSymLink())
        return link.symLinkTarget();

    QByteArray bytes;
    try {
        bytes = ReadWholeFile(linkPath, MaxLinkBytes);
    } catch (const FileError&) {
        return QString();
    }
    ShellLinkTarget target;
    if (!ReadShellLink(bytes, target))
        return QString();

    QString relative;
    if (!target.RelativePath.isEmpty()) {
        relative = QDir::cleanPath(link.absoluteDir().absoluteFilePath(target.RelativePath));
        if (QFileInfo::exists(relative))
            return relative;
    }
    return target.LocalBasePath.isEmpty() ? relative : target.LocalBasePath;
}

} // namespace glimt
