// The main program as its main() starts it, with the probe that tells the bench runner when
// Form1 has come up. Everything between the two lines of main() is the program's own.
#include "probe.h"

#include "skinmaker/skinmaker.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    bench::ShownAndIdleProbe probe(QStringLiteral("Form1"));
    skinmaker::start();
    return application.exec();
}
