#include "winpath.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString nameHoldingBackslash(const QString &nativePath)
{
    for (const QString &name : nativePath.split(u'/')) {
        if (name.contains(u'\\'))
            return name;
    }
    return {};
}

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

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

// Windows resolves ".." by name and never above a drive's root: "C:\..\qq" is "C:\qq". Here
// the drive is a folder in the Wine prefix, whose parent the file system would enter, so a
// ".." at the root is left out with its separator. Everything else stays as typed.
QString withoutClimbAboveRoot(const QString &rest)
{
    QString kept;
    qsizetype depth = 0; // folders below the drive's root
    qsizetype start = 0;
    while (start < rest.size()) {
        qsizetype end = start;
        while (end < rest.size() && !isSeparator(rest.at(end)))
            ++end;
        const qsizetype next = end < rest.size() ? end + 1 : end; // past the separator, if any
        const QStringView segment = QStringView(rest).sliced(start, end - start);
        if (segment == u"..") {
            if (depth == 0) {
                start = next;
                continue;
            }
            --depth;
        } else if (!segment.isEmpty() && segment != u".") {
            ++depth;
        }
        kept += QStringView(rest).sliced(start, next - start);
        start = next;
    }
    return kept;
}

// The home folder written as "~", as users know it from their file manager's address bar.
QString withHomeShort(const QString &path)
{
    const QString home = QDir::homePath();
    if (path == home || path.startsWith(home + u'/'))
        return u'~' + path.mid(home.size());
    return path;
}

} // namespace

QString shownOnThisSystem(const QString &windowsPath)
{
    if (!startsWithDrive(windowsPath))
        return {};
    return withHomeShort(nativePath(windowsPath));
}

bool isOnMissingWineDrive(const QString &windowsPath)
{
    return startsWithDrive(windowsPath) && !QFileInfo(driveFolder(windowsPath.at(0))).isDir();
}

std::optional<MissingWineDrive> missingWineDrive(const QString &windowsPath)
{
    if (!isOnMissingWineDrive(windowsPath))
        return std::nullopt;
    return MissingWineDrive{windowsPath.at(0).toUpper(), withHomeShort(driveFolder(windowsPath.at(0)))};
}

QString nativePath(const QString &windowsPath)
{
    QString path = windowsPath;
    if (startsWithDrive(path)) {
        QString rest = path.mid(2);
        // "C:file" is relative to the drive's current folder; its root is the best we know.
        if (!rest.isEmpty() && !isSeparator(rest.at(0)))
            rest.prepend(u'\\');
        path = driveFolder(path.at(0)) + withoutClimbAboveRoot(rest);
    }
    path.replace(u'\\', u'/');
    return path;
}

} // namespace platform
