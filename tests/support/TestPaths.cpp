#include "tests/support/TestPaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace glimt::test {

QString TestDataDir()
{
    const QString dir = QStringLiteral(GLIMT_TESTDATA_DIR);
    return QFileInfo(dir).isDir() ? dir : QString();
}

QString FixturesDir()
{
    return QStringLiteral(GLIMT_FIXTURES_DIR);
}

QStringList TestDataFiles(const QString& folder, const QStringList& suffixes)
{
    QStringList result;
    const QString root = TestDataDir();
    if (root.isEmpty())
        return result;
    QDirIterator it(root + "/" + folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString lower = path.toLower();
        for (const QString& s : suffixes) {
            if (lower.endsWith(s)) {
                result << path;
                break;
            }
        }
    }
    result.sort();
    return result;
}

} // namespace glimt::test
