#include "musicsetter/musicsetter.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    musicsetter::start();
    return application.exec();
}
