#include "process.h"

#include <QtGlobal>

#include <csignal>

namespace platform {

void failWritesPastFileSizeLimit()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

} // namespace platform
