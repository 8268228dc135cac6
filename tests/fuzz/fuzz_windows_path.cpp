// Windows-style paths as typed into the forms, mapped to this system's file names: no path
// makes the mapping fail, no backslash survives it, and a drive path stays on that drive in the
// Wine prefix, as on Windows, where ".." at a drive's root stays at the root.
#include "fuzzinput.h"

#include "platform/core/winpath.h"
#include "platform/words/filewords.h"

#include <QDir>
#include <QFile>

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The folder a drive letter lands in; the fuzzer's prefix links D: through dosdevices and
// has no entry for C:, the two ways Wine sets drives up.
QString driveRoot(QChar letter)
{
    const QString prefix = platform::winePrefix();
    if (letter.toLower() == u'c')
        return prefix + QStringLiteral("/drive_c");
    return prefix + QStringLiteral("/dosdevices/") + letter.toLower() + u':';
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::isolate();
    const QString prefix = platform::winePrefix();
    QDir().mkpath(prefix + QStringLiteral("/drive_c"));
    QDir().mkpath(prefix + QStringLiteral("/drive_d"));
    QDir().mkpath(prefix + QStringLiteral("/dosdevices"));
    QFile::link(QStringLiteral("../drive_d"), prefix + QStringLiteral("/dosdevices/d:"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString windowsPath = fuzz::Input(data, size).restAsText();
    const QString native = platform::nativePath(windowsPath);
    fuzz::require(!native.contains(u'\\'), "no backslash is left in the file name");
    // The notices' wording about the path must not fail either.
    platform::words::whereOnThisSystemLine(windowsPath);
    platform::words::missingWineDriveReason(windowsPath);

    if (windowsPath.size() >= 2 && isAsciiLetter(windowsPath.at(0)) && windowsPath.at(1) == u':') {
        const QString root = driveRoot(windowsPath.at(0));
        fuzz::require(native.startsWith(root), "a drive path lands in its drive's folder in the Wine prefix");
        const QString resolved = QDir::cleanPath(native);
        fuzz::require(resolved == root || resolved.startsWith(root + u'/'),
                      "a drive path does not climb out of its drive");
    } else if (windowsPath.startsWith(u'\\') || windowsPath.startsWith(u'/')) {
        fuzz::require(native.startsWith(u'/'), "a rooted path stays rooted");
    }
    return 0;
}
