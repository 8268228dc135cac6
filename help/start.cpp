#include "help.h"

#include "helpwindow.h"

#include "platform/core/process.h"
#include "platform/launcher.h"
#include "platform/look.h"
#include "platform/notice.h"

namespace help {

void start()
{
    platform::failWritesPastFileSizeLimit();
    platform::setProgramTitle(QStringLiteral("帮助"));
    platform::look::applyApplicationLook();
    platform::showFirstWindow<HelpWindow>();
}

} // namespace help
