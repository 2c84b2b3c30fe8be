#include "shell/RecentFiles.h"

#include "engine/Settings.h"

namespace glimt {

void AddRecentFile(TOptions& options, const QString& path)
{
    int i = 1;
    while (i <= 10 && !options.GetRecentFile(i).isEmpty() && options.GetRecentFile(i) != path)
        ++i;
    if (i <= 10 && options.GetRecentFile(i) == path) {
        int j = i;
        while (j < 10 && !options.GetRecentFile(j + 1).isEmpty()) {
            options.SetRecentFile(j, options.GetRecentFile(j + 1));
            ++j;
        }
        options.SetRecentFile(j, path);
    } else if (i <= 10) {
        options.SetRecentFile(i, path);
    } else {
        for (int j = 1; j < 10; ++j)
            options.SetRecentFile(j, options.GetRecentFile(j + 1));
        options.SetRecentFile(10, path);
    }
}

QStringList RecentFilesNewestFirst(const TOptions& options)
{
    QStringList list;
    for (int i = 10; i >= 1; --i) {
        const QString path = options.GetRecentFile(i);
        if (!path.isEmpty())
            list.append(path);
    }
    return list;
}

QString RecentFileCaption(int number, const QString& path)
{
    return QString::number(number) + QStringLiteral(": ") + path;
}

QString PathOfRecentFileCaption(const QString& caption)
{
    const qsizetype at = caption.indexOf(QStringLiteral(": "));
    return at < 0 ? caption : caption.mid(at + 2);
}

} // namespace glimt
