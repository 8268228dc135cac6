#include "winpath.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

namespace platform {

QString winePrefix()
{
    const QString configured = qEnvironmentVariable("WINEPREFIX");
    return configured.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine") : configured;
}

#ifdef Q_OS_WIN

QString nativePath(const QString &windowsPath)
{
    return windowsPath;
}

#else

namespace {

bool startsWithDrive(const QString &path)
{
    return path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter() && path.at(0).unicode() < 128;
}

QString driveFolder(QChar letter)
{
    const QString prefix = winePrefix();
    const QString dosDevice = prefix + QStringLiteral("/dosdevices/") + letter.toLower() + u':';
    if (letter.toLower() == u'c' && !QFileInfo::exists(dosDevice))
        return prefix + QStringLiteral("/drive_c");
    return dosDevice;
}

} // namespace

QString nativePath(const QString &windowsPath)
{
    QString path = windowsPath;
    if (startsWithDrive(path)) {
        QString rest = path.mid(2);
        // "C:file" is relative to the drive's current folder; its root is the best we know.
        if (!rest.isEmpty() && rest.at(0) != u'\\' && rest.at(0) != u'/')
            rest.prepend(u'\\');
        path = driveFolder(path.at(0)) + rest;
    }
    path.replace(u'\\', u'/');
    return path;
}

#endif

} // namespace platform
