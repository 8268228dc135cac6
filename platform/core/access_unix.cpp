#include "access.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

bool userMay(Access access, const QString &nativePath)
{
#ifdef Q_OS_WIN
    const QFileInfo info(nativePath);
    switch (access) {
    case Access::Read:
        return (info.permissions() & QFileDevice::ReadOwner) && info.isReadable();
    case Access::Write:
        return (info.permissions() & QFileDevice::WriteOwner) && info.isWritable();
    case Access::Enter:
        return info.isDir();  // folders carry no search permission there
    }
    return false;
#else
    int mode = X_OK;
    QFileDevice::Permission ownerBit = QFileDevice::ExeOwner;
    if (access == Access::Read) {
        mode = R_OK;
        ownerBit = QFileDevice::ReadOwner;
    } else if (access == Access::Write) {
        mode = W_OK;
        ownerBit = QFileDevice::WriteOwner;
    }
    if (::faccessat(AT_FDCWD, QFile::encodeName(nativePath).constData(), mode, AT_EACCESS) != 0)
        return false;
    return ::geteuid() != 0 || QFileInfo(nativePath).permissions().testFlag(ownerBit);
#endif
}

} // namespace platform
