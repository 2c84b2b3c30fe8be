#pragma once
#include <QByteArray>
#include <QString>

namespace glimt {

// What a shell-link (".lnk") file names as its target, read from the bytes of the file.
struct ShellLinkTarget {
    // The link's relative path, with '/' for '\' (empty when the link holds none).
    QString RelativePath;
    // The local base path of the link's target (empty when the link holds none).
    QString LocalBasePath;
};

// Reads the header, the item list, the link information and the string data of a shell link.
// Returns false for anything that is not a well-formed shell link; every offset and count is
// checked against the bytes.
bool ReadShellLink(const QByteArray& bytes, ShellLinkTarget& target);

// The file a ".lnk" stands for: the target of a symbolic link; else, for a shell-link file,
// its relative path resolved against the link's folder when that file exists, else its local
// base path (or the resolved relative path when there is no base path). Empty when the file
// cannot be read or holds no target. Whether the target exists is left to the caller.
QString ResolveShortcutPath(const QString& linkPath);

} // namespace glimt
