#include "engine/Settings.h"

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
    if (i >= 1 && i <= 10)
        RecentFiles[std::size_t(i)] = fileName;
}

TOptions& Options()
{
    static TOptions instance;
    return instance;
}
