#include "launcher_system.h"

#include "notice.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace platform {

namespace {

// Our companions honour this variable on every system (Windows also gets the native request).
const char minimizedVariable[] = "MORVANE_START_MINIMIZED";

} // namespace

bool isBareName(const QString &fileName)
{
    return !fileName.isEmpty() && !fileName.contains(QLatin1Char('/')) && !fileName.contains(QLatin1Char('\\'));
}

QStringList companionFolders()
{
    if (const CompanionFolders *override = CompanionFolders::active())
        return override->folders();
    return {QCoreApplication::applicationDirPath()};
}

QString findCompanion(const QString &fileName, const QStringList &folders)
{
    // A bare name only: anything with a separator would reach outside the searched folders.
    if (!isBareName(fileName))
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
        // Found but not runnable is told apart from missing: moving the file would not help.
        if (const QString blocked = companionWithoutPermission(fileName, folders); !blocked.isEmpty())
            notice(QStringLiteral("无法启动程序\"%1\"!\n%2\n原因:文件没有运行的权限,请为它加上可执行权限后再试.")
                       .arg(fileName, blocked));
        else
            notice(QStringLiteral("找不到程序\"%1\",请把它和本程序放在同一个文件夹中!").arg(fileName));
        return false;
    }

    QProcess process;
    process.setProgram(path);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(minimizedVariable), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    askForMinimizedWindow(process);
    // No working directory set: the companion shares ours (the setter finds qqq.qq there).
    if (!process.startDetached()) {
        notice(QStringLiteral("无法启动程序\"%1\"!\n%2\n原因:系统无法运行这个文件,它可能已损坏、不是本系统的程序,"
                              "或缺少运行它所需的程序.")
                   .arg(fileName, QDir::toNativeSeparators(path)));
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

CompanionFolders::CompanionFolders(QStringList folders) : m_folders(std::move(folders))
{
}

CompanionFolders::~CompanionFolders() = default;

} // namespace platform
