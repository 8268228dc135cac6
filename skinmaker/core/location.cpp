#include "location.h"

#include "platform/core/ansitext.h"

namespace skinmaker::core {

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

std::optional<QString> backgroundPicturePath(const SkinLocation &location, const QString &pictureName)
{
    const std::optional<QString> folder = skinFolder(location);
    if (!folder)
        return std::nullopt;
    return *folder + u'\\' + pictureName;
}

QList<char32_t> hiddenCharacters(const QString &name)
{
    QList<char32_t> hidden;
    for (const char32_t character : platform::ansi::characters(name)) {
        switch (QChar::category(character)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
        case QChar::Other_Surrogate:
            if (!hidden.contains(character))
                hidden << character;
            break;
        default:
            break;
        }
    }
    return hidden;
}

bool isUsableFolderName(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (const QChar c : name) {
        if (QStringView(u"\\/<>:\"|?*").contains(c))
            return false;
    }
    return hiddenCharacters(name).isEmpty();
}

} // namespace skinmaker::core
