#include "help/help.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    help::start();
    return application.exec();
}
