#include "access.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

bool userMay(Access access, const QString &nativePath)
{
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
}

} // namespace platform
