#include "skinmaker/skinmaker.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    skinmaker::start();
    return application.exec();
}
