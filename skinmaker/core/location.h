#pragma once

#include <QList>
#include <QString>

#include <optional>

// Where a skin's files lie: the QQ client keeps each skin in a folder of its own under
// "skins" (QQ 2003 and earlier) or "NewSkins" (QQ 2004) in its installation folder.
namespace skinmaker::core {

enum class QQVersion { NotChosen, Qq2003, Qq2004 };

struct SkinLocation {
    QString installPath; // as typed, Windows style
    QString skinName; // also the skin folder's name
    QQVersion version = QQVersion::NotChosen;
};

// Install path + "\skins" or "\NewSkins" + "\" + skin name, by plain concatenation:
// nothing is trimmed or normalised. No folder without a version.
std::optional<QString> skinFolder(const SkinLocation &location);

// The skin folder + "\skin.ini".
std::optional<QString> skinIniPath(const SkinLocation &location);

// The skin folder + "\" + a picture's file name, as typed: where the preview looks for the
// background. No path without a version.
std::optional<QString> backgroundPicturePath(const SkinLocation &location, const QString &pictureName);

// Whether a skin name can name the skin folder. The name must stay one folder below the
// version folder: no empty name, "." or "..", no separators and none of the characters a
// Windows file name cannot hold. Nor may it hide anything from the user: no control or
// formatting characters (a right-to-left override makes one name read as another), no line
// or paragraph separators, no lone half of a surrogate pair.
bool isUsableFolderName(const QString &name);

// The characters of a name that the user cannot see or that reorder what is seen (the
// control, formatting and separator characters isUsableFolderName refuses), each once.
QList<char32_t> hiddenCharacters(const QString &name);

} // namespace skinmaker::core
