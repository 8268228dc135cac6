#include "launcher_system.h"

#include <QProcess>

#include <qt_windows.h>

namespace platform {

QStringList candidateNames(const QString &fileName)
{
    return {fileName};
}

// Windows keeps no permission to run a file: whatever is found, it runs.
QString companionWithoutPermission(const QString &, const QStringList &)
{
    return {};
}

void askForMinimizedWindow(QProcess &process)
{
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *arguments) {
        arguments->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        arguments->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
    });
}

} // namespace platform
