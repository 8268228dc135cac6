#include "access.h"

#include <QFileInfo>

namespace platform {

bool userMay(Access access, const QString &nativePath)
{
    const QFileInfo info(nativePath);
    switch (access) {
    case Access::Read:
        return (info.permissions() & QFileDevice::ReadOwner) && info.isReadable();
    case Access::Write:
        return (info.permissions() & QFileDevice::WriteOwner) && info.isWritable();
    case Access::Enter:
        return info.isDir(); // folders carry no search permission there
    }
    return false;
}

} // namespace platform
