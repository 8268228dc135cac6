#include "filesystemlists.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QStringList DriveList::machineDrives()
{
    QStringList roots;
    for (const QFileInfo &drive : QDir::drives())
        roots << nativeFolderPath(drive.absoluteFilePath());
    return roots;
}

} // namespace platform
