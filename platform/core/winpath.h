#pragma once

#include <QString>

#include <optional>

// The programs build Windows-style paths by plain concatenation with "\", exactly as the
// QQ client's folders are named. This maps such a path to a file name of the running
// system at the moment a file is opened; nothing else in the programs touches separators.
namespace platform {

// On Windows the path itself. Elsewhere:
//  - "X:" + rest lands in the Wine prefix ($WINEPREFIX, default ~/.wine) as
//    <prefix>/dosdevices/x: + rest, or <prefix>/drive_c + rest for C: without dosdevices;
//    a ".." at the drive's root is left out, since Windows stays at the root;
//  - a path starting with "\" is rooted at "/";
//  - any other path (native absolute, or relative) only has its "\" turned into "/".
// Repeated separators are left alone: the file system accepts them.
QString nativePath(const QString &windowsPath);

// The first file or folder name in a path of this system that holds a "\", which nativePath
// reads as a separator, so no Windows-style path leads there; empty when there is none, and
// always on Windows, where no name holds one.
QString nameHoldingBackslash(const QString &nativePath);

// The folder holding the Wine drives, as nativePath uses it.
QString winePrefix();

// For the notices that name a drive path ("C:\\..."): where on this system it is looked for,
// with the home folder shown as "~". Empty for any other path, used as typed, and on Windows.
QString shownOnThisSystem(const QString &windowsPath);

// Whether the path names a drive ("C:\...") whose folder in the Wine prefix does not exist,
// as when Wine was never installed. Always false on Windows.
bool isOnMissingWineDrive(const QString &windowsPath);

// The drive of a path whose drive has no folder in the Wine prefix: its letter in upper case
// and that missing folder, the home folder shown as "~". nullopt when the drive is there or the
// path names no drive.
struct MissingWineDrive {
    QChar letter;
    QString folder;
};
std::optional<MissingWineDrive> missingWineDrive(const QString &windowsPath);

} // namespace platform
