#include "checkcommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The picture readers' plug-ins are found through the application object.
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream errors(stderr);
    return skinmaker::check::runChecker(QCoreApplication::arguments().mid(1), out, errors);
}
