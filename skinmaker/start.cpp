#include "skinmaker.h"

#include "authoring/skinwriter.h"
#include "shell/mainwindow.h"

#include "platform/core/process.h"
#include "platform/look.h"
#include "platform/notice.h"
#include "platform/singlewindow.h"

namespace skinmaker {

void start()
{
    platform::failWritesPastFileSizeLimit();
    platform::setProgramTitle(QStringLiteral("Morvane"));
    platform::look::applyApplicationLook();
    // The writing windows read the location wherever the main window shows it now.
    authoring::setLocationSource([] { return platform::SingleWindow<shell::MainWindow>::get()->location(); });
    shell::MainWindow *form1 = platform::SingleWindow<shell::MainWindow>::show();
    form1->startTune();
}

} // namespace skinmaker
