#include "skinmaker.h"

#include "skinmaker/authoring/skinwriter.h"
#include "skinmaker/shell/mainwindow.h"
#include "skinmaker/shell/splashwindow.h"

#include "platform/core/process.h"
#include "platform/core/workingfolder.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "platform/widgets/singlewindow.h"
#include "platform/words/filewords.h"

#include <QApplication>

namespace skinmaker {

void start()
{
    platform::failWritesPastFileSizeLimit();
    // Before anything reads qqq.qq or the tunes, which lie in the working folder.
    const QString workingFolderProblem = platform::words::workingFolderNotice(platform::enterPerUserFolder());
    platform::setProgramTitle(QStringLiteral("Morvane"));
    platform::look::applyApplicationLook();
    // The writing windows read the location wherever the main window shows it now.
    authoring::setLocationSource([] { return platform::SingleWindow<shell::MainWindow>::get()->location(); });
    shell::SplashWindow::newStart();
    // The load steps run after construction, so the main window is registered as the one Form1
    // before the splash asks for it; from inside the constructor it would make a second.
    platform::SingleWindow<shell::MainWindow>::get()->load();
    if (!workingFolderProblem.isEmpty())
        platform::notice(workingFolderProblem);
}

void run(int &argc, char **argv)
{
    platform::keepQtSetUpNoticesOffTheTerminal();
    QApplication application(argc, argv);
    start();
    // exit, and closing the last window, end the program at once: the background tune may still
    // be loading or playing on the player's thread, and nothing else is left to finish.
    platform::endProcessNow(application.exec());
}

} // namespace skinmaker
