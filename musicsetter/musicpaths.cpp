#include "musicpaths.h"

#include <QDir>

namespace musicsetter {

QString examplePath(const QString &musicFolder)
{
    return QDir::toNativeSeparators(QDir(musicFolder).filePath(QStringLiteral("背景音乐.mp3")));
}

QString pickedPath(const QString &folder, const QString &fileName)
{
    return folder + u'\\' + fileName;
}

} // namespace musicsetter
