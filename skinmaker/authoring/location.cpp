#include "location.h"

namespace skinmaker::authoring {

std::optional<QString> skinFolder(const SkinLocation &location)
{
    switch (location.version) {
    case QQVersion::Qq2003:
        return location.installPath + QStringLiteral("\\skins") + u'\\' + location.skinName;
    case QQVersion::Qq2004:
        return location.installPath + QStringLiteral("\\NewSkins") + u'\\' + location.skinName;
    case QQVersion::NotChosen:
        break;
    }
    return std::nullopt;
}

std::optional<QString> skinIniPath(const SkinLocation &location)
{
    const auto folder = skinFolder(location);
    if (!folder)
        return std::nullopt;
    return *folder + QStringLiteral("\\skin.ini");
}

bool isUsableFolderName(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || QStringView(u"\\/<>:\"|?*").contains(c))
            return false;
    }
    return true;
}

} // namespace skinmaker::authoring
