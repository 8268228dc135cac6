#include "skinmaker.h"

#include "skinmaker/shell/program.h"

#include "platform/core/process.h"

#include <QApplication>

namespace skinmaker {

void start()
{
    // The program lives as long as the application.
    auto *program = new shell::Program(QCoreApplication::instance());
    program->start();
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
