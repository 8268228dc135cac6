#include "workingfolder.h"

#include <QDir>

namespace platform {

QString perUserFolder()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isRelativePath(dataHome)) {
        const QString home = qEnvironmentVariable("HOME");
        if (QDir::isRelativePath(home))
            return {};
        dataHome = home + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(dataHome + QStringLiteral("/Morvane"));
}

} // namespace platform
