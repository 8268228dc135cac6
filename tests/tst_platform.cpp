// The platform layer: GBK text files, Windows-style paths, notices and single windows.
#include "platform/ansitext.h"
#include "platform/notice.h"
#include "platform/singlewindow.h"
#include "platform/winpath.h"

#include "uitest.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

using namespace platform;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

class PlainWindow : public QWidget {};

class KeptWindow : public QWidget {
public:
    static constexpr bool keepsFieldsWhenClosed = true;
};

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void encodesGbkAndNamesWhatItCannotHold();
    void appendCreatesAndContinuesFiles();
    void appendLeavesFileAsItWasOnFailure();
    void appendCutsBackAHalfWrite();
    void replaceWritesOneLine();
    void firstLineStopsAtCarriageReturn();
    void firstLineOfHugeFileIsReadQuickly();
    void allLinesFollowLineEnds();
    void mapsWindowsPaths_data();
    void mapsWindowsPaths();
    void mapsDriveLettersThroughDosDevices();
    void recorderCapturesBoxesAndAnswersQuestions();
    void singleWindowLifecycle();

private:
    QTemporaryDir m_folder;
};

void PlatformTest::encodesGbkAndNamesWhatItCannotHold()
{
    const ansi::Encoded chinese = ansi::encode(QStringLiteral("蓝天bg.bmp"));
    QVERIFY(chinese.ok());
    QCOMPARE(chinese.bytes, QByteArray("\xc0\xb6\xcc\xec" "bg.bmp"));
    QCOMPARE(ansi::decode(chinese.bytes), QStringLiteral("蓝天bg.bmp"));

    const QString smile = QString::fromUtf8("\xf0\x9f\x98\x80");
    const QString hangul = QString::fromUtf8("\xe1\x84\x80");
    const ansi::Encoded mixed = ansi::encode(QStringLiteral("a") + smile + QStringLiteral("天") + hangul + smile);
    QVERIFY(!mixed.ok());
    QCOMPARE(mixed.unencodable, smile + hangul);

    QCOMPARE(ansi::encodeLines({QStringLiteral("[main]"), QString()}).bytes, QByteArray("[main]\r\n\r\n"));
}

void PlatformTest::appendCreatesAndContinuesFiles()
{
    const QString path = m_folder.filePath(QStringLiteral("append.ini"));
    QVERIFY(ansi::appendBytes(path, "a=1\r\n").ok());
    QVERIFY(ansi::appendBytes(path, "b=2\r\n").ok());
    QCOMPARE(readBytes(path), QByteArray("a=1\r\nb=2\r\n"));

    // Old text without a final line end is continued, never rewritten.
    QVERIFY(writeBytes(path, "old text"));
    QVERIFY(ansi::appendBytes(path, "new\r\n").ok());
    QCOMPARE(readBytes(path), QByteArray("old textnew\r\n"));
}

void PlatformTest::appendLeavesFileAsItWasOnFailure()
{
    const QString missingFolder = m_folder.filePath(QStringLiteral("nowhere/skin.ini"));
    QCOMPARE(ansi::appendBytes(missingFolder, "x").error.kind, ansi::FileError::FolderMissing);
    QVERIFY(!QFileInfo::exists(m_folder.filePath(QStringLiteral("nowhere"))));

    const QString readOnly = m_folder.filePath(QStringLiteral("readonly.ini"));
    QVERIFY(writeBytes(readOnly, "keep\r\n"));
    QVERIFY(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    QCOMPARE(ansi::appendBytes(readOnly, "x\r\n").error.kind, ansi::FileError::ReadOnly);
    QCOMPARE(readBytes(readOnly), QByteArray("keep\r\n"));
    QCOMPARE(ansi::replaceWithLine(readOnly, "x").error.kind, ansi::FileError::ReadOnly);
    QCOMPARE(readBytes(readOnly), QByteArray("keep\r\n"));

    const QString folderNamedLikeFile = m_folder.filePath(QStringLiteral("folder.ini"));
    QVERIFY(QDir().mkpath(folderNamedLikeFile));
    QCOMPARE(ansi::appendBytes(folderNamedLikeFile, "x").error.kind, ansi::FileError::NotAFile);

    QVERIFY(!ansi::describe({ansi::FileError::ReadOnly, {}}).isEmpty());
}

void PlatformTest::appendCutsBackAHalfWrite()
{
    const QString path = m_folder.filePath(QStringLiteral("half.ini"));
    const QByteArray old(1000, 'o');
    QVERIFY(writeBytes(path, old));
    ansi::WriteResult result;
    {
        // Room for half the block only: the write breaks after the file was opened.
        testsupport::FileSizeLimit limit(1500);
        result = ansi::appendBytes(path, QByteArray(1000, 'n'));
    }
    QCOMPARE(result.error.kind, ansi::FileError::WriteFailed);
    QVERIFY(!ansi::describe(result.error).isEmpty());
    QCOMPARE(readBytes(path), old);

    // A file the failed write created is removed again.
    const QString created = m_folder.filePath(QStringLiteral("created.ini"));
    {
        testsupport::FileSizeLimit limit(10);
        result = ansi::appendBytes(created, QByteArray(100, 'n'));
    }
    QVERIFY(!result.ok());
    QVERIFY(!QFileInfo::exists(created));

    // A device is not a file to append a block to.
    const QString device = m_folder.filePath(QStringLiteral("device.ini"));
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), device));
    QCOMPARE(ansi::appendBytes(device, "x").error.kind, ansi::FileError::NotAFile);
}

void PlatformTest::replaceWritesOneLine()
{
    const QString path = m_folder.filePath(QStringLiteral("qqq.qq"));
    QVERIFY(writeBytes(path, "first\r\nsecond\r\nthird"));
    QVERIFY(ansi::replaceWithLine(path, testsupport::gbk(QStringLiteral("music\\5.mid"))).ok());
    QCOMPARE(readBytes(path), QByteArray("music\\5.mid\r\n"));
    QVERIFY(ansi::replaceWithLine(path, {}).ok());
    QCOMPARE(readBytes(path), QByteArray("\r\n"));
}

void PlatformTest::firstLineStopsAtCarriageReturn()
{
    const QString path = m_folder.filePath(QStringLiteral("first.txt"));
    QVERIFY(writeBytes(path, "\xc4\xe3\xba\xc3.mid\r\nsecond\r\n"));
    QCOMPARE(ansi::readFirstLine(path), QStringLiteral("你好.mid"));
    QVERIFY(writeBytes(path, "no line end"));
    QCOMPARE(ansi::readFirstLine(path), QStringLiteral("no line end"));
    QVERIFY(writeBytes(path, "\r\nafter an empty line"));
    QCOMPARE(ansi::readFirstLine(path), QString());
    QVERIFY(writeBytes(path, ""));
    QCOMPARE(ansi::readFirstLine(path), std::nullopt);
    QCOMPARE(ansi::readFirstLine(m_folder.filePath(QStringLiteral("missing.txt"))), std::nullopt);
}

void PlatformTest::firstLineOfHugeFileIsReadQuickly()
{
    const QString path = m_folder.filePath(QStringLiteral("huge.txt"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray block(1 << 20, 'a');
        for (int i = 0; i < 64; ++i)
            QCOMPARE(file.write(block), qint64(block.size()));
    }
    QElapsedTimer timer;
    timer.start();
    const std::optional<QString> line = ansi::readFirstLine(path);
    QVERIFY(line.has_value());
    QVERIFY(line->size() < (1 << 20));
    QVERIFY2(timer.elapsed() < 1000, "the first line of a 64 MiB file took over a second");
}

void PlatformTest::allLinesFollowLineEnds()
{
    const QString path = m_folder.filePath(QStringLiteral("tips.txt"));
    QVERIFY(writeBytes(path, "one\r\n\r\n\xc4\xe3\xba\xc3\r\n"));
    QCOMPARE(*ansi::readAllLines(path), (QStringList{QStringLiteral("one"), QString(), QStringLiteral("你好")}));
    QVERIFY(writeBytes(path, "one\r\nlast without end"));
    QCOMPARE(*ansi::readAllLines(path), (QStringList{QStringLiteral("one"), QStringLiteral("last without end")}));
    QVERIFY(writeBytes(path, "a\rb\nc"));
    QCOMPARE(*ansi::readAllLines(path), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    QVERIFY(writeBytes(path, ""));
    QCOMPARE(*ansi::readAllLines(path), QStringList());
    QCOMPARE(ansi::readAllLines(m_folder.filePath(QStringLiteral("missing.txt"))), std::nullopt);
}

void PlatformTest::mapsWindowsPaths_data()
{
    QTest::addColumn<QString>("windowsPath");
    QTest::addColumn<QString>("expected");  // "<prefix>" stands for the Wine prefix

    QTest::newRow("default install path")
        << QStringLiteral("C:\\Program Files\\Tencent\\qq\\skins\\蓝天\\skin.ini")
        << QStringLiteral("<prefix>/drive_c/Program Files/Tencent/qq/skins/蓝天/skin.ini");
    QTest::newRow("lower-case drive") << QStringLiteral("c:\\a") << QStringLiteral("<prefix>/drive_c/a");
    QTest::newRow("other drive") << QStringLiteral("D:\\music\\a.mid") << QStringLiteral("<prefix>/dosdevices/d:/music/a.mid");
    QTest::newRow("drive without separator") << QStringLiteral("C:qq") << QStringLiteral("<prefix>/drive_c/qq");
    QTest::newRow("repeated separators kept") << QStringLiteral("C:\\qq\\\\skins") << QStringLiteral("<prefix>/drive_c/qq//skins");
    QTest::newRow("rooted") << QStringLiteral("\\skins\\a\\skin.ini") << QStringLiteral("/skins/a/skin.ini");
    QTest::newRow("native absolute") << QStringLiteral("/home/me/qq\\NewSkins\\x\\skin.ini")
                                     << QStringLiteral("/home/me/qq/NewSkins/x/skin.ini");
    QTest::newRow("native root") << QStringLiteral("/\\skins\\x") << QStringLiteral("//skins/x");
    QTest::newRow("relative") << QStringLiteral("music\\1.mid") << QStringLiteral("music/1.mid");
}

void PlatformTest::mapsWindowsPaths()
{
    QFETCH(QString, windowsPath);
    QFETCH(QString, expected);
    expected.replace(QStringLiteral("<prefix>"), winePrefix());
    QCOMPARE(winePrefix(), qEnvironmentVariable("WINEPREFIX"));
    QCOMPARE(nativePath(windowsPath), expected);
}

void PlatformTest::mapsDriveLettersThroughDosDevices()
{
    // A prefix whose dosdevices link C: somewhere else is followed, not bypassed.
    const QByteArray savedPrefix = qgetenv("WINEPREFIX");
    const QString prefix = m_folder.filePath(QStringLiteral("prefix"));
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/dosdevices")));
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/elsewhere/qq")));
    QVERIFY(QFile::link(prefix + QStringLiteral("/elsewhere"), prefix + QStringLiteral("/dosdevices/c:")));
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    const QString mapped = nativePath(QStringLiteral("C:\\qq"));
    qputenv("WINEPREFIX", savedPrefix);

    QCOMPARE(mapped, prefix + QStringLiteral("/dosdevices/c:/qq"));
    QVERIFY(QFileInfo(mapped).isDir());
}

void PlatformTest::recorderCapturesBoxesAndAnswersQuestions()
{
    NoticeRecorder recorder;
    notice(QStringLiteral("生成成功!"));
    notice(QStringLiteral("请选择版本!"), QStringLiteral("Morvane"), QMessageBox::NoIcon);
    recorder.queueAnswer(QMessageBox::Yes);
    QVERIFY(ask(QStringLiteral("继续?")));
    QVERIFY(!ask(QStringLiteral("再继续?")));  // nothing queued: No

    QCOMPARE(recorder.records().size(), 4);
    const NoticeRecord &first = recorder.records().at(0);
    QCOMPARE(first.title, QStringLiteral("提示"));
    QCOMPARE(first.icon, QMessageBox::Information);
    QCOMPARE(first.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(recorder.records().at(1).title, QStringLiteral("Morvane"));
    QCOMPARE(recorder.records().at(1).icon, QMessageBox::NoIcon);
    QCOMPARE(recorder.records().at(2).buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(recorder.records().at(2).icon, QMessageBox::Information);

    {
        NoticeRecorder inner;
        notice(QStringLiteral("inner"));
        QCOMPARE(inner.texts(), QStringList{QStringLiteral("inner")});
    }
    notice(QStringLiteral("outer again"));
    QCOMPARE(recorder.texts().last(), QStringLiteral("outer again"));
}

void PlatformTest::singleWindowLifecycle()
{
    PlainWindow *hidden = SingleWindow<PlainWindow>::get();
    QVERIFY(!hidden->isVisible());
    QCOMPARE(SingleWindow<PlainWindow>::get(), hidden);
    QCOMPARE(SingleWindow<PlainWindow>::show(), hidden);
    QVERIFY(hidden->isVisible());
    hidden->showMinimized();
    QCOMPARE(SingleWindow<PlainWindow>::show(), hidden);
    QVERIFY(!hidden->isMinimized());

    // Closed by its frame: destroyed and forgotten; the next use makes a new one.
    QPointer<PlainWindow> guard(hidden);
    QVERIFY(hidden->close());
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(SingleWindow<PlainWindow>::existing(), nullptr);
    QVERIFY(SingleWindow<PlainWindow>::get() != nullptr);
    SingleWindow<PlainWindow>::destroy();
    QCOMPARE(SingleWindow<PlainWindow>::existing(), nullptr);

    // A window others read from is only hidden by its frame.
    KeptWindow *kept = SingleWindow<KeptWindow>::show();
    QVERIFY(kept->close());
    QCoreApplication::processEvents();
    QCOMPARE(SingleWindow<KeptWindow>::existing(), kept);
    QVERIFY(!kept->isVisible());
    SingleWindow<KeptWindow>::destroy();
}

MORVANE_TEST_MAIN(PlatformTest)
#include "tst_platform.moc"
