#include "engine/Settings.h"

#include "engine/TypeCheck.h"

TOptions::TOptions()
{
    const int screenWidth = 1024;
    ToolsLeft = screenWidth - 231;
    ColorsLeft = screenWidth - 171;
    PrevLeft = screenWidth - 231;
}

QString TOptions::GetRecentFile(int i) const
{
    return (i >= 1 && i <= 10) ? RecentFiles[std::size_t(i)] : QString();
}

void TOptions::SetRecentFile(int i, const QString& fileName)
{
    if (i >= 1 && i <= 10 && !glimt::HasLineBreak(fileName))
        RecentFiles[std::size_t(i)] = fileName;
}

QString TOptions::DefaultFileName()
{
    const QString folder = glimt::DataFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/config.cfg");
}

namespace glimt {

bool HasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

} // namespace glimt

TOptions& Options()
{
    static TOptions instance;
    return instance;
}
