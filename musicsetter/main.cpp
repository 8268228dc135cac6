#include "musicsetter/musicsetter.h"

#include "platform/core/process.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::keepQtSetUpNoticesOffTheTerminal();
    QApplication application(argc, argv);
    musicsetter::start();
    return application.exec();
}
