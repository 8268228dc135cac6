#include "picturefile_system.h"

#include "platform/core/access.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace skinmaker::core {

OpenFailure openOrdinaryFile(QFile &file, const QFileInfo &info)
{
    // Without O_NONBLOCK, opening a pipe would wait for a writer.
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return OpenFailure::Missing;
        return info.isFile() ? OpenFailure::CannotOpen : OpenFailure::NotAFile;
    }
    struct stat opened {};
    const bool plain = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
    if (!plain || !platform::userMay(platform::Access::Read, file.fileName())
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return plain ? OpenFailure::CannotOpen : OpenFailure::NotAFile;
    }
    return OpenFailure::None;
}

} // namespace skinmaker::core
