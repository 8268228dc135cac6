#pragma once

#include <QString>

// The programs build Windows-style paths by plain concatenation with "\", exactly as the
// QQ client's folders are named. This maps such a path to a file name of the running
// system at the moment a file is opened; nothing else in the programs touches separators.
namespace platform {

// On Windows the path itself. Elsewhere:
//  - "X:" + rest lands in the Wine prefix ($WINEPREFIX, default ~/.wine) as
//    <prefix>/dosdevices/x: + rest, or <prefix>/drive_c + rest for C: without dosdevices;
//  - a path starting with "\" is rooted at "/";
//  - any other path (native absolute, or relative) only has its "\" turned into "/".
// Repeated separators are left alone: the file system accepts them.
QString nativePath(const QString &windowsPath);

// The folder holding the Wine drives, as nativePath uses it.
QString winePrefix();

} // namespace platform
