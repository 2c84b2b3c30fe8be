#pragma once
#include <QString>
#include <QStringList>

class TOptions;

namespace glimt {

// Records `path` as the newest of the ten recent files of `options`: a path already listed
// moves to the newest place, a new one takes the next free slot, and with all ten slots used
// the oldest drops out. Paths compare case-sensitively.
void AddRecentFile(TOptions& options, const QString& path);

// The recent files, newest first (empty slots left out).
QStringList RecentFilesNewestFirst(const TOptions& options);

// The caption of a Recent Files entry ("3: /path") and the path back from it.
QString RecentFileCaption(int number, const QString& path);
QString PathOfRecentFileCaption(const QString& caption);

} // namespace glimt
