// The "生成" button of the main window, timed from the click until the appended block has
// been read back from skin.ini and found whole, beside the same bytes appended and read back
// with a plain QFile. The program runs as the tests start it: a user who turned tips at start
// off, a real temporary QQ folder with the skin's folder, every notice answered unseen.
#include "measure.h"

#include "skinmakersession.h"
#include "uitest.h"

#include "skinmaker/shell/mainwindow.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

namespace {

constexpr int runs = 200;

QByteArray tailFrom(const QString &path, qint64 offset)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return {};
    return file.readAll();
}

} // namespace

int main(int argc, char *argv[])
{
    testsupport::IsolatedEnvironment environment;
    QApplication application(argc, argv);
    testsupport::SkinmakerSession session;
    session.start({QStringLiteral("NewSkins/蓝天")});
    session.fillLocation(session.install(), QStringLiteral("蓝天"), "Option2");
    // Typical texts, Chinese included, so the block is encoded as it would be.
    session.box("Text1")->setText(QStringLiteral("背景.bmp"));
    session.box("Text2")->setText(QStringLiteral("600"));
    session.box("Text3")->setText(QStringLiteral("400"));
    session.box("Text4")->setText(QStringLiteral("200"));
    session.box("Text6")->setText(QStringLiteral("标志.bmp"));
    const QString skinIni = session.installFile(QStringLiteral("NewSkins/蓝天/skin.ini"));
    const QString plainFile = session.installFile(QStringLiteral("NewSkins/蓝天/plain.ini"));
    const QByteArray gbkBackground = testsupport::gbk(QStringLiteral("背景.bmp"));

    QByteArray block; // what the first click appended; every later one must append the same
    QList<double> generate;
    QList<double> plain;
    for (int run = 0; run < runs; ++run) {
        session.notices().clear();
        const qint64 before = QFileInfo(skinIni).size();
        QElapsedTimer timer;
        timer.start();
        testsupport::clickButton(session.form1(), "Command1");
        const QByteArray appended = tailFrom(skinIni, before);
        const bool whole =
            block.isEmpty() ? appended.contains(gbkBackground) && appended.endsWith("\r\n") : appended == block;
        generate << bench::elapsedMs(timer);
        if (!whole || session.notices().texts().value(1) != QStringLiteral("生成成功!")) {
            std::fprintf(stderr, "bench_generate: run %d did not append the block: %s\n", run,
                         qPrintable(session.notices().texts().join(u'|')));
            return 1;
        }
        if (block.isEmpty())
            block = appended;

        // The reference: the same bytes, appended and read back by the plainest means.
        const qint64 plainBefore = QFileInfo(plainFile).size();
        timer.restart();
        QFile file(plainFile);
        const bool written = file.open(QIODevice::Append) && file.write(block) == block.size();
        file.close();
        const bool readBack = tailFrom(plainFile, plainBefore) == block;
        plain << bench::elapsedMs(timer);
        if (!written || !readBack) {
            std::fprintf(stderr, "bench_generate: the plain append failed\n");
            return 1;
        }
    }
    bench::printSummary("generate", generate);
    bench::printSummary("plain_append", plain);
    session.finish();
    return 0;
}
