// The skin name, which names the skin's folder: a name the check accepts can neither leave the
// version folder nor hide anything from the user, and the location rule then puts skin.ini
// exactly one folder, of that name, below the version folder.
#include "fuzzinput.h"

#include "platform/core/ansitext.h"
#include "platform/core/winpath.h"
#include "skinmaker/core/location.h"

#include <QDir>
#include <QFileInfo>

using namespace skinmaker::core;

namespace {

void checkUsableName(const QString &name)
{
    fuzz::require(!name.isEmpty() && name != u"." && name != u"..", "a usable name is no empty, . or .. name");
    for (const QChar c : name)
        fuzz::require(!QStringView(u"\\/<>:\"|?*").contains(c),
                      "a usable name holds no separator or reserved character");
    fuzz::require(platform::ansi::controlCharacters(name).isEmpty(), "a usable name holds no control character");
    for (const char32_t c : platform::ansi::characters(name)) {
        const QChar::Category category = QChar::category(c);
        fuzz::require(category != QChar::Other_Format && category != QChar::Other_Surrogate,
                      "a usable name holds no format character nor lone surrogate");
    }
}

void checkLocation(const SkinLocation &location)
{
    const std::optional<QString> ini = skinIniPath(location);
    if (location.version == QQVersion::NotChosen) {
        fuzz::require(!ini && !skinFolder(location), "no skin folder without a version");
        return;
    }
    fuzz::require(ini.has_value(), "a chosen version gives a skin.ini path");
    const QString versionFolder = location.installPath
        + (location.version == QQVersion::Qq2003 ? QStringLiteral("\\skins") : QStringLiteral("\\NewSkins"));
    // Compared as this system resolves the names, "." and ".." included.
    const QFileInfo file(QDir::cleanPath(platform::nativePath(*ini)));
    const QFileInfo folder(file.path());
    fuzz::require(file.fileName() == u"skin.ini", "the file is skin.ini");
    fuzz::require(folder.fileName() == location.skinName, "skin.ini lies in a folder named as the skin");
    fuzz::require(folder.path() == QDir::cleanPath(platform::nativePath(versionFolder)),
                  "the skin folder lies exactly one level below the version folder");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::isolate();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input input(data, size);
    const uint8_t choice = input.takeByte();
    const QString name = input.restAsText();
    if (!isUsableFolderName(name))
        return 0;
    checkUsableName(name);

    // The default installation folder on a Wine drive, or a native folder typed instead.
    const QString installPath =
        choice & 4 ? QStringLiteral("/home/me/qq") : QStringLiteral("C:\\Program Files\\Tencent\\qq");
    checkLocation(SkinLocation{installPath, name, QQVersion(choice % 3)});
    return 0;
}
