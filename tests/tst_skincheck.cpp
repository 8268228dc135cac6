// The skin checker without windows: the findings on a real skin folder, tidying, and the
// command morvane-check as built.
#include "skinmaker/check/checkcommand.h"
#include "skinmaker/core/skincheck.h"
#include "skinmaker/pictures/picturereader.h"

#include "environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using skinmaker::core::Finding;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

// A finding as a row states it.
QString shown(Finding::Kind kind, const QString &section, const QString &key, int line, const QString &value = {},
              const QString &earlier = {})
{
    return QStringLiteral("%1 [%2] %3 @%4 %5 %6").arg(int(kind)).arg(section, key).arg(line).arg(value, earlier);
}

// A folder holding skin.ini, good pictures and broken ones.
void makeSkin(const QString &folder, const QByteArray &ini, const QStringList &pictures, const QStringList &broken = {})
{
    QVERIFY(writeBytes(folder + QStringLiteral("/skin.ini"), ini));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    for (const QString &name : pictures)
        QVERIFY(picture.save(folder + u'/' + name, "BMP"));
    for (const QString &name : broken)
        QVERIFY(writeBytes(folder + u'/' + name, "BM not a picture at all"));
}

} // namespace

class SkinCheckTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findings_data();
    void findings();
    void tidy_data();
    void tidy();
    void tidyChangesNothingOnFailure();
    void repeatedSectionsCompareAsTheClient();
    void command_data();
    void command();
};

void SkinCheckTest::findings_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("pictures");
    QTest::addColumn<QStringList>("broken");
    QTest::addColumn<QStringList>("expected");
    using F = Finding;
    const QString main = QStringLiteral("main");
    QTest::newRow("clean") << QByteArray(
        "[main]\r\ntile=bg.bmp\r\nminwidth=300\r\n[menu]\r\ncolor_red=141\r\nlogo=\r\n")
                           << QStringList{QStringLiteral("bg.bmp")} << QStringList{} << QStringList{};
    QTest::newRow("[main] twice") << QByteArray("[main]\r\ntile=old.bmp\r\n[main]\r\ntile=new.bmp\r\n")
                                  << QStringList{QStringLiteral("old.bmp"), QStringLiteral("new.bmp")} << QStringList{}
                                  << QStringList{shown(F::ShadowedSection, main, {}, 3),
                                                 shown(F::ShadowedKey, main, QStringLiteral("tile"), 4,
                                                       QStringLiteral("new.bmp"), QStringLiteral("old.bmp"))};
    QTest::newRow("key twice, other case, lone LF, the same value again")
        << QByteArray("[Main]\ntile=a.bmp\nTILE=b.bmp\nTile=a.bmp\n") << QStringList{QStringLiteral("a.bmp")}
        << QStringList{}
        << QStringList{shown(F::ShadowedKey, QStringLiteral("Main"), QStringLiteral("TILE"), 3, QStringLiteral("b.bmp"),
                             QStringLiteral("a.bmp"))};
    QTest::newRow("key only in the later section")
        << QByteArray("[menu]\r\n[MENU]\r\nlogo=x.bmp\r\n") << QStringList{} << QStringList{}
        << QStringList{
               shown(F::ShadowedSection, QStringLiteral("MENU"), {}, 2),
               shown(F::ShadowedKey, QStringLiteral("MENU"), QStringLiteral("logo"), 3, QStringLiteral("x.bmp"))};
    QTest::newRow("missing picture") << QByteArray("[main]\r\ntile=bg.bmp\r\n") << QStringList{} << QStringList{}
                                     << QStringList{shown(F::PictureMissing, main, QStringLiteral("tile"), 2,
                                                          QStringLiteral("bg.bmp"))};
    QTest::newRow("BG.BMP for bg.bmp") << QByteArray("[main]\r\ntile=bg.bmp\r\n")
                                       << QStringList{QStringLiteral("BG.BMP")} << QStringList{}
                                       << QStringList{shown(F::PictureOtherCase, main, QStringLiteral("tile"), 2,
                                                            QStringLiteral("bg.bmp"))};
    QTest::newRow("corrupt button picture")
        << QByteArray("[button1]\r\nstretch=\r\nlight_stretch=b.bmp\r\n") << QStringList{}
        << QStringList{QStringLiteral("b.bmp")}
        << QStringList{shown(F::PictureUndecodable, QStringLiteral("button1"), QStringLiteral("light_stretch"), 3,
                             QStringLiteral("b.bmp"))};
    QTest::newRow("preview picture in a sub-folder, other case")
        << QByteArray("[SkinInfo]\r\nPreviewImage=pics\\p.bmp\r\n") << QStringList{QStringLiteral("Pics/P.BMP")}
        << QStringList{}
        << QStringList{shown(F::PictureOtherCase, QStringLiteral("SkinInfo"), QStringLiteral("PreviewImage"), 2,
                             QStringLiteral("pics\\p.bmp"))};
    QTest::newRow("numbers")
        << QByteArray("[main]\r\nminwidth=abc\r\nmaxwidth=40000\r\n[menu]\r\ncolor_red=256\r\n") << QStringList{}
        << QStringList{}
        << QStringList{shown(F::NotANumber, main, QStringLiteral("minwidth"), 2, QStringLiteral("abc")),
                       shown(F::NumberOutOfRange, main, QStringLiteral("maxwidth"), 3, QStringLiteral("40000")),
                       shown(F::NumberOutOfRange, QStringLiteral("menu"), QStringLiteral("color_red"), 5,
                             QStringLiteral("256"))};
    QTest::newRow("ignored lines") << QByteArray("stray\r\n; note\r\n[main]\r\nno equals\r\n") << QStringList{}
                                   << QStringList{}
                                   << QStringList{shown(F::BeforeSection, {}, {}, 1, QStringLiteral("stray")),
                                                  shown(F::NoEquals, main, {}, 4, QStringLiteral("no equals"))};
    QTest::newRow("not GBK") << QByteArray("[SkinInfo]\r\nMaker=a\x81\r\n") << QStringList{} << QStringList{}
                             << QStringList{shown(F::InvalidGbk, QStringLiteral("SkinInfo"), {}, 2,
                                                  QStringLiteral("Maker=a\uFFFD"))};
}

void SkinCheckTest::findings()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, pictures);
    QFETCH(QStringList, broken);
    QFETCH(QStringList, expected);
    QTemporaryDir skin;
    QVERIFY(QDir(skin.path()).mkdir(QStringLiteral("Pics")));
    makeSkin(skin.path(), ini, pictures, broken);

    const skinmaker::core::SkinCheck check =
        skinmaker::core::checkSkinFolder(skin.path(), skinmaker::pictures::isDecodable);

    QCOMPARE(check.status, skinmaker::core::SkinCheck::Checked);
    QStringList found;
    for (const Finding &finding : check.findings)
        found << shown(finding.kind, finding.section, finding.key, finding.line, finding.value, finding.earlierValue);
    QCOMPARE(found, expected);
}

void SkinCheckTest::tidy_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("tidied");
    QTest::addColumn<int>("changes");
    QTest::newRow("[main] twice, the last value kept")
        << QByteArray("[main]\r\ntile=old.bmp\r\nminwidth=1\r\n[menu]\r\nlogo=a\r\n[main]\r\ntile=new.bmp\r\n")
        << QByteArray("[main]\r\ntile=new.bmp\r\nminwidth=1\r\n[menu]\r\nlogo=a\r\n") << 2;
    QTest::newRow("lone LF, blank lines, comments, text before the first section")
        << QByteArray("top\n[a]\n; note\nk=1\n\nno equals\n[A]\nK=2\n")
        << QByteArray("top\r\n[a]\r\nK=2\r\n; note\r\nno equals\r\n") << 2;
    QTest::newRow("GBK kept") << QByteArray("[SkinInfo]\r\nMaker=\xc0\xb6\r\n[SkinInfo]\r\nMaker=\xcc\xec\r\n")
                              << QByteArray("[SkinInfo]\r\nMaker=\xcc\xec\r\n") << 2;
    QTest::newRow("only line ends") << QByteArray("[main]\ntile=a\n") << QByteArray("[main]\r\ntile=a\r\n") << 1;
    QTest::newRow("already tidy") << QByteArray("[main]\r\ntile=a\r\n") << QByteArray("[main]\r\ntile=a\r\n") << 0;
}

void SkinCheckTest::tidy()
{
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, tidied);
    QFETCH(int, changes);
    QTemporaryDir skin;
    QVERIFY(writeBytes(skin.filePath(QStringLiteral("skin.ini")), ini));

    const skinmaker::core::TidyOutcome outcome = skinmaker::core::tidySkinFolder(skin.path());

    QVERIFY(outcome.ok());
    QCOMPARE(outcome.changes.size(), changes);
    QCOMPARE(readBytes(skin.filePath(QStringLiteral("skin.ini"))), tidied);
    // The old bytes beside it, only when something changed.
    QCOMPARE(QFile::exists(skin.filePath(QStringLiteral("skin.ini.bak"))), ini != tidied);
    if (ini != tidied)
        QCOMPARE(readBytes(skin.filePath(QStringLiteral("skin.ini.bak"))), ini);
}

void SkinCheckTest::tidyChangesNothingOnFailure()
{
    const QByteArray ini("[main]\r\ntile=a\r\n[main]\r\ntile=b\r\n");
    QTemporaryDir skin;
    QVERIFY(writeBytes(skin.filePath(QStringLiteral("skin.ini")), ini));
    const auto before = testsupport::snapshot(skin.path());

    // No room for the old bytes: a folder holds the name.
    QVERIFY(QDir(skin.path()).mkdir(QStringLiteral("skin.ini.bak")));
    QCOMPARE(skinmaker::core::tidySkinFolder(skin.path()).kind, skinmaker::core::TidyOutcome::BackupFailed);
    QVERIFY(QDir(skin.path()).rmdir(QStringLiteral("skin.ini.bak")));
    QCOMPARE(testsupport::snapshot(skin.path()), before);

    // Never through a link: the file it leads to stays as it was.
    QTemporaryDir linked;
    QVERIFY(QFile::rename(skin.filePath(QStringLiteral("skin.ini")), linked.filePath(QStringLiteral("skin.ini"))));
    QVERIFY(QFile::link(linked.filePath(QStringLiteral("skin.ini")), skin.filePath(QStringLiteral("skin.ini"))));
    QCOMPARE(skinmaker::core::tidySkinFolder(skin.path()).kind, skinmaker::core::TidyOutcome::WriteFailed);
    QCOMPARE(readBytes(linked.filePath(QStringLiteral("skin.ini"))), ini);
}

void SkinCheckTest::repeatedSectionsCompareAsTheClient()
{
    const QByteArray existing("[MAIN]\r\ntile=a\r\n[SkinInfo]\r\n");
    QCOMPARE(skinmaker::core::repeatedSections(existing, "[main]\r\ntile=b\r\n[menu]\r\nlogo=\r\n[main]\r\n"),
             QStringList{QStringLiteral("main")});
    QCOMPARE(skinmaker::core::repeatedSections({}, "[main]\r\n"), QStringList{});
}

void SkinCheckTest::command_data()
{
    QTest::addColumn<QStringList>("arguments"); // "FOLDER" stands for the skin folder
    QTest::addColumn<QByteArray>("ini"); // "FIFO": a pipe in its place; empty: none
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("outputLines");
    QTest::addColumn<QByteArray>("iniAfter");
    const QStringList check{QStringLiteral("FOLDER")};
    const QStringList tidy{QStringLiteral("--tidy"), QStringLiteral("FOLDER")};
    const QByteArray twice("[main]\r\ntile=\r\n[main]\r\ntile=\r\nminwidth=x\r\n");
    QTest::newRow("no finding") << check << QByteArray("[main]\r\ntile=\r\n") << 0 << 1
                                << QByteArray("[main]\r\ntile=\r\n");
    QTest::newRow("findings") << check << twice << 1 << 3 << twice;
    QTest::newRow("no skin.ini") << check << QByteArray() << 2 << 0 << QByteArray();
    QTest::newRow("a pipe as skin.ini") << check << QByteArray("FIFO") << 2 << 0 << QByteArray();
    QTest::newRow("no folder") << QStringList{QStringLiteral("/nonexistent/skin")} << QByteArray() << 2 << 0
                               << QByteArray();
    QTest::newRow("tidy") << tidy << twice << 0 << 3 << QByteArray("[main]\r\ntile=\r\nminwidth=x\r\n");
    QTest::newRow("tidy, no skin.ini") << tidy << QByteArray() << 2 << 0 << QByteArray();
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << QByteArray() << 0 << -1 << QByteArray();
    QTest::newRow("no argument") << QStringList{} << QByteArray() << 2 << 0 << QByteArray();
}

void SkinCheckTest::command()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, ini);
    QFETCH(int, status);
    QFETCH(int, outputLines);
    QFETCH(QByteArray, iniAfter);
    QTemporaryDir skin;
    const QString iniPath = skin.filePath(QStringLiteral("skin.ini"));
    if (ini == "FIFO")
        QCOMPARE(mkfifo(QFile::encodeName(iniPath).constData(), 0644), 0);
    else if (!ini.isEmpty())
        QVERIFY(writeBytes(iniPath, ini));
    arguments.replaceInStrings(QStringLiteral("FOLDER"), skin.path());

    QProcess program;
    program.start(qEnvironmentVariable("MORVANE_BIN_DIR") + QStringLiteral("/morvane-check"), arguments);
    QVERIFY(program.waitForFinished(60000));

    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), status);
    const QString output = QString::fromUtf8(program.readAllStandardOutput());
    if (outputLines >= 0)
        QCOMPARE(output.count(u'\n'), outputLines);
    else
        QVERIFY(output.contains(QStringLiteral("Usage")) && output.contains(QStringLiteral("用法")));
    // A reason on stderr whenever it fails, and the file as expected.
    QCOMPARE(program.readAllStandardError().isEmpty(), status != 2);
    if (ini != "FIFO")
        QCOMPARE(readBytes(iniPath), iniAfter);
}

int main(int argc, char *argv[])
{
    testsupport::IsolatedEnvironment environment;
    QCoreApplication application(argc, argv);
    SkinCheckTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_skincheck.moc"
