#include "help.h"

#include "helpwindow.h"

#include "platform/core/process.h"
#include "platform/launcher.h"
#include "platform/look.h"
#include "platform/notice.h"
#include "platform/singlewindow.h"

namespace help {

void start()
{
    platform::failWritesPastFileSizeLimit();
    platform::setProgramTitle(QStringLiteral("帮助"));
    platform::look::applyApplicationLook();
    if (platform::takeMinimizedRequest()) {
        HelpWindow *window = platform::SingleWindow<HelpWindow>::get();
        window->showMinimized();
        window->activateWindow();
    } else {
        platform::SingleWindow<HelpWindow>::show();
    }
}

} // namespace help
