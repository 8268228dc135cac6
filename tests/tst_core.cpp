// The widget-free core, without a window or a display: GBK text, the text files, Windows-style
// paths, the location rule, the skin-name check, the outcomes of the write procedure and their words, and the
// draw of the tips of the day.
#include "skinmaker/core/location.h"
#include "skinmaker/core/skinwrite.h"
#include "skinmaker/core/tips.h"
#include "skinmaker/words/notices.h"

#include "formats/musicsetting.h"

#include "platform/core/ansitext.h"
#include "platform/core/process.h"
#include "platform/core/random.h"
#include "platform/core/scopedoverride.h"
#include "platform/core/textfile.h"
#include "platform/core/winpath.h"
#include "platform/words/filewords.h"

#include "environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using platform::textfile::LabelledText;
using platform::textfile::WriteOutcome;
using skinmaker::core::QQVersion;
using skinmaker::core::SkinLocation;
using testsupport::readBytes;
using testsupport::writeBytes;
using Kind = textfile::FileError::Kind;

Q_DECLARE_METATYPE(textfile::FileError::Kind)
Q_DECLARE_METATYPE(WriteOutcome::Kind)

namespace {

const QString smile = QString::fromUtf8("\xf0\x9f\x98\x80");

} // namespace

class CoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void overridesNestAndMayEndInAnyOrder_data();
    void overridesNestAndMayEndInAnyOrder();
    void encodesGbkAndNamesWhatItCannotHold();
    void namesInvisibleCharactersByCodePoint();

    void appendCreatesAndContinuesFiles();
    void appendLeavesFileAsItWasOnFailure();
    void appendCutsBackAHalfWrite();
    void appendRefusesWhatIsNoOrdinaryFile_data();
    void appendRefusesWhatIsNoOrdinaryFile();
    void appendReportsAFullDisk();
    void appendNeverCutsAnotherProgramsBytes();

    void replaceWritesOneLine();
    void replaceIsAllOrNothing_data();
    void replaceIsAllOrNothing();
    void replaceWritesThroughALinkAndKeepsPermissions();

    void firstLineEndsAtAnyLineEnd_data();
    void firstLineEndsAtAnyLineEnd();
    void firstLineOfHugeFileIsReadQuickly();
    void allLinesFollowLineEnds();
    void allLinesStopAtTheByteLimit();

    void tipDrawGivesEveryNumberFromOneToCount_data();
    void tipDrawGivesEveryNumberFromOneToCount();
    void clockSeededDrawsReachEveryTip();
    void hugeTipsFileIsReadQuicklyUpToItsLimit();

    void mapsWindowsPaths_data();
    void mapsWindowsPaths();
    void mapsDriveLettersThroughDosDevices();

    void skinNameCheck_data();
    void skinNameCheck();
    void writeProcedureStopsBeforeTheDisk_data();
    void writeProcedureStopsBeforeTheDisk();
    void bothWritersCheckTextAlike_data();
    void bothWritersCheckTextAlike();

private:
    QString path(const QString &name) const { return m_folder.filePath(name); }

    QTemporaryDir m_folder;
};

void CoreTest::encodesGbkAndNamesWhatItCannotHold()
{
    const ansi::Encoded chinese = ansi::encode(QStringLiteral("蓝天bg.bmp"));
    QVERIFY(chinese.ok());
    QCOMPARE(chinese.bytes,
             QByteArray("\xc0\xb6\xcc\xec"
                        "bg.bmp"));
    QCOMPARE(ansi::decode(chinese.bytes), QStringLiteral("蓝天bg.bmp"));

    const QString hangul = QString::fromUtf8("\xe1\x84\x80");
    const ansi::Encoded mixed = ansi::encode(QStringLiteral("a") + smile + QStringLiteral("天") + hangul + smile);
    QVERIFY(!mixed.ok());
    QCOMPARE(mixed.unencodable, (QList<char32_t>{0x1F600, 0x1100}));

    // The encoder drops a lone half of a pair without a word; it must count as unencodable.
    const QString loneHalf = QStringLiteral("bg") + QChar(0xD83D);
    QVERIFY(!ansi::encode(loneHalf).ok());
    QCOMPARE(ansi::encode(loneHalf).unencodable, QList<char32_t>{0xD83D});
    // Two lone halves apart stay two characters; they are no pair.
    const QString halvesApart = QStringLiteral("a") + QChar(0xD83D) + u'b' + QChar(0xDE00);
    QCOMPARE(ansi::encode(halvesApart).unencodable, (QList<char32_t>{0xD83D, 0xDE00}));
    // A U+FEFF inside a name is no byte-order mark to drop: GBK cannot hold it.
    QCOMPARE(ansi::encode(QStringLiteral("bg") + QChar(0xFEFF) + QStringLiteral(".bmp")).unencodable,
             QList<char32_t>{0xFEFF});

    QCOMPARE(ansi::encodeLines({QStringLiteral("[main]"), QString()}).bytes, QByteArray("[main]\r\n\r\n"));
    // A lead byte cut off at the end is a broken character like any other, not nothing.
    QCOMPARE(ansi::decode("bg.bmp\xc0"), QStringLiteral("bg.bmp") + QChar(QChar::ReplacementCharacter));
    QCOMPARE(ansi::decode("\xc0\xb6\xcc"), QStringLiteral("蓝") + QChar(QChar::ReplacementCharacter));
}

void CoreTest::namesInvisibleCharactersByCodePoint()
{
    const QString text = QStringLiteral("a\nb\r\x7f") + QChar(0x85) + QChar(0x2028) + QStringLiteral("天\t") + smile;
    QCOMPARE(ansi::controlCharacters(text), (QList<char32_t>{0x0A, 0x0D, 0x7F, 0x85, 0x2028, 0x09}));
    QCOMPARE(ansi::controlCharacters(QStringLiteral("普通的 text")), QList<char32_t>());
    QCOMPARE(ansi::displayCharacters(QStringLiteral("天\n\r") + QChar(0xD83D) + smile),
             QStringLiteral("天 U+000A U+000D U+D83D ") + smile);
    // Unencodable, and blank where shown: a Hangul filler, a hair space, a variation selector.
    QCOMPARE(ansi::displayCharacters(QList<char32_t>{0x3164, 0x200A, 0xFE0F, U'天', U' '}),
             QStringLiteral("U+3164 U+200A U+FE0F 天 "));
}

void CoreTest::appendCreatesAndContinuesFiles()
{
    const QString file = path(QStringLiteral("append.ini"));
    QVERIFY(textfile::appendBytes(file, "a=1\r\n").ok());
    QVERIFY(textfile::appendBytes(file, "b=2\r\n").ok());
    QCOMPARE(readBytes(file), QByteArray("a=1\r\nb=2\r\n"));

    // Old text without a final line end is continued, never rewritten.
    QVERIFY(writeBytes(file, "old text"));
    QVERIFY(textfile::appendBytes(file, "new\r\n").ok());
    QCOMPARE(readBytes(file), QByteArray("old textnew\r\n"));
}

void CoreTest::appendLeavesFileAsItWasOnFailure()
{
    const QString missingFolder = path(QStringLiteral("nowhere/skin.ini"));
    QCOMPARE(textfile::appendBytes(missingFolder, "x").error.kind, textfile::FileError::FolderMissing);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("nowhere"))));

    const QString readOnly = path(QStringLiteral("readonly.ini"));
    QVERIFY(writeBytes(readOnly, "keep\r\n"));
    QVERIFY(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    QCOMPARE(textfile::appendBytes(readOnly, "x\r\n").error.kind, textfile::FileError::ReadOnly);
    QCOMPARE(readBytes(readOnly), QByteArray("keep\r\n"));
    QCOMPARE(textfile::replaceWithLine(readOnly, "x").error.kind, textfile::FileError::ReadOnly);
    QCOMPARE(readBytes(readOnly), QByteArray("keep\r\n"));

    const QString folderNamedLikeFile = path(QStringLiteral("folder.ini"));
    QVERIFY(QDir().mkpath(folderNamedLikeFile));
    QCOMPARE(textfile::appendBytes(folderNamedLikeFile, "x").error.kind, textfile::FileError::NotAFile);

    QVERIFY(!words::fileErrorReason({textfile::FileError::ReadOnly, {}, {}}).isEmpty());
}

void CoreTest::appendCutsBackAHalfWrite()
{
    const QString file = path(QStringLiteral("half.ini"));
    const QByteArray old(1000, 'o');
    QVERIFY(writeBytes(file, old));
    textfile::WriteResult result;
    {
        // Room for half the block only: the write breaks after the file was opened.
        testsupport::FileSizeLimit limit(1500);
        result = textfile::appendBytes(file, QByteArray(1000, 'n'));
    }
    QCOMPARE(result.error.kind, textfile::FileError::TooLarge);
    QVERIFY(!words::fileErrorReason(result.error).isEmpty());
    QCOMPARE(readBytes(file), old);

    // A file the failed write created is removed again.
    const QString created = path(QStringLiteral("created.ini"));
    {
        testsupport::FileSizeLimit limit(10);
        result = textfile::appendBytes(created, QByteArray(100, 'n'));
    }
    QVERIFY(!result.ok());
    QVERIFY(!QFileInfo::exists(created));
}

void CoreTest::appendRefusesWhatIsNoOrdinaryFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<textfile::FileError::Kind>("expected");
    QTest::newRow("link to a file elsewhere") << QStringLiteral("link") << textfile::FileError::IsLink;
    QTest::newRow("dangling link") << QStringLiteral("dangling") << textfile::FileError::IsLink;
    QTest::newRow("link to /dev/full") << QStringLiteral("device link") << textfile::FileError::IsLink;
    QTest::newRow("pipe") << QStringLiteral("fifo") << textfile::FileError::NotRegular;
    QTest::newRow("write-only file") << QStringLiteral("write-only") << textfile::FileError::Unreadable;
    QTest::newRow("folder that may not be entered")
        << QStringLiteral("closed folder") << textfile::FileError::FolderUnreachable;
    QTest::newRow("read-only folder, no file yet")
        << QStringLiteral("read-only folder") << textfile::FileError::FolderReadOnly;
    QTest::newRow("name of 300 characters") << QStringLiteral("long name") << textfile::FileError::NameTooLong;
}

void CoreTest::appendRefusesWhatIsNoOrdinaryFile()
{
    QFETCH(QString, kind);
    QFETCH(textfile::FileError::Kind, expected);

    const QTemporaryDir folder;
    const QString elsewhere = m_folder.filePath(QStringLiteral("bashrc"));
    QVERIFY(writeBytes(elsewhere, "mine\n"));
    QString file = folder.filePath(QStringLiteral("skin.ini"));
    if (kind == u"link")
        QVERIFY(QFile::link(elsewhere, file));
    else if (kind == u"dangling")
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("target")), file));
    else if (kind == u"device link")
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), file));
    else if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0666), 0);
    else if (kind == u"write-only")
        QVERIFY(writeBytes(file, "old\r\n") && QFile::setPermissions(file, QFileDevice::WriteOwner));
    else if (kind == u"closed folder" || kind == u"read-only folder") {
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("closed")));
        file = folder.filePath(QStringLiteral("closed/skin.ini"));
        QVERIFY(QFile::setPermissions(folder.filePath(QStringLiteral("closed")),
                                      kind == u"closed folder" ? QFileDevice::ReadOwner
                                                               : QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    } else if (kind == u"long name") {
        file = folder.filePath(QString(300, u'a') + QStringLiteral("/skin.ini"));
    }
    const auto before = testsupport::snapshot(folder.path());

    QElapsedTimer clock;
    clock.start();
    const textfile::WriteResult result = textfile::appendBytes(file, "[main]\r\n");
    QVERIFY2(clock.elapsed() < 1000, "the write waited on something that is no file");

    QCOMPARE(result.error.kind, expected);
    QVERIFY(!words::fileErrorReason(result.error).isEmpty());
    QCOMPARE(readBytes(elsewhere), QByteArray("mine\n"));
    QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("target"))));
    if (kind == u"closed folder" || kind == u"read-only folder")
        QFile::setPermissions(folder.filePath(QStringLiteral("closed")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(testsupport::snapshot(folder.path()), before);
}

void CoreTest::appendReportsAFullDisk()
{
    // A tiny file system of its own; only an administrator may mount one.
    const QString disk = path(QStringLiteral("tiny"));
    QVERIFY(QDir().mkpath(disk));
    if (::geteuid() != 0 || ::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=16k") != 0)
        QSKIP("mounting a small file system needs an administrator");
    const auto unmount = qScopeGuard([&] { ::umount(QFile::encodeName(disk).constData()); });

    const QString file = disk + QStringLiteral("/skin.ini");
    QVERIFY(writeBytes(file, "old\r\n"));
    const textfile::WriteResult result = textfile::appendBytes(file, QByteArray(64 * 1024, 'n'));
    QCOMPARE(result.error.kind, textfile::FileError::DiskFull);
    QVERIFY2(words::fileErrorReason(result.error).startsWith(QStringLiteral("磁盘已满")),
             qPrintable(words::fileErrorReason(result.error)));
    QCOMPARE(readBytes(file), QByteArray("old\r\n"));
}

void CoreTest::appendNeverCutsAnotherProgramsBytes()
{
    const QString file = path(QStringLiteral("shared.ini"));
    QVERIFY(writeBytes(file, "old\r\n"));

    // Another program appends right after our write: our block is in, and so is its line.
    {
        const textfile::AppendInterleave other([](const QString &name) {
            QFile shared(name);
            QVERIFY(shared.open(QIODevice::Append) && shared.write("other\r\n") == 7);
        });
        QVERIFY(textfile::appendBytes(file, "ours\r\n").ok());
    }
    QCOMPARE(readBytes(file), QByteArray("old\r\nours\r\nother\r\n"));

    // It also spoils our bytes, so ours cannot be verified: its line must not be cut away.
    {
        const textfile::AppendInterleave other([](const QString &name) {
            QFile shared(name);
            QVERIFY(shared.open(QIODevice::ReadWrite) && shared.seek(shared.size() - 6) && shared.write("X") == 1);
            QVERIFY(shared.seek(shared.size()) && shared.write("late\r\n") == 6);
        });
        const textfile::WriteResult result = textfile::appendBytes(file, "more\r\n");
        QCOMPARE(result.error.kind, textfile::FileError::ChangedMeanwhile);
    }
    QVERIFY(readBytes(file).endsWith("late\r\n"));
}

void CoreTest::replaceWritesOneLine()
{
    const QString file = path(QStringLiteral("qqq.qq"));
    QVERIFY(writeBytes(file, "old\r\nsecond line\r\n"));
    QVERIFY(textfile::replaceWithLine(file, testsupport::gbk(QStringLiteral("music\\5.mid"))).ok());
    QCOMPARE(readBytes(file), QByteArray("music\\5.mid\r\n"));
    QVERIFY(textfile::replaceWithLine(file, {}).ok());
    QCOMPARE(readBytes(file), QByteArray("\r\n"));
}

void CoreTest::replaceIsAllOrNothing_data()
{
    QTest::addColumn<bool>("secondName");
    QTest::newRow("new file swapped in") << false;
    // Swapping would part the two names, as would a folder that takes no new file.
    QTest::newRow("rewritten in place") << true;
}

void CoreTest::replaceIsAllOrNothing()
{
    QFETCH(bool, secondName);
    const QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("qqq.qq"));
    const QByteArray old = "D:\\music\\a long old name.mid\r\n";
    QVERIFY(writeBytes(file, old));
    const QString other = folder.filePath(QStringLiteral("other name"));
    if (secondName)
        QCOMPARE(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()), 0);

    // Fails part-way: the old bytes stay whole.
    {
        testsupport::FileSizeLimit limit(8);
        QVERIFY(!textfile::replaceWithLine(file, QByteArray(40, 'n')).ok());
    }
    QCOMPARE(readBytes(file), old);

    QVERIFY(textfile::replaceWithLine(file, "music\\2.mid").ok());
    QCOMPARE(readBytes(file), QByteArray("music\\2.mid\r\n"));
    if (secondName)
        QCOMPARE(readBytes(other), QByteArray("music\\2.mid\r\n"));
    // No temporary file is left behind.
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
             secondName ? 2 : 1);
}

void CoreTest::replaceWritesThroughALinkAndKeepsPermissions()
{
    const QString target = path(QStringLiteral("real.qq"));
    const QString link = path(QStringLiteral("link.qq"));
    QVERIFY(writeBytes(target, "old\r\n"));
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(QFile::link(target, link));

    QVERIFY(textfile::replaceWithLine(link, "music\\3.mid").ok());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readBytes(target), QByteArray("music\\3.mid\r\n"));
    QCOMPARE(QFile::permissions(target),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);

    const QString fifo = path(QStringLiteral("fifo.qq"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    QCOMPARE(textfile::replaceWithLine(fifo, "x").error.kind, textfile::FileError::NotRegular);
}

void CoreTest::firstLineEndsAtAnyLineEnd_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected"); // "<none>": no line at all; "<any>": some line

    QTest::newRow("CR LF") << QByteArray("\xc4\xe3\xba\xc3.mid\r\nsecond") << QStringLiteral("你好.mid");
    QTest::newRow("lone CR") << QByteArray("a.mid\rsecond") << QStringLiteral("a.mid");
    QTest::newRow("lone LF, edited on Linux") << QByteArray("music\\3.mid\n") << QStringLiteral("music\\3.mid");
    QTest::newRow("no line end") << QByteArray("no line end") << QStringLiteral("no line end");
    QTest::newRow("stray lead byte at the end")
        << QByteArray("music\\1.mid\xc4") << QString(QStringLiteral("music\\1.mid") + QChar(0xFFFD));
    QTest::newRow("stray lead byte alone") << QByteArray("\xc4\r\nmusic\\1.mid") << QString(QChar(0xFFFD));
    QTest::newRow("empty first line") << QByteArray("\r\nsecond") << QString();
    QTest::newRow("no byte") << QByteArray() << QStringLiteral("<none>");
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe\x01", 4) << QStringLiteral("<any>");
}

void CoreTest::firstLineEndsAtAnyLineEnd()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    const QString file = path(QStringLiteral("first.txt"));
    QVERIFY(writeBytes(file, content));
    const std::optional<QString> line = textfile::readFirstLine(file);
    if (expected == u"<none>") {
        QCOMPARE(line, std::nullopt);
    } else {
        QVERIFY(line.has_value());
        if (expected != u"<any>")
            QCOMPARE(*line, expected);
    }
    QCOMPARE(textfile::readFirstLine(path(QStringLiteral("missing.txt"))), std::nullopt);
    QCOMPARE(textfile::readFirstLine(m_folder.path()), std::nullopt);
}

void CoreTest::firstLineOfHugeFileIsReadQuickly()
{
    // A gigabyte with no line end, mostly a hole; and a pipe no one writes to.
    const QString huge = path(QStringLiteral("huge.txt"));
    QVERIFY(writeBytes(huge, "a"));
    QVERIFY(QFile::resize(huge, qint64(1) << 30));
    const QString fifo = path(QStringLiteral("pipe.txt"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);

    QElapsedTimer timer;
    timer.start();
    const std::optional<QString> line = textfile::readFirstLine(huge);
    QVERIFY(line.has_value());
    QCOMPARE(qint64(line->size()), textfile::firstLineLimit);
    QCOMPARE(textfile::readFirstLine(fifo), std::nullopt);
    QCOMPARE(textfile::readAllLines(fifo, 1024), std::nullopt);
    QVERIFY2(timer.elapsed() < 1000, "reading took over a second");
}

void CoreTest::allLinesFollowLineEnds()
{
    const QString file = path(QStringLiteral("tips.txt"));
    QVERIFY(writeBytes(file, "one\r\n\r\n\xc4\xe3\xba\xc3\r\n"));
    QCOMPARE(*textfile::readAllLines(file, 1024),
             (QStringList{QStringLiteral("one"), QString(), QStringLiteral("你好")}));
    QVERIFY(writeBytes(file, "one\r\nlast without end"));
    QCOMPARE(*textfile::readAllLines(file, 1024),
             (QStringList{QStringLiteral("one"), QStringLiteral("last without end")}));
    QVERIFY(writeBytes(file, "one\r\n\xc4"));
    QCOMPARE(*textfile::readAllLines(file, 1024), (QStringList{QStringLiteral("one"), QString(QChar(0xFFFD))}));
    QVERIFY(writeBytes(file, "a\rb\nc"));
    QCOMPARE(*textfile::readAllLines(file, 1024),
             (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    QVERIFY(writeBytes(file, ""));
    QCOMPARE(*textfile::readAllLines(file, 1024), QStringList());
    QCOMPARE(textfile::readAllLines(path(QStringLiteral("missing.txt")), 1024), std::nullopt);
}

void CoreTest::allLinesStopAtTheByteLimit()
{
    // A line cut by the limit is left out whole, even in the middle of a Chinese character.
    const QString file = path(QStringLiteral("long.txt"));
    QVERIFY(writeBytes(file, "aaaa\r\n\xc4\xe3\xba\xc3\xc4\xe3\r\nbbbb\r\n"));
    QCOMPARE(*textfile::readAllLines(file, 9), QStringList{QStringLiteral("aaaa")});
    QCOMPARE(*textfile::readAllLines(file, 14), (QStringList{QStringLiteral("aaaa"), QStringLiteral("你好你")}));
    QCOMPARE(textfile::readAllLines(file, 20)->size(), 3);
}

void CoreTest::tipDrawGivesEveryNumberFromOneToCount_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<qsizetype>("count");
    QTest::addColumn<qsizetype>("number");
    const double highest = 1.0 - 0x1p-53;
    QTest::newRow("lowest r, first tip") << 0.0 << qsizetype(30) << qsizetype(1);
    QTest::newRow("highest r, last tip") << highest << qsizetype(30) << qsizetype(30);
    QTest::newRow("middle") << 0.5 << qsizetype(30) << qsizetype(16);
    QTest::newRow("one tip") << highest << qsizetype(1) << qsizetype(1);
    QTest::newRow("no tip") << highest << qsizetype(0) << qsizetype(1);
    // As many tips as a file of bare line ends holds: r times this count plus one would round
    // up past the last tip.
    QTest::newRow("highest r, most tips")
        << highest << qsizetype(skinmaker::core::tipsByteLimit) << qsizetype(skinmaker::core::tipsByteLimit);
}

void CoreTest::tipDrawGivesEveryNumberFromOneToCount()
{
    QFETCH(double, r);
    QFETCH(qsizetype, count);
    QFETCH(qsizetype, number);
    QCOMPARE(skinmaker::core::tipNumber(r, count), number);
}

void CoreTest::clockSeededDrawsReachEveryTip()
{
    // Over many draws every one of thirty tips comes up, and nothing else does.
    random::seedFromClock();
    QList<int> drawn(31, 0);
    for (int i = 0; i < 30000; ++i)
        ++drawn[skinmaker::core::tipNumber(random::next(), 30)];
    QCOMPARE(drawn.at(0), 0);
    QVERIFY(std::all_of(drawn.begin() + 1, drawn.end(), [](int n) { return n > 500; }));
    // Finer than single precision's steps of 2^-24, so among millions of tips none is favoured.
    QVERIFY(std::any_of(drawn.begin(), drawn.begin() + 100, [](int) {
        const double r = random::next() * 0x1p24;
        return r != std::floor(r);
    }));
    // Seeded a moment apart, the draws differ.
    random::seedFromClock();
    const double first = random::next();
    QTest::qSleep(2);
    random::seedFromClock();
    QVERIFY(random::next() != first);
}

void CoreTest::hugeTipsFileIsReadQuicklyUpToItsLimit()
{
    // Chinese tips past the 16 MiB limit: a million and a half, some 18 MB.
    QByteArray content;
    for (int n = 1; n <= 1500000; ++n)
        content += testsupport::gbk(QStringLiteral("提示%1").arg(n)) + "\r\n";
    const QString file = path(QStringLiteral("QQ.QQ"));
    QVERIFY(writeBytes(file, content));

    QElapsedTimer clock;
    clock.start();
    const std::optional<textfile::TextLines> tips = skinmaker::core::readTips(file);
    const qint64 took = clock.elapsed();
    qInfo("read %lld tips in %lld ms", qint64(tips ? tips->size() : 0), took);
    QVERIFY2(took < 500, "reading the tips held up the start");
    // Every whole line within the limit, the first million among them; the one the limit cuts
    // is left out.
    QVERIFY(tips);
    const qsizetype within = content.left(skinmaker::core::tipsByteLimit).count('\n');
    QCOMPARE(tips->size(), within);
    QVERIFY(within > 1000000);
    for (const qsizetype index : {qsizetype(0), qsizetype(1), qsizetype(4321), qsizetype(999999), within - 1})
        QCOMPARE(tips->at(index), QStringLiteral("提示%1").arg(index + 1));
    QVERIFY(!skinmaker::core::readTips(QString()));
}

void CoreTest::mapsWindowsPaths_data()
{
    QTest::addColumn<QString>("windowsPath");
    QTest::addColumn<QString>("expected"); // "<prefix>" stands for the Wine prefix

    QTest::newRow("default install path")
        << QStringLiteral("C:\\Program Files\\Tencent\\qq\\skins\\蓝天\\skin.ini")
        << QStringLiteral("<prefix>/drive_c/Program Files/Tencent/qq/skins/蓝天/skin.ini");
    QTest::newRow("lower-case drive") << QStringLiteral("c:\\a") << QStringLiteral("<prefix>/drive_c/a");
    QTest::newRow("other drive") << QStringLiteral("D:\\music\\a.mid")
                                 << QStringLiteral("<prefix>/dosdevices/d:/music/a.mid");
    QTest::newRow("drive without separator") << QStringLiteral("C:qq") << QStringLiteral("<prefix>/drive_c/qq");
    // Windows stays at a drive's root on "..", and so does the drive's folder in the prefix.
    QTest::newRow(".. at the drive's root")
        << QStringLiteral("C:\\..\\..\\qq") << QStringLiteral("<prefix>/drive_c/qq");
    QTest::newRow(".. below the root kept")
        << QStringLiteral("D:\\a\\..\\..\\b/.\\..\\c") << QStringLiteral("<prefix>/dosdevices/d:/a/../b/./../c");
    QTest::newRow("drive and ..") << QStringLiteral("c:..") << QStringLiteral("<prefix>/drive_c/");
    QTest::newRow("repeated separators kept")
        << QStringLiteral("C:\\qq\\\\skins") << QStringLiteral("<prefix>/drive_c/qq//skins");
    QTest::newRow("rooted") << QStringLiteral("\\skins\\a\\skin.ini") << QStringLiteral("/skins/a/skin.ini");
    QTest::newRow("native absolute") << QStringLiteral("/home/me/qq\\NewSkins\\x\\skin.ini")
                                     << QStringLiteral("/home/me/qq/NewSkins/x/skin.ini");
    QTest::newRow("native root") << QStringLiteral("/\\skins\\x") << QStringLiteral("//skins/x");
    QTest::newRow("relative") << QStringLiteral("music\\1.mid") << QStringLiteral("music/1.mid");
}

void CoreTest::mapsWindowsPaths()
{
    QFETCH(QString, windowsPath);
    QFETCH(QString, expected);
    expected.replace(QStringLiteral("<prefix>"), winePrefix());
    QCOMPARE(winePrefix(), qEnvironmentVariable("WINEPREFIX"));
    QCOMPARE(nativePath(windowsPath), expected);
}

void CoreTest::mapsDriveLettersThroughDosDevices()
{
    // A prefix whose dosdevices link C: somewhere else is followed, not bypassed.
    const QByteArray savedPrefix = qgetenv("WINEPREFIX");
    const QString prefix = path(QStringLiteral("prefix"));
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/dosdevices")));
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/elsewhere/qq")));
    QVERIFY(QFile::link(prefix + QStringLiteral("/elsewhere"), prefix + QStringLiteral("/dosdevices/c:")));
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    const QString mapped = nativePath(QStringLiteral("C:\\qq"));
    qputenv("WINEPREFIX", savedPrefix);

    QCOMPARE(mapped, prefix + QStringLiteral("/dosdevices/c:/qq"));
    QVERIFY(QFileInfo(mapped).isDir());
}

void CoreTest::skinNameCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");

    QTest::newRow("chinese") << QStringLiteral("蓝天") << true;
    QTest::newRow("blank inside") << QStringLiteral("blue sky") << true;
    QTest::newRow("emoji, a whole pair") << QString(QStringLiteral("sky") + smile) << true;
    QTest::newRow("300 characters") << QString(300, u'a') << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("dot") << QStringLiteral(".") << false;
    QTest::newRow("dot dot") << QStringLiteral("..") << false;
    QTest::newRow("backslash") << QStringLiteral("a\\b") << false;
    QTest::newRow("slash") << QStringLiteral("a/b") << false;
    QTest::newRow("colon") << QStringLiteral("a:b") << false;
    QTest::newRow("tab") << QStringLiteral("a\tb") << false;
    QTest::newRow("DEL") << QStringLiteral("a\x7f") << false;
    QTest::newRow("next line U+0085") << QString(QStringLiteral("a") + QChar(0x85)) << false;
    QTest::newRow("line separator") << QString(QStringLiteral("a") + QChar(0x2028)) << false;
    QTest::newRow("right-to-left override")
        << QString(QStringLiteral("skin") + QChar(0x202E) + QStringLiteral("gpj")) << false;
    QTest::newRow("zero-width space") << QString(QStringLiteral("a") + QChar(0x200B) + QStringLiteral("b")) << false;
    QTest::newRow("lone surrogate") << QString(QStringLiteral("a") + QChar(0xD83D)) << false;
}

void CoreTest::skinNameCheck()
{
    QFETCH(QString, name);
    QFETCH(bool, usable);
    QCOMPARE(skinmaker::core::isUsableFolderName(name), usable);
}

void CoreTest::writeProcedureStopsBeforeTheDisk_data()
{
    QTest::addColumn<QString>("installPath");
    QTest::addColumn<QString>("skinName");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("value");
    QTest::addColumn<WriteOutcome::Kind>("expected");
    QTest::addColumn<QString>("named"); // the characters named, as shown

    const QString install = QStringLiteral("<install>");
    QTest::newRow("written") << install << QStringLiteral("蓝天") << 1 << QStringLiteral("bg.bmp")
                             << WriteOutcome::Written << QString();
    QTest::newRow("no install path") << QString() << QStringLiteral("蓝天") << 1 << QString()
                                     << WriteOutcome::NoInstallPath << QString();
    QTest::newRow("no version") << install << QStringLiteral("蓝天") << 0 << QString() << WriteOutcome::NoVersion
                                << QString();
    QTest::newRow("unusable name") << install << QStringLiteral("..") << 2 << QString()
                                   << WriteOutcome::UnusableSkinName << QString();
    QTest::newRow("LF from a terminal") << install << QStringLiteral("蓝天") << 1 << QStringLiteral("bg.bmp\n")
                                        << WriteOutcome::ControlCharacters << QStringLiteral("U+000A");
    QTest::newRow("pasted section") << install << QStringLiteral("蓝天") << 1
                                    << QStringLiteral("logo.bmp\r\n[pasted]\r\nk=2") << WriteOutcome::ControlCharacters
                                    << QStringLiteral("U+000D U+000A");
    QTest::newRow("NUL") << install << QStringLiteral("蓝天") << 2 << QString(QStringLiteral("a") + QChar(0) + u'b')
                         << WriteOutcome::ControlCharacters << QStringLiteral("U+0000");
    QTest::newRow("paragraph separator") << install << QStringLiteral("蓝天") << 2
                                         << QString(QStringLiteral("a") + QChar(0x2029))
                                         << WriteOutcome::ControlCharacters << QStringLiteral("U+2029");
    QTest::newRow("emoji") << install << QStringLiteral("蓝天") << 1 << QString(QStringLiteral("bg") + smile)
                           << WriteOutcome::UnencodableCharacters << smile;
    QTest::newRow("lone surrogate") << install << QStringLiteral("蓝天") << 1
                                    << QString(QStringLiteral("bg") + QChar(0xD83D))
                                    << WriteOutcome::UnencodableCharacters << QStringLiteral("U+D83D");
    QTest::newRow("halves of a pair apart")
        << install << QStringLiteral("蓝天") << 2 << QString(QChar(0xD83D) + QStringLiteral("bg") + QChar(0xDE00))
        << WriteOutcome::UnencodableCharacters << QStringLiteral("U+D83D U+DE00");
    QTest::newRow("byte-order mark inside") << install << QStringLiteral("蓝天") << 1
                                            << QString(QStringLiteral("bg") + QChar(0xFEFF) + QStringLiteral(".bmp"))
                                            << WriteOutcome::UnencodableCharacters << QStringLiteral("U+FEFF");
}

void CoreTest::writeProcedureStopsBeforeTheDisk()
{
    QFETCH(QString, installPath);
    QFETCH(QString, skinName);
    QFETCH(int, version);
    QFETCH(QString, value);
    QFETCH(WriteOutcome::Kind, expected);
    QFETCH(QString, named);

    const QTemporaryDir install;
    QVERIFY(QDir(install.path()).mkpath(QStringLiteral("skins/蓝天")));
    QVERIFY(QDir(install.path()).mkpath(QStringLiteral("NewSkins/蓝天")));
    installPath.replace(QStringLiteral("<install>"), install.path());
    const SkinLocation location{installPath, skinName, QQVersion(version)};
    const QStringList block{QStringLiteral("[main]"), QStringLiteral("tile=") + value};
    const QList<LabelledText> fields{{QStringLiteral("背景"), value}, {QStringLiteral("其他"), QStringLiteral("ok")}};
    const auto before = testsupport::snapshot(install.path());

    const textfile::PreparedText prepared = skinmaker::core::prepareBlock(location, block, fields);
    const WriteOutcome outcome = textfile::appendPrepared(prepared);
    QCOMPARE(outcome.kind, expected);
    if (expected == WriteOutcome::Written) {
        QCOMPARE(readBytes(install.filePath(QStringLiteral("skins/蓝天/skin.ini"))),
                 QByteArray("[main]\r\ntile=bg.bmp\r\n"));
        return;
    }
    QCOMPARE(testsupport::snapshot(install.path()), before);
    if (!named.isEmpty()) {
        QCOMPARE(outcome.fields.size(), 1);
        QCOMPARE(outcome.fields.first().label, QStringLiteral("背景"));
        QCOMPARE(ansi::displayCharacters(outcome.fields.first().characters), named);
    }
}

void CoreTest::bothWritersCheckTextAlike_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<WriteOutcome::Kind>("expected");
    QTest::addColumn<QString>("named"); // the characters named, as shown

    QTest::newRow("plain") << QStringLiteral("music\\1.mid") << WriteOutcome::Written << QString();
    QTest::newRow("line break") << QStringLiteral("a.mid\r\n") << WriteOutcome::ControlCharacters
                                << QStringLiteral("U+000D U+000A");
    QTest::newRow("emoji") << QString(QStringLiteral("a") + smile) << WriteOutcome::UnencodableCharacters << smile;
    QTest::newRow("control before GBK") << QString(smile + QChar(0)) << WriteOutcome::ControlCharacters
                                        << QStringLiteral("U+0000");
}

// skin.ini's blocks and the music setting pass one check and report it alike, and each
// program's words, reachable without windows, name the same characters.
void CoreTest::bothWritersCheckTextAlike()
{
    QFETCH(QString, value);
    QFETCH(WriteOutcome::Kind, expected);
    QFETCH(QString, named);

    const QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("skins/蓝天")));
    const SkinLocation location{folder.path(), QStringLiteral("蓝天"), QQVersion(1)};
    const WriteOutcome skin = textfile::appendPrepared(
        skinmaker::core::prepareBlock(location, {QStringLiteral("tile=") + value}, {{QStringLiteral("背景"), value}}));
    const QString setting = folder.filePath(QStringLiteral("qqq.qq"));
    const WriteOutcome music = formats::storeMusicSetting(value, setting);

    QCOMPARE(skin.kind, expected);
    QCOMPARE(music.kind, expected);
    QCOMPARE(music.path, setting);
    const QString skinNotice = skinmaker::words::writeNotice(skin);
    const QString musicNotice = words::musicSettingNotice(music);
    if (expected == WriteOutcome::Written) {
        QCOMPARE(readBytes(setting), QByteArray("music\\1.mid\r\n"));
        QCOMPARE(readBytes(folder.filePath(QStringLiteral("skins/蓝天/skin.ini"))),
                 QByteArray("tile=music\\1.mid\r\n"));
        QVERIFY(skinNotice.isEmpty() && musicNotice.isEmpty());
        return;
    }
    QVERIFY(!QFileInfo::exists(setting));
    QCOMPARE(skin.fields.size(), 1);
    QCOMPARE(music.fields.size(), 1);
    QCOMPARE(skin.fields.first().label, QStringLiteral("背景"));
    QCOMPARE(ansi::displayCharacters(skin.fields.first().characters), named);
    QCOMPARE(ansi::displayCharacters(music.fields.first().characters), named);
    QVERIFY2(skinNotice.contains(named), qPrintable(skinNotice));
    QVERIFY2(musicNotice.contains(named), qPrintable(musicNotice));
}

namespace {

struct Probe : platform::ScopedOverride<Probe> {
    explicit Probe(int made) : number(made) {}
    int number;
};

} // namespace

void CoreTest::overridesNestAndMayEndInAnyOrder_data()
{
    QTest::addColumn<QList<int>>("endOrder"); // of the probes 1, 2, 3, made in that order
    QTest::addColumn<QList<int>>("activeAfterEach");
    QTest::newRow("innermost first") << QList<int>{3, 2, 1} << QList<int>{2, 1, 0};
    QTest::newRow("outermost first") << QList<int>{1, 2, 3} << QList<int>{3, 3, 0};
    QTest::newRow("middle first") << QList<int>{2, 3, 1} << QList<int>{3, 1, 0};
}

void CoreTest::overridesNestAndMayEndInAnyOrder()
{
    QFETCH(QList<int>, endOrder);
    QFETCH(QList<int>, activeAfterEach);
    const auto active = [] { return Probe::active() ? Probe::active()->number : 0; };
    QCOMPARE(active(), 0);
    std::unique_ptr<Probe> probes[] = {std::make_unique<Probe>(1), std::make_unique<Probe>(2),
                                       std::make_unique<Probe>(3)};
    QCOMPARE(active(), 3);
    for (qsizetype step = 0; step < endOrder.size(); ++step) {
        probes[endOrder[step] - 1].reset();
        QCOMPARE(active(), activeAfterEach[step]);
    }
}

int main(int argc, char *argv[])
{
    testsupport::IsolatedEnvironment environment;
    QCoreApplication application(argc, argv);
    // As every program does first: a write past the file-size limit fails instead of ending us.
    platform::failWritesPastFileSizeLimit();
    CoreTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_core.moc"
