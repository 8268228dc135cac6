// The main program as skinmaker::run() starts it, with the probe that tells the bench runner
// when Form1 has come up and triggers 退出 when told. Everything in main() but the probe's line
// is the program's own.
#include "probe.h"

#include "skinmaker/skinmaker.h"

#include "platform/core/process.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::keepQtSetUpNoticesOffTheTerminal();
    QApplication application(argc, argv);
    bench::ShownAndIdleProbe probe(QStringLiteral("Form1"), QStringLiteral("exit"));
    skinmaker::start();
    platform::endProcessNow(application.exec());
}
