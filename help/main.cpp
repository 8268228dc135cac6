#include "help/help.h"

#include "platform/core/process.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::keepQtSetUpNoticesOffTheTerminal();
    QApplication application(argc, argv);
    help::start();
    return application.exec();
}
