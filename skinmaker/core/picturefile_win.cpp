#include "picturefile_system.h"

#include "platform/core/access.h"

namespace skinmaker::core {

OpenFailure openOrdinaryFile(QFile &file, const QFileInfo &info)
{
    if (!info.isFile())
        return OpenFailure::NotAFile;
    if (!platform::userMay(platform::Access::Read, file.fileName()) || !file.open(QIODevice::ReadOnly))
        return OpenFailure::CannotOpen;
    return OpenFailure::None;
}

} // namespace skinmaker::core
