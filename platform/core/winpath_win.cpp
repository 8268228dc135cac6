// Windows names its files as the programs write them: the paths are used as they are.
#include "winpath.h"

namespace platform {

QString nativePath(const QString &windowsPath)
{
    return windowsPath;
}

QString shownOnThisSystem(const QString &)
{
    return {};
}

bool isOnMissingWineDrive(const QString &)
{
    return false;
}

std::optional<MissingWineDrive> missingWineDrive(const QString &)
{
    return std::nullopt;
}

QString nameHoldingBackslash(const QString &)
{
    return {};
}

} // namespace platform
