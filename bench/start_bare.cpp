// The reference for the start-up: the barest Qt Widgets program with a main window, built with
// the same settings as the main program and watched by the same probe.
#include "probe.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    bench::ShownAndIdleProbe probe(QStringLiteral("bare"));
    QMainWindow window;
    window.setObjectName(QStringLiteral("bare"));
    window.show();
    return application.exec();
}
