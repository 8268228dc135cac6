// The start-up programs make bench compares, run as the runner runs them: each must say when its
// window is up, the reference must really play the tune (or it would measure less than it
// claims), and the main program must end at once when its 退出 is triggered. No figure is
// checked: those depend on the machine.
#include "environment.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

bool sounded(const QString &output)
{
    const QByteArray bytes = testsupport::readBytes(output);
    return bytes.count('\0') < bytes.size();
}

} // namespace

class BenchProgramsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::copy(QStringLiteral(BENCH_DATA_DIR "/qqq.qq"), QStringLiteral("qqq.qq")));
        QVERIFY(QFile::link(QStringLiteral(BENCH_DATA_DIR "/music"), QStringLiteral("music")));
    }

    void comesUpPlaysAndEnds_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("plays");
        QTest::addColumn<bool>("endsByItsExitItem");
        const QString tune = m_environment.workFolder() + QStringLiteral("/music/1.mid");
        QTest::newRow("bare window") << QStringLiteral(BENCH_START_BARE) << QStringList() << false << false;
        QTest::newRow("bare window playing the tune")
            << QStringLiteral(BENCH_START_BARE_TUNE) << QStringList{tune} << true << false;
        QTest::newRow("main program") << QStringLiteral(BENCH_START_MORVANE) << QStringList() << true << true;
    }

    void comesUpPlaysAndEnds()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(bool, plays);
        QFETCH(bool, endsByItsExitItem);
        const QString output = m_environment.root() + QStringLiteral("/sound.raw");
        QFile::remove(output);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
        environment.insert(QStringLiteral("SDL_DISKAUDIOFILE"), output);
        environment.insert(QStringLiteral("SDL_SOUNDFONTS"), QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));

        QByteArray printed;
        QTRY_VERIFY_WITH_TIMEOUT((printed += process.readAllStandardOutput()).contains("idle_ns="), 20000);
        QVERIFY(printed.contains("shown_ns="));
        if (plays)
            QTRY_VERIFY2_WITH_TIMEOUT(sounded(output), "the tune never sounded", 20000);
        if (endsByItsExitItem) {
            process.write("exit\n");
            QVERIFY2(process.waitForFinished(5000), "still running 5 s after 退出");
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), 0);
        } else {
            process.kill();
            process.waitForFinished();
        }
    }

private:
    testsupport::IsolatedEnvironment m_environment;
};

QTEST_GUILESS_MAIN(BenchProgramsTest)
#include "tst_benchprograms.moc"
