#include "launcher_system.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace platform {

QStringList candidateNames(const QString &fileName)
{
    QStringList names{fileName};
    const QString suffix = QStringLiteral(".exe");
    if (fileName.endsWith(suffix, Qt::CaseInsensitive) && fileName.size() > suffix.size())
        names << fileName.chopped(suffix.size());
    return names;
}

QString companionWithoutPermission(const QString &fileName, const QStringList &folders)
{
    if (!isBareName(fileName))
        return {};
    for (const QString &folder : folders) {
        for (const QString &name : candidateNames(fileName)) {
            const QFileInfo file(QDir(folder).filePath(name));
            if (file.isFile() && !file.isExecutable())
                return QDir::toNativeSeparators(file.absoluteFilePath());
        }
    }
    return {};
}

void askForMinimizedWindow(QProcess &)
{
    // The system offers no such request: our companions read the environment alone.
}

} // namespace platform
