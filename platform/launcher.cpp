#include "launcher.h"

#include "notice.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace platform {

namespace {

// Our companions honour this variable on every system (Windows also gets the native request).
const char minimizedVariable[] = "MORVANE_START_MINIMIZED";

CompanionFolders *activeOverride = nullptr;

// The name as given, and where programs carry no ".exe", the name without it.
QStringList candidateNames(const QString &fileName)
{
    QStringList names{fileName};
#ifndef Q_OS_WIN
    const QString suffix = QStringLiteral(".exe");
    if (fileName.endsWith(suffix, Qt::CaseInsensitive) && fileName.size() > suffix.size())
        names << fileName.chopped(suffix.size());
#endif
    return names;
}

} // namespace

QStringList companionFolders()
{
    if (activeOverride)
        return activeOverride->folders();
    return {QCoreApplication::applicationDirPath()};
}

QString findCompanion(const QString &fileName, const QStringList &folders)
{
    // A bare name only: anything with a separator would reach outside the searched folders.
    if (fileName.isEmpty() || fileName.contains(QLatin1Char('/')) || fileName.contains(QLatin1Char('\\')))
        return {};
    const QStringList names = candidateNames(fileName);
    if (!folders.isEmpty()) {
        for (const QString &name : names) {
            const QString found = QStandardPaths::findExecutable(name, folders);
            if (!found.isEmpty())
                return found;
        }
    }
    for (const QString &name : names) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

bool startCompanion(const QString &fileName, const QStringList &folders)
{
    const QString path = findCompanion(fileName, folders);
    if (path.isEmpty()) {
        notice(QStringLiteral("找不到程序\"%1\",请把它和本程序放在同一个文件夹中!").arg(fileName));
        return false;
    }

    QProcess process;
    process.setProgram(path);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(minimizedVariable), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *arguments) {
        arguments->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        arguments->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
    });
#endif
    // No working directory set: the companion shares ours (the setter finds qqq.qq there).
    if (!process.startDetached()) {
        notice(QStringLiteral("无法启动程序\"%1\"!").arg(fileName));
        return false;
    }
    return true;
}

bool takeMinimizedRequest()
{
    const bool requested = qgetenv(minimizedVariable) == "1";
    qunsetenv(minimizedVariable);
    return requested;
}

CompanionFolders::CompanionFolders(QStringList folders)
    : m_folders(std::move(folders))
    , m_previous(activeOverride)
{
    activeOverride = this;
}

CompanionFolders::~CompanionFolders()
{
    activeOverride = m_previous;
}

} // namespace platform
