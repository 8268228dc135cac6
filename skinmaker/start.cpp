#include "skinmaker.h"

#include "shell/mainwindow.h"

#include "platform/look.h"
#include "platform/notice.h"
#include "platform/singlewindow.h"

namespace skinmaker {

void start()
{
    platform::setProgramTitle(QStringLiteral("Morvane"));
    platform::look::applyApplicationLook();
    platform::SingleWindow<shell::MainWindow>::show();
}

} // namespace skinmaker
