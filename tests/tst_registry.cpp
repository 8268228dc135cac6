// Reading registry values: the text and number rules, the buffer limit, and that every
// key opened is closed again, against an in-memory registry.
#include "platform/core/registry.h"

#include "fakeregistry.h"
#include "uitest.h"

#include <QApplication>

using platform::registry::GetKeyValue;
using platform::registry::Root;
using testsupport::FakeRegistry;
using testsupport::gbk;

namespace {

const QByteArray toolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

QByteArray littleEndian(quint32 value)
{
    QByteArray bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((value >> shift) & 0xff));
    return bytes;
}

} // namespace

class RegistryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsValuesByType_data();
    void readsValuesByType();
    void failuresEmptyTheTextAndCloseWhatWasOpened_data();
    void failuresEmptyTheTextAndCloseWhatWasOpened();
    void namesCrossInTheAnsiCodePage();
    void thisSystemHoldsNoKeys();
};

void RegistryTest::readsValuesByType_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("expected");

    const QString path = QStringLiteral("C:\\Program Files\\Tools\\msinfo32.exe");
    QTest::newRow("text ending in a zero byte") << 1u << (path.toLatin1() + '\0') << path;
    QTest::newRow("text without a final zero byte") << 1u << path.toLatin1() << path;
    // Only one zero goes; a second stays part of the text.
    QTest::newRow("text ending in two zero bytes")
        << 1u << QByteArray("abc\0\0", 5) << QString(QStringLiteral("abc") + QChar(0));
    QTest::newRow("empty text") << 1u << QByteArray() << QString();
    QTest::newRow("text of a lone zero byte") << 1u << QByteArray(1, '\0') << QString();
    QTest::newRow("ANSI text") << 1u << (gbk(QStringLiteral("D:\\工具\\系统信息.exe")) + '\0')
                               << QStringLiteral("D:\\工具\\系统信息.exe");
    const QString longest(1023, u'x');
    QTest::newRow("text filling the whole buffer") << 1u << (longest.toLatin1() + '\0') << longest;

    QTest::newRow("number") << 4u << littleEndian(0x1E240) << QStringLiteral("&h1E240");
    QTest::newRow("number zero") << 4u << littleEndian(0) << QStringLiteral("&h0");
    QTest::newRow("largest number") << 4u << littleEndian(0xFFFFFFFFu) << QStringLiteral("&hFFFFFFFF");
    QTest::newRow("number with a zero high byte") << 4u << littleEndian(0x00ABCDEFu) << QStringLiteral("&hABCDEF");

    // Other types succeed and leave the caller's text alone.
    QTest::newRow("expandable text") << 2u << QByteArray("%SystemRoot%\0", 13) << QStringLiteral("caller's text");
    QTest::newRow("binary") << 3u << QByteArray("\x01\x02\x03", 3) << QStringLiteral("caller's text");
    QTest::newRow("list of texts") << 7u << QByteArray("a\0b\0\0", 5) << QStringLiteral("caller's text");
}

void RegistryTest::readsValuesByType()
{
    QFETCH(quint32, type);
    QFETCH(QByteArray, stored);
    QFETCH(QString, expected);

    FakeRegistry registry;
    registry.setValue(Root::LocalMachine, toolKey, "PATH", type, stored);

    QString text = QStringLiteral("caller's text");
    QVERIFY(GetKeyValue(registry, Root::LocalMachine, QString::fromLatin1(toolKey), QStringLiteral("PATH"), text));
    QCOMPARE(text, expected);

    QCOMPARE(registry.capacities, QList<std::uint32_t>{1024});
    QVERIFY(registry.bufferWasZeroed);
    QCOMPARE(registry.opens, 1);
    QCOMPARE(registry.closes, 1);
    QCOMPARE(registry.stillOpen(), 0);
    QCOMPARE(registry.misuses, 0);
}

void RegistryTest::failuresEmptyTheTextAndCloseWhatWasOpened_data()
{
    QTest::addColumn<bool>("keyExists");
    QTest::addColumn<QByteArray>("valueName");
    QTest::addColumn<QByteArray>("stored");

    QTest::newRow("missing key") << false << QByteArray("PATH") << QByteArray("C:\\x.exe");
    QTest::newRow("missing value") << true << QByteArray("OTHER") << QByteArray("C:\\x.exe");
    QTest::newRow("text one byte longer than the buffer") << true << QByteArray("PATH") << QByteArray(1025, 'y');
    QTest::newRow("text far longer than the buffer") << true << QByteArray("PATH") << QByteArray(5000, 'y');
}

void RegistryTest::failuresEmptyTheTextAndCloseWhatWasOpened()
{
    QFETCH(bool, keyExists);
    QFETCH(QByteArray, valueName);
    QFETCH(QByteArray, stored);

    FakeRegistry registry;
    if (keyExists)
        registry.setValue(Root::LocalMachine, toolKey, valueName, 1, stored);

    QString text = QStringLiteral("caller's text");
    QVERIFY(!GetKeyValue(registry, Root::LocalMachine, QString::fromLatin1(toolKey), QStringLiteral("PATH"), text));
    QVERIFY(text.isEmpty());
    QCOMPARE(registry.opens, keyExists ? 1 : 0);
    QCOMPARE(registry.closes, registry.opens);
    QCOMPARE(registry.stillOpen(), 0);
    QCOMPARE(registry.misuses, 0);
}

void RegistryTest::namesCrossInTheAnsiCodePage()
{
    FakeRegistry registry;
    const QString key = QStringLiteral("SOFTWARE\\软件\\工具");
    registry.setValue(Root::CurrentUser, gbk(key), gbk(QStringLiteral("路径")), 1, QByteArray("found\0", 6));

    QString text;
    QVERIFY(GetKeyValue(registry, Root::CurrentUser, key, QStringLiteral("路径"), text));
    QCOMPARE(text, QStringLiteral("found"));

    // The same path below another root is another key.
    QVERIFY(!GetKeyValue(registry, Root::LocalMachine, key, QStringLiteral("路径"), text));

    // A name the code page cannot hold names no key: nothing is opened at all.
    text = QStringLiteral("caller's text");
    const int asked = int(registry.openedNames.size());
    QVERIFY(
        !GetKeyValue(registry, Root::CurrentUser, key + QStringLiteral("\U0001F600"), QStringLiteral("路径"), text));
    QVERIFY(text.isEmpty());
    QVERIFY(!GetKeyValue(registry, Root::CurrentUser, key, QStringLiteral("路径\U0001F600"), text));
    QCOMPARE(registry.openedNames.size(), asked);
    QCOMPARE(registry.closes, registry.opens);
}

void RegistryTest::thisSystemHoldsNoKeys()
{
    // Without an override GetKeyValue reads the system's registry, which this desktop lacks.
    QString text = QStringLiteral("caller's text");
    QVERIFY(!GetKeyValue(Root::LocalMachine, QString::fromLatin1(toolKey), QStringLiteral("PATH"), text));
    QVERIFY(text.isEmpty());

    // An override is used while it lives, and only then.
    FakeRegistry registry;
    registry.setValue(Root::LocalMachine, toolKey, "PATH", 1, "C:\\x.exe");
    {
        platform::registry::BackendOverride useFake(registry);
        QVERIFY(GetKeyValue(Root::LocalMachine, QString::fromLatin1(toolKey), QStringLiteral("PATH"), text));
        QCOMPARE(text, QStringLiteral("C:\\x.exe"));
    }
    QVERIFY(!GetKeyValue(Root::LocalMachine, QString::fromLatin1(toolKey), QStringLiteral("PATH"), text));
    QCOMPARE(registry.opens, 1);
}

MORVANE_TEST_MAIN(RegistryTest)
#include "tst_registry.moc"
