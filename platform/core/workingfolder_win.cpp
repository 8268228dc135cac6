#include "workingfolder.h"

#include <QtGlobal>

namespace platform {

// The commands on PATH are a Linux affair: a request, should one come, is only consumed.
WorkingFolderReport enterPerUserFolder()
{
    if (qgetenv(perUserFolderVariable) == "1")
        qunsetenv(perUserFolderVariable);
    return {};
}

} // namespace platform
